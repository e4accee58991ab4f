#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in their own build folder and runs each for a
# bounded time on its seed corpus: scripts/fuzz.sh [seconds per target, default 60]
# New inputs go to build-fuzz/corpus-<target>; the committed seeds are only read.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
dir=build-fuzz

CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRUMO_FUZZ=ON -DBRUMO_TESTS=OFF -DBRUMO_UI=OFF -DBRUMO_SANITIZE=ON \
    -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
cmake --build "$dir" -j 2 --target type_store_fuzz

for target in type_store_fuzz; do
    work="$dir/corpus-$target"
    mkdir -p "$work"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "$dir/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 "$work" tests/fuzz/corpus
done
