"""What the user and the destination decide, through the real plug-in: overwrite modes and the
version of DLLs, archives over several volumes, DELETE and RENAME, Cancel and leaving the page
in every kind of window, and a destination drive that is too small."""

import os
import random
import subprocess
import threading
import unittest

from kestrel_e2e import (ANSWER_EVERYTHING, PUBLISHED, InstallCase, WebServer, WinePrefix, crlf,
                         kst, mingw_build)

OLDER, NEWER = PUBLISHED - 86400, PUBLISHED + 86400
HERE = r"DEFAULTDIR C:\DEMO NOASKDRIVE NOASKDIR"
QUIT = "Do you wish to quit? => yes\n"
VERSION_RC = """1 VERSIONINFO
FILEVERSION 1,0,0,0
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "040904E4"
    BEGIN
      VALUE "FileVersion", "%s\\0"
    END
  END
END
"""
DLL_MAIN = "int __stdcall DllMain(void *m, unsigned r, void *p) { return 1; }\n"
# Presses the progress dialog's Cancel, as a user would, once it shows.
CANCEL_PROGRESS = r"""#include <windows.h>
static BOOL CALLBACK press(HWND w, LPARAM found) {
    if (!GetDlgItem(w, 102) || !GetDlgItem(w, 800) || !IsWindowVisible(w)) return TRUE;
    PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
    *(BOOL *)found = TRUE;
    return FALSE;
}
int main(void) {
    BOOL found = FALSE;
    for (int i = 0; i < 300 && !found; ++i) { EnumWindows(press, (LPARAM)&found); Sleep(100); }
    return found ? 0 : 1;
}
"""


class InstallChoicesTest(InstallCase):
    def put(self, prefix, files):
        """Files already in the destination: {name: (bytes, mtime)}."""
        for name, (content, mtime) in files.items():
            path = prefix.linux_path("C:\\DEMO\\" + name)
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(content)
            os.utime(path, (mtime, mtime))

    def listing(self, prefix, folder=r"C:\DEMO"):
        root = prefix.linux_path(folder)
        return sorted(str(p.relative_to(root)) for p in root.rglob("*") if p.is_file())

    def log_lines(self, prefix, kind):
        log = prefix.read(r"C:\DEMO\install.log").decode().splitlines()
        return [line for line in log if line.startswith(kind + ": ")]

    def test_overwrite_modes_and_the_dll_version_test(self):
        dll = {v: mingw_build(self.tmp / f"v{v}.dll", DLL_MAIN, VERSION_RC % v).read_bytes()
               for v in ("1.9", "1.10")}
        old, new = b"OLD!" * 5000, b"new\r\n"
        # A version decides before the date: the date alone would keep up.dll, replace down.dll.
        before = {"no.txt": (old, OLDER), "yes.txt": (old, NEWER), "askyes.txt": (old, NEWER),
                  "askno.txt": (old, OLDER), "older.txt": (old, OLDER),
                  "newer.txt": (old, NEWER), "up.dll": (dll["1.9"], NEWER),
                  "down.dll": (dll["1.10"], OLDER)}
        served = {"up.dll": dll["1.10"], "down.dll": dll["1.9"]}
        modes = {"no.txt": "NO", "yes.txt": "YES", "askyes.txt": "ASK", "askno.txt": "ASK",
                 "older.txt": "NEW", "newer.txt": "NEW", "up.dll": "NEW", "down.dll": "NEW",
                 "fresh.txt": "NO"}
        root = self.web(crlf("UNINSTALL YES", HERE,
                             *(f"FILE {n} OVERWRITE={m}" for n, m in modes.items())),
                        {"setup/" + n: served.get(n, new) for n in modes})
        with WebServer(root) as web, WinePrefix() as prefix:
            self.put(prefix, before)
            run = prefix.run_host(web.url("index.html"),
                                  answers="askyes.txt => yes\naskno.txt => no\n")
            self.assertEqual(run.returncode, 0, run)
            self.assertEqual([(kind, answer) for kind, _, answer in self.asked(run)],
                             [("messagebox", "yes"), ("messagebox", "no")])
            boxes = [e["texts"] for e in run.transcript if e["kind"] == "messagebox"]
            self.assertIn(r"File exists.  Overwrite C:\DEMO\askyes.txt?", boxes[0])
            replaced = ["yes.txt", "askyes.txt", "older.txt", "up.dll", "fresh.txt"]
            for name in modes:
                content, mtime = ((served.get(name, new), PUBLISHED) if name in replaced
                                  else before[name])
                self.assertEqual(prefix.read("C:\\DEMO\\" + name), content, name)
                self.assertEqual(prefix.mtime("C:\\DEMO\\" + name), mtime, name)
            self.assertEqual(self.listing(prefix), sorted([*modes, "install.log"]))
            self.assertEqual(self.log_lines(prefix, "FILE"),
                             [f'FILE: "C:\\DEMO\\{name}"' for name in replaced])

    def test_an_archive_over_two_volumes_comes_from_the_web_folder(self):
        members = {"big.bin": random.Random(7).randbytes(70000), "docs/read.txt": b"read me\r\n"}
        source = self.tmp / "members"
        for name, content in members.items():
            (source / name).parent.mkdir(parents=True, exist_ok=True)
            (source / name).write_bytes(content)
        root = self.web(crlf("UNINSTALL YES", HERE, "FILE DEMO.ARC", "FILE DEMO.A01",
                             "FILE after.txt"), {"setup/after.txt": "after"})
        kst("archive", "-o", root / "setup" / "DEMO.ARC", "--volume-size", "50K",
            source / "big.bin", source / "docs")
        self.assertEqual(sorted(p.name for p in (root / "setup").glob("DEMO.*")),
                         ["DEMO.A01", "DEMO.ARC"])
        with WebServer(root) as web, WinePrefix() as prefix:
            run = prefix.run_host(web.url("index.html"), answers=ANSWER_EVERYTHING)
            self.assertEqual(run.returncode, 0, run)
            self.assertEqual(web.paths()[2:],
                             ["/setup/DEMO.ARC", "/setup/DEMO.A01", "/setup/after.txt"])
            for name, content in members.items():
                self.assertEqual(prefix.read("C:\\DEMO\\" + name.replace("/", "\\")), content)
            self.assertEqual(self.listing(prefix), ["after.txt", "big.bin", "docs/read.txt",
                                                    "install.log"])
            self.assertEqual(self.log_lines(prefix, "FILE"), [
                r'FILE: "C:\DEMO\big.bin"', r'FILE: "C:\DEMO\docs\read.txt"',
                r'FILE: "C:\DEMO\after.txt"'])
        self.assertEqual(self.asked(run), [])

    def test_delete_and_rename_match_long_names_in_the_destination(self):
        before = {name: (name.encode(), OLDER) for name in
                  ("a.txt", "B.TXT", "c.txtx", "same.cfg", "d.log", "e.logx")}
        root = self.web(crlf("UNINSTALL YES", HERE, r"RENAME *.TXT bak\*.BAK",
                             "RENAME same.cfg SAME.CFG", r"RENAME C:\DEMO\*.* C:\DEMO\*.*",
                             "DELETE *.LOG", "FILE new.txt"), {"setup/new.txt": "new"})
        with WebServer(root) as web, WinePrefix() as prefix:
            self.put(prefix, before)
            run = prefix.run_host(web.url("index.html"), answers=ANSWER_EVERYTHING)
            self.assertEqual(run.returncode, 0, run)
            self.assertEqual(self.listing(prefix), ["bak/B.BAK", "bak/a.BAK", "c.txtx",
                                                    "e.logx", "install.log", "new.txt",
                                                    "same.cfg"])
            for name, was in (("bak/a.BAK", "a.txt"), ("bak/B.BAK", "B.TXT"),
                              ("same.cfg", "same.cfg"), ("c.txtx", "c.txtx")):
                self.assertEqual(prefix.read("C:\\DEMO\\" + name.replace("/", "\\")),
                                 was.encode(), name)
            self.assertEqual(self.log_lines(prefix, "DIRECTORY"), [r"DIRECTORY: C:\DEMO\bak"])
            self.assertEqual(sorted(self.log_lines(prefix, "RENAME")), [
                r"RENAME: C:\DEMO\bak\B.BAK, C:\DEMO\B.TXT",
                r"RENAME: C:\DEMO\bak\a.BAK, C:\DEMO\a.txt"])

    def run_cases(self, cases, files, delays=()):
        """Runs each (name, script lines, answers, host time limit, paths fetched after the
        script) in one prefix; every one must end with nothing installed and exit 1."""
        runs = {}
        with WebServer(self.tmp / "web") as web, WinePrefix() as prefix:
            for path, seconds in delays:
                web.behave(path, delay=seconds)
            for name, lines, answers, limit, fetched in cases:
                self.web(crlf(HERE, *lines), files, name=name)
                start = len(web.paths())
                pressing = None
                if name == "progress":
                    clicker = mingw_build(self.tmp / "cancel.exe", CANCEL_PROGRESS)
                    pressing = threading.Thread(target=prefix.run, args=(clicker,))
                    pressing.start()
                run = prefix.run_host(web.url(f"setup/{name}.kst"), answers=answers,
                                      timeout=limit)
                if pressing:
                    pressing.join()
                self.assertEqual(run.returncode, 1, f"{name}: {run}")
                self.assertEqual(web.paths()[start + 1:], fetched, name)
                self.assertLess(run.seconds, limit + 15, name)
                self.assertEqual([p for p in self.listing(prefix) if p != "install.log"]
                                 if prefix.exists(r"C:\DEMO") else [], [], name)
                runs[name] = run
        return runs

    def test_cancel_in_every_kind_of_window_ends_the_installation(self):
        rule = "{} => cancel\n" + QUIT
        cases = [
            ("first", ["BEGINFIRSTSCREEN", "Welcome.", "ENDFIRSTSCREEN", "FILE a.txt"],
             rule.format("Welcome."), []),
            ("destination", [r'DEFAULTDIR C:\DEMO prompt="Where to?"', "FILE a.txt"],
             rule.format("Where to?"), []),
            ("ask", ['ASK1 "x" prompt="Your name?"', "FILE a.txt"], rule.format("Your name?"),
             []),
            ("group", ["BEGINGROUP", "Pick the parts:", "01 [X] One", "ENDGROUP",
                       "FILE a.txt GROUP=01"], rule.format("Pick the parts:"), []),
            ("disk", ['INSERTDISK "Disk 2"', "FILE a.txt"], rule.format("Please insert"), []),
            ("progress", ["FILE slow.txt", "FILE a.txt"], QUIT, ["/setup/slow.txt"]),
        ]
        runs = self.run_cases([(n, lines, answers, 60, fetched)
                               for n, lines, answers, fetched in cases],
                              {"setup/a.txt": "a", "setup/slow.txt": "slow"},
                              delays=[("/setup/slow.txt", 4)])
        for name, run in runs.items():
            kind, _, answer = self.asked(run)[-1]
            self.assertEqual((kind, answer), ("messagebox", "yes"), f"{name}: {run}")
            self.assertNotIn("time limit", run.stderr, name)

    def test_leaving_the_page_during_a_dialog_or_a_download(self):
        cases = [
            ("first", ["BEGINFIRSTSCREEN", "Welcome.", "ENDFIRSTSCREEN", "FILE a.txt"], []),
            ("disk", ['INSERTDISK "Disk 2"', "FILE a.txt"], []),
            ("download", ["FILE slow.txt", "FILE a.txt"], ["/setup/slow.txt"]),
        ]
        # Without answers the windows wait; the host's time limit leaves the page.
        runs = self.run_cases([(n, lines, None, 3, fetched) for n, lines, fetched in cases],
                              {"setup/a.txt": "a", "setup/slow.txt": "slow"},
                              delays=[("/setup/slow.txt", 30)])
        for name, run in runs.items():
            self.assertIn("time limit", run.stderr, name)

    def test_a_small_destination_drive_stops_the_installation(self):
        small = self.tmp / "small"
        small.mkdir()
        if os.geteuid() != 0 or subprocess.run(["mount", "-t", "tmpfs", "-o", "size=1m",
                                                "tmpfs", small]).returncode != 0:
            self.skipTest("a 1 MB drive needs a tmpfs mount, which needs root")
        self.addCleanup(subprocess.run, ["umount", "-l", small])
        files = {"setup/a.txt": "a", "setup/big.bin": b"b" * 2000000, "setup/after.txt": "z"}
        here = r"DEFAULTDIR D:\DEMO NOASKDRIVE NOASKDIR"
        with WinePrefix() as prefix:
            (prefix.path / "dosdevices" / "d:").symlink_to(small)
            root = self.web(crlf(here, "MINDISKSPACE 2M", "FILE a.txt"), files, name="need")
            self.web(crlf("UNINSTALL YES", here, "FILE a.txt", "FILE big.bin",
                          "FILE after.txt"), files, name="fill")
            with WebServer(root) as web:
                need = prefix.run_host(web.url("setup/need.kst"), answers=ANSWER_EVERYTHING)
                self.assertEqual(web.paths(), ["/setup/need.kst"])
                fill = prefix.run_host(web.url("setup/fill.kst"), answers=ANSWER_EVERYTHING)
                self.assertEqual(web.paths()[2:], ["/setup/a.txt", "/setup/big.bin"])
            self.assertEqual((need.returncode, fill.returncode), (1, 1), (need, fill))
            self.assertIn("Not enough disk space on the destination drive for installation.",
                          need.transcript[-1]["texts"])
            self.assertIn("Writing disk error.", fill.transcript[-1]["texts"])
            # The file that did not fit leaves nothing behind, and the log says so.
            self.assertEqual(self.listing(prefix, r"D:\DEMO"), ["a.txt", "install.log"])
            log = prefix.read(r"D:\DEMO\install.log").decode()
            self.assertEqual([line for line in log.splitlines() if line.startswith("FILE")],
                             [r'FILE: "D:\DEMO\a.txt"'])


if __name__ == "__main__":
    unittest.main()
