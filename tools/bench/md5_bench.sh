#!/usr/bin/env bash
# Md5OfFile under Wine against md5sum on the same 256 MiB file, in one run:
#   tools/bench/md5_bench.sh [build root]     (default: build)
# Prints both throughputs and their ratio. Not part of `make test`.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$repo/build}" && pwd)
win=$build/win
bench=$win/tests/download/md5_bench.exe
[ -x "$win/wine-run" ] && [ -f "$bench" ] || { echo "md5_bench: build $win first (make win)" >&2; exit 1; }
case "$win" in "$repo"/*) ;; *) echo "md5_bench: the build tree must lie inside the repository (drive R:)" >&2; exit 1 ;; esac

data=$win/bench
file=$data/md5-256MiB.bin
mkdir -p "$data"
if [ "$(stat -c %s "$file" 2>/dev/null || echo 0)" != 268435456 ]; then
  head -c 268435456 /dev/urandom >"$file"
fi
windows_path="R:\\$(echo "${file#"$repo"/}" | tr / '\\')"
cat "$file" >/dev/null  # both sides read from the page cache

best_md5sum=
for _ in 1 2 3; do
  start=$(date +%s.%N)
  native=$(md5sum "$file" | cut -d' ' -f1)
  end=$(date +%s.%N)
  seconds=$(echo "$end - $start" | bc -l)
  if [ -z "$best_md5sum" ] || [ "$(echo "$seconds < $best_md5sum" | bc -l)" = 1 ]; then best_md5sum=$seconds; fi
done

"$win/wine-run" --start-server
read -r digest wine_seconds wine_rate < <("$win/wine-run" "$bench" --time "$windows_path" | tr -d '\r')
"$win/wine-run" --stop-server

md5sum_rate=$(echo "256 / $best_md5sum" | bc -l)
echo "file: $file (256 MiB), best of 3 runs each"
printf 'md5sum (native):          %8.1f MiB/s  %s\n' "$md5sum_rate" "$native"
printf 'Md5OfFile (Wine):         %8.1f MiB/s  %s\n' "$wine_rate" "$digest"
printf 'ratio Md5OfFile / md5sum: %8.2f\n' "$(echo "$wine_rate / $md5sum_rate" | bc -l)"
[ "$digest" = "$native" ] || { echo "md5_bench: digests differ" >&2; exit 1; }
