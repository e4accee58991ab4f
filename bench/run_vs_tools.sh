#!/usr/bin/env bash
# Times clean-up runs of the command line against the tools that do the same work:
#   1. "brumo run" (a test run) against "brumo count" of the same type on the generated tree;
#   2. "brumo run --real" sending 10,000 files to the trash against trash-put and gio trash
#      (gio is left out where it is missing);
#   3. "brumo run --real" deleting permanently against "find ... -delete" on a copy of the
#      tree.
# Prints the median times and the ratios.
#
#   bench/run_vs_tools.sh BUILD_DIR [WORK_DIR] [ROUNDS]
#
# BUILD_DIR is a build with -DBRUMO_BENCH=ON. The tree is made in WORK_DIR/tree once and kept;
# without WORK_DIR a temporary folder is used and removed afterwards. HOME and XDG_DATA_HOME
# point into WORK_DIR, so nothing reaches the user's own trash.
set -euo pipefail
source "$(dirname "$0")/common.sh"

build=$(cd "${1:?usage: run_vs_tools.sh BUILD_DIR [WORK_DIR] [ROUNDS]}" && pwd)
rounds=${3:-5}
use_work_dir "${2:-}"
tree=$work/tree

require_tools find trash-put /usr/bin/time
have_gio=0
command -v gio >/dev/null && have_gio=1
[[ -d $tree ]] || "$build/bench/bench_make_tree" "$tree"

export HOME=$work/home XDG_DATA_HOME=$work/home/data
mkdir -p "$XDG_DATA_HOME"


# Each program copy has its store of one type beside it, and its folder outside the drives.
specs=('*.tmp' '*.~*' '~*.*' '*.^*' '*.??$')
mkdir -p "$work/test" "$work/delete" "$work/trash"
for copy in test delete trash; do cp "$build/brumo" "$work/$copy/brumo"; done
"$build/bench/bench_make_store" "$work/test/brumo.DAT" "Temporary files" 2 - "${specs[@]}"
"$build/bench/bench_make_store" "$work/delete/brumo.DAT" "Temporary files" 2 - "${specs[@]}"
"$build/bench/bench_make_store" "$work/trash/brumo.DAT" "Trash" 0 'C:\src' '*.tmp'

declare -A times
measure() { # name command...
    local name=$1 out
    shift
    /usr/bin/time -o "$work/time.txt" -f 'status %x time %e' "$@" >/dev/null 2>&1 || true
    out=$(tail -1 "$work/time.txt")
    [[ $out == "status 0 "* ]] || echo "warning: $name ended with ${out% time*}" >&2
    times[$name]+="${out##* } "
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# 1. Test run against count: same search, the run also writing its test log.
export BRUMO_DRIVES="C=$tree"
found=$("$work/test/brumo" run | sed -n 's/.* and found \([0-9]*\) junk files\..*/\1/p')
matched=$("$work/test/brumo" count 1 | sed -n 's/^\([0-9]*\) files\{0,1\} matched.*/\1/p')
echo "selected: test run $found, count $matched"
[[ $found == "$matched" ]] || { echo "the run and the count select different files" >&2; exit 1; }
"$work/test/brumo" count 1 >/dev/null
for ((i = 0; i < rounds; i++)); do
    measure run "$work/test/brumo" run
    measure count "$work/test/brumo" count 1
done

# Nothing is removed between the timed steps: on ext4, making files soon after many were
# removed costs far more (the allocator avoids recently freed inodes), which would swamp what
# the tools themselves cost. Every round gets fresh folders; all of them go at the end.
rounds_dir=$work/rounds
rm -rf "$rounds_dir"
mkdir -p "$rounds_dir"

# 2. Trashing 10,000 files of one folder, each tool into a trash of its own.
fresh_files() { # folder: a home, a data folder and a drive with 10,000 files in src
    mkdir -p "$1/home/data" "$1/drive/src"
    (cd "$1/drive/src" && seq -f 'file%05g.tmp' 1 10000 | xargs touch)
    sync
}
in_home() { # folder: the environment that puts HOME, the data folder and drive C: there
    home_env=(env "HOME=$1/home" "XDG_DATA_HOME=$1/home/data" "BRUMO_DRIVES=C=$1/drive")
}
tools=(trash trash_put)
((have_gio)) && tools+=(gio_trash)
for ((i = 0; i < rounds; i++)); do
    for tool in "${tools[@]}"; do fresh_files "$rounds_dir/$tool-$i"; done
    in_home "$rounds_dir/trash-$i"
    measure trash "${home_env[@]}" "$work/trash/brumo" run --real --yes
    d=$rounds_dir/trash_put-$i
    in_home "$d"
    measure trash_put "${home_env[@]}" bash -c 'trash-put "$1"/*' _ "$d/drive/src"
    if ((have_gio)); then
        d=$rounds_dir/gio_trash-$i
        in_home "$d"
        measure gio_trash "${home_env[@]}" bash -c 'gio trash "$1"/*' _ "$d/drive/src"
    fi
    for tool in "${tools[@]}"; do
        left=$(find "$rounds_dir/$tool-$i/drive/src" -type f | wc -l)
        [[ $left == 0 ]] || echo "$tool left $left files" >&2
    done
done

# 3. Deleting permanently against find -delete: one copy of the tree each, the junk put back
# from an archive before every round.
copy=$rounds_dir/copy
cp -a "$tree" "$copy"
(cd "$copy" && find . -xdev \( "${names[@]}" \) ! -type d -print0 |
    tar --null -cf "$rounds_dir/junk.tar" -T -)
restore() { tar -xf "$rounds_dir/junk.tar" -C "$copy" && sync; }
export BRUMO_DRIVES="C=$copy"
"$work/delete/brumo" run --real --yes >/dev/null
left=$(find "$copy" -xdev \( "${names[@]}" \) ! -type d | wc -l)
echo "junk left after a delete run: $left"
[[ $left == 0 ]] || { echo "the delete run left junk behind" >&2; exit 1; }
for ((i = 0; i < rounds; i++)); do
    restore
    measure delete "$work/delete/brumo" run --real --yes
    restore
    measure find_delete find "$copy" -xdev \( "${names[@]}" \) ! -type d -delete
done
rm -rf "$rounds_dir"

r=$(median "${times[run]}") c=$(median "${times[count]}")
d=$(median "${times[delete]}") f=$(median "${times[find_delete]}")
t=$(median "${times[trash]}") p=$(median "${times[trash_put]}")
printf '%-22s %8s s\n' "brumo run (test)" "$r" "brumo count" "$c" \
    "brumo run --real" "$d" "find -delete" "$f" \
    "brumo run (trash)" "$t" "trash-put" "$p"
echo "test run / count        $(ratio "$r" "$c")"
echo "delete run / find       $(ratio "$d" "$f")"
echo "trash-put / brumo       $(ratio "$p" "$t")"
if ((have_gio)); then
    g=$(median "${times[gio_trash]}")
    printf '%-22s %8s s\n' "gio trash" "$g"
    echo "gio trash / brumo       $(ratio "$g" "$t")"
fi
echo "(median of $rounds rounds)"
