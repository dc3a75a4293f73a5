"""Keeps the exact bytes each peer received, so tests can compare them.

Requests are stored under a key the test chooses (the request path for HTTP,
"/CONNECT/<target>" for the proxy); the last request under a key wins.
"""

import threading


class Recorder:
    def __init__(self):
        self._lock = threading.Lock()
        self._requests = {}

    def put(self, key, data):
        with self._lock:
            self._requests[key] = bytes(data)

    def get(self, key):
        with self._lock:
            return self._requests.get(key)
