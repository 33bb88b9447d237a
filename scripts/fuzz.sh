#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds
# (default 60), starting from the seed inputs in tests/fuzz/corpus/<target>/ when present.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for src in tests/fuzz/*_fuzz.cpp; do
        [ -e "$src" ] && targets+=("$(basename "$src" .cpp)")
    done
fi
for target in "${targets[@]}"; do
    work=$(mktemp -d)
    seeds=()
    [ -d "tests/fuzz/corpus/$target" ] && seeds=("tests/fuzz/corpus/$target")
    echo "fuzzing $target for ${seconds}s"
    (cd "$work" && "$OLDPWD/build/fuzz/tests/fuzz/$target" -max_total_time="$seconds" \
        -print_final_stats=1 "$work" "${seeds[@]/#/$OLDPWD/}" 2>&1 | tail -4)
    rm -rf "$work"
done
