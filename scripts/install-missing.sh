# Sourced by the scripts that need Debian packages: install_missing PACKAGE...
# installs those of them that are not installed yet, and nothing else.
install_missing() {
    local missing=() p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    ((${#missing[@]})) || return 0
    echo "Installing: ${missing[*]}"
    if [[ $(id -u) -ne 0 ]]; then
        echo "These packages are missing and installing them needs root: ${missing[*]}" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    # A mirror caught in the middle of its sync serves index files that do
    # not match their release file for a while; a second try a minute later
    # usually finds it whole.
    local attempt
    for attempt in 1 2; do
        apt-get update -qq || true
        apt-get install -y -qq --no-install-recommends "${missing[@]}" && return 0
        ((attempt == 2)) || sleep 60
    done
    echo "Could not install: ${missing[*]}" >&2
    return 1
}
