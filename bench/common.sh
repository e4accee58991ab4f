# Sourced by the benchmark scripts: the work folder, the tool check and the shared pieces.

# use_work_dir [WORK_DIR]: sets `work` to that folder, made if missing, as an absolute path;
# without one to a temporary folder that goes when the script ends.
use_work_dir() {
    if [[ -n ${1:-} ]]; then
        work=$1
        mkdir -p "$work"
    else
        work=$(mktemp -d)
        trap 'rm -rf "$work"' EXIT
    fi
    work=$(cd "$work" && pwd)
}

# require_tools TOOL...: ends the script (status 2) at the first tool that is missing.
require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 2; }
    done
}

# median "VALUE VALUE ...": the middle value; of an even count the lower middle one.
median() { tr ' ' '\n' <<<"$1" | grep . | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# The five specifications of the built-in "Temporary files" type as find's name tests.
names=(-iname '*.tmp' -o -iname '*.~*' -o -iname '~*.*' -o -iname '*.^*' -o -iname '*.??$')
