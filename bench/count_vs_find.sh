#!/usr/bin/env bash
# Times "brumo count" of the built-in "Temporary files" type against GNU find and bfs making
# the same selection (the five specifications as -iname, size and time printed per file) on
# a generated tree, interleaved, and prints the median times, the ratios and peak memory.
#
#   bench/count_vs_find.sh BUILD_DIR [WORK_DIR] [ROUNDS] [FILES] [FOLDERS]
#
# BUILD_DIR is a build with -DBRUMO_BENCH=ON. The tree (by default 200,000 files in 20,000
# folders) is made in WORK_DIR once and kept there for later runs; without WORK_DIR a
# temporary folder is used and removed afterwards. Smaller trees show how the cost grows.
set -euo pipefail
source "$(dirname "$0")/common.sh"

build=$(cd "${1:?usage: count_vs_find.sh BUILD_DIR [WORK_DIR] [ROUNDS] [FILES] [FOLDERS]}" && pwd)
rounds=${3:-5}
files=${4:-200000}
folders=${5:-20000}
use_work_dir "${2:-}"
tree=$work/tree-$files-$folders

require_tools find bfs /usr/bin/time
[[ -d $tree ]] || "$build/bench/bench_make_tree" "$tree" "$files" "$folders"

# A copy of the program in a folder of its own: no type store there, so the built-in types
# apply, and its folder lies outside the tree.
mkdir -p "$work/bin"
cp "$build/brumo" "$work/bin/brumo"
export BRUMO_DRIVES="C=$tree" # all local drives: just the tree

run_brumo() { "$work/bin/brumo" count "Temporary files"; }
run_find() { find "$tree" -xdev \( "${names[@]}" \) ! -type d -printf '%s %T@\n'; }
run_bfs() { bfs "$tree" -xdev \( "${names[@]}" \) ! -type d -printf '%s %T@\n'; }

# Same selection first.
matched=$(run_brumo | sed -n 's/^\([0-9]*\) files\{0,1\} matched.*/\1/p')
found=$(run_find | wc -l)
bfound=$(run_bfs | wc -l)
echo "selected: brumo $matched, find $found, bfs $bfound"
if [[ $matched != "$found" || $found != "$bfound" ]]; then
    echo "the three tools select different files" >&2
    exit 1
fi

declare -A times cpus mems
measure() { # name command...
    local name=$1 wall user sys mem
    shift
    /usr/bin/time -o "$work/time.txt" -f '%e %U %S %M' "$@" >/dev/null 2>&1
    read -r wall user sys mem < <(tail -1 "$work/time.txt")
    times[$name]+="$wall "
    cpus[$name]+="$(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }') "
    mems[$name]+="$mem "
}
for tool in brumo find bfs; do "run_$tool" >/dev/null; done # warm the caches
for ((i = 0; i < rounds; i++)); do
    measure brumo "$work/bin/brumo" count "Temporary files"
    measure find find "$tree" -xdev \( "${names[@]}" \) ! -type d -printf '%s %T@\n'
    measure bfs bfs "$tree" -xdev \( "${names[@]}" \) ! -type d -printf '%s %T@\n'
done

peak() { tr ' ' '\n' <<<"$1" | grep . | sort -g | tail -1; }
# Wall time is what the user waits for; CPU time (user + system) is steadier on a busy machine,
# where the worker's lowered priority also costs it wall time against the other tools.
printf '%-6s %8s %10s %12s\n' tool wall cpu 'peak memory'
for tool in brumo find bfs; do
    printf '%-6s %7ss %9ss %9s KB\n' "$tool" "$(median "${times[$tool]}")" \
        "$(median "${cpus[$tool]}")" "$(peak "${mems[$tool]}")"
done
ratio() { awk -v a="$(median "$1")" -v b="$(median "$2")" 'BEGIN { printf "%.2f", a / b }'; }
echo "brumo/find wall $(ratio "${times[brumo]}" "${times[find]}") cpu $(ratio "${cpus[brumo]}" "${cpus[find]}")" \
    "  brumo/bfs wall $(ratio "${times[brumo]}" "${times[bfs]}") cpu $(ratio "${cpus[brumo]}" "${cpus[bfs]}")" \
    "  (medians of $rounds rounds)"
