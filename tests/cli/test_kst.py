#!/usr/bin/env python3
"""The kst command line: exit codes, messages and the --json of the demo script.

    python3 tests/cli/test_kst.py [KST]     (default build/native/tools/kst/kst)

KESTREL_UPDATE_GOLDEN=1 rewrites demo.json from the current kst instead of comparing.
"""

import os
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent
KST = str(ROOT / "build/native/tools/kst/kst")
DEMO = str(ROOT / "examples/demo.txt")
README = str(ROOT / "README.md")


def kst(*args, cwd=None):
    return subprocess.run([KST, *args], capture_output=True, text=True, cwd=cwd, timeout=60)


class KstTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.tmp = Path(self.dir.name)

    def tearDown(self):
        self.dir.cleanup()

    def write(self, name, text):
        path = self.tmp / name
        path.write_text(text)
        return str(path)

    def test_exit_codes_and_messages(self):
        bad = self.write("bad.txt", 'TITLE "x"\nFROBNICATE\nDEFAULTDIR zz zz\n')
        lenient = self.write("lenient.txt", 'TITLE "x"\nFROBNICATE\n')
        # Arguments, exit code, and text that stderr holds (stdout for a success with output).
        table = [
            ([], 2, "kst: name a command: encode, decode, check, pack, archive, extract, list,"),
            (["frob"], 2, 'kst: "frob" is not a command'),
            (["--version"], 0, "kst "),
            (["check"], 2, "kst: SCRIPT is required\nkst: see 'kst check --help'"),
            (["encode", DEMO], 2, "kst: --output is required"),
            (["check", "--bits", "99", DEMO], 2, 'kst: --bits: "99" is not a number from 1 to 32'),
            (["check", "--memory", "12k", DEMO], 2, 'kst: --memory: "12k" is not a number'),
            (["archive", "-o", "x.arc", "--volume-size", "1.5", DEMO], 2,
             'kst: --volume-size: "1.5" is not a size in bytes'),
            (["implode", DEMO, "a", "-o", "b"], 2, "kst: --output: given twice"),
            (["list", "nofile"], 1, "kst: nofile: cannot open the file"),
            (["ls", "nofile"], 1, "kst: nofile: cannot open the file"),
            (["decode", README], 1, f"kst: {README}: not an installation script"),
            (["check", README], 1, f"kst: {README}: not an installation script"),
            (["check", "nofile"], 1, "kst: nofile: cannot read the file"),
            (["check", "--plain", bad], 1,
             f"{bad}:2: warning: unknown keyword, line passed over: FROBNICATE\n"
             f"kst: {bad}:3: Unrecognized command: DEFAULTDIR zz zz\n"),
            (["check", "--plain", lenient], 0,
             f"{lenient}:2: warning: unknown keyword, line passed over: FROBNICATE\n"),
            (["check", "--plain", "--strict", lenient], 1, f"kst: {lenient}: 1 warning (--strict)"),
            (["check", "--plain", DEMO], 0, ""),
        ]
        for args, code, text in table:
            with self.subTest(args=args):
                run = kst(*args)
                self.assertEqual(run.returncode, code, run.stderr)
                self.assertIn(text, run.stdout if code == 0 and run.stdout else run.stderr)
                if code != 0:
                    # One voice: every line of a failure is kst's, or a script's warning.
                    for line in run.stderr.splitlines():
                        self.assertTrue(line.startswith("kst: ") or ": warning: " in line, line)

    def test_round_trips_with_new_and_old_spellings(self):
        demo = Path(DEMO).read_text()
        steps = [
            ["encode", DEMO, "-o", "demo.kst", "--key", "4b65737472656c446d6f"],
            ["decode", "demo.kst", "-o", "decoded.txt"],
            ["check", "demo.kst"],
            ["implode", DEMO, "-o", "demo.imp", "--ascii"],
            ["explode", "demo.imp", "-o", "exploded.txt"],
            ["implode", DEMO, "old.imp"],
            ["explode", "old.imp", "old.txt"],
            ["pack", "-o", "setup.pak", DEMO],
            ["archive", "-o", "DEMO.ARC", "--volume-size", "2K", DEMO, README],
            ["extract", "DEMO.ARC", "-o", "out"],
            ["extract", "DEMO.ARC", "-C", "old", "--overwrite", "no"],
        ]
        for args in steps:
            run = kst(*args, cwd=self.tmp)
            self.assertEqual((run.returncode, run.stderr), (0, ""), args)
        self.assertEqual((self.tmp / "decoded.txt").read_text(), demo)
        for name in ["exploded.txt", "old.txt", "out/demo.txt", "old/demo.txt"]:
            self.assertEqual((self.tmp / name).read_text(), demo, name)
        self.assertEqual((self.tmp / "out/README.md").read_text(), Path(README).read_text())
        # K is 1000 here as in scripts: no volume may be larger than 2000 bytes.
        volumes = sorted(self.tmp.glob("DEMO.A*"))
        self.assertGreater(len(volumes), 2)
        self.assertLessEqual(max(v.stat().st_size for v in volumes), 2000)
        self.assertIn("demo.txt", kst("ls", "setup.pak", cwd=self.tmp).stdout)
        self.assertIn("demo.txt", kst("list", "DEMO.ARC", cwd=self.tmp).stdout)

    def test_json_of_the_demo_script(self):
        run = kst("check", "--plain", DEMO, "--json")
        self.assertEqual((run.returncode, run.stderr), (0, ""))
        golden = HERE / "demo.json"
        if os.environ.get("KESTREL_UPDATE_GOLDEN"):
            golden.write_text(run.stdout)
        self.assertEqual(run.stdout, golden.read_text())


if __name__ == "__main__":
    if len(sys.argv) > 1 and not sys.argv[1].startswith("-"):
        KST = str(Path(sys.argv.pop(1)).resolve())
    start = time.monotonic()
    program = unittest.main(exit=False, verbosity=2)
    print(f"kst command-line tier: {time.monotonic() - start:.1f} s", flush=True)
    sys.exit(0 if program.result.wasSuccessful() and program.result.testsRun > 0 else 1)
