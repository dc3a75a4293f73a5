"""End-to-end reporting: the real installer (and a probe carrying the same SDK
archive) under Wine against the local analytics collector.

    report_e2e.py <case>     cases: see CASES at the bottom
"""

import os
import socket
import statistics
import struct
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.environ["TARVEL_SOURCE_DIR"], "tools", "cloud"))

from collector import Collector  # noqa: E402
from e2e import BINARY, HOST, PORT, WINE_RUN, check, fail, unix_path, wine_path  # noqa: E402

INSTALLER = os.path.join(BINARY, "TarvelSetup.exe")
PROBE = os.path.join(BINARY, "tests", "report", "report_probe.exe")
NO_SDK_INSTALLER = os.path.join(BINARY, "tests", "report", "TarvelSetup_nosdk.exe")
RUN_TIMEOUT = 60
RECORD_WAIT = 5


def run(exe, *args):
    start = time.monotonic()
    done = subprocess.run([WINE_RUN, exe, *args], stdin=subprocess.DEVNULL, capture_output=True, timeout=RUN_TIMEOUT)
    return done.returncode, time.monotonic() - start


def summary(record):
    """(name, [(key, type, value)]) for an event, (record kind, [fields]) for a numbered record."""
    if record["record"] == "event":
        return record["event"], [(p["key"], p["type"], p["value"]) for p in record["properties"]]
    fields = []
    for field in record["fields"]:
        value = field.get("int", field.get("text", field.get("base64")))
        fields.append((field["field"], value))
    return record["record"], fields


def collect(run_args, expected_count):
    with Collector(HOST, PORT) as collector:
        rc, elapsed = run(*run_args)
        records = collector.wait_for(lambda r: len(r) >= expected_count, RECORD_WAIT)
        # Anything more would arrive within a moment.
        time.sleep(0.3)
        records = collector.records()
    return rc, elapsed, records


def case_start_quit():
    rc, elapsed, records = collect([INSTALLER], 5)
    print("installer run with the collector up: %.2f s" % elapsed)
    check(rc == 0, "installer exit code %d" % rc)
    got = [summary(r) for r in records]
    for line in got:
        print("  ", line)
    check(len(got) == 5, "expected 5 records, got %d" % len(got))
    name, properties = got[0]
    check(name == "pSoftInstall", "first record " + name)
    check([(k, t) for k, t, _ in properties] == [
        ("download_time", "int"), ("is_first_install", "bool"), ("install_type", "text"),
        ("parent_app_name", "text"), ("soft_package_name", "text")], "pSoftInstall properties %r" % properties)
    values = {k: v for k, _, v in properties}
    check(values["install_type"] == "安装器", "install_type %r" % values["install_type"])
    check(values["soft_package_name"] == "TarvelSetup", "soft_package_name %r" % values["soft_package_name"])
    check(values["is_first_install"] is True, "is_first_install in a fresh prefix")
    check(values["download_time"] >= 0, "download_time")
    check(got[1] == ("start", [(1, 1)]), "start record %r" % (got[1],))
    check(got[2] == ("state", [(50, 4), (51, "0001"), (52, "0001"), (53, "TarvelSetup")]), "state record %r" % (got[2],))
    check(got[3] == ("state", [(50, 4), (51, "0001"), (52, "0002")]), "exit state record %r" % (got[3],))
    check(got[4] == ("vSoftQuit", [("event_name", "text", "软件退出")]), "quit event %r" % (got[4],))
    check((records[4]["seq"] - records[0]["seq"]) % 100 == 1, "sequence numbers %d, %d" % (records[0]["seq"], records[4]["seq"]))
    mid = records[0]["mid"]
    check(len(mid) == 32 and all(r["mid"] == mid for r in records), "machine id %r" % mid)
    check(all(r["app_id"] == "81974195" and r["app_name"] == "win_installer" for r in records), "identity")


def resource_section(data):
    """File offset of the resource directory of a PE image."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    check(data[pe:pe + 4] == b"PE\0\0", "not a PE image")
    sections, optional_size = struct.unpack_from("<H", data, pe + 6)[0], struct.unpack_from("<H", data, pe + 20)[0]
    optional = pe + 24
    directories = optional + (112 if struct.unpack_from("<H", data, optional)[0] == 0x20B else 96)
    rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
    for index in range(sections):
        header = optional + optional_size + 40 * index
        virtual_size, address, raw_size, raw = struct.unpack_from("<IIII", data, header + 8)
        if address <= rva < address + max(virtual_size, raw_size):
            return raw + rva - address
    fail("no resource section")


def directory_entries(data, base, offset):
    named, ids = struct.unpack_from("<HH", data, base + offset + 12)
    for index in range(named + ids):
        entry = base + offset + 16 + 8 * index
        yield (entry,) + struct.unpack_from("<II", data, entry)


def make_installer_without_sdk():
    """A copy of the installer whose resource 105 has another id, so that the
    lookup fails exactly as for an installer built without the archive."""
    data = bytearray(open(INSTALLER, "rb").read())
    base = resource_section(data)
    renamed = False
    for _, name, target in directory_entries(data, base, 0):
        if not name & 0x80000000:
            continue
        length = struct.unpack_from("<H", data, base + (name & 0x7FFFFFFF))[0]
        start = base + (name & 0x7FFFFFFF) + 2
        if data[start:start + 2 * length].decode("utf-16-le").upper() != "BINARYSYSTEM":
            continue
        entries = list(directory_entries(data, base, target & 0x7FFFFFFF))
        ids = {entry_name for _, entry_name, _ in entries}
        for entry, entry_name, _ in entries:
            if entry_name == 105:
                # A free neighbouring id keeps the entries sorted for the lookup.
                struct.pack_into("<I", data, entry, 104 if 104 not in ids else 106)
                renamed = True
    check(renamed, "the installer carries no resource 105")
    with open(NO_SDK_INSTALLER, "wb") as out:
        out.write(data)


def case_startup_times():
    make_installer_without_sdk()
    times = {"collector up": [], "collector down": [], "archive removed": []}
    for _ in range(2):
        rc, elapsed, records = collect([INSTALLER], 5)
        check(rc == 0 and len(records) == 5, "run with the collector up: rc %d, %d records" % (rc, len(records)))
        times["collector up"].append(elapsed)
        rc, elapsed = run(INSTALLER)
        check(rc == 0, "run with the collector down: rc %d" % rc)
        times["collector down"].append(elapsed)
        rc, elapsed, records = collect([NO_SDK_INSTALLER], 1)
        check(rc == 0, "run without the archive: rc %d" % rc)
        check(records == [], "a run without the archive reported %d records" % len(records))
        times["archive removed"].append(elapsed)
    for name, values in times.items():
        print("installer start to exit, %-15s: %s s (median %.2f s)" % (
            name, ", ".join("%.2f" % v for v in values), statistics.median(values)))
    os.remove(NO_SDK_INSTALLER)


def case_release():
    rc, _, records = collect([PROBE, "release"], 1)
    check(rc == 0, "probe exit code %d" % rc)
    got = [summary(r) for r in records]
    check(got == [("vJoinPlan", [("choose_join_plan", "bool", False)])], "after ReleaseSdk: %r" % got)


def case_crash():
    rc, elapsed, records = collect([PROBE, "crash"], 4)
    print("crashing probe ended after %.2f s with exit code %d" % (elapsed, rc))
    check(rc != 0, "the crashing probe exited with 0")
    got = [summary(r) for r in records]
    for line in got:
        print("  ", line)
    check(len(got) == 4, "expected 4 crash records, got %d" % len(got))
    kind, fields = got[0]
    check(kind == "state" and fields[:3] == [(50, 1), (51, "0001"), (52, "0001")] and len(fields) == 4
          and fields[3][0] == 55, "crash state record %r" % (got[0],))
    check(got[1] == ("state", [(50, 4), (51, "0001"), (52, "0002")]), "exit state record %r" % (got[1],))
    check(got[2] == ("vSoftDump", []), "dump event %r" % (got[2],))
    check(got[3] == ("vSoftQuit", [("event_name", "text", "软件崩溃")]), "quit event %r" % (got[3],))
    dump = unix_path(fields[3][1])
    check(os.path.isfile(dump), "no minidump at " + dump)
    with open(dump, "rb") as file:
        check(file.read(4) == b"MDMP", "not a minidump: " + dump)
    print("minidump: %s (%d bytes)" % (fields[3][1], os.path.getsize(dump)))
    # The crash left the temporary cache folder behind.
    cache = os.path.dirname(dump)
    subprocess.run(["rm", "-rf", cache], check=False)


def case_flush():
    # Few enough to leave within the exit's flush deadline even on a busy machine.
    count = 40
    rc, elapsed, records = collect([PROBE, "events", str(count)], count)
    print("%d events sent and flushed at exit in %.2f s" % (count, elapsed))
    check(rc == 0, "probe exit code %d" % rc)
    check([r["properties"][0]["value"] for r in records] == list(range(count)),
          "events lost or out of order: %d received" % len(records))
    check([r["commit"] for r in records] == list(range(1, count + 1)), "commit order")


def case_flush_deadline():
    # More than the deadline lets through: what arrives is the oldest part,
    # in order, and the exit still comes soon.
    count = 1000
    rc, elapsed, records = collect([PROBE, "events", str(count)], count)
    print("%d events at exit: %d delivered, exit after %.2f s" % (count, len(records), elapsed))
    check(rc == 0, "probe exit code %d" % rc)
    check(records, "nothing delivered")
    check([r["properties"][0]["value"] for r in records] == list(range(len(records))), "delivered events out of order")
    check(elapsed < 15, "exit took %.2f s" % elapsed)


def case_dead_host():
    # Accepts connections (the kernel completes them) but never answers.
    sink = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    sink.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    sink.bind((HOST, PORT))
    sink.listen(64)
    try:
        rc, elapsed = run(PROBE, "events", "20")
    finally:
        sink.close()
    print("20 events towards a host that never answers: exit after %.2f s" % elapsed)
    check(rc == 0, "probe exit code %d" % rc)
    # The flush deadline bounds the exit; a sender that waited per event
    # would take far longer.
    check(elapsed < 15, "exit took %.2f s" % elapsed)


CASES = {name[len("case_"):]: fn for name, fn in globals().items() if name.startswith("case_")}

if __name__ == "__main__":
    if len(sys.argv) != 2 or sys.argv[1] not in CASES:
        print("usage: report_e2e.py " + " | ".join(CASES))
        sys.exit(2)
    CASES[sys.argv[1]]()
    print("ok")
