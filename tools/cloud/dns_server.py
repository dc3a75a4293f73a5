"""A UDP DNS server for the installer's own resolver.

It answers A queries from a zone: a name maps to a list of records, each
("A", "1.2.3.4") or ("CNAME", "other.name"); every record's name is a
compression pointer to the question. A few names of TEST_ZONE misbehave on
purpose (no answer, cut-short packets, looping pointers). Unknown names get
NXDOMAIN.

    python3 dns_server.py --listen 127.0.0.8:18053 [--a name=1.2.3.4 ...]
"""

import argparse
import socket
import struct
import threading

try:
    from loopback import parse_address
except ImportError:
    from .loopback import parse_address

QUESTION_NAME_POINTER = 0xC00C
TYPE_A = 1
TYPE_CNAME = 5
CLASS_IN = 1
TTL = 60

SILENT = "silent"
CUT = "cut"
LOOP = "loop"

TEST_ZONE = {
    # The scripted HTTP server of the network tests, by a name only this server knows.
    "fallback.tarvel.test": [("A", "127.0.4.1")],
    # Differs from the system's answer, so a test can tell which resolver was asked.
    "localhost": [("A", "127.0.4.1")],
    "cname.tarvel.test": [("CNAME", "edge.tarvel.test"), ("A", "127.0.0.11"), ("A", "127.0.0.12")],
    "many.tarvel.test": [("A", "127.0.1.%d" % i) for i in range(25)],
    "empty.tarvel.test": [],
    "silent.tarvel.test": SILENT,
    "cut.tarvel.test": CUT,
    "loop.tarvel.test": LOOP,
}


def encode_name(name):
    return b"".join(bytes([len(label)]) + label.encode("ascii") for label in name.split(".") if label) + b"\0"


def parse_question(packet):
    """The question's name and the offset just past the question, or None."""
    labels = []
    offset = 12
    while offset < len(packet):
        length = packet[offset]
        if length == 0:
            end = offset + 5
            return (".".join(labels).lower(), end) if end <= len(packet) else None
        if length > 63:
            return None
        labels.append(packet[offset + 1:offset + 1 + length].decode("latin-1"))
        offset += 1 + length
    return None


def record(rtype, data):
    return struct.pack(">HHHIH", QUESTION_NAME_POINTER, rtype, CLASS_IN, TTL, len(data)) + data


def answer_records(records):
    out = b""
    for kind, value in records:
        if kind == "A":
            out += record(TYPE_A, socket.inet_aton(value))
        else:
            out += record(TYPE_CNAME, encode_name(value))
    return out


def build_answer(packet, zone):
    """The reply datagram for a query, or None to stay silent."""
    parsed = parse_question(packet)
    if parsed is None:
        return None
    name, question_end = parsed
    entry = zone.get(name)
    header = bytearray(packet[:question_end])
    header[2] = 0x81  # response, recursion desired
    if entry == SILENT:
        return None
    if entry is None:
        header[3] = 0x83  # recursion available, NXDOMAIN
        return bytes(header)
    if entry == CUT:
        header[3] = 0x80
        header[6:8] = struct.pack(">H", 2)
        whole = bytes(header) + answer_records([("A", "127.0.0.21"), ("A", "127.0.0.22")])
        return whole[:-3]
    if entry == LOOP:
        header[3] = 0x80
        header[6:8] = struct.pack(">H", 1)
        loop_at = len(header)
        return bytes(header) + struct.pack(">H", 0xC000 | loop_at) + struct.pack(
            ">HHIH", TYPE_A, CLASS_IN, TTL, 4) + socket.inet_aton("127.0.0.31")
    header[3] = 0x80
    header[6:8] = struct.pack(">H", len(entry))
    return bytes(header) + answer_records(entry)


class DnsServer:
    def __init__(self, address, zone=None):
        self.zone = dict(TEST_ZONE if zone is None else zone)
        self.sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.sock.bind(address)

    def serve_forever(self):
        while True:
            packet, peer = self.sock.recvfrom(65536)
            reply = build_answer(packet, self.zone)
            if reply is not None:
                self.sock.sendto(reply, peer)

    def start(self):
        threading.Thread(target=self.serve_forever, daemon=True).start()
        return self


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--listen", required=True, help="127.x.y.z:port")
    parser.add_argument("--a", action="append", default=[], help="name=1.2.3.4, added to the test zone")
    args = parser.parse_args()
    server = DnsServer(parse_address(args.listen))
    for item in args.a:
        name, _, address = item.partition("=")
        server.zone.setdefault(name.lower(), []).append(("A", address))
    server.serve_forever()


if __name__ == "__main__":
    main()
