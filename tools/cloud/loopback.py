"""Addresses of the local peers: loopback only, so nothing here can reach the world."""

import http.client

# The local cloud's control address (at the build's HTTP port).
CLOUD_CONTROL_HOST = "127.0.0.9"


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


def cloud_control(port, command, timeout=30):
    """The reply body of a command to the local cloud's control address
    ("reset", "set?key=value", "log", ...); RuntimeError for any status but 200."""
    # http.client, not urllib: no proxy from the environment may come between.
    connection = http.client.HTTPConnection(CLOUD_CONTROL_HOST, port, timeout=timeout)
    try:
        connection.request("GET", "/__cloud__/" + command)
        reply = connection.getresponse()
        body = reply.read()
        if reply.status != 200:
            raise RuntimeError("cloud %s: %d %r" % (command, reply.status, body[:200]))
        return body
    finally:
        connection.close()
