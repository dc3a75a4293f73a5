#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a number of seconds each.
#   fuzz.sh <fuzz build dir> <seconds>
# Seeds come from tests/fuzz/corpus/<name>/; new inputs go to a scratch corpus
# in the build tree, findings (crash-*, leak-*, timeout-*) to build/fuzz/findings/.
set -uo pipefail
dir=$1
seconds=$2
repo=$(cd "$(dirname "$0")/../.." && pwd)
status=0
targets=$(cat "$dir/fuzz-targets.txt" 2>/dev/null | tr ';' ' ')
mkdir -p "$dir/findings"
for name in $targets; do
  short=${name%_fuzz}
  scratch="$dir/corpus/$short"
  mkdir -p "$scratch"
  seeds=()
  [ -d "$repo/tests/fuzz/corpus/$short" ] && seeds=("$repo/tests/fuzz/corpus/$short")
  if "$dir/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$dir/findings/" "$scratch" "${seeds[@]}" >"$dir/$name.log" 2>&1; then
    echo "fuzz: $name ran ${seconds}s: $(grep -oE 'Done [0-9]+ runs in [0-9]+ second' "$dir/$name.log" | tail -n 1)"
  else
    echo "fuzz: $name FAILED (log: $dir/$name.log)"
    tail -n 30 "$dir/$name.log"
    status=1
  fi
done
exit "$status"
