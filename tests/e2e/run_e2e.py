#!/usr/bin/env python3
"""Runs the end-to-end scenarios (every tests/e2e/test_*.py) under wine64.

    python3 tests/e2e/run_e2e.py [unittest arguments, e.g. -k answers]

Needs the win64 build (KESTREL_WIN64_BUILD, default build/win64). Without a display it
starts itself again under xvfb-run.
"""

import os
import sys
import time
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent


def main():
    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", sys.executable, *sys.argv])
    sys.path.insert(0, str(HERE))
    import kestrel_e2e

    start = time.monotonic()
    try:
        kestrel_e2e.pristine_prefix()
        prepared = time.monotonic()
        print(f"pristine Wine prefix made in {prepared - start:.1f} s", flush=True)
        program = unittest.main(module=None, argv=[sys.argv[0], "discover", "-s", str(HERE),
                                                   "-t", str(HERE), *sys.argv[1:]],
                                exit=False, verbosity=2)
    finally:
        kestrel_e2e.remove_pristine_prefix()
    print(f"end-to-end tier: {time.monotonic() - start:.1f} s", flush=True)
    sys.exit(0 if program.result.wasSuccessful() and program.result.testsRun > 0 else 1)


if __name__ == "__main__":
    main()
