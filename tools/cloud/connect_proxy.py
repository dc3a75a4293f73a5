"""An HTTP proxy that understands CONNECT, with modes that misbehave.

Modes:
  tunnel   answers 200 and relays bytes to the CONNECT target, or to a fixed
           upstream when one is given (a proxy that reaches what the client
           cannot);
  refuse   answers 407 Proxy Authentication Required;
  short    answers with fewer bytes than a status line;
  late     lets its accept queue fill up and never accepts, so a client's TCP
           handshake is not answered in time.
Every CONNECT request is recorded under "/CONNECT/<target>".

    python3 connect_proxy.py --listen 127.0.4.2:18481 --mode tunnel [--upstream 127.0.4.1:18480]
"""

import argparse
import socket
import socketserver
import threading

try:
    from loopback import parse_address
    from recorder import Recorder
except ImportError:
    from .loopback import parse_address
    from .recorder import Recorder

MODES = ("tunnel", "refuse", "short", "late")
MAX_CONNECT_BYTES = 8192


def relay(source, sink):
    try:
        while True:
            data = source.recv(65536)
            if not data:
                break
            sink.sendall(data)
    except OSError:
        pass
    finally:
        try:
            sink.shutdown(socket.SHUT_WR)
        except OSError:
            pass


def read_connect(conn):
    """The CONNECT request, and any bytes the client sent after it."""
    data = b""
    while b"\r\n\r\n" not in data and len(data) < MAX_CONNECT_BYTES:
        more = conn.recv(4096)
        if not more:
            break
        data += more
    head, found, rest = data.partition(b"\r\n\r\n")
    return head + found, rest


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        conn = self.request
        server = self.server
        try:
            request, early = read_connect(conn)
            words = request.split(b"\r\n", 1)[0].split(b" ")
            target = words[1].decode("latin-1") if len(words) >= 3 and words[0] == b"CONNECT" else ""
            server.recorder.put("/CONNECT/" + target, request)
            if server.mode == "refuse":
                conn.sendall(b"HTTP/1.1 407 Proxy Authentication Required\r\nContent-Length: 0\r\n\r\n")
                return
            if server.mode == "short":
                conn.sendall(b"HTTP/1.1 2")
                return
            host, _, port = (server.upstream or target).rpartition(":")
            if not host.startswith("127."):
                conn.sendall(b"HTTP/1.1 403 Forbidden\r\n\r\n")
                return
            upstream = socket.create_connection((host, int(port)), timeout=5)
            upstream.settimeout(None)
            conn.sendall(b"HTTP/1.1 200 Connection established\r\n\r\n")
            upstream.sendall(early)
            back = threading.Thread(target=relay, args=(upstream, conn), daemon=True)
            back.start()
            relay(conn, upstream)
            back.join()
            upstream.close()
        except OSError:
            pass


class ConnectProxy(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, address, mode="tunnel", upstream=None, recorder=None):
        if mode not in MODES:
            raise ValueError("unknown mode %s" % mode)
        self.mode = mode
        self.upstream = upstream
        self.recorder = recorder or Recorder()
        self.fillers = []
        super().__init__(address, Handler)

    def server_activate(self):
        if self.mode != "late":
            super().server_activate()
            return
        # A backlog of 0 still queues one connection; the fillers take the
        # queue so that every later handshake goes unanswered.
        self.socket.listen(0)
        for _ in range(3):
            filler = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            filler.setblocking(False)
            filler.connect_ex(self.server_address)
            self.fillers.append(filler)

    def start(self):
        if self.mode != "late":
            threading.Thread(target=self.serve_forever, daemon=True).start()
        return self


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--listen", required=True, help="127.x.y.z:port")
    parser.add_argument("--mode", choices=MODES, default="tunnel")
    parser.add_argument("--upstream", help="127.x.y.z:port to tunnel every CONNECT to")
    args = parser.parse_args()
    proxy = ConnectProxy(parse_address(args.listen), args.mode, args.upstream).start()
    threading.Event().wait()
    del proxy


if __name__ == "__main__":
    main()
