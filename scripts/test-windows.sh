#!/usr/bin/env bash
# Cross-builds Brumo for Windows (MinGW-w64) and runs its tests under Wine, in a Wine prefix made
# for this run alone: scripts/test-windows.sh [build folder, default build-win]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build-win}
bash scripts/setup-windows.sh

bash scripts/build.sh "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
build=$(cd "$build" && pwd)

work=$(mktemp -d)
cleanup() {
    wineserver -k 2>/dev/null || true
    chmod -R u+w "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Nothing of the user's: a new prefix, home and data folders (Wine's Recycle Bin is the trash
# under XDG_DATA_HOME), no desktop integration, no Mono or Gecko installers.
export WINEPREFIX=$work/prefix HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
wineboot -i >/dev/null 2>&1
wineserver -w

# Drives: the host's root is no drive (Z: would let a search reach the whole machine). The build
# folder is W:, a network drive, so that searches of all local drives never enter it. M: to P: are
# empty spare drives the tests may claim, to test what happens at a drive's root.
rm -f "$WINEPREFIX/dosdevices/z:"
ln -s "$build" "$WINEPREFIX/dosdevices/w:"
for letter in m n o p; do
    mkdir -p "$work/drives/$letter"
    ln -s "$work/drives/$letter" "$WINEPREFIX/dosdevices/$letter:"
done
wine reg add 'HKLM\Software\Wine\Drives' /v w: /d network /f >/dev/null 2>&1
wineserver -k
wineserver -w
export BRUMO_TEST_DRIVES=MNOP

# One server for every test process, and the system's background processes started now, with no
# output of ours to hold open (else a test's output pipe would stay open until they end).
wineserver -p
wine cmd /c exit >/dev/null 2>&1 </dev/null
start=$SECONDS
# One test at a time: the stop event is one named object for every process of the session.
ctest --test-dir "$build" --output-on-failure
echo "Windows tests under Wine took $((SECONDS - start)) s"
