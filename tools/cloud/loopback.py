"""Addresses of the local peers: loopback only, so nothing here can reach the world."""


def parse_address(text):
    """(host, port) from "127.x.y.z:port"; exits for any other address."""
    host, _, port = text.rpartition(":")
    if not host.startswith("127."):
        raise SystemExit("only loopback addresses: %s" % text)
    return host, int(port)


def read_env(path):
    """The KEY=value lines of a build's endpoints.env, as a dict."""
    values = {}
    with open(path, encoding="utf-8") as env:
        for line in env:
            if "=" in line and not line.startswith("#"):
                key, value = line.strip().split("=", 1)
                values[key] = value
    return values
