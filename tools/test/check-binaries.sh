#!/usr/bin/env bash
# Checks the executables of a build root before anything runs them:
# - every executable that tests or the demo run uses the local endpoint
#   profile, and the release build uses production;
# - what ships (the installer and its companion DLLs) imports system DLLs only,
#   each one present in Wine's system folder: no mingw runtime or zlib DLL
#   that Wine would hide and a Windows machine lacks.
#   check-binaries.sh <build root>
set -uo pipefail
build=$1
status=0
shopt -s nullglob

complain() {
  echo "check-binaries: $*" >&2
  status=1
}

for exe in "$build"/win/*.exe "$build"/win/tests/*/*.exe "$build"/win/tools/*/*.exe; do
  grep -aq 'TARVEL-ENDPOINT-PROFILE:local' "$exe" || complain "$exe is not built with the local endpoint profile"
done
for exe in "$build"/release/*.exe; do
  grep -aq 'TARVEL-ENDPOINT-PROFILE:production' "$exe" || complain "release $exe is not built with the production profile"
done

system32="$build/win/wineprefix/drive_c/windows/system32"
shipped=("$build"/win/TarvelSetup.exe "$build"/release/TarvelSetup.exe "$build"/win/qpx/*.dll "$build"/release/qpx/*.dll)
for binary in "${shipped[@]}"; do
  [ -f "$binary" ] || continue
  for dll in $(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^\s*DLL Name: //p'); do
    lower=$(echo "$dll" | tr 'A-Z' 'a-z')
    case "$lower" in
      lib*.dll | zlib1.dll) complain "$binary imports $dll, which is not a system DLL" ;;
      *) [ -e "$system32/$lower" ] || complain "$binary imports $dll, which Windows does not provide" ;;
    esac
  done
done

[ "$status" -eq 0 ] && echo "check-binaries: test and demo executables use the local endpoints, the release build production; shipped binaries import system DLLs only"
exit "$status"
