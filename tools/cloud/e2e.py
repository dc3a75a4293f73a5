"""What the end-to-end test scripts share: the build under test (from the
environment CTest sets: TARVEL_SOURCE_DIR, TARVEL_BINARY_DIR, TARVEL_WINE_RUN),
the local collector's address, paths inside the Wine prefix, the cloud's
control address and the events in collected records.
"""

import os
import sys

from collector import read_endpoints
from loopback import cloud_control

SOURCE = os.environ["TARVEL_SOURCE_DIR"]
BINARY = os.environ["TARVEL_BINARY_DIR"]
WINE_RUN = os.environ["TARVEL_WINE_RUN"]
PREFIX_DRIVE_C = os.path.join(BINARY, "wineprefix", "drive_c")
HOST, PORT = read_endpoints(os.path.join(BINARY, "endpoints.env"))


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def check(condition, message):
    if not condition:
        fail(message)


def events(records, name):
    """The properties of every `name` event, in order, each as a dict."""
    return [{p["key"]: p["value"] for p in r["properties"]}
            for r in records if r.get("record") == "event" and r.get("event") == name]


def wine_path(path):
    """The repository is drive R: under Wine."""
    return "R:\\" + os.path.relpath(path, SOURCE).replace("/", "\\")


def unix_path(windows_path):
    """A C: path of the prefix on this machine, matching names case-insensitively."""
    check(windows_path[:3].upper() == "C:\\", "not a C: path: " + windows_path)
    path = PREFIX_DRIVE_C
    for part in windows_path[3:].split("\\"):
        names = {name.lower(): name for name in os.listdir(path)} if os.path.isdir(path) else {}
        path = os.path.join(path, names.get(part.lower(), part))
    return path


def cloud(command):
    """Sends a command to the local vendor cloud's control address; the reply body."""
    try:
        return cloud_control(PORT, command)
    except (OSError, RuntimeError) as error:
        fail(str(error))
