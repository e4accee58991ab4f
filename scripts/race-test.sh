#!/usr/bin/env bash
# Real clean-up runs by each method while another process keeps swapping a folder and a file of
# the selection for links to a canary tree outside every drive; afterwards the canary tree must be
# as it was: no run may delete, move or trash anything through a swapped entry. Under Wine the
# Recycle Bin's folder is swapped by a Windows process (tests/race), which share modes bind as on
# Windows; the others by a native process, which nothing binds. First, links to a file outside
# every drive, matched by each method, must be handled as links.
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
swapper=
helper=
stop_racer() {
    # Asked, not killed: a swap cut short would leave its last step running on its own.
    local failed=0
    if [ -n "$racer" ]; then
        touch "$race/stop"
        wait "$racer" 2>/dev/null || true
        rm -f "$race/stop"
        racer=
    fi
    if [ -n "$swapper" ]; then
        touch "$prog/stop"
        wait "$swapper" || failed=1
        # Its pipes closed, the helper ends; one left waiting for a swapper that never came is
        # stopped.
        kill "$helper" 2>/dev/null || true
        wait "$helper" 2>/dev/null || true
        rm -f "$prog/stop" "$prog/request" "$prog/done"
        swapper=
    fi
    return "$failed"
}
trap 'stop_racer || true; chmod -R u+w "$race" 2>/dev/null || true; rm -rf "$race"' EXIT

if [ "$side" = wine ]; then
    : "${WINEPREFIX:?run by scripts/test-windows.sh}"
    drive=$4/drives/m # M: under Wine
    prog=$WINEPREFIX/drive_c/brumo-race # C:\brumo-race
    mkdir -p "$prog"
    cp "$build/brumo.exe" "$prog/brumo.exe"
    cp "$build/tests/race_swapper.exe" "$prog/race_swapper.exe"
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

# One folder per method, each with a subfolder and a file that the racer swaps. The shell looks
# each path of the Recycle Bin's batch up by name, so only share modes keep its folders in place
# while it works: under Wine that folder's subfolder is swapped by a Windows process, which they
# bind as on Windows. Not its file: a file the shell is to move cannot be held against renaming
# (the shell opens it for that as any other process would), and where Windows' shell would
# recycle a link put in its place as the link, Wine's moves the link's target.
methods=(recycle hold delete)
native=("${methods[@]}")
[ "$side" = wine ] && native=(hold delete)
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
echo "linked file" >"$canary/linked.txt"
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

# A link matched by a pattern is handled as the link itself: deleted, held or trashed, its target
# untouched. Wine shows a host's link to a file as that file and has no call that acts on the link
# itself (it deletes, renames and trashes what the link leads to), so there the run must refuse it
# with an ERR line and leave it as it is.
link_check() {
    local link log
    fill
    for method in "${methods[@]}"; do
        ln -s "$canary/linked.txt" "$drive/sel/$method/junk.tmp"
    done
    rm -f "$prog/brumo.LOG.TXT"
    brumo run --real --yes >"$race/out" 2>&1 || true
    log=$(tr -d '\r' <"$prog/brumo.LOG.TXT" 2>/dev/null || true)
    for method in "${methods[@]}"; do
        link=$drive/sel/$method/junk.tmp
        if [ -L "$link" ]; then
            if [ "$side" = linux ] || ! grep -qF $'ERR\t'"M:\\sel\\$method\\junk.tmp" <<<"$log"; then
                echo "race test ($side): the link by $method was neither removed nor refused:"
                echo "$log"
                exit 1
            fi
            rm -f "$link"
        elif [ "$method" = hold ] && [ ! -L "$drive/HDVal\$\$\$.\$\$\$/sel/hold/junk.tmp" ]; then
            echo "race test ($side): the link was not held as a link"
            exit 1
        fi
    done
    if [ "$(cat "$canary/linked.txt")" != "linked file" ]; then
        echo "race test ($side): removing a link touched its target"
        exit 1
    fi
}

# The Windows swapper renames the entry away; its helper here plants the link in its place (Wine
# makes none), leaves it a moment for a run to come upon, takes it away again and answers. (With
# the folder not held, such runs trashed canary files within a minute.)
start_swapper() {
    rm -f "$prog/stop" "$prog/request" "$prog/done"
    mkfifo "$prog/request" "$prog/done"
    (
        set +e
        exec 3<"$prog/request" 4>"$prog/done"
        while read -r _ <&3; do
            ln -sT "$canary/sub" "$drive/sel/recycle/sub" 2>/dev/null && sleep 0.005 &&
                rm -f "$drive/sel/recycle/sub"
            echo >&4
        done
    ) &
    helper=$!
    (cd "$race" && wine 'C:\brumo-race\race_swapper.exe' 'C:\brumo-race' 'M:\sel\recycle\sub' \
        </dev/null | tr -d '\r' >>"$race/swaps") &
    swapper=$!
}

link_check
: >"$race/swaps"
runs=0
acted=0
start=$SECONDS
while ((SECONDS - start < seconds)); do
    fill
    [ "$side" = wine ] && start_swapper
    (
        while [ ! -e "$race/stop" ]; do
            for method in "${native[@]}"; do
                swap "$drive/sel/$method/sub" "$canary/sub"
                swap "$drive/sel/$method/f.tmp" "$canary/f.tmp"
            done
        done
    ) &
    racer=$!
    code=0
    brumo run --real --yes >"$race/out" 2>&1 || code=$?
    stop_racer || { echo "race test ($side): the Windows swapper failed"; exit 1; }
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
if [ "$side" = wine ]; then
    read -r swaps held < <(awk '{s += $1; h += $3} END {print s + 0, h + 0}' "$race/swaps")
    if [ "$swaps" = 0 ]; then
        echo "race test ($side): the Windows swapper swapped nothing"
        exit 1
    fi
    echo "race test ($side): the Windows swapper swapped $swaps times; $held times share modes refused"
fi
echo "race test ($side): $runs real runs by each method ($acted removed files), nothing outside the selection touched"
