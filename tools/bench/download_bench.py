"""The download engine against three peers on the same package, in one run:
the local vendor cloud serves a 256 MiB file on loopback and each contestant
fetches it and checks its MD5.

    tools/bench/download_bench.py [build root] [--size-mib N] [--runs N]

Contestants (each the median of --runs runs):
  curl + md5sum        native, one connection
  aria2c -x2 -s2       native, two connections, --checksum=md5
  WinHTTP (Wine)       winhttp_fetch.exe: one connection, then Md5OfFile
  engine (Wine)        download_probe.exe: gateway query first (untimed), then
                       Start to the verified file: HEAD, two ranged workers, MD5

Wall is the whole command; "in-process" is what the Windows programs time
themselves (download and MD5, without Wine's start-up). CPU is user + system
of the command and its children, plus the wineserver's share for the Wine
contestants. Runs inside a loopback-only network namespace. Not part of
`make test`; `make bench` runs it.
"""

import argparse
import hashlib
import os
import resource
import shutil
import statistics
import subprocess
import sys
import time

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(REPO, "tools", "cloud"))

from loopback import cloud_control, read_env  # noqa: E402

PACKAGE_NAME = "tarvel_setup.exe"
WINE_OUT = "C:\\tarvel-bench"
RUN_TIMEOUT = 600
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def process_cpu(pid):
    """User + system seconds of a running process, 0 when it is gone."""
    try:
        with open("/proc/%d/stat" % pid) as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS
    except (OSError, ValueError, IndexError):
        return 0.0


def wineserver_pid(prefix):
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/comm" % entry) as comm:
                if not comm.read().startswith("wineserver"):
                    continue
            with open("/proc/%s/environ" % entry, "rb") as environ:
                if ("WINEPREFIX=" + prefix).encode() in environ.read().split(b"\0"):
                    return int(entry)
        except OSError:
            continue
    return None


def children_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


class Bench:
    def __init__(self, build, size_mib, runs):
        self.win = os.path.join(build, "win")
        self.env = read_env(os.path.join(self.win, "endpoints.env"))
        if self.env.get("TARVEL_ENDPOINTS") != "local":
            raise SystemExit("download_bench: %s is not a local-profile build" % self.win)
        self.port = int(self.env["TARVEL_HTTP_PORT"])
        self.wine_run = os.path.join(self.win, "wine-run")
        self.prefix = os.path.join(self.win, "wineprefix")
        self.work = os.path.join(self.win, "bench")
        self.size = size_mib * 1024 * 1024
        self.runs = runs
        self.package = os.path.join(self.work, "package-%dMiB.bin" % size_mib)
        self.url = "http://%s:%d/pkg/%s" % (self.env["TARVEL_CDN_HOST"], self.port, PACKAGE_NAME)
        self.pidfile = os.path.join(self.work, "cloud.pid")
        # No proxy from the environment may come between a peer and loopback.
        self.clean_env = {k: v for k, v in os.environ.items() if not k.lower().endswith("_proxy")}
        self.results = {}
        self.fetched = []  # the engine's seconds to its last byte, before the MD5 check

    def prepare_package(self):
        os.makedirs(self.work, exist_ok=True)
        if os.path.exists(self.package) and os.path.getsize(self.package) == self.size:
            with open(self.package, "rb") as f:
                self.digest = hashlib.file_digest(f, "md5").hexdigest()
            return
        digest = hashlib.md5()
        with open(self.package, "wb") as f:
            for _ in range(self.size // (1 << 20)):
                piece = os.urandom(1 << 20)
                digest.update(piece)
                f.write(piece)
        self.digest = digest.hexdigest()

    def control(self, command):
        try:
            return cloud_control(self.port, command, timeout=120)
        except (OSError, RuntimeError) as error:
            raise SystemExit("download_bench: %s" % error)

    def start_servers(self):
        subprocess.run([self.wine_run, "--start-server"], check=True)
        subprocess.run([sys.executable, os.path.join(REPO, "tools", "cloud", "cloud.py"), "start", "--pidfile",
                        self.pidfile, "--env", os.path.join(self.win, "endpoints.env")], check=True)
        self.control("set?package_file=%s&package_name=%s" % (self.package, PACKAGE_NAME))
        self.control("warm")  # reads the package and its digest before any timing
        with open(self.pidfile) as f:
            self.cloud_pid = int(f.read())
        self.server_pid = wineserver_pid(self.prefix)

    def stop_servers(self):
        subprocess.run([sys.executable, os.path.join(REPO, "tools", "cloud", "cloud.py"), "stop", "--pidfile",
                        self.pidfile], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([self.wine_run, "--stop-server"])

    def timed(self, commands):
        """(wall, cpu, wineserver cpu, cloud cpu, last command's stdout) of commands run in turn."""
        server_before = process_cpu(self.server_pid) if self.server_pid else 0.0
        cloud_before = process_cpu(self.cloud_pid)
        cpu_before = children_cpu()
        start = time.monotonic()
        output = b""
        for command in commands:
            done = subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True, env=self.clean_env,
                                  timeout=RUN_TIMEOUT)
            if done.returncode != 0:
                raise SystemExit("download_bench: %s failed (%d): %s" % (
                    " ".join(command), done.returncode, (done.stdout + done.stderr).decode(errors="replace")[-500:]))
            output = done.stdout
        wall = time.monotonic() - start
        cpu = children_cpu() - cpu_before
        server = (process_cpu(self.server_pid) - server_before) if self.server_pid else 0.0
        return wall, cpu, server, process_cpu(self.cloud_pid) - cloud_before, output.decode(errors="replace")

    def record(self, name, wall, cpu, server, cloud, inside=None):
        self.results.setdefault(name, []).append((wall, cpu, server, cloud, inside))

    def native_out(self, name):
        path = os.path.join(self.work, name)
        if os.path.exists(path):
            os.remove(path)
        return path

    def wine_out_unix(self):
        return os.path.join(self.prefix, "drive_c", WINE_OUT[3:])

    def run_curl(self):
        out = self.native_out("curl.bin")
        wall, cpu, server, cloud, text = self.timed([["curl", "-sS", "--noproxy", "*", "-o", out, self.url],
                                                     ["md5sum", out]])
        self.expect(text.split()[0], "curl")
        self.record("curl + md5sum (native)", wall, cpu, server, cloud)

    def run_aria2c(self):
        out = self.native_out("aria2c.bin")
        wall, cpu, server, cloud, _ = self.timed([[
            "aria2c", "-q", "-x2", "-s2", "--file-allocation=falloc", "--allow-overwrite=true",
            "--auto-file-renaming=false", "--checksum=md5=" + self.digest, "-d", self.work,
            "-o", os.path.basename(out), self.url]])
        self.record("aria2c -x2 -s2 (native)", wall, cpu, server, cloud)

    def run_winhttp(self):
        shutil.rmtree(self.wine_out_unix(), ignore_errors=True)
        os.makedirs(self.wine_out_unix())
        program = os.path.join(self.win, "tests", "download", "winhttp_fetch.exe")
        wall, cpu, server, cloud, text = self.timed([[
            self.wine_run, program, self.env["TARVEL_CDN_HOST"], str(self.port), "/pkg/" + PACKAGE_NAME,
            WINE_OUT + "\\winhttp.bin"]])
        digest, ms = text.split()
        self.expect(digest, "winhttp_fetch")
        self.record("WinHTTP, 1 connection (Wine)", wall, cpu, server, cloud, int(ms) / 1000)

    def run_engine(self):
        shutil.rmtree(self.wine_out_unix(), ignore_errors=True)
        program = os.path.join(self.win, "tests", "download", "download_probe.exe")
        wall, cpu, server, cloud, text = self.timed([[self.wine_run, program, WINE_OUT]])
        word, _, rest = text.strip().partition(" ")
        if word != "ready":
            raise SystemExit("download_bench: download_probe: " + text)
        ms, fetched_ms, path = rest.split(" ", 2)
        self.fetched.append(int(fetched_ms) / 1000)
        with open(os.path.join(self.wine_out_unix(), path.rsplit("\\", 1)[1]), "rb") as f:
            self.expect(hashlib.file_digest(f, "md5").hexdigest(), "the engine")
        self.record("engine, 2 connections (Wine)", wall, cpu, server, cloud, int(ms) / 1000)

    def expect(self, digest, who):
        if digest.lower() != self.digest:
            raise SystemExit("download_bench: %s got a file with md5 %s, not %s" % (who, digest, self.digest))

    def run(self):
        self.prepare_package()
        self.start_servers()
        try:
            for _ in range(self.runs):
                # Interleaved, so that a change in the machine's load hits every contestant alike.
                self.run_curl()
                self.run_aria2c()
                self.run_winhttp()
                self.run_engine()
        finally:
            self.stop_servers()
            shutil.rmtree(self.wine_out_unix(), ignore_errors=True)
            for name in ("curl.bin", "aria2c.bin"):
                self.native_out(name)
        self.report()

    def median(self, name, column):
        values = [r[column] for r in self.results[name] if r[column] is not None]
        return statistics.median(values) if values else None

    def report(self):
        mib = self.size / (1 << 20)
        print("package: %d MiB at %s, md5 %s; median of %d runs, load average %.2f" % (
            mib, self.url, self.digest, self.runs, os.getloadavg()[0]))
        print("%-30s %8s %12s %8s %12s %10s %9s" % ("", "wall s", "in-process s", "CPU s", "wineserver s",
                                                   "server s", "MiB/s"))
        for name in self.results:
            wall = self.median(name, 0)
            inside = self.median(name, 4)
            timed = inside if inside is not None else wall
            print("%-30s %8.2f %12s %8.2f %12.2f %10.2f %9.1f" % (
                name, wall, "%.2f" % inside if inside is not None else "-", self.median(name, 1),
                self.median(name, 2), self.median(name, 3), mib / timed))
        print("engine: last byte after %.2f s, the rest is the MD5 check (median)" % statistics.median(self.fetched))
        engine = self.median("engine, 2 connections (Wine)", 4)
        engine_wall = self.median("engine, 2 connections (Wine)", 0)
        print("speed ratio, engine / peer (download + MD5; engine in-process, whole command in brackets):")
        for name, target in (("aria2c -x2 -s2 (native)", 1.0), ("curl + md5sum (native)", 0.5),
                             ("WinHTTP, 1 connection (Wine)", None)):
            peer = self.median(name, 4) or self.median(name, 0)
            peer_wall = self.median(name, 0)
            goal = "  target >= %.1f" % target if target else ""
            print("  %-30s %6.2f  (%.2f)%s" % (name, peer / engine, peer_wall / engine_wall, goal))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("build", nargs="?", default=os.path.join(REPO, "build"))
    parser.add_argument("--size-mib", type=int, default=256)
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    if not os.environ.get("TARVEL_BENCH_INSIDE"):
        os.environ["TARVEL_BENCH_INSIDE"] = "1"
        os.environ["TARVEL_WINEPREFIX"] = os.path.join(os.path.abspath(args.build), "win", "wineprefix")
        isolate = os.path.join(REPO, "tools", "test", "isolate")
        os.execv(isolate, [isolate, sys.executable, os.path.abspath(__file__), *sys.argv[1:]])
    for tool in ("curl", "aria2c", "md5sum"):
        if shutil.which(tool) is None:
            raise SystemExit("download_bench: %s is missing (tools/setup/setup.sh installs it)" % tool)
    Bench(os.path.abspath(args.build), args.size_mib, args.runs).run()


if __name__ == "__main__":
    main()
