#!/usr/bin/env bash
# Times with cold caches, the caches dropped before every timed command, what a user waits for
# when little of the disk is cached:
#   1. "brumo count" of the built-in "Temporary files" type, with and without reading folders
#      ahead (BRUMO_PREFETCH=0), against fd, bfs and GNU find making the same selection, on a
#      generated tree;
#   2. "brumo run --real" deleting that selection permanently against "find ... -delete" on a
#      copy of the tree, the junk put back from an archive before every round (left out with
#      COLD_DELETE=0: the copy of a large tree takes long).
# Prints the median wall and CPU times, the peak memory and the ratios.
#
#   bench/cold_vs_tools.sh BUILD_DIR [WORK_DIR] [ROUNDS] [FILES] [FOLDERS]
#
# BUILD_DIR is a build with -DBRUMO_BENCH=ON. The tree (by default 200,000 files in 20,000
# folders) is made in WORK_DIR once and kept; without WORK_DIR a temporary folder is used and
# removed afterwards. Dropping the caches takes root; elsewhere the script says so and ends.
set -euo pipefail
source "$(dirname "$0")/common.sh"

build=$(cd "${1:?usage: cold_vs_tools.sh BUILD_DIR [WORK_DIR] [ROUNDS] [FILES] [FOLDERS]}" && pwd)
rounds=${3:-3}
files=${4:-200000}
folders=${5:-20000}

if [[ $(id -u) != 0 || ! -w /proc/sys/vm/drop_caches ]]; then
    echo "skipped: cold timings drop the caches through /proc/sys/vm/drop_caches, which takes root" >&2
    exit 0
fi
require_tools find bfs fdfind tar /usr/bin/time
use_work_dir "${2:-}"
tree=$work/tree-$files-$folders
[[ -d $tree ]] || "$build/bench/bench_make_tree" "$tree" "$files" "$folders"
drop_caches() { sync && echo 3 >/proc/sys/vm/drop_caches; }

# Each program copy has its folder outside the tree: the counting one no store (the built-in
# types), the deleting one a store of one type that deletes permanently.
export HOME=$work/home XDG_DATA_HOME=$work/home/data
mkdir -p "$XDG_DATA_HOME" "$work/bin" "$work/delete"
cp "$build/brumo" "$work/bin/brumo"
cp "$build/brumo" "$work/delete/brumo"
"$build/bench/bench_make_store" "$work/delete/brumo.DAT" "Temporary files" 2 - \
    '*.tmp' '*.~*' '~*.*' '*.^*' '*.??$'

# The five specifications as one regular expression for fd, matched ignoring case. fd prints
# names only: unlike the others it asks for no file's size.
fd_names='\.tmp$|\.~|^~.*\.|\.\^|\...\$$'
brumo=("$work/bin/brumo" count "Temporary files")
brumo_alone=(env BRUMO_PREFETCH=0 "$work/bin/brumo" count "Temporary files")
fd=(fdfind -u -i --one-file-system -t f -t l "$fd_names" "$tree")
bfs=(bfs "$tree" -xdev \( "${names[@]}" \) ! -type d -printf '%s %T@\n')
find=(find "$tree" -xdev \( "${names[@]}" \) ! -type d -printf '%s %T@\n')

export BRUMO_DRIVES="C=$tree"
matched=$("${brumo[@]}" | sed -n 's/^\([0-9]*\) files\{0,1\} matched.*/\1/p')
echo "selected: brumo $matched, fd $("${fd[@]}" | wc -l), bfs $("${bfs[@]}" | wc -l)," \
    "find $("${find[@]}" | wc -l)"
for tool in fd bfs find; do
    declare -n cmd=$tool
    if [[ $("${cmd[@]}" | wc -l) != "$matched" ]]; then
        echo "$tool selects other files than brumo" >&2
        exit 1
    fi
done
unset -n cmd

declare -A times cpus mems
measure() { # name command...
    local name=$1 status wall user sys mem
    shift
    drop_caches
    /usr/bin/time -o "$work/time.txt" -f '%x %e %U %S %M' "$@" >/dev/null 2>&1 || true
    read -r status wall user sys mem < <(tail -1 "$work/time.txt")
    [[ $status == 0 ]] || echo "warning: $name ended with status $status" >&2
    times[$name]+="$wall "
    cpus[$name]+="$(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }') "
    mems[$name]+="$mem "
}
peak() { tr ' ' '\n' <<<"$1" | grep . | sort -g | tail -1; }
ratio() { awk -v a="$(median "$1")" -v b="$(median "$2")" 'BEGIN { printf "%.2f", a / b }'; }
report() { # tool...
    local tool
    printf '%-12s %8s %10s %12s\n' tool wall cpu 'peak memory'
    for tool in "$@"; do
        printf '%-12s %7ss %9ss %9s KB\n' "$tool" "$(median "${times[$tool]}")" \
            "$(median "${cpus[$tool]}")" "$(peak "${mems[$tool]}")"
    done
}

tools=(brumo brumo_alone fd bfs find)
for ((i = 0; i < rounds; i++)); do
    for tool in "${tools[@]}"; do
        declare -n cmd=$tool
        measure "$tool" "${cmd[@]}"
    done
done
unset -n cmd
echo "count, cold caches ($files files, $folders folders; medians of $rounds rounds):"
report "${tools[@]}"
for other in fd bfs find brumo_alone; do
    echo "brumo/$other wall $(ratio "${times[brumo]}" "${times[$other]}")" \
        "cpu $(ratio "${cpus[brumo]}" "${cpus[$other]}")"
done

[[ ${COLD_DELETE:-1} == 1 ]] || exit 0
copy=$work/delete-copy
rm -rf "$copy"
cp -a "$tree" "$copy"
(cd "$copy" && find . -xdev \( "${names[@]}" \) ! -type d -print0 |
    tar --null -cf "$work/junk.tar" -T -)
restore() { tar -xf "$work/junk.tar" -C "$copy"; }
left() { find "$copy" -xdev \( "${names[@]}" \) ! -type d | wc -l; }
export BRUMO_DRIVES="C=$copy"
for ((i = 0; i < rounds; i++)); do
    restore
    measure delete "$work/delete/brumo" run --real --yes
    [[ $(left) == 0 ]] || { echo "the delete run left junk behind" >&2; exit 1; }
    restore
    measure find_delete find "$copy" -xdev \( "${names[@]}" \) ! -type d -delete
done
[[ $(left) == 0 ]] || { echo "find -delete left junk behind" >&2; exit 1; }
rm -rf "$copy"
echo "delete run, cold caches (medians of $rounds rounds):"
report delete find_delete
echo "delete run/find -delete wall $(ratio "${times[delete]}" "${times[find_delete]}")" \
    "cpu $(ratio "${cpus[delete]}" "${cpus[find_delete]}")"
