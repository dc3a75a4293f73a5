#!/usr/bin/env bash
# Md5OfFile under Wine gives md5sum's digest for files around the 4096-byte
# read block. Run by CTest with TARVEL_SOURCE_DIR, TARVEL_BINARY_DIR and
# TARVEL_WINE_RUN.
set -euo pipefail
folder=$TARVEL_BINARY_DIR/tests/download/md5sum-agreement
rm -rf "$folder"
mkdir -p "$folder"
windows_folder="R:\\$(echo "${folder#"$TARVEL_SOURCE_DIR"/}" | tr / '\\')"

names=()
for size in 1 55 64 4095 4096 4097 8191 8192 8193 12344 65536 1048577; do
  head -c "$size" /dev/urandom >"$folder/$size.bin"
  names+=("$windows_folder\\$size.bin")
done

status=0
"$TARVEL_WINE_RUN" "$TARVEL_BINARY_DIR/tests/download/md5_bench.exe" "${names[@]}" | tr -d '\r' >"$folder/wine.txt" || status=$?
while read -r digest name; do
  size=${name##*\\}
  expected=$(md5sum "$folder/$size" | cut -d' ' -f1)
  if [ "$digest" != "$expected" ]; then
    echo "FAIL: $size bytes: Md5OfFile $digest, md5sum $expected"
    status=1
  fi
done <"$folder/wine.txt"
[ "$(wc -l <"$folder/wine.txt")" -eq "${#names[@]}" ] || { echo "FAIL: $(wc -l <"$folder/wine.txt") digests for ${#names[@]} files"; status=1; }
[ "$status" -eq 0 ] && rm -rf "$folder" && echo "md5sum agreement: ${#names[@]} files"
exit "$status"
