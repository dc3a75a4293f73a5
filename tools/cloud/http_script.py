"""A scripted HTTP/1.1 server that answers with fixed bytes.

The first path segment of a request picks the script ("/chunked/any/thing"
answers with the "chunked" script), so tests that run at the same time do not
disturb each other. Every request is recorded byte for byte under its path;
"GET /__recorded__<path>" answers with the bytes last received for <path>
(404 when there are none).

    python3 http_script.py --listen 127.0.4.1:18480
"""

import argparse
import socket
import socketserver
import struct
import threading
import time

try:
    from loopback import parse_address
    from recorder import Recorder
except ImportError:  # imported as part of the tools.cloud package
    from .loopback import parse_address
    from .recorder import Recorder

MAX_REQUEST_BYTES = 1 << 20
RECORDED_PREFIX = "/__recorded__"


def reply(status, headers, body=b""):
    head = "HTTP/1.1 %s\r\n" % status + "".join("%s\r\n" % h for h in headers) + "\r\n"
    return head.encode("latin-1") + body


def chunked(*chunks, hex_format="%x"):
    out = b""
    for chunk in chunks:
        out += (hex_format % len(chunk)).encode() + b"\r\n" + chunk + b"\r\n"
    return out + b"0\r\n\r\n"


ALPHABET = b"abcdefghijklmnopqrstuvwxyz"


def send(data):
    """A script that sends fixed bytes and closes."""
    def run(conn):
        conn.sendall(data)
    return run


def trickle(data, pause):
    """Sends the bytes one at a time with a pause before each."""
    def run(conn):
        for i in range(len(data)):
            time.sleep(pause)
            conn.sendall(data[i:i + 1])
    return run


def then_reset(data, pause=0.3):
    """Sends the bytes, waits until the client is blocked reading, then resets."""
    def run(conn):
        conn.sendall(data)
        time.sleep(pause)
        conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        conn.close()  # before the server's own shutdown could send a FIN
    return run


def reset_now(conn):
    conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    conn.close()


def stall(data, pause):
    """Sends the bytes, then stays silent longer than any client waits."""
    def run(conn):
        conn.sendall(data)
        time.sleep(pause)
    return run


PAC_DIRECT = b'function FindProxyForURL(url, host) { return "DIRECT"; }\n'
PAC_PROXY = b'function FindProxyForURL(url, host) { return "PROXY 127.0.4.2:18481"; }\n'


def long_header():
    filler = ["X-Filler-%d: %s" % (i, "f" * 90) for i in range(60)]
    return reply("200 OK", filler + ["Content-Length: 5"], b"hello")


SCRIPTS = {
    "ok5": send(reply("200 OK", ["Content-Length: 5"], b"hello")),
    "chunked": send(reply("200 OK", ["Transfer-Encoding: chunked"], chunked(ALPHABET, b"xyz"))),
    "chunked-upper": send(reply("200 OK", ["Transfer-Encoding: chunked"],
                                chunked(ALPHABET, b"xyz", hex_format="%X"))),
    "lowercase-length": send(reply("200 OK", ["content-length: 9"], chunked(b"abcd"))),
    "notfound": send(reply("404 Not Found", ["Content-Length: 9"], b"not found")),
    "not-chunked": send(reply("200 OK", [], b"this body is not chunked")),
    "bad-chunk-line": send(reply("200 OK", [], b"4\r\nabcd\r\n123456789abc\r\n")),
    "huge-chunk": send(reply("200 OK", [], b"7fffffff\r\n" + b"x" * 64)),
    "huge-length": send(reply("200 OK", ["Content-Length: 99999999999"], b"x" * 64)),
    "cut-body": send(reply("200 OK", ["Content-Length: 100"], b"only ten b")),
    "cut-header": send(b"HTTP/1.1 200 OK\r\nContent-Le"),
    "reset-body": then_reset(reply("200 OK", ["Content-Length: 1000"], b"x" * 10)),
    "slow-header": trickle(reply("200 OK", ["Content-Length: 2"], b"ok"), 0.05),
    "stall": stall(b"HTTP/1.1 200 OK\r\n", 5.0),
    "long-header": send(long_header()),
    "posted": send(reply("201 Created", ["Content-Length: 6"], b"posted")),
    "head": send(reply("200 OK", ["Content-Length: 1234", "Accept-Ranges: bytes"])),
    "close": send(b""),
    "reset-on-request": reset_now,
    "pac-direct": send(reply("200 OK", ["Content-Type: application/x-ns-proxy-autoconfig", "Content-Length: %d" % len(PAC_DIRECT)], PAC_DIRECT)),
    "pac-proxy": send(reply("200 OK", ["Content-Type: application/x-ns-proxy-autoconfig", "Content-Length: %d" % len(PAC_PROXY)], PAC_PROXY)),
}


def read_header(conn):
    """The request's header with its blank line, and any body bytes after it."""
    data = b""
    while b"\r\n\r\n" not in data and len(data) < MAX_REQUEST_BYTES:
        more = conn.recv(65536)
        if not more:
            return data, b""
        data += more
    head, found, body = data.partition(b"\r\n\r\n")
    return head + found, body


def read_body(conn, head, body):
    """The whole body the header names with Content-Length."""
    length = 0
    for line in head.split(b"\r\n")[1:]:
        name, _, value = line.partition(b":")
        if name.strip().lower() == b"content-length" and value.strip().isdigit():
            length = min(int(value.strip()), MAX_REQUEST_BYTES)
    while len(body) < length:
        more = conn.recv(65536)
        if not more:
            break
        body += more
    return body


# Scripts that answer as soon as the header is in, leaving the body unread.
BEFORE_BODY = {"reset-on-request"}


def request_path(data):
    parts = data.split(b"\r\n", 1)[0].split(b" ")
    return parts[1].decode("latin-1") if len(parts) >= 3 else ""


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        conn = self.request
        try:
            head, body = read_header(conn)
            path = request_path(head)
            name = path.split("/")[1] if path.count("/") >= 1 else ""
            if name in BEFORE_BODY:
                self.server.recorder.put(path, head)
                SCRIPTS[name](conn)
                return
            data = head + read_body(conn, head, body)
            if path.startswith(RECORDED_PREFIX):
                recorded = self.server.recorder.get(path[len(RECORDED_PREFIX):])
                if recorded is None:
                    conn.sendall(reply("404 Not Found", ["Content-Length: 0"]))
                else:
                    conn.sendall(reply("200 OK", ["Content-Length: %d" % len(recorded)], recorded))
                return
            self.server.recorder.put(path, data)
            script = SCRIPTS.get(name)
            if script is None:
                conn.sendall(reply("404 Not Found", ["Content-Length: 0"]))
                return
            script(conn)
        except OSError:
            pass


class ScriptedHttpServer(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, address, recorder=None):
        self.recorder = recorder or Recorder()
        super().__init__(address, Handler)

    def start(self):
        threading.Thread(target=self.serve_forever, daemon=True).start()
        return self


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--listen", required=True, help="127.x.y.z:port")
    args = parser.parse_args()
    ScriptedHttpServer(parse_address(args.listen)).serve_forever()


if __name__ == "__main__":
    main()
