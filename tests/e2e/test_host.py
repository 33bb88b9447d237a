"""kestrel-host's own behaviour, with the test plug-in (tests/e2e/test_plugin) in its place."""

import shutil
import tempfile
import unittest
from pathlib import Path, PureWindowsPath

from kestrel_e2e import (HOST_EXE, TEST_PLUGIN, TEST_PLUGIN_PLAIN, WebServer, WinePrefix,
                         make_web_folder, read_png, winpath)

PUBLISHED = 981173106  # 2001-02-03 04:05:06 UTC: the publisher's date of every served file
PAGE = ('<html><body><p>Setup</p><!-- <embed src="decoy.kst"> -->\n'
        '<embed type="application/x-Kestrel" src="setup/setup.kst?v=1&amp;x=2" '
        'width="600" height=400></body></html>')


def script(*commands):
    return "\n".join(commands) + "\n"


class HostTest(unittest.TestCase):
    def setUp(self):
        self.tmp = Path(tempfile.mkdtemp(prefix="kestrel-e2e-web-"))
        self.addCleanup(shutil.rmtree, self.tmp, True)

    def web(self, files):
        return make_web_folder(self.tmp / "web", files, mtime=PUBLISHED)

    def assertOrdered(self, run, names):
        """The plug-in heard these calls, in this order (other calls may come between)."""
        events = [e["event"] for e in run.plugin_log]
        positions = [events.index(n) for n in names]
        self.assertEqual(positions, sorted(positions), events)

    def test_page_downloads_one_at_a_time_in_request_order(self):
        big = bytes(range(256)) * 4096  # 1 MB, so the status window counts up
        root = self.web({
            "index.html": PAGE,
            # Relative addresses resolve against the page, as in any browser.
            "setup/setup.kst": script("GET setup/a.txt", "GET setup/data/big.bin",
                                      "GET setup/c.txt", "GET setup/missing.txt", "WAIT",
                                      "OUTCOME 0", "LEAVE"),
            "setup/a.txt": "first\n", "setup/data/big.bin": big, "setup/c.txt": "third\n"})
        with WebServer(root) as web, WinePrefix() as prefix:
            run = prefix.run_host(web.url("index.html"), plugin=TEST_PLUGIN)
            self.assertEqual(run.returncode, 0, run)
            self.assertEqual(web.paths(), ["/index.html", "/setup/setup.kst?v=1&x=2",
                                           "/setup/a.txt", "/setup/data/big.bin",
                                           "/setup/c.txt", "/setup/missing.txt"])
            for before, after in zip(web.requests, web.requests[1:]):
                self.assertLessEqual(before["end"], after["start"], "requests overlap")

        self.assertOrdered(run, ["getentrypoints", "initialize", "new", "setwindow",
                                 "newstream", "asfile", "destroystream", "geturl", "outcome",
                                 "destroy", "shutdown"])
        self.assertEqual(len(run.events("destroy")), 1)
        new = run.events("new")[0]
        self.assertEqual((new["type"], new["mode"]), ("application/x-Kestrel", 1))
        self.assertEqual(new["attributes"], {"type": "application/x-Kestrel", "width": "600",
                                             "src": "setup/setup.kst?v=1&x=2", "height": "400"})
        window = run.events("setwindow")[0]
        self.assertTrue(window["first_child"] and window["maximizable"], window)
        self.assertEqual((window["status_class"].lower(), window["status_text"]), ("static", "0"))
        self.assertIn("100", [e["text"] for e in run.events("status")])

        files = {Path(e["url"]).name: e for e in run.events("asfile")}
        self.assertEqual(files["setup.kst?v=1&x=2"]["url"], web.url("setup/setup.kst?v=1&x=2"))
        for name, size in (("a.txt", 6), ("big.bin", len(big)), ("c.txt", 6)):
            self.assertEqual((files[name]["size"], files[name]["written"]), (size, size), name)
            self.assertEqual(files[name]["mtime"], PUBLISHED, name)
            self.assertTrue(files[name]["fname"].endswith("\\" + name), files[name])
        self.assertEqual(len({PureWindowsPath(f["fname"]).parent for f in files.values()
                              if f["fname"]}),
                         4, "each file gets a folder of its own")
        streams = {Path(e["url"]).name: e for e in run.events("newstream")}
        self.assertEqual((streams["big.bin"]["end"], streams["big.bin"]["lastmodified"]),
                         (len(big), PUBLISHED))
        # A 404 hands over no file, then ends normally: the plug-in reports the missing file.
        self.assertIsNone(files["missing.txt"]["fname"])
        ends = {Path(e["url"]).name: e["reason"] for e in run.events("destroystream")}
        self.assertEqual(ends["missing.txt"], 0)

    def test_broken_transfers_end_with_a_network_error_and_no_file(self):
        root = self.web({
            "setup.kst": script("GET cut.bin", "GET dropped.bin", "GET ok.txt",
                                "GET http://127.0.0.1:9/refused.bin", "WAIT", "OUTCOME 1",
                                "LEAVE"),
            "cut.bin": b"x" * 200000, "dropped.bin": b"y" * 10, "ok.txt": "fine\n"})
        with WebServer(root) as web, WinePrefix() as prefix:
            web.behave("/cut.bin", truncate=50000)
            web.behave("/dropped.bin", close=True)
            run = prefix.run_host(web.url("setup.kst"), plugin=TEST_PLUGIN)
            leftovers = list(prefix.linux_path(r"C:\users").glob("*/Temp/kestrel-host-*"))
        self.assertEqual(run.returncode, 1, run)  # the plug-in reported a failure
        ends = {Path(e["url"]).name: e["reason"] for e in run.events("destroystream")}
        self.assertEqual(ends, {"setup.kst": 0, "cut.bin": 1, "dropped.bin": 1, "ok.txt": 0,
                                "refused.bin": 1})
        handed = [Path(e["url"]).name for e in run.events("asfile")]
        self.assertEqual(handed, ["setup.kst", "ok.txt"])
        self.assertEqual(leftovers, [], "temporary downloads are removed")

    def test_every_form_of_target(self):
        root = self.web({
            "page.html": '<object data="intro.avi" type="video/x-msvideo"></object>'
                         '<object data="kits/two.kst" width=10></object>',
            "kits/two.kst": script("GET kits/two.txt", "WAIT", "LEAVE"),
            "kits/two.txt": "two\n",
            "local/setup.kst": script("GET file.txt", "GET sub/remote.txt", "WAIT", "LEAVE"),
            "local/file.txt": "local\n"})
        local = root / "local" / "setup.kst"
        with WebServer(root) as web, WinePrefix() as prefix:
            page = prefix.run_host(web.url("page.html"), plugin=TEST_PLUGIN)
            by_path = prefix.run_host(winpath(local), plugin=TEST_PLUGIN_PLAIN)
            by_url = prefix.run_host("file:///" + winpath(local).replace("\\", "/"),
                                     plugin=TEST_PLUGIN_PLAIN)
            based = prefix.run_host(winpath(local), plugin=TEST_PLUGIN_PLAIN,
                                    base_url=web.url("kits/setup.kst"))
            self.assertEqual(web.paths(), ["/page.html", "/kits/two.kst", "/kits/two.txt",
                                           "/kits/file.txt", "/kits/sub/remote.txt"])

        self.assertEqual(page.events("asfile")[1]["url"], web.url("kits/two.txt"))
        self.assertEqual(page.events("new")[0]["attributes"], {"data": "kits/two.kst",
                                                              "width": "10"})
        self.assertEqual(page.returncode, 1, page)  # no OUTCOME: the plug-in reported none ran
        local_url = "file:///" + winpath(local).replace("\\", "/")
        for run in (by_path, by_url):
            # A plug-in without the outcome export that leaves the page itself: success.
            self.assertEqual(run.returncode, 0, run)
            self.assertEqual(run.events("new")[0]["mode"], 2)
            self.assertEqual([e["url"] for e in run.events("newstream")][:2],
                             [local_url, local_url.replace("setup.kst", "file.txt")])
            self.assertEqual(run.events("asfile")[1]["size"], 6)
        # --base-url: the script is local, the plug-in believes it came from the server.
        self.assertEqual(based.returncode, 0, based)
        self.assertEqual([e["url"] for e in based.events("asfile")],
                         [web.url("kits/setup.kst"), web.url("kits/file.txt"),
                          web.url("kits/sub/remote.txt")])

    def test_answers_transcript_and_screenshots(self):
        root = self.web({"setup.kst": script(
            "MSGBOX YESNO Install the help files?", "MSGBOX YESNO Replace README.TXT?",
            "MSGBOX OK Setup will now copy files.", "PROGRESS", "MODELESS",
            "MODAL Program group", "MODAL Components", "CLOSE", "OUTCOME 0", "LEAVE")})
        answers = ("# unattended demo\n"
                   "help files => yes\n"
                   "README => no   # keep the user's own\n"
                   "copy files => ok\n"
                   'Program group => text "Kestrel Demo"\n'
                   "Components => check 2, 3\n")
        shots = self.tmp / "shots"
        with WinePrefix() as prefix:
            run = prefix.run_host(winpath(root / "setup.kst"), plugin=TEST_PLUGIN,
                                  answers=answers, screenshots=shots)
        self.assertEqual(run.returncode, 0, run)
        self.assertEqual([e["result"] for e in run.events("msgbox")], [6, 7, 1])
        self.assertEqual([(e["edit"], e["checks"], e["result"]) for e in run.events("modal")],
                         [("Kestrel Demo", [1, 0, 0], 1), ("", [0, 1, 1], 1)])
        seen = [(e["kind"], e["caption"], e.get("answer")) for e in run.transcript]
        self.assertEqual(seen, [("messagebox", "Test question", "yes"),
                                ("messagebox", "Test question", "no"),
                                ("messagebox", "Test question", "ok"),
                                ("progress", "Installing", None),
                                ("popup", "Note", None),
                                ("dialog", "Program group", 'text "Kestrel Demo"'),
                                ("dialog", "Components", "check 2,3")])
        self.assertIn("Install the help files?", run.transcript[0]["texts"])
        self.assertEqual(run.transcript[5]["texts"], ["Name for the program group:",
                                                      "Program files", "Help files",
                                                      "Samples", "OK", "Cancel"])
        names = sorted(p.name for p in shots.iterdir())
        self.assertEqual(names[0], "001-plugin.png")
        self.assertEqual(len(names), 8, names)
        self.assertIn("progress", names[4] + names[5])
        for name in names:
            width, height, pixels = read_png(shots / name)
            self.assertEqual(len(pixels), height * (1 + 3 * width), name)
            # Captured through the window, not the screen (which gives black under Wine).
            self.assertTrue(any(pixels), f"{name} is black")
            if name != "001-plugin.png":
                self.assertGreater(len(set(pixels)), 2, f"{name} has no text")

    def test_unanswered_windows_get_cancel_or_no_and_fail_the_run(self):
        root = self.web({"setup.kst": script("MSGBOX YESNO Overwrite?", "MODAL Components",
                                             "OUTCOME 0", "LEAVE")})
        with WinePrefix() as prefix:
            run = prefix.run_host(winpath(root / "setup.kst"), plugin=TEST_PLUGIN,
                                  answers="Something else => ok\n")
        self.assertEqual(run.returncode, 1, run)
        self.assertEqual(run.events("msgbox")[0]["result"], 7)
        self.assertEqual(run.events("modal")[0]["result"], 2)
        self.assertEqual([(e["answer"], e["unmatched"]) for e in run.transcript],
                         [("no", True), ("cancel", True)])
        self.assertIn("matches no rule", run.stderr)

    def test_leaving_the_page_during_a_download_and_the_time_limit(self):
        root = self.web({"slow.kst": script("GET slow.bin", "LEAVE"),
                         "idle.kst": script("MODELESS"), "slow.bin": "late\n"})
        with WebServer(root) as web, WinePrefix() as prefix:
            web.behave("/slow.bin", delay=30)
            left = prefix.run_host(web.url("slow.kst"), plugin=TEST_PLUGIN_PLAIN)
            timed = prefix.run_host(web.url("idle.kst"), plugin=TEST_PLUGIN, timeout=2)
            timed_plain = prefix.run_host(web.url("idle.kst"), plugin=TEST_PLUGIN_PLAIN,
                                          timeout=2)
        self.assertEqual(left.returncode, 0, left)
        self.assertLess(left.seconds, 25, "a download in progress held the host")
        self.assertEqual([e["url"] for e in left.events("asfile")], [web.url("slow.kst")])
        self.assertEqual(len(left.events("destroy")), 1)
        for run in (timed, timed_plain):
            self.assertEqual(run.returncode, 1, run)
            self.assertIn("time limit", run.stderr)
            self.assertEqual(len(run.events("destroy")), 1)
            self.assertOrdered(run, ["destroy", "shutdown"])

    def test_host_that_cannot_start_exits_2(self):
        root = self.web({"plain.html": "<html><p>No plug-in here</p></html>",
                         "setup.kst": script("LEAVE"),
                         "bad-answers.txt": "Overwrite? => maybe\n"})
        with WebServer(root) as web, WinePrefix() as prefix:
            bare = prefix.run(HOST_EXE)
            cases = {
                "unknown option": prefix.run_host(web.url("setup.kst"), plugin=TEST_PLUGIN,
                                                  args=("--colour",)),
                "missing plug-in": prefix.run_host(web.url("setup.kst"),
                                                   plugin=root / "npnone.dll"),
                "not a plug-in": prefix.run_host(web.url("setup.kst"),
                                                 plugin=TEST_PLUGIN.parent.parent.parent /
                                                 "tools" / "host" / "kestrel-host.exe"),
                "page without embed": prefix.run_host(web.url("plain.html"),
                                                      plugin=TEST_PLUGIN),
                "script not found": prefix.run_host(web.url("gone.kst"), plugin=TEST_PLUGIN),
                "bad answers": prefix.run_host(web.url("setup.kst"), plugin=TEST_PLUGIN,
                                               args=("--answers",
                                                     winpath(root / "bad-answers.txt"))),
            }
        self.assertEqual(bare.returncode, 2, bare)
        for name, run in cases.items():
            self.assertEqual(run.returncode, 2, f"{name}: {run}")
            self.assertEqual(run.events("new"), [], name)
            self.assertTrue(run.stderr.strip(), name)
        self.assertIn("bad-answers.txt:1:", cases["bad answers"].stderr)


if __name__ == "__main__":
    unittest.main()
