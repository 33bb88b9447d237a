#!/usr/bin/env python3
"""Installation benchmark: prints figures, it is not a test.

Installs N = 200, 1,000 and 5,000 files of 4 KB, once from a local folder and once from the
loopback web server, and one 200 MB file from a local folder, through kestrel-host and
npkestrel.dll under wine64 (one prefix for every run). Prints files per second for each N,
the time per file at 5,000 against that at 200 (the cost must be linear in the list: at most
1.5 times), MB/s of the large copy beside a plain CopyFile of the same file timed in the same
prefix (target: at least 90 % of it), and the host's peak memory for the small and the large
installation (it must not grow with the file's size).

A run's time includes starting the host and reading the page, so the small installations are
taken against a one-file installation run just before them, and the large copy is timed from the
appearance of its temporary file to that of the finished file. Needs the win64 and native builds (kst).
Usage: bench/install_bench.py [--counts 200,1000,5000] [--large-mb 200]
"""

import argparse
import os
import shutil
import sys
import tempfile
import threading
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
from kestrel_e2e import (BUILD, WebServer, WinePrefix, kst, remove_pristine_prefix,  # noqa: E402
                         winpath)

PAGE = ('<html><body><embed type="application/x-Kestrel" src="setup.kst" width="640" '
        'height="480"></body></html>')
DEST = r"C:\BENCH"


class Poller:
    """Calls poll() every interval seconds on a thread of its own while a run lasts, until it
    returns True."""

    def __init__(self, interval):
        self._interval = interval
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._run, daemon=True)

    def __enter__(self):
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self._stop.set()
        self._thread.join()

    def _run(self):
        while not self._stop.wait(self._interval) and not self.poll():
            pass


class PeakMemory(Poller):
    """The peak resident memory of the kestrel-host process while a run lasts."""

    def __init__(self):
        super().__init__(0.05)
        self.peak_kb = 0

    def poll(self):
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                # The host itself, not the timeout or wine launcher around it.
                program = Path(f"/proc/{pid}/cmdline").read_bytes().split(b"\0")[0]
                if not program.lower().endswith(b"kestrel-host.exe"):
                    continue
                for line in Path(f"/proc/{pid}/status").read_text().splitlines():
                    if line.startswith("VmHWM:"):
                        self.peak_kb = max(self.peak_kb, int(line.split()[1]))
            except OSError:
                pass
        return False


class CopyWatch(Poller):
    """Times one file's copy from outside: from the moment its temporary copy appears in the
    destination folder to the moment the finished file takes its name, so that starting the
    host and reading the page do not count."""

    def __init__(self, folder, name):
        super().__init__(0.002)
        self.folder, self.name = Path(folder), name
        self.started = self.finished = None

    def seconds(self):
        if self.started is None or self.finished is None:
            sys.exit(f"the copy of {self.name} was not seen")
        return self.finished - self.started

    def poll(self):
        try:
            entries = [entry.name for entry in os.scandir(self.folder)]
        except OSError:
            return False
        now = time.monotonic()
        if self.name in entries:
            self.finished = now
        elif entries and self.started is None:
            self.started = now
        return self.finished is not None


def install(prefix, web, work, names, source=None):
    """Writes the script that installs names into C:\\BENCH and runs it; returns (s, peak kB)."""
    suffix = f" SOURCE={winpath(source)}" if source else ""
    lines = [f"DEFAULTDIR {DEST} NOASKDRIVE NOASKDIR", "OVERWRITEFILE YES"]
    lines += [f"FILE {name}{suffix}" for name in names]
    (work / "setup.txt").write_text("\r\n".join(lines) + "\r\n")
    kst("encode", work / "setup.txt", "-o", work / "web" / "setup.kst")
    with PeakMemory() as memory:
        run = prefix.run_host(web.url("index.html"), answers="* => ok\n", limit=1800)
    if run.returncode != 0:
        sys.exit(f"installation failed: {run!r}")
    return run.seconds, memory.peak_kb


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--counts", default="200,1000,5000")
    parser.add_argument("--large-mb", type=int, default=200)
    options = parser.parse_args()
    counts = [int(n) for n in options.counts.split(",")]

    with tempfile.TemporaryDirectory(prefix="kestrel-install-bench-") as tmp:
        work = Path(tmp)
        web_root = work / "web"
        web_root.mkdir()
        (web_root / "index.html").write_text(PAGE)
        block = bytes(range(256)) * 16
        names = [f"f{n:05d}.dat" for n in range(max(counts))]
        for name in names:
            (web_root / name).write_bytes(block)
        large = web_root / "large.bin"
        with open(large, "wb") as out:
            chunk = os.urandom(1 << 20)
            for _ in range(options.large_mb):
                out.write(chunk)

        with WebServer(web_root) as web, WinePrefix() as prefix:
            print(f"{'N':>6} {'from':>9} {'run s':>8} {'net s':>8} {'files/s':>9} "
                  f"{'ms/file':>8} {'peak MB':>8}")
            per_file = {}
            install(prefix, web, work, names[:1])  # the prefix's first run is slow
            for origin, source in (("local", web_root), ("loopback", None)):
                base, _ = install(prefix, web, work, names[:1], source)
                for n in counts:
                    seconds, peak = install(prefix, web, work, names[:n], source)
                    net = max(seconds - base, 1e-6)
                    per_file[(origin, n)] = net / (n - 1)
                    print(f"{n:>6} {origin:>9} {seconds:8.2f} {net:8.2f} {(n - 1) / net:9.1f} "
                          f"{1000 * net / (n - 1):8.2f} {peak / 1024:8.1f}", flush=True)
                first, last = counts[0], counts[-1]
                print(f"  {origin}: time per file at {last} is "
                      f"{per_file[(origin, last)] / per_file[(origin, first)]:.2f} x that at "
                      f"{first} (limit 1.5)")

            _, small_peak = install(prefix, web, work, names[:1], web_root)
            # Best of three for both, so that the page cache and a busy machine weigh alike.
            install_s, copy_s = [], []
            for _ in range(3):
                shutil.rmtree(prefix.linux_path(DEST), ignore_errors=True)
                with CopyWatch(prefix.linux_path(DEST), "large.bin") as watch:
                    _, large_peak = install(prefix, web, work, ["large.bin"], web_root)
                install_s.append(watch.seconds())
                timer = prefix.run(BUILD / "bench" / "win" / "copy_file_timer.exe",
                                   winpath(large), r"C:\copy-yardstick.bin")
                if timer.returncode != 0:
                    sys.exit(f"copy_file_timer failed: {timer.stderr}")
                copy_s.append(float(timer.stdout.split()[0]))
            install_mb_s = options.large_mb / max(min(install_s), 1e-6)
            copy_mb_s = options.large_mb / max(min(copy_s), 1e-6)
            print(f"{options.large_mb} MB file: installed at {install_mb_s:.0f} MB/s, CopyFile "
                  f"{copy_mb_s:.0f} MB/s: {100 * install_mb_s / copy_mb_s:.0f} % (target 90 %)")
            print(f"host peak memory: {small_peak / 1024:.1f} MB installing 4 KB, "
                  f"{large_peak / 1024:.1f} MB installing {options.large_mb} MB")
    remove_pristine_prefix()


if __name__ == "__main__":
    main()
