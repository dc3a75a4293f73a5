"""Starts and stops the peers of the network tests as one background process.

    net_peers.py start --pidfile F --http 127.0.4.1:18480 --proxy 127.0.4.2:18481 --dns 127.0.0.8:18053
    net_peers.py stop --pidfile F

The scripted HTTP server listens on --http; the proxies on consecutive ports
from --proxy: tunnel (to the HTTP server), refuse, short, late; the DNS server
on --dns. All share one recorder, read back through the HTTP server's
"/__recorded__" paths. "start" returns once every peer is listening; the
process writes its log next to the pid file.
"""

import argparse
import os
import signal
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from connect_proxy import ConnectProxy  # noqa: E402
from dns_server import DnsServer  # noqa: E402
from http_script import ScriptedHttpServer  # noqa: E402
from loopback import parse_address  # noqa: E402
from recorder import Recorder  # noqa: E402

PROXY_MODES = ("tunnel", "refuse", "short", "late")
START_TIMEOUT_SECONDS = 10


def run(args):
    recorder = Recorder()
    http = parse_address(args.http)
    ScriptedHttpServer(http, recorder).start()
    proxy_host, proxy_port = parse_address(args.proxy)
    peers = []
    for offset, mode in enumerate(PROXY_MODES):
        peers.append(ConnectProxy((proxy_host, proxy_port + offset), mode, "%s:%d" % http, recorder).start())
    DnsServer(parse_address(args.dns)).start()
    with open(args.pidfile + ".tmp", "w") as f:
        f.write(str(os.getpid()))
    os.replace(args.pidfile + ".tmp", args.pidfile)
    threading.Event().wait()


def start(args):
    if os.path.exists(args.pidfile):
        stop(args)
    log = open(args.pidfile + ".log", "w")
    # A session and streams of its own: CTest waits for the pipes of whatever
    # a fixture starts, and these peers outlive the fixture's setup step.
    child = subprocess.Popen(
        [sys.executable, os.path.abspath(__file__), "run", "--pidfile", args.pidfile,
         "--http", args.http, "--proxy", args.proxy, "--dns", args.dns],
        stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)
    deadline = time.monotonic() + START_TIMEOUT_SECONDS
    while time.monotonic() < deadline:
        if os.path.exists(args.pidfile):
            return 0
        if child.poll() is not None:
            break
        time.sleep(0.05)
    child.kill()
    sys.stderr.write(open(args.pidfile + ".log").read())
    sys.stderr.write("net_peers: the peers did not start\n")
    return 1


def stop(args):
    try:
        pid = int(open(args.pidfile).read())
    except (OSError, ValueError):
        return 0
    os.remove(args.pidfile)
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


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("command", choices=("start", "stop", "run"))
    parser.add_argument("--pidfile", required=True)
    parser.add_argument("--http", default="127.0.4.1:18480")
    parser.add_argument("--proxy", default="127.0.4.2:18481")
    parser.add_argument("--dns", default="127.0.0.8:18053")
    args = parser.parse_args()
    if args.command == "run":
        run(args)
        return 0
    return start(args) if args.command == "start" else stop(args)


if __name__ == "__main__":
    sys.exit(main())
