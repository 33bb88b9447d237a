"""Machinery of the end-to-end tests: installations run through kestrel-host under wine64.

A scenario is a web folder, a target, an answers file and checks:

    with WebServer(make_web_folder(self.tmp, {"setup.kst": kst_encode(...), ...})) as web, \\
         WinePrefix() as prefix:
        run = prefix.run_host(web.url("index.html"), plugin=..., answers="* => ok\\n")
        self.assertEqual(run.returncode, 0)
        self.assertEqual(web.paths(), ["/index.html", "/setup.kst", ...])
        self.assertTrue(prefix.exists(r"C:\\DEMO\\install.log"))

Every Wine run is bounded by a timeout, every prefix is ended with `wineserver -k`, and each
scenario gets a fresh prefix copied from one pristine prefix made once per run (copying is
about 0.3 s; making a prefix takes about 20 s). Standard library only.
"""

import email.utils
import http.server
import json
import os
import shutil
import socketserver
import struct
import subprocess
import tempfile
import threading
import time
import unittest
import zlib
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
BUILD = Path(os.environ.get("KESTREL_WIN64_BUILD", REPO / "build" / "win64"))
NATIVE_BUILD = Path(os.environ.get("KESTREL_NATIVE_BUILD", REPO / "build" / "native"))
WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
HOST_EXE = BUILD / "tools" / "host" / "kestrel-host.exe"
TEST_PLUGIN = BUILD / "tests" / "e2e" / "nptestkestrel.dll"
TEST_PLUGIN_PLAIN = BUILD / "tests" / "e2e" / "nptestplain.dll"
WINE_RUN_LIMIT = 120  # seconds for one Wine program, whatever the scenario asks


def winpath(path):
    """A Linux path as Wine's Z: drive shows it."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def kst(*args):
    """Runs the native authoring tool (for scenarios that encode scripts or pack archives)."""
    subprocess.run([str(NATIVE_BUILD / "tools" / "kst" / "kst"), *map(str, args)], check=True)


def make_web_folder(root, files, mtime=None):
    """Writes {relative path: bytes or text} under root; mtime (seconds) dates every file."""
    root = Path(root)
    for name, content in files.items():
        path = root / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(content.encode() if isinstance(content, str) else content)
        if mtime is not None:
            os.utime(path, (mtime, mtime))
    return root


def bmp24(width, height, colour_at):
    """A 24-bit BMP file whose pixel (x, y), counted from the top left, is colour_at(x, y)."""
    stride = (3 * width + 3) // 4 * 4
    rows = b"".join(bytes(b for x in range(width) for b in reversed(colour_at(x, y)))
                    .ljust(stride, b"\0") for y in reversed(range(height)))
    return (b"BM" + struct.pack("<IHHI", 54 + len(rows), 0, 0, 54) +
            struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 0, 0, 0, 0) +
            rows)


def read_png(path):
    """Width, height and the unfiltered scanlines of one of the host's screenshots."""
    data = Path(path).read_bytes()
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    offset, chunks = 8, {}
    while offset < len(data):
        length, kind = struct.unpack(">I4s", data[offset:offset + 8])
        body = data[offset + 8:offset + 8 + length]
        crc = struct.unpack(">I", data[offset + 8 + length:offset + 12 + length])[0]
        assert zlib.crc32(kind + body) == crc, f"bad CRC in {kind}"
        chunks[kind] = chunks.get(kind, b"") + body
        offset += 12 + length
    width, height = struct.unpack(">II", chunks[b"IHDR"][:8])
    return width, height, zlib.decompress(chunks[b"IDAT"])


def png_pixels(path):
    """Width, height and a pixel reader (x, y) -> (r, g, b) of one of the host's screenshots."""
    width, height, rows = read_png(path)
    assert not any(rows[::1 + 3 * width]), "rows with a filter"

    def at(x, y):
        start = y * (1 + 3 * width) + 1 + 3 * x
        return tuple(rows[start:start + 3])
    return width, height, at


def _wine_env(prefix, extra=None):
    env = dict(os.environ)
    # A proxy meant for the outside world must not catch loopback requests.
    for name in ("http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy"):
        env.pop(name, None)
    env.update(WINEPREFIX=str(prefix), WINEDEBUG="-all",
               WINEDLLOVERRIDES="winemenubuilder.exe=d")
    env.update(extra or {})
    return env


# --------------------------------------------------------------------------- web server

class WebServer:
    """A loopback HTTP server over a folder. Logs every request in order with its start and
    end times, sends Last-Modified from the files' dates, answers 404 for what is missing, and
    can misbehave per path: behave("/big.bin", truncate=1000) sends the full Content-Length
    but only 1000 bytes; close=True drops the connection without an answer; status=500 answers
    that status; delay=S waits S seconds before answering."""

    def __init__(self, root):
        self.root = Path(root)
        self.requests = []  # dicts: path, start, end, status
        self.behaviours = {}
        self._lock = threading.Lock()

    def behave(self, path, **behaviour):
        self.behaviours[path] = behaviour

    def url(self, path=""):
        return f"http://127.0.0.1:{self.port}/{path.lstrip('/')}"

    def paths(self):
        with self._lock:
            return [r["path"] for r in self.requests]

    def __enter__(self):
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"
            # Headers and body leave in separate writes: with Nagle's algorithm the body
            # waits for the client's delayed acknowledgement, some 40 ms a request.
            disable_nagle_algorithm = True

            def log_message(self, *args):
                pass

            def do_GET(self):
                entry = {"path": self.path, "start": time.monotonic(), "end": None,
                         "status": None}
                with server._lock:
                    server.requests.append(entry)
                try:
                    entry["status"] = self._answer(server.behaviours.get(self.path, {}))
                finally:
                    entry["end"] = time.monotonic()

            def _answer(self, behaviour):
                time.sleep(behaviour.get("delay", 0))
                if behaviour.get("close"):
                    self.close_connection = True
                    return None
                file = server.root / self.path.split("?")[0].lstrip("/")
                status = behaviour.get("status", 200 if file.is_file() else 404)
                body = file.read_bytes() if status == 200 else b"<html>not here</html>"
                self.send_response(status)
                self.send_header("Content-Length", str(len(body)))
                if status == 200:
                    modified = email.utils.formatdate(file.stat().st_mtime, usegmt=True)
                    self.send_header("Last-Modified", modified)
                self.end_headers()
                cut = behaviour.get("truncate")
                self.wfile.write(body if cut is None else body[:cut])
                if cut is not None:
                    self.close_connection = True
                return status

        class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
            daemon_threads = True
            block_on_close = False

            def handle_error(self, request, client_address):
                pass  # a client that hung up early is part of the tests

        self._server = Server(("127.0.0.1", 0), Handler)
        self.port = self._server.server_address[1]
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self._server.shutdown()
        self._server.server_close()


# --------------------------------------------------------------------------- Wine prefixes

_pristine = None
_BINARY_SUFFIXES = {".dll", ".exe", ".sys", ".drv", ".acm", ".ocx", ".cpl", ".tlb", ".nls",
                    ".ax", ".ds", ".com", ".vxd", ".msstyles", ".ttf", ".fon", ".mui"}


def pristine_prefix():
    """One freshly made prefix per run, under Xvfb, that each scenario copies."""
    global _pristine
    if _pristine is None:
        path = Path(tempfile.mkdtemp(prefix="kestrel-e2e-pristine-"))
        subprocess.run([WINE, "wineboot", "-i"], env=_wine_env(path), timeout=WINE_RUN_LIMIT,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Without a window manager (Xvfb), Wine waits 2 s for one whenever a managed window
        # hides; unmanaged windows close at once.
        subprocess.run([WINE, "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed",
                        "/d", "N", "/f"], env=_wine_env(path), timeout=WINE_RUN_LIMIT,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        pin_fonts(path)
        subprocess.run([WINESERVER, "-w"], env=_wine_env(path), timeout=WINE_RUN_LIMIT,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _pristine = path
    return _pristine


def pin_fonts(prefix):
    """Wine's and the Liberation fonts in the prefix, as every Wine test has them, so that
    dialogs and screenshots measure the same on every machine."""
    subprocess.run([str(REPO / "scripts" / "wine-fonts.sh"), str(prefix)],
                   env=_wine_env(prefix), timeout=2 * WINE_RUN_LIMIT, check=True,
                   stdout=subprocess.DEVNULL)


def remove_pristine_prefix():
    if _pristine is not None:
        shutil.rmtree(_pristine, ignore_errors=True)


def _link_or_copy(source, target):
    # The system's binaries are only ever replaced, never written in place, so copies may
    # share them; everything else (registry, INI files) is copied.
    if Path(source).suffix.lower() in _BINARY_SUFFIXES:
        os.link(source, target)
    else:
        shutil.copy2(source, target)


class HostRun:
    """What one kestrel-host run left: exit status, output, transcript, test plug-in log."""

    def __init__(self, returncode, stdout, stderr, transcript, plugin_log, seconds):
        self.returncode = returncode
        self.stdout = stdout
        self.stderr = stderr
        self.transcript = transcript
        self.plugin_log = plugin_log
        self.seconds = seconds

    def events(self, name=None):
        return [e for e in self.plugin_log if name is None or e["event"] == name]

    def __repr__(self):
        return (f"HostRun(returncode={self.returncode}, stderr={self.stderr!r}, "
                f"transcript={self.transcript!r}, plugin_log={self.plugin_log!r})")


class WinePrefix:
    """A fresh prefix for one scenario, ended and removed on exit."""

    def __enter__(self):
        self.work = Path(tempfile.mkdtemp(prefix="kestrel-e2e-"))
        self.path = self.work / "prefix"
        shutil.copytree(pristine_prefix(), self.path, symlinks=True,
                        copy_function=_link_or_copy)
        self.runs = 0
        # One server for all the scenario's runs: otherwise every run boots the prefix again.
        subprocess.run([WINESERVER, "-p"], env=_wine_env(self.path), timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return self

    def __exit__(self, *exc):
        subprocess.run([WINESERVER, "-k"], env=_wine_env(self.path), timeout=30,
                       stderr=subprocess.DEVNULL)
        shutil.rmtree(self.work, ignore_errors=True)

    def linux_path(self, windows_path):
        """C:\\DIR\\FILE -> the file inside the prefix (case as given)."""
        drive, rest = windows_path[0].lower(), windows_path[2:].lstrip("\\")
        base = self.path / "dosdevices" / f"{drive}:"
        return base.joinpath(*rest.split("\\")) if rest else base

    def exists(self, windows_path):
        return self.linux_path(windows_path).exists()

    def read(self, windows_path):
        return self.linux_path(windows_path).read_bytes()

    def mtime(self, windows_path):
        return int(self.linux_path(windows_path).stat().st_mtime)

    def run(self, program, *args, timeout=WINE_RUN_LIMIT, env=None):
        """Runs a Windows program here, bounded by timeout; returns CompletedProcess."""
        # Output goes through files: the prefix's services outlive the program and would hold
        # a pipe open.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            done = subprocess.run(["timeout", "--kill-after=10", str(timeout), WINE,
                                   str(program), *map(str, args)],
                                  env=_wine_env(self.path, env), stdout=out, stderr=err,
                                  stdin=subprocess.DEVNULL)
            out.seek(0)
            err.seek(0)
            done.stdout = out.read().decode(errors="replace")
            done.stderr = err.read().decode(errors="replace")
        return done

    def run_host(self, target, plugin=None, answers=None, timeout=None, base_url=None,
                 screenshots=None, args=(), limit=60):
        """Runs kestrel-host on target (a URL or a Windows path). answers is the rules text;
        timeout is the host's own --timeout; limit bounds the Wine run."""
        self.runs += 1
        run_dir = self.work / f"run{self.runs}"
        run_dir.mkdir()
        transcript = run_dir / "transcript.jsonl"
        plugin_log = run_dir / "plugin.jsonl"
        command = []
        if plugin is not None:
            command += ["--plugin", winpath(plugin)]
        if answers is not None:
            (run_dir / "answers.txt").write_text(answers)
            command += ["--answers", winpath(run_dir / "answers.txt")]
        if timeout is not None:
            command += ["--timeout", str(timeout)]
        if base_url is not None:
            command += ["--base-url", base_url]
        if screenshots is not None:
            command += ["--screenshots", winpath(screenshots)]
        command += ["--transcript", winpath(transcript), *args, target]
        start = time.monotonic()
        done = self.run(HOST_EXE, *command, timeout=limit,
                        env={"KESTREL_TEST_PLUGIN_LOG": winpath(plugin_log)})
        seconds = time.monotonic() - start
        if os.environ.get("KESTREL_E2E_VERBOSE"):
            print(f"  kestrel-host {' '.join(command)}: exit {done.returncode}, {seconds:.1f} s",
                  flush=True)
        return HostRun(done.returncode, done.stdout, done.stderr, _json_lines(transcript),
                       _json_lines(plugin_log), seconds)

    def start(self, program, *args, timeout=WINE_RUN_LIMIT):
        """Starts a Windows program here without waiting (Popen); the prefix's end stops it."""
        return subprocess.Popen(["timeout", "--kill-after=10", str(timeout), WINE,
                                 str(program), *map(str, args)], env=_wine_env(self.path),
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)


def _json_lines(path):
    if not path.exists():
        return []
    return [json.loads(line) for line in path.read_text(errors="replace").splitlines() if line]


# --------------------------------------------------------------------------- installations

PUBLISHED = 981173106  # 2001-02-03 04:05:06 UTC, an even second as DOS times keep them
PAGE = ('<html><body><embed type="application/x-Kestrel" src="setup/setup.kst" '
        'width="640" height="480"></body></html>')
ANSWER_EVERYTHING = "* => ok\n"


def crlf(*lines):
    return "".join(line + "\r\n" for line in lines)


def mingw_build(output, c_source, rc_source=None):
    """Builds an x86_64 Windows program, or a DLL when output ends in .dll, from C source
    text and an optional resource script."""
    output = Path(output)
    sources = [output.with_suffix(".c")]
    sources[0].write_text(c_source)
    if rc_source is not None:
        rc = output.with_suffix(".rc")
        rc.write_text(rc_source)
        sources.append(output.with_suffix(".res.o"))
        subprocess.run(["x86_64-w64-mingw32-windres", rc, "-O", "coff", "-o", sources[1]],
                       check=True)
    shared = ["-shared"] if output.suffix == ".dll" else []
    subprocess.run(["x86_64-w64-mingw32-gcc", "-O1", *shared, "-o", output, *sources],
                   check=True)
    return output


def install_web_folder(tmp, script, files=(), name="setup"):
    """A web folder at tmp/web: the page, setup/NAME.kst encoded from script, and files, all
    dated PUBLISHED."""
    tmp = Path(tmp)
    tmp.mkdir(parents=True, exist_ok=True)
    plain = tmp / f"{name}.txt"
    plain.write_text(script)
    root = make_web_folder(tmp / "web", {"index.html": PAGE, **dict(files)}, mtime=PUBLISHED)
    (root / "setup").mkdir(exist_ok=True)
    kst("encode", plain, "-o", root / "setup" / f"{name}.kst")
    return root


def asked(run):
    """(kind, caption, answer) of every window that waited for the user, in order."""
    return [(e["kind"], e["caption"], e.get("answer")) for e in run.transcript if "answer" in e]


class InstallCase(unittest.TestCase):
    """Scenarios that install through the real plug-in from a web folder of their own."""

    def setUp(self):
        self.tmp = Path(tempfile.mkdtemp(prefix="kestrel-e2e-install-"))
        self.addCleanup(shutil.rmtree, self.tmp, True)

    def web(self, script, files=(), name="setup"):
        return install_web_folder(self.tmp, script, files, name)

    def asked(self, run):
        return asked(run)
