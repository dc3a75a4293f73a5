"""Addresses of the local peers: loopback only, so nothing here can reach the world."""


def parse_address(text):
    """(host, port) from "127.x.y.z:port"; exits for any other address."""
    host, _, port = text.rpartition(":")
    if not host.startswith("127."):
        raise SystemExit("only loopback addresses: %s" % text)
    return host, int(port)
