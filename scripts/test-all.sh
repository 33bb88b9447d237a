#!/usr/bin/env bash
# Installs what the tests need, builds every preset and runs every test tier:
#   1. native unit tests                       (g++, GoogleTest)
#      and kst's command line                  (exit codes, messages, --json of the demo)
#   2. the same unit tests with ASan + UBSan   (g++)
#   3. unit and Windows tests under wine64     (x86_64-w64-mingw32, fresh WINEPREFIX, Xvfb)
#   4. end-to-end under wine64                 (kestrel-host, loopback HTTP, a prefix per scenario)
#   5. the i686 product build                  (built and checked, not run: no 32-bit here)
#   6. fuzz targets, each for a short run      (clang, libFuzzer)
# Fails if any tier fails or runs no test.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

step() { printf '\n=== %s (%s) ===\n' "$*" "$(date +%T)"; }

# Test cases that ran, across the tiers, for the closing line: ctest's count where each case is
# its own ctest test, GoogleTest's own count where a program runs as one.
passed=0
add_passed() { passed=$((passed + $(awk "$1" "$2"))); }
ctest_cases='/tests failed out of/ { n += $NF } END { print n + 0 }'
gtest_cases='match($0, /\[  PASSED  \] [0-9]+ test/) { split(substr($0, RSTART), w, " "); n += w[4] } END { print n + 0 }'
unittest_cases='/^Ran [0-9]+ test/ { n += $2 } END { print n + 0 }'
logs=$(mktemp -d)

step "install packages"
scripts/install-deps.sh

step "every C++ file formatted by .clang-format"
unformatted=$(git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror 2>&1 | grep -c 'error:' || true)
if [ "$unformatted" != 0 ]; then
    git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
    exit 1
fi

step "layers: includes point down, OS headers only at the edge"
scripts/check-layers.sh

step "native: build and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs" | tee "$logs/native.log"
add_passed "$ctest_cases" "$logs/native.log"
python3 tests/cli/test_kst.py build/native/tools/kst/kst 2>&1 | tee "$logs/cli.log"
grep -q '^OK' "$logs/cli.log"
add_passed "$unittest_cases" "$logs/cli.log"

step "native with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset native-sanitize >/dev/null
cmake --build --preset native-sanitize -j "$jobs"
ctest --preset native-sanitize -j "$jobs" | tee "$logs/sanitize.log"
add_passed "$ctest_cases" "$logs/sanitize.log"

step "win64: build, then unit and Windows tests under wine64"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"
WINEPREFIX=$(mktemp -d)
export WINEPREFIX
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX" "$logs"' EXIT
xvfb-run -a ctest --preset win64 -V >"$logs/win64.log" 2>&1 || { cat "$logs/win64.log"; exit 1; }
grep -aE '\[  (PASSED|FAILED)  \]|tests passed' "$logs/win64.log"
add_passed "$gtest_cases" "$logs/win64.log"

step "end-to-end under wine64"
xvfb-run -a python3 tests/e2e/run_e2e.py 2>&1 | tee "$logs/e2e.log"
grep -q '^OK' "$logs/e2e.log"
add_passed "$unittest_cases" "$logs/e2e.log"

step "win32: the product build"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
# The product DLL read from its bytes: machine, plain export names, registration keys.
KESTREL_REQUIRE_I686_PLUGIN=1 ctest --preset native -R PluginDllI686 --output-on-failure

step "fuzz targets: short runs"
scripts/fuzz.sh 20

step "all tiers passed"
echo "all tiers: $passed passed, 0 failed"
