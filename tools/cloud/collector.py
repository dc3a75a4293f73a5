"""The local analytics collector: accepts the reporting SDK's POSTs on the
sensor path and writes each record as one JSON line (UTF-8, in arrival order),
so that tests and the demo can read exactly what the installer reported.

    python3 collector.py --listen 127.0.0.5:18080 --out records.jsonl

As a module: Collector(host, port, out_path).start() ... .records() ... .stop().
"GET /records" answers with the lines received so far.
"""

import argparse
import http.server
import json
import socketserver
import sys
import threading
import time

from loopback import read_env

SENSOR_PATH = "/sa"
MAX_BODY_BYTES = 1 << 20


class _Handler(http.server.BaseHTTPRequestHandler):
    server_version = "TarvelCollector/1.0"

    def log_message(self, format, *args):  # noqa: A002 - the base class's name
        pass

    def _answer(self, status, body=b""):
        self.send_response(status)
        self.send_header("Content-Type", "application/json; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)

    def do_POST(self):
        if self.path.split("?", 1)[0] != SENSOR_PATH:
            return self._answer(404)
        try:
            length = int(self.headers.get("Content-Length", ""))
        except ValueError:
            return self._answer(411)
        if length < 0 or length > MAX_BODY_BYTES:
            return self._answer(413)
        body = self.rfile.read(length)
        try:
            record = json.loads(body.decode("utf-8"))
        except (UnicodeDecodeError, ValueError):
            return self._answer(400)
        if not isinstance(record, dict):
            return self._answer(400)
        self.server.collector._add(record, self.path)
        self._answer(200, b'{"code":0}')

    def do_GET(self):
        if self.path != "/records":
            return self._answer(404)
        lines = "".join(json.dumps(r, ensure_ascii=False) + "\n" for r in self.server.collector.records())
        self._answer(200, lines.encode("utf-8"))


class _Server(socketserver.TCPServer):
    allow_reuse_address = True


class Collector:
    """One collector on host:port. Requests are served one at a time, so the
    lines keep the order in which the SDK sent them."""

    def __init__(self, host="127.0.0.5", port=18080, out_path=None):
        self.host, self.port, self.out_path = host, port, out_path
        self._lock = threading.Lock()
        self._records = []
        self._server = None
        self._thread = None
        self._out = None

    def _add(self, record, path):
        with self._lock:
            self._records.append(record)
            if self._out is not None:
                self._out.write(json.dumps(record, ensure_ascii=False) + "\n")
                self._out.flush()

    def start(self):
        if self.out_path:
            self._out = open(self.out_path, "a", encoding="utf-8")
        self._server = _Server((self.host, self.port), _Handler)
        self._server.collector = self
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)
        self._thread.start()
        return self

    def stop(self):
        if self._server is not None:
            self._server.shutdown()
            self._server.server_close()
            self._thread.join()
            self._server = None
        if self._out is not None:
            self._out.close()
            self._out = None

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()

    def records(self):
        with self._lock:
            return list(self._records)

    def clear(self):
        with self._lock:
            self._records.clear()

    def wait_for(self, predicate, timeout):
        """Waits until predicate(records) holds; returns the records."""
        deadline = time.monotonic() + timeout
        while True:
            records = self.records()
            if predicate(records) or time.monotonic() >= deadline:
                return records
            time.sleep(0.05)


def read_endpoints(path):
    """host and port of the analytics endpoint from a build's endpoints.env."""
    values = read_env(path)
    return values["TARVEL_ANALYTICS_HOST"], int(values["TARVEL_HTTP_PORT"])


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--listen", help="host:port (default: from --env, else 127.0.0.5:18080)")
    parser.add_argument("--env", help="a build's endpoints.env")
    parser.add_argument("--out", help="file the JSON lines are appended to (default: standard output)")
    args = parser.parse_args(argv)
    host, port = "127.0.0.5", 18080
    if args.env:
        host, port = read_endpoints(args.env)
    if args.listen:
        host, _, port_text = args.listen.rpartition(":")
        port = int(port_text)
    collector = Collector(host, port, args.out)
    if not args.out:
        collector._out = sys.stdout
    collector.start()
    print("collector on %s:%d" % (host, port), file=sys.stderr, flush=True)
    try:
        threading.Event().wait()
    except KeyboardInterrupt:
        pass
    finally:
        if collector._out is sys.stdout:
            collector._out = None
        collector.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
