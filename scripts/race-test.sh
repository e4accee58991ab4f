#!/usr/bin/env bash
# Real clean-up runs by each method while a native process keeps swapping a folder and a file of
# the selection for links to a canary tree outside every drive; afterwards the canary tree must be
# as it was: no run may delete, move or trash anything through a swapped entry.
#   scripts/race-test.sh SECONDS linux LINUX_BUILD_FOLDER
#   scripts/race-test.sh SECONDS wine WINDOWS_BUILD_FOLDER WORK_FOLDER   (by scripts/test-windows.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/type_store.sh
seconds=$1
side=$2
build=$3

race=$(mktemp -d)
racer=
stop_racer() {
    # Asked, not killed: a swap cut short would leave its last step running on its own.
    if [ -n "$racer" ]; then
        touch "$race/stop"
        wait "$racer" 2>/dev/null || true
        rm -f "$race/stop"
        racer=
    fi
}
trap 'stop_racer; chmod -R u+w "$race" 2>/dev/null || true; rm -rf "$race"' EXIT

if [ "$side" = wine ]; then
    : "${WINEPREFIX:?run by scripts/test-windows.sh}"
    drive=$4/drives/m # M: under Wine
    prog=$WINEPREFIX/drive_c/brumo-race # C:\brumo-race
    mkdir -p "$prog"
    cp "$build/brumo.exe" "$prog/brumo.exe"
    brumo() { (cd "$race" && wine 'C:\brumo-race\brumo.exe' "$@" </dev/null); }
else
    drive=$race/m
    prog=$race/prog
    mkdir -p "$prog" "$race/home" "$race/data"
    cp "$build/brumo" "$prog/brumo"
    brumo() {
        (cd "$race" && BRUMO_DRIVES="M=$drive" HOME=$race/home XDG_DATA_HOME=$race/data \
            "$prog/brumo" "$@" </dev/null)
    }
fi
mkdir -p "$drive"
find "$drive" -mindepth 1 -delete

# One folder per method, each with a subfolder and a file that the racer swaps. Under Wine the
# Recycle Bin is left out: Wine's shell looks each path up by name and follows links, at its own
# pace, and a native process is bound by no share mode, so nothing can stop it being redirected
# there; on Windows the folders held during the operation cannot be renamed by anyone.
methods=(recycle hold delete)
[ "$side" = wine ] && methods=(hold delete)
{
    for method in "${methods[@]}"; do
        code=2
        [ "$method" = recycle ] && code=0
        [ "$method" = hold ] && code=1
        record "Race $method" 1 "$code" "M:\\sel\\$method 0" -- '*.tmp' -- -- plain
    done
} >"$prog/brumo.DAT"

canary=$race/canary
mkdir -p "$canary/sub"
for i in $(seq 1 20); do
    echo "canary $i" >"$canary/sub/b$i.tmp"
    echo "canary $i" >"$canary/a$i.tmp"
done
echo "canary file" >"$canary/f.tmp"
snapshot() { (cd "$canary" && find . -printf '%p %y %s %T@ %i %n\n' | sort && find . -type f -exec md5sum {} + | sort); }
before=$(snapshot)

# Puts every swapped entry back and the files to remove in place.
fill() {
    local m
    for method in "${methods[@]}"; do
        m=$drive/sel/$method
        [ -L "$m/sub" ] && rm -f "$m/sub"
        [ -d "$m/sub.real" ] && mv -T "$m/sub.real" "$m/sub"
        [ -L "$m/f.tmp" ] && rm -f "$m/f.tmp"
        [ -e "$m/f.real" ] && mv -T "$m/f.real" "$m/f.tmp"
        mkdir -p "$m/sub"
        for i in $(seq 1 20); do
            echo "selected $i" >"$m/a$i.tmp"
            echo "selected $i" >"$m/sub/b$i.tmp"
        done
        echo "selected file" >"$m/f.tmp"
    done
}

swap() { # swap ENTRY TARGET: the entry becomes a link to the target for a moment, then returns
    mv -T "$1" "$1.real" 2>/dev/null || return 0
    ln -s "$2" "$1"
    rm -f "$1"
    mv -T "$1.real" "$1" 2>/dev/null || true
}

runs=0
acted=0
start=$SECONDS
while ((SECONDS - start < seconds)); do
    fill
    (
        while [ ! -e "$race/stop" ]; do
            for method in "${methods[@]}"; do
                swap "$drive/sel/$method/sub" "$canary/sub"
                swap "$drive/sel/$method/f.tmp" "$canary/f.tmp"
            done
        done
    ) &
    racer=$!
    code=0
    brumo run --real --yes >"$race/out" 2>&1 || code=$?
    stop_racer
    if [ "$code" -gt 1 ]; then
        echo "race test ($side): the run ended with $code:"
        cat "$race/out"
        exit 1
    fi
    runs=$((runs + 1))
    left=$(find "$drive/sel" -name '*.tmp' ! -name f.tmp | wc -l)
    [ "$left" -lt $((40 * ${#methods[@]})) ] && acted=$((acted + 1))
    if [ "$(snapshot)" != "$before" ]; then
        echo "race test ($side): run $runs touched the canary tree outside every drive:"
        diff <(echo "$before") <(snapshot) || true
        exit 1
    fi
done
fill
if [ "$acted" = 0 ]; then
    echo "race test ($side): no run removed anything"
    exit 1
fi
echo "race test ($side): $runs real runs by each method ($acted removed files), nothing outside the selection touched"
