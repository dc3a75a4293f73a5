"""Start-up facts of a built installer as the analytics collector receives
them: the first-install flag from the product's uninstall key, and the
download time from the installer's own file times (always 0 here: Wine
reports a file's last write as its creation time).

    startup_e2e.py
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.environ["TARVEL_SOURCE_DIR"], "tools", "cloud"))

from collector import Collector  # noqa: E402
from e2e import BINARY, HOST, PORT, WINE_RUN  # noqa: E402

CHANNEL_INSTALLER = os.path.join(BINARY, "tests", "core", "TarvelSetup_abc.exe")
PRODUCT_KEY = ("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
               "{CC98B63F-FEE3-45C3-89F5-C17B49A61F94}_is1")
RUN_TIMEOUT = 60
RECORD_WAIT = 5

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message)


def wine(*args):
    """The exit code. No pipes: a Wine helper process that inherited them
    would hold the run open long after the program itself has ended."""
    return subprocess.run([WINE_RUN, *args], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, timeout=RUN_TIMEOUT).returncode


def start_event(installer):
    """The properties of the run's "pSoftInstall" event."""
    with Collector(HOST, PORT) as collector:
        rc = wine(installer)
        check(rc == 0, "%s exit code %d" % (os.path.basename(installer), rc))
        collector.wait_for(lambda r: any(x.get("event") == "pSoftInstall" for x in r), RECORD_WAIT)
        records = collector.records()
    for record in records:
        if record.get("event") == "pSoftInstall":
            return {p["key"]: p["value"] for p in record["properties"]}
    check(False, "no pSoftInstall from " + installer)
    return {}


def main():
    values = start_event(CHANNEL_INSTALLER)
    print("without the uninstall key:", values)
    check(values.get("is_first_install") is True, "is_first_install without the key: %r" % values)
    check(values.get("soft_package_name") == "TarvelSetup_abc", "soft_package_name %r" % values)
    check(values.get("download_time") == 0, "download_time: %r" % values)

    # The key exists but names a file that is gone: the product counts as not
    # installed, yet it has been installed before.
    added = wine("reg", "add", PRODUCT_KEY, "/v", "DisplayIcon", "/d", "C:\\Gone\\Tarvel.exe", "/f")
    check(added == 0, "reg add exit code %d" % added)
    try:
        values = start_event(CHANNEL_INSTALLER)
        print("with the uninstall key:", values)
        check(values.get("is_first_install") is False, "is_first_install with the key: %r" % values)
    finally:
        wine("reg", "delete", PRODUCT_KEY, "/f")

    if failures:
        sys.exit(1)
    print("start-up facts: ok")


main()
