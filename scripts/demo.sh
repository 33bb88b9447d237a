#!/usr/bin/env bash
# The main job, for now: kst encodes the sample script into a .kst and decodes it back.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target kst -j "$(nproc)" >/dev/null
out=build/demo
mkdir -p "$out"
build/native/tools/kst/kst encode examples/welcome.txt -o "$out/welcome.kst"
build/native/tools/kst/kst decode "$out/welcome.kst"
echo "encoded script: $out/welcome.kst" >&2
