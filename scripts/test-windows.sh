#!/usr/bin/env bash
# Cross-builds Brumo for Windows (MinGW-w64) and runs its tests under Wine, in a Wine prefix made
# for this run alone; then runs the program under Wine and on Linux on the same tree and compares
# what they report and log:
#   scripts/test-windows.sh [Windows build folder, default build-win] [Linux build folder]
# The Linux build folder defaults to "build"; its brumo is built there when missing (a headless
# configuration when the folder is new). "none" skips the comparison.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build-win}
linux=${2:-build}
bash scripts/setup-windows.sh

bash scripts/build.sh "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
build=$(cd "$build" && pwd)

work=$(mktemp -d)
cleanup() {
    wineserver -k 2>/dev/null || true
    umount "$work/drives/q" 2>/dev/null || true
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
# Q: is a file system of its own, for moves across volumes, where this user may mount one; a
# network drive, so that searches of all local drives never enter it.
mkdir -p "$work/drives/q"
if mount -t tmpfs -o size=16m brumo-test "$work/drives/q" 2>/dev/null; then
    ln -s "$work/drives/q" "$WINEPREFIX/dosdevices/q:"
    wine reg add 'HKLM\Software\Wine\Drives' /v q: /d network /f >/dev/null 2>&1
    export BRUMO_TEST_OTHER_VOLUME=Q:
fi
wineserver -k
wineserver -w
export BRUMO_TEST_DRIVES=MNOP

# One server for every test process, and the system's background processes started now, with no
# output of ours to hold open (else a test's output pipe would stay open until they end).
wineserver -p
wine cmd /c exit >/dev/null 2>&1 </dev/null
start=$SECONDS
# One test at a time: side by side under Wine, a test that uses the Recycle Bin waited for all the
# others to end, so running them in parallel gained nothing.
ctest --test-dir "$build" --output-on-failure
echo "Windows tests under Wine took $((SECONDS - start)) s"

# End to end: the program itself, on files in the prefix's temporary folder, with the built-in
# types (there is no type store beside it).
temp=$(find "$WINEPREFIX/drive_c/users" -mindepth 2 -maxdepth 2 -name Temp | head -n 1)
find "$temp" -mindepth 1 -delete
head -c 1000 /dev/zero >"$temp/one.tmp"
head -c 2000 /dev/zero >"$temp/two é.log"
mkdir -p "$temp/sub"
head -c 5 /dev/zero >"$temp/sub/three.tmp"
brumo() { (cd "$work" && wine 'W:\brumo.exe' "$@" </dev/null); }
expect() { # expect TEXT COMMAND...: the command succeeds and prints TEXT
    local text=$1 output
    shift
    output=$(brumo "$@" | tr -d '\r') || { echo "brumo $* failed:"; echo "$output"; exit 1; }
    grep -qF -- "$text" <<<"$output" || { echo "brumo $*: no \"$text\" in:"; echo "$output"; exit 1; }
}
expect "Temp folders" list
expect "but not its subfolders" describe "Temp folders"
expect "These files occupy 3,000 bytes of disk space." count "Temp folders"
expect "2 files would be processed" count "Temp folders"
expect "1 folder was searched" count "Temp folders"
expect "folders were searched" count "Temporary files" # all local drives: what Wine has on C:
[ -f "$temp/one.tmp" ] && [ -f "$temp/sub/three.tmp" ] || { echo "count removed files"; exit 1; }
# A test run lists what it would remove and removes nothing.
expect "Brumo tested" run
[ -f "$temp/one.tmp" ] && [ -f "$temp/sub/three.tmp" ] || { echo "a test run removed files"; exit 1; }
testlog=$(find "$build" "$WINEPREFIX" -name 'brumo.TEST.TXT' | head -n 1)
[ -n "$testlog" ] || { echo "the test run wrote no test log"; exit 1; }
log=$(tr -d '\r' <"$testlog")
grep -q '^"Temp folders" files would have been ' <<<"$log" || { echo "no type header in the test log"; exit 1; }
grep -qi 'one\.tmp$' <<<"$log" || { echo "one.tmp missing from the test log"; exit 1; }
echo "Windows program end to end: passed"

# The zip for Windows users: the program, its help and a read-me in one folder, unpacked here
# on C: the program from it runs there.
rm -f "$build"/brumo-*-win64.zip
output=$(cd "$build" && cpack -G ZIP 2>&1) || { echo "$output"; exit 1; }
zip=$(find "$build" -maxdepth 1 -name 'brumo-*-win64.zip')
folder=$(basename "$zip" .zip)
(cd "$WINEPREFIX/drive_c" && cmake -E tar xf "$zip")
for file in brumo.exe README.txt docs/help/index.html; do
    [ -f "$WINEPREFIX/drive_c/$folder/$file" ] || { echo "$file is not in $zip"; exit 1; }
done
zipped=$(cd "$work" && wine "C:\\$folder\\brumo.exe" --version </dev/null | tr -d '\r')
[ "$zipped" = "$(brumo --version | tr -d '\r')" ] || { echo "brumo.exe from $zip: $zipped"; exit 1; }
echo "Windows zip: $(basename "$zip") holds the program, its help and a read-me"

# Folders and files of the selection swapped for links during real runs: the Recycle Bin's by a
# Windows process, which share modes bind, the others by a native process, which nothing binds.
start=$SECONDS
bash scripts/race-test.sh 40 wine "$build" "$work"
echo "Race test under Wine took $((SECONDS - start)) s"

if [ "$linux" = none ]; then
    echo "Linux and Wine comparison skipped: no Linux build given"
    exit 0
fi
start=$SECONDS
bash scripts/compare-windows.sh "$linux" "$build" "$work"
echo "Linux and Wine comparison took $((SECONDS - start)) s"
bash scripts/race-test.sh 10 linux "$linux"
