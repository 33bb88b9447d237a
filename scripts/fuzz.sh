#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds
# (default 60), starting from the seed inputs in tests/fuzz/corpus/<target>/ when present.
# A finding (crash, sanitizer report, leak, timeout) stops the run with a failure and leaves
# its reproducer in build/fuzz/findings/<target>/.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
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
    findings="$root/build/fuzz/findings/$target"
    mkdir -p "$findings"
    seeds=()
    [ -d "tests/fuzz/corpus/$target" ] && seeds=("$root/tests/fuzz/corpus/$target")
    echo "fuzzing $target for ${seconds}s"
    status=0
    (cd "$work" && "$root/build/fuzz/tests/fuzz/$target" -max_total_time="$seconds" \
        -print_final_stats=1 -artifact_prefix="$findings/" "$work" "${seeds[@]}" \
        >"$work/log" 2>&1) || status=$?
    if [ "$status" != 0 ]; then
        tail -60 "$work/log"
        echo "fuzz: $target found a fault; reproducer in $findings/" >&2
        ls -l "$findings" >&2
        rm -rf "$work"
        exit 1
    fi
    grep -E 'stat::number_of_executed_units|stat::new_units_added' "$work/log" || true
    rm -rf "$work"
done
