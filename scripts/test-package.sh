#!/usr/bin/env bash
# Makes the Debian package of a build folder, checks it with lintian, installs it as a user
# would, runs the installed program (its version and a test run on a mapped drive), then removes
# it and checks that nothing of it is left: scripts/test-package.sh [build folder, default build]
# It installs into the system: as root, or with sudo.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
apt() { $sudo env DEBIAN_FRONTEND=noninteractive apt-get -y -qq -o DPkg::Lock::Timeout=300 "$@"; }
installed() { dpkg-query -W -f='${Status}' brumo 2>/dev/null | grep -q 'install ok installed'; }
fail() {
    echo "Debian package: $*"
    exit 1
}

installed && fail "brumo is installed already; remove it first (apt-get purge brumo)"
rm -f "$build"/brumo_*.deb
output=$(cd "$build" && cpack -G DEB 2>&1) || fail "cpack failed: $output"
debs=("$build"/brumo_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || fail "cpack made no package in $build"

# Debian's own checks of a package: any error or warning fails, informational tags do not.
output=$(lintian --fail-on error,warning --tag-display-limit 0 "$deb" 2>&1) ||
    fail "lintian finds fault with $(basename "$deb"):
$output"

work=$(mktemp -d)
cleanup() {
    if installed; then apt purge brumo >/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

# What of the package's paths is there before it comes: folders such as /usr/bin stay.
declare -A before
mapfile -t paths < <(dpkg-deb -c "$deb" | awk '{ print $6 }' | sed -e 's|^\./|/|' -e 's|/$||')
for path in "${paths[@]}"; do
    if [ -n "$path" ] && [ -e "$path" ]; then before[$path]=1; fi
done

output=$(apt install "$deb" 2>&1) || fail "apt-get install failed: $output"
installed || fail "apt-get install $deb installed nothing"
mapfile -t listed < <(dpkg -L brumo)
for path in /usr/bin/brumo /usr/share/man/man1/brumo.1.gz /usr/share/doc/brumo/help/index.html \
    /usr/share/applications/brumo.desktop /usr/share/icons/hicolor/scalable/apps/brumo.svg \
    /usr/share/metainfo/io.github.brumo.Brumo.metainfo.xml; do
    printf '%s\n' "${listed[@]}" | grep -qx "$path" || fail "the package holds no $path"
    [ -f "$path" ] || fail "$path was not installed"
done
[ "$(command -v brumo)" = /usr/bin/brumo ] || fail "brumo on the PATH is $(command -v brumo)"
[ "$(brumo --version)" = "$("$build/brumo" --version)" ] || fail "brumo --version: $(brumo --version)"

# A test run of the built-in types on one mapped drive, as a user without a display would make
# it: the installed copy keeps its files in the data folder, and removes nothing.
mkdir -p "$work/m/sub" "$work/home" "$work/tmp"
head -c 1000 /dev/zero >"$work/m/a.tmp"
head -c 10 /dev/zero >"$work/m/sub/b.tmp"
echo keep >"$work/m/keep.txt"
output=$(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work/home" \
    XDG_DATA_HOME="$work/data" TMPDIR="$work/tmp" BRUMO_DRIVES="M=$work/m" brumo run 2>&1 </dev/null) ||
    fail "brumo run failed: $output"
grep -q "Brumo tested" <<<"$output" || fail "brumo run said: $output"
log=$work/data/brumo/brumo.TEST.TXT
[ -f "$log" ] || fail "no test log in the data folder: $output"
grep -q 'M:\\a\.tmp' "$log" && grep -q 'M:\\sub\\b\.tmp' "$log" || fail "the test log lists: $(cat "$log")"
[ -f "$work/m/a.tmp" ] && [ -f "$work/m/sub/b.tmp" ] || fail "the test run removed files"
[ -z "$(find /usr/bin -maxdepth 1 -name 'brumo?*')" ] || fail "brumo wrote beside itself in /usr/bin"

# Root, who may write /usr/bin, on a system without the package's documentation (minimal systems
# leave /usr/share/doc out): the copy is still an installed one, by where it lies.
$sudo mv /usr/share/doc/brumo "$work/doc"
output=$(cd "$work" && $sudo env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    HOME="$work/root" XDG_DATA_HOME="$work/rootdata" TMPDIR="$work/tmp" BRUMO_DRIVES="M=$work/m" \
    brumo run 2>&1 </dev/null) || status=$?
$sudo mv "$work/doc" /usr/share/doc/brumo
[ "${status:-0}" -eq 0 ] || fail "brumo run as root failed: $output"
[ -f "$work/rootdata/brumo/brumo.TEST.TXT" ] || fail "root's test log is not in its data folder: $output"
[ -z "$(find /usr/bin -maxdepth 1 -name 'brumo?*')" ] || fail "root's brumo wrote in /usr/bin"

output=$(apt purge brumo 2>&1) || fail "apt-get purge failed: $output"
installed && fail "apt-get purge brumo left it installed"
for path in "${listed[@]}"; do
    [ "$path" != /. ] || continue
    if [ -z "${before[$path]:-}" ] && [ -e "$path" ]; then fail "$path is left after removal"; fi
done
echo "Debian package: $(basename "$deb") installed, run and removed without a trace"
