"""The skin manager's events at the local analytics collector, sent through
the real SDK by skin_probe.exe under Wine.

    skin_e2e.py <case>     cases: start, fourteen
"""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.environ["TARVEL_SOURCE_DIR"], "tools", "cloud"))

from collector import Collector  # noqa: E402
from e2e import BINARY, HOST, PORT, WINE_RUN, events, fail  # noqa: E402

PROBE = os.path.join(BINARY, "tests", "ui", "skin_probe.exe")
RUN_TIMEOUT = 60
RECORD_WAIT = 5


def run_probe(mode, status_count):
    with Collector(HOST, PORT) as collector:
        done = subprocess.run([WINE_RUN, PROBE, mode], stdin=subprocess.DEVNULL, capture_output=True,
                              timeout=RUN_TIMEOUT)
        records = collector.wait_for(lambda r: len(events(r, "vResourceStatus")) >= status_count, RECORD_WAIT)
        time.sleep(0.3)
        records = collector.records()
    if done.returncode != 0:
        fail("skin_probe %s exited with %d" % (mode, done.returncode))
    for r in records:
        if r.get("record") == "event":
            print("  ", r["event"], [(p["key"], p["value"]) for p in r["properties"]])
    return records


def case_start():
    records = run_probe("start", 1)
    if len(events(records, "vResourceMgrStart")) != 1:
        fail("expected one vResourceMgrStart")
    if events(records, "vResourceStatus") != [{"resource_status": "创建资源成功"}]:
        fail("vResourceStatus %r" % events(records, "vResourceStatus"))
    if events(records, "vResourceError"):
        fail("unexpected vResourceError %r" % events(records, "vResourceError"))


def case_fourteen():
    records = run_probe("fourteen", 2)
    if events(records, "vResourceStatus") != [{"resource_status": "创建资源成功"}] * 2:
        fail("vResourceStatus %r" % events(records, "vResourceStatus"))
    if events(records, "vResourceError") != [{"error_status": "获取指定资源失败"}]:
        fail("vResourceError %r" % events(records, "vResourceError"))


CASES = {"start": case_start, "fourteen": case_fourteen}

if __name__ == "__main__":
    if len(sys.argv) != 2 or sys.argv[1] not in CASES:
        sys.exit(__doc__)
    CASES[sys.argv[1]]()
    print("ok")
