#!/usr/bin/env bash
# Fails when an executable that tests or the demo run was built with the
# production endpoint profile, or when the release build was not.
#   check-profiles.sh <build root>
set -uo pipefail
build=$1
status=0
shopt -s nullglob
for exe in "$build"/win/*.exe "$build"/win/tests/*/*.exe "$build"/win/tools/*.exe; do
  if ! grep -aq 'TARVEL-ENDPOINT-PROFILE:local' "$exe"; then
    echo "check-profiles: $exe is not built with the local endpoint profile" >&2
    status=1
  fi
done
for exe in "$build"/release/*.exe; do
  if ! grep -aq 'TARVEL-ENDPOINT-PROFILE:production' "$exe"; then
    echo "check-profiles: release $exe is not built with the production profile" >&2
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "check-profiles: test and demo executables use the local endpoints; release uses production"
exit "$status"
