#!/usr/bin/env bash
# Sets everything up and runs every test: the normal build, then the sanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

bash scripts/build.sh build
ctest --test-dir build --output-on-failure -j "$(nproc)"
# The Debian package of that build: installed, run and removed again.
bash scripts/test-package.sh build

bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DBRUMO_SANITIZE=ON -DBRUMO_UI=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j "$(nproc)"

# The Windows build: cross-built with MinGW-w64, its tests run under Wine, its zip made, and the
# program compared with the Linux one built above on the same tree.
bash scripts/test-windows.sh build-win build
