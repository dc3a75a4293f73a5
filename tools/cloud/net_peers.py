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
import sys
import threading

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import background  # noqa: E402
from connect_proxy import ConnectProxy  # noqa: E402
from dns_server import DnsServer  # noqa: E402
from http_script import ScriptedHttpServer  # noqa: E402
from loopback import parse_address  # noqa: E402
from recorder import Recorder  # noqa: E402

PROXY_MODES = ("tunnel", "refuse", "short", "late")


def run(args):
    recorder = Recorder()
    http = parse_address(args.http)
    ScriptedHttpServer(http, recorder).start()
    proxy_host, proxy_port = parse_address(args.proxy)
    peers = []
    for offset, mode in enumerate(PROXY_MODES):
        peers.append(ConnectProxy((proxy_host, proxy_port + offset), mode, "%s:%d" % http, recorder).start())
    DnsServer(parse_address(args.dns)).start()
    background.announce(args.pidfile)
    threading.Event().wait()


def start(args):
    return background.start([sys.executable, os.path.abspath(__file__), "run", "--pidfile", args.pidfile,
                             "--http", args.http, "--proxy", args.proxy, "--dns", args.dns],
                            args.pidfile, "net_peers")


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
    return start(args) if args.command == "start" else background.stop(args.pidfile)


if __name__ == "__main__":
    sys.exit(main())
