# Sourced by the set-up scripts. install_missing PACKAGE...: installs those Debian packages
# that are not installed yet (as root, or with sudo); does nothing when all are there.
install_missing() {
    local p missing=() sudo=""
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if ((${#missing[@]})); then
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        export DEBIAN_FRONTEND=noninteractive
        $sudo apt-get update -qq
        $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}
