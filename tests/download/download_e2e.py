"""A whole download as the vendor cloud and the analytics collector see it:
download_probe.exe under Wine asks the local gateway for the package, fetches
it from the local CDN with two ranged connections, checks its MD5 and reports
through the real SDK.

    download_e2e.py
"""

import hashlib
import json
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.environ["TARVEL_SOURCE_DIR"], "tools", "cloud"))

from collector import Collector  # noqa: E402
from e2e import BINARY, HOST, PORT, WINE_RUN, check, cloud, events, unix_path  # noqa: E402

PROBE = os.path.join(BINARY, "tests", "download", "download_probe.exe")
FOLDER = "C:\\tarvel-download-e2e"
RUN_TIMEOUT = 90
RECORD_WAIT = 5


def run_probe():
    """The probe's reply line; every record the collector received."""
    with Collector(HOST, PORT) as collector:
        done = subprocess.run([WINE_RUN, PROBE, FOLDER], stdin=subprocess.DEVNULL, capture_output=True,
                              timeout=RUN_TIMEOUT)
        collector.wait_for(lambda r: events(r, "pSoftDownloadResult"), RECORD_WAIT)
        records = collector.records()
    reply = done.stdout.decode("utf-8", "replace").strip()
    check(done.returncode == 0, "download_probe exited with %d: %s" % (done.returncode, reply))
    return reply, records


def read_config(path):
    """The "General" section of a config.ini, whatever Wine wrote it as."""
    data = open(path, "rb").read()
    text = data.decode("utf-16") if data.startswith(b"\xff\xfe") else data.decode("utf-8", "replace")
    values = {}
    for line in text.splitlines():
        key, sep, value = line.partition("=")
        if sep:
            values[key.strip()] = value.strip()
    return values


def main():
    shutil.rmtree(unix_path(FOLDER), ignore_errors=True)
    cloud("reset")
    package = cloud("package")
    reply, records = run_probe()

    word, _, rest = reply.partition(" ")
    check(word == "ready", "probe: %r" % reply)
    path = rest.split(" ", 2)[2]
    check(open(unix_path(path), "rb").read() == package, "the file differs from the served package")

    results = events(records, "pSoftDownloadResult")
    check([r.get("soft_download_status") for r in results] == ["下载成功"], "pSoftDownloadResult %r" % results)
    check(len(events(records, "vSoftDownloadStart")) == 1, "expected one vSoftDownloadStart")
    check(not events(records, "vSoftDownloadError"), "errors %r" % events(records, "vSoftDownloadError"))

    config = read_config(unix_path(FOLDER + "\\config.ini"))
    check(config.get("md5", "").lower() == hashlib.md5(package).hexdigest(), "config.ini md5 %r" % config)
    check(config.get("path", "").lower() == path.lower(), "config.ini path %r" % config)

    ranges = sorted(e["range"] for e in json.loads(cloud("log"))
                    if e.get("role") == "cdn" and e.get("method") == "GET")
    half = len(package) // 2
    check(ranges == ["bytes=0-%d" % (half - 1), "bytes=%d-%d" % (half, len(package) - 1)],
          "CDN ranges %r" % ranges)
    for record in records:
        if record.get("record") == "event":
            print("  ", record["event"], [(p["key"], p["value"]) for p in record["properties"]])
    shutil.rmtree(unix_path(FOLDER), ignore_errors=True)
    print("ok")


if __name__ == "__main__":
    main()
