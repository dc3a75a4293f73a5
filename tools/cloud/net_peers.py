"""The peers of the network tests, which the local vendor cloud also runs
(cloud.py --net-peers): a scripted HTTP server, four CONNECT proxies on
consecutive ports (tunnel to the HTTP server, refuse, short, late) and the DNS
server. All share one recorder, read back through the HTTP server's
"/__recorded__" paths.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from connect_proxy import ConnectProxy  # noqa: E402
from dns_server import DnsServer  # noqa: E402
from http_script import ScriptedHttpServer  # noqa: E402
from recorder import Recorder  # noqa: E402

PROXY_MODES = ("tunnel", "refuse", "short", "late")
HTTP_ADDRESS = ("127.0.4.1", 18480)
PROXY_ADDRESS = ("127.0.4.2", 18481)


def start_net_peers(dns_address):
    """Starts every peer; they serve until the process ends."""
    recorder = Recorder()
    ScriptedHttpServer(HTTP_ADDRESS, recorder).start()
    proxy_host, proxy_port = PROXY_ADDRESS
    for offset, mode in enumerate(PROXY_MODES):
        ConnectProxy((proxy_host, proxy_port + offset), mode, "%s:%d" % HTTP_ADDRESS, recorder).start()
    DnsServer(dns_address).start()
