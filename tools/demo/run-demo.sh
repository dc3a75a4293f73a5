#!/usr/bin/env bash
# make demo: runs the installer of the Windows build under Wine against the
# local servers, on the caller's display or an Xvfb of its own, and in a
# loopback-only network namespace where the machine allows one.
#   run-demo.sh <build root>
set -uo pipefail
build=$(cd "$1" && pwd)
repo=$(cd "$(dirname "$0")/../.." && pwd)
export TARVEL_WINEPREFIX="$build/win/wineprefix"

if [ -z "${TARVEL_DEMO_INSIDE:-}" ]; then
  export TARVEL_DEMO_INSIDE=1
  if [ -n "${DISPLAY:-}" ]; then
    exec "$repo/tools/test/isolate-network" "$0" "$@"
  fi
  exec "$repo/tools/test/isolate" "$0" "$@"
fi

demo="$build/demo"
mkdir -p "$demo"
records="$demo/analytics.jsonl"
: >"$records"

pidfile="$demo/cloud.pid"
cleanup() {
  python3 "$repo/tools/cloud/cloud.py" stop --pidfile "$pidfile" >/dev/null 2>&1
  "$build/win/wine-run" --stop-server
}
trap cleanup EXIT

"$build/win/wine-run" --start-server
# The local vendor cloud: gateway, CDN and the analytics collector.
python3 "$repo/tools/cloud/cloud.py" start --pidfile "$pidfile" --env "$build/win/endpoints.env" --collector "$records" ||
  exit 1

# The file name carries the channel, as a downloaded installer's would.
installer="$demo/TarvelSetup_U1234567.exe"
cp "$build/win/TarvelSetup.exe" "$installer"
echo "demo: running $installer (display $DISPLAY)"
"$build/win/wine-run" "$installer"
status=$?
echo "demo: the installer exited with code $status"
# Until the installer's own pages drive it, the download engine runs in its
# probe: the package the gateway names, fetched from the local CDN and checked.
echo "demo: downloading the package with the download engine"
"$build/win/wine-run" "$build/win/tests/download/download_probe.exe" 'C:\TarvelDemoDownload' ||
  status=$?
echo "demo: what it reported ($records):"
cat "$records"
exit "$status"
