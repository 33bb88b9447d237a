"""Installations through kestrel-host and the real plug-in, npkestrel.dll, under wine64."""

import unittest

from kestrel_e2e import (ANSWER_EVERYTHING, PUBLISHED, InstallCase, WebServer, WinePrefix, crlf,
                         winpath)


class InstallTest(InstallCase):
    def test_remote_files_arrive_one_at_a_time_and_the_log_matches_the_disk(self):
        files = {"setup/a.txt": "alpha\r\n", "pub/b.txt": "bravo", "setup/disk1/c.txt": "c" * 70000}
        root = self.web(crlf("UNINSTALL YES", r"DEFAULTDIR C:\DEMO NOASKDRIVE NOASKDIR",
                             "FILE a.txt", r"FILE b.txt SOURCE=\pub",
                             r"FILE docs\deep\c.txt SOURCE=disk1"), files)
        with WebServer(root) as web, WinePrefix() as prefix:
            run = prefix.run_host(web.url("index.html"), answers=ANSWER_EVERYTHING)
            self.assertEqual(run.returncode, 0, run)
            self.assertEqual(web.paths(), ["/index.html", "/setup/setup.kst", "/setup/a.txt",
                                           "/pub/b.txt", "/setup/disk1/c.txt"])
            for before, after in zip(web.requests, web.requests[1:]):
                self.assertLessEqual(before["end"], after["start"], "requests overlap")
            for windows, served in ((r"C:\DEMO\a.txt", "setup/a.txt"),
                                    (r"C:\DEMO\b.txt", "pub/b.txt"),
                                    (r"C:\DEMO\docs\deep\c.txt", "setup/disk1/c.txt")):
                self.assertEqual(prefix.read(windows), files[served].encode(), windows)
                self.assertEqual(prefix.mtime(windows), PUBLISHED, windows)
            self.assertEqual(prefix.read(r"C:\DEMO\install.log").decode(), (
                'DEFAULTDIR: "C:\\DEMO"\nDIRECTORY: C:\\DEMO\n\n'
                'UNINSTALLBEGINPROMPT: "Do you want this application removed from your '
                'system?"\n'
                'UNINSTALLENDPROMPT: "This application has been successfully removed from '
                'your system."\n'
                'UNINSTALLTITLEPROMPT: "UnInstall"\n'
                'FILE: "C:\\DEMO\\a.txt"\nFILE: "C:\\DEMO\\b.txt"\n'
                'DIRECTORY: C:\\DEMO\\docs\nDIRECTORY: C:\\DEMO\\docs\\deep\n\n'
                'FILE: "C:\\DEMO\\docs\\deep\\c.txt"\n'))
        self.assertEqual(self.asked(run), [], "nothing was asked")

    def test_full_url_and_local_sources_and_a_missing_screen_picture(self):
        local = self.tmp / "local"
        local.mkdir()
        (local / "d.txt").write_text("delta")
        files = {"other/e.txt": "echo"}
        root = self.web("", files)
        with WebServer(root) as web, WinePrefix() as prefix:
            # The script names the server, so it is written once the server has its port.
            self.web(crlf(r"DEFAULTDIR C:\DEMO NOASKDRIVE NOASKDIR", "SCREENGRAPHIC gone.bmp TILE",
                          f"FILE e.txt SOURCE={web.url('other')}",
                          f"FILE d.txt SOURCE={winpath(local)}"), files)
            run = prefix.run_host(web.url("index.html"), answers=ANSWER_EVERYTHING)
            self.assertEqual(run.returncode, 0, run)
            self.assertEqual((prefix.read(r"C:\DEMO\e.txt"), prefix.read(r"C:\DEMO\d.txt")),
                             (b"echo", b"delta"))
            self.assertEqual(web.paths(), ["/index.html", "/setup/setup.kst", "/setup/gone.bmp",
                                           "/other/e.txt"])
        self.assertEqual(self.asked(run), [], "a missing picture asks nothing")

    def test_a_first_screen_then_the_progress_dialog_through_a_several_file_install(self):
        names = [f"f{n}.txt" for n in range(1, 6)]
        files = {"setup/" + name: name * 1000 for name in names}
        root = self.web(crlf(r"DEFAULTDIR C:\DEMO NOASKDRIVE NOASKDIR", "BEGINFIRSTSCREEN",
                             "Welcome to the demo.", "ENDFIRSTSCREEN",
                             *("FILE " + name for name in names)), files)
        with WebServer(root) as web, WinePrefix() as prefix:
            # Slow answers keep the progress dialog up long enough for the host to see it.
            for name in names[1:3]:
                web.behave("/setup/" + name, delay=1)
            run = prefix.run_host(web.url("index.html"), answers=ANSWER_EVERYTHING)
            self.assertEqual(run.returncode, 0, run)
            self.assertEqual(self.asked(run), [("dialog", "", "ok")])
            self.assertIn("Welcome to the demo.", run.transcript[0]["texts"])
            self.assertIn("progress", [e["kind"] for e in run.transcript], run)
            for name in names:
                self.assertEqual(prefix.read("C:\\DEMO\\" + name),
                                 files["setup/" + name].encode(), name)

    def test_a_required_file_missing_ends_the_installation_with_its_url(self):
        root = self.web(crlf(r"DEFAULTDIR C:\DEMO NOASKDRIVE NOASKDIR", "FILE a.txt",
                             "FILE gone.txt", "FILE after.txt"),
                        {"setup/a.txt": "alpha", "setup/after.txt": "never"})
        with WebServer(root) as web, WinePrefix() as prefix:
            run = prefix.run_host(web.url("index.html"), answers=ANSWER_EVERYTHING)
            self.assertEqual(run.returncode, 1, run)
            self.assertEqual(web.paths()[-1], "/setup/gone.txt", "nothing fetched after it")
            self.assertEqual(self.asked(run), [("messagebox", "Error", "ok")])
            self.assertIn("File not found: " + web.url("setup/gone.txt"),
                          run.transcript[-1]["texts"])
            self.assertEqual(prefix.read(r"C:\DEMO\a.txt"), b"alpha")
            self.assertFalse(prefix.exists(r"C:\DEMO\gone.txt"))
            self.assertFalse(prefix.exists(r"C:\DEMO\after.txt"))

    def test_a_script_error_at_start_shows_the_line_and_runs_nothing_after_it(self):
        root = self.web(crlf(r"DEFAULTDIR C:\DEMO NOASKDRIVE NOASKDIR", "SHOWREADME a.txt",
                             r'RUNATEXIT "C:\windows\notepad.exe"', "REBOOTSYSTEM",
                             "BOGUS words here", "FILE a.txt"), {"setup/a.txt": "alpha"})
        with WebServer(root) as web, WinePrefix() as prefix:
            run = prefix.run_host(web.url("index.html"), answers=ANSWER_EVERYTHING)
            self.assertEqual(run.returncode, 1, run)
            self.assertEqual(web.paths(), ["/index.html", "/setup/setup.kst"])
            self.assertEqual([(e["kind"], e["caption"]) for e in run.transcript],
                             [("messagebox", "Unrecognized command: line: 5")])
            self.assertIn("BOGUS words here", run.transcript[0]["texts"])
            self.assertFalse(prefix.exists(r"C:\DEMO"))


if __name__ == "__main__":
    unittest.main()
