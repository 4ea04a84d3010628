#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need,
# and only those that are missing.
set -euo pipefail

# fonts-wine: the Tahoma-metric font the windows are laid out for;
# qt6-translations-l10n: Qt's own Russian texts for the standard dialogs;
# valgrind: scripts/valgrind.sh.
packages=(build-essential cmake ninja-build qt6-base-dev qt6-serialport-dev libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev fonts-wine qt6-translations-l10n valgrind)
if [[ "${1:-}" == "--gui" ]]; then
    packages+=(xvfb xauth)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    if [[ $(id -u) -ne 0 ]]; then
        echo "These packages are missing and installing them needs root: ${missing[*]}" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
