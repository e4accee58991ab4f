#!/usr/bin/env bash
# Runs brumo under Wine and on Linux on the same tree with the same type store, and compares
# their count reports, run reports and logs line by line; then checks that the real run removed
# each file by its type's method. Run by scripts/test-windows.sh inside its Wine prefix:
#   scripts/compare-windows.sh LINUX_BUILD_FOLDER WINDOWS_BUILD_FOLDER WORK_FOLDER
# Only what must differ is masked: date and time stamps, the platform's error texts, the log's
# path and the drive sizes in the Recycle Bin statistics; and Linux's never-searched folders.
set -euo pipefail
cd "$(dirname "$0")/.."
linux=$1
windows=$2
work=$3
: "${WINEPREFIX:?run by scripts/test-windows.sh}"

# The Linux program: the build's own, or built now (only the program, headless when new).
if [ ! -x "$linux/brumo" ]; then
    if [ ! -f "$linux/CMakeCache.txt" ]; then
        cmake -S . -B "$linux" -G Ninja -DBRUMO_UI=OFF -DBRUMO_TESTS=OFF >/dev/null
    fi
    cmake --build "$linux" --target brumo
fi

export LC_ALL=C.UTF-8 TZ=UTC
cmp=$work/compare
lin=$cmp/linux
win=$WINEPREFIX/drive_c/brumo-e2e # C:\brumo-e2e
rm -rf "$cmp" "$win"
mkdir -p "$lin/prog" "$lin/m" "$lin/home" "$lin/data" "$cmp/out" "$win"
wintree=$work/drives/m # M: under Wine
find "$wintree" -mindepth 1 -delete
cp "$linux/brumo" "$lin/prog/brumo"
cp "$windows/brumo.exe" "$win/brumo.exe"
# The Wine side's Recycle Bin is the trash below XDG_DATA_HOME: emptied of what the tests left.
rm -rf "$XDG_DATA_HOME/Trash"

# The tree: the same names, sizes and times on both sides.
file() { # file PATH SIZE TIME
    mkdir -p "$(dirname "$1")"
    head -c "$2" /dev/zero >"$1"
    touch -d "$3" "$1"
}
make_tree() {
    local m=$1
    file "$m/logs/app.log" 1500 "2020-03-04 10:00"
    file "$m/logs/old/app 1.log" 25000 "2019-01-02 08:30"
    file "$m/logs/keep.log" 10 "2020-03-04 10:00"
    file "$m/logs/notes.txt" 99 "2020-03-04 10:00"
    file "$m/work/a.bak" 100 "2005-01-01 12:00"
    file "$m/work/b.bak" 200 "2015-06-01 12:00"
    file "$m/work/sub/c.bak" 3000 "2001-01-01 12:00"
    file "$m/work/sub/été.bak" 0 "2002-02-02 12:00"
    file "$m/cache/x.tmp" 5000 "2021-01-01 12:00"
    file "$m/cache/y.TMP" 12 "2021-01-01 12:00"
    file "$m/cache/ro.tmp" 7 "2021-01-01 12:00"
    file "$m/cache/deeper/z.tmp" 1 "2021-01-01 12:00"
    chmod a-w "$m/cache/ro.tmp" # read-only: deleting it fails on both
    file "$m/tr/a.tmp" 3 "2021-01-01 12:00"
    file "$m/tr/sub/b.tmp" 4 "2021-01-01 12:00"
    file "$m/tr/sub/c.tmp" 5 "2021-01-01 12:00"
}
make_tree "$lin/m"
make_tree "$wintree"

source scripts/lib/type_store.sh
before_2010_over_50_bytes() { bool 1 && int 1 && jan2010 && nodate && no_age &&
    bool 1 && int 2 && int 50 && int 0 && int 0; }
{
    record "Old logs" 1 0 'M:\logs 0' -- '*.log' -- keep.log -- plain
    record "Old backups" 1 1 'M:\work 0' -- '*.bak' -- -- before_2010_over_50_bytes
    record "Cache" 1 2 'M:\cache 1' -- '*.tmp' -- -- plain
    record "Cache again" 1 2 'M:\cache 0' -- 'x.*' 'z.*' -- -- plain
    record "Switched off" 0 2 'M:\logs 0' -- '*.txt' -- -- plain
    # Overlapping folder entries: a folder, its subfolder, the folder spelled another way. (Not
    # in another case: Linux writes a path as it is on disk, Windows as the entry spells it.)
    record "Overlapping" 1 0 'M:\tr 0' 'M:\tr\sub 0' 'M:\tr\sub\.. 0' -- '*.tmp' -- -- plain
} >"$lin/prog/brumo.DAT"
cp "$lin/prog/brumo.DAT" "$win/brumo.DAT"

linux_brumo() {
    (cd "$lin" && BRUMO_DRIVES="M=$lin/m" HOME=$lin/home XDG_DATA_HOME=$lin/data \
        "$lin/prog/brumo" "$@" </dev/null)
}
wine_brumo() { (cd "$work" && wine 'C:\brumo-e2e\brumo.exe' "$@" </dev/null); }

# Each command on both sides: exit code, output and errors, line ends and what must differ
# masked.
mask() {
    sed -E -e 's/^((Test log|Log): ).*/\1<log path>/' \
        -e 's/^(\t\* ).*/\1<system message>/' \
        -e 's/^(Brumo (TEST )?Log - )[A-Z][a-z]+, [A-Z][a-z]+ [0-9]{1,2}, [0-9]{4}  [0-9]{2}:[0-9]{2}:[0-9]{2} [ap]m$/\1<date>  <time>/' \
        -e 's/^(Brumo finished (testing )?at )[0-9]{2}:[0-9]{2}:[0-9]{2} [ap]m$/\1<time>/' \
        -e 's/^([a-z]:\\ +.*, Size: ).*/\1<drive size>/'
}
# What only the Linux program says: the operating system's folders it never searches, a
# paragraph of its own at the end of a description.
linux_only() {
    awk 'blank && /^Never searched: / { blank = 0; next }
         blank { print ""; blank = 0 }
         /^$/ { blank = 1; next }
         { print }
         END { if (blank) print "" }'
}
failed=0
same() { # same NAME FILE1 FILE2
    if ! diff -u --label "Linux $1" --label "Wine $1" "$2" "$3"; then
        echo "Linux and Wine differ in $1"
        failed=1
    fi
}
both() { # both NAME ARGS...: runs the command on both sides and compares
    local name=$1 code
    shift
    code=0
    linux_brumo "$@" >"$cmp/out/linux.out" 2>"$cmp/out/linux.err" || code=$?
    { echo "exit $code"; tr -d '\r' <"$cmp/out/linux.out"; echo "errors:"; cat "$cmp/out/linux.err"; } |
        linux_only | mask >"$cmp/out/$name.linux"
    code=0
    wine_brumo "$@" >"$cmp/out/wine.out" 2>"$cmp/out/wine.err" || code=$?
    { echo "exit $code"; tr -d '\r' <"$cmp/out/wine.out"; echo "errors:"; tr -d '\r' <"$cmp/out/wine.err"; } |
        mask >"$cmp/out/$name.wine"
    same "brumo $*" "$cmp/out/$name.linux" "$cmp/out/$name.wine"
}
logs() { # logs FILE_NAME: the log on both sides, every line ending in CR LF
    local side
    for side in "$lin/prog" "$win"; do
        [ -f "$side/$1" ] || { echo "no $1 in $side"; exit 1; }
        if grep -q -v $'\r$' "$side/$1"; then
            echo "$side/$1: not every line ends in CR LF"
            failed=1
        fi
    done
    tr -d '\r' <"$lin/prog/$1" | mask >"$cmp/out/$1.linux"
    tr -d '\r' <"$win/$1" | mask >"$cmp/out/$1.wine"
    same "$1" "$cmp/out/$1.linux" "$cmp/out/$1.wine"
}

both list list
both describe describe 2
for n in 1 2 3 4 5 6; do both "count-$n" count "$n"; done
both test-run run
logs brumo.TEST.TXT
both real-run run --real --yes
logs brumo.LOG.TXT
# A second real run appends to the log and finds what the first one could not remove.
both real-run-2 run --real --yes
logs brumo.LOG.TXT

# What the real run did, on each side: each file by its type's method, the rest left alone.
check() { # check SIDE TREE TRASH...
    local side=$1 m=$2 gone kept
    shift 2
    for gone in "logs/app.log" "logs/old/app 1.log" "work/a.bak" "work/sub/c.bak" \
        "cache/x.tmp" "cache/y.TMP" "cache/deeper/z.tmp" "tr/a.tmp" "tr/sub/b.tmp" "tr/sub/c.tmp"; do
        [ ! -e "$m/$gone" ] || { echo "$side: $gone was not removed"; failed=1; }
    done
    for kept in "logs/keep.log" "logs/notes.txt" "work/b.bak" "work/sub/été.bak" "cache/ro.tmp"; do
        [ -f "$m/$kept" ] || { echo "$side: $kept was removed"; failed=1; }
    done
    for kept in "work/a.bak" "work/sub/c.bak"; do
        [ -f "$m/HDVal\$\$\$.\$\$\$/$kept" ] || { echo "$side: $kept is not in the holding folder"; failed=1; }
    done
    for kept in "app.log" "app 1.log" "a.tmp" "b.tmp" "c.tmp"; do
        [ -n "$(find "$@" -path '*/files/*' -name "$kept" 2>/dev/null)" ] ||
            { echo "$side: $kept is not in the Recycle Bin"; failed=1; }
    done
    for gone in "x.tmp" "y.TMP" "z.tmp"; do
        [ -z "$(find "$m" "$@" -name "$gone" 2>/dev/null)" ] ||
            { echo "$side: $gone was kept somewhere"; failed=1; }
    done
}
check Linux "$lin/m" "$lin/data" "$lin/m"
check Wine "$wintree" "$XDG_DATA_HOME" "$wintree"

if [ "$failed" != 0 ]; then
    echo "Linux and Wine comparison: FAILED"
    exit 1
fi
echo "Linux and Wine comparison: the same reports and logs; the real runs removed the same files"
