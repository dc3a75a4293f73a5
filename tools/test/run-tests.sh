#!/usr/bin/env bash
# The whole test run behind `make test`, after the builds:
#   run-tests.sh <build root>
# native tests (ASan/UBSan), Windows tests under Wine in an isolated network
# with their own display, the endpoint-profile check, and a short fuzz smoke
# run. Prints each runner's summary and one closing line.
set -uo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
jobs=${JOBS:-2}
failed=0
passed_total=0
failed_total=0

count_ctest() {
  local log=$1 line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  [ -n "$line" ] || return 0
  local fails total
  fails=$(echo "$line" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
  total=$(echo "$line" | sed -E 's/.*failed out of ([0-9]+).*/\1/')
  passed_total=$((passed_total + total - fails))
  failed_total=$((failed_total + fails))
}

run_ctest() {
  local title=$1
  shift
  local log
  log=$(mktemp)
  echo "== $title"
  "$@" -j "$jobs" --output-on-failure --timeout 300 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || failed=1
  count_ctest "$log"
  rm -f "$log"
}

run_ctest "native tests (ASan, UBSan)" ctest --test-dir "$build/native"

"$here/check-binaries.sh" "$build" || failed=1

export TARVEL_WINEPREFIX="$build/win/wineprefix"
run_ctest "Windows tests under Wine" "$here/isolate" "$here/wine-ctest" "$build/win"

echo "== fuzz smoke run"
"$here/fuzz.sh" "$build/fuzz" "${FUZZ_SECONDS:-3}" || failed=1

echo "tests: $passed_total passed, $failed_total failed"
[ "$failed" -eq 0 ] && [ "$failed_total" -eq 0 ]
