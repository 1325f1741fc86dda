#!/usr/bin/env bash
# Builds the libFuzzer targets with Clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz/, and runs each for FUZZ_SECONDS (30 by default) from a scratch copy of its seed
# corpus; fails when a target finds a crash. Sourced set-up comes first (packages).
# A longer run: FUZZ_SECONDS=3600 scripts/fuzz.sh
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/packages.sh

seconds=${FUZZ_SECONDS:-30}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKORVALEN_BUILD_FUZZ=ON -DKORVALEN_BUILD_GUI=OFF -DKORVALEN_BUILD_TESTS=OFF \
    -DKORVALEN_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target FormatFileFuzz DataFileOpenFuzz KeyingFuzz ToolFuzz LogFuzz \
    >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
for target in FormatFileFuzz DataFileOpenFuzz KeyingFuzz ToolFuzz LogFuzz; do
    corpus=$scratch/$target
    mkdir -p "$corpus"
    cp fuzz/corpus/$target/* "$corpus/" 2>/dev/null || true
    log=$scratch/$target.log
    # libFuzzer adds what it finds to the first folder: the scratch copy, never the seeds.
    if build-fuzz/fuzz/$target "$corpus" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$scratch/" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz: $target clean, $runs inputs in ${seconds} s ($((runs / seconds)) per second)"
    else
        echo "fuzz: $target FAILED" >&2
        tail -40 "$log" >&2
        cp "$scratch"/crash-* build-fuzz/ 2>/dev/null || true
        failed=1
    fi
done
exit "$failed"
