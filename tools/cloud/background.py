"""A local server as a background process of its own, announced by a pid
file: how the test fixtures, the demo and the benchmarks run the peers.

The server process calls announce() once it listens; start() returns when it
has, stop() ends it. The process writes its log next to the pid file.
"""

import os
import signal
import subprocess
import sys
import time

START_TIMEOUT_SECONDS = 10


def announce(pidfile):
    with open(pidfile + ".tmp", "w") as f:
        f.write(str(os.getpid()))
    os.replace(pidfile + ".tmp", pidfile)


def start(command, pidfile, name):
    """Runs command (which ends up calling announce(pidfile)); 0 once it has."""
    if os.path.exists(pidfile):
        stop(pidfile)
    log = open(pidfile + ".log", "w")
    # A session and streams of its own: CTest waits for the pipes of whatever
    # a fixture starts, and the server outlives the fixture's setup step.
    child = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)
    deadline = time.monotonic() + START_TIMEOUT_SECONDS
    while time.monotonic() < deadline:
        if os.path.exists(pidfile):
            return 0
        if child.poll() is not None:
            break
        time.sleep(0.05)
    child.kill()
    sys.stderr.write(open(pidfile + ".log").read())
    sys.stderr.write("%s: did not start\n" % name)
    return 1


def stop(pidfile):
    try:
        pid = int(open(pidfile).read())
    except (OSError, ValueError):
        return 0
    os.remove(pidfile)
    try:
        os.kill(pid, signal.SIGTERM)
    except ProcessLookupError:
        return 0
    for _ in range(100):
        try:
            os.kill(pid, 0)
        except ProcessLookupError:
            return 0
        time.sleep(0.05)
    os.kill(pid, signal.SIGKILL)
    return 0
