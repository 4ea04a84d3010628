#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need,
# and only those that are missing.
set -euo pipefail

# fonts-wine: the Tahoma-metric font the windows are laid out for;
# qt6-translations-l10n: Qt's own Russian texts for the standard dialogs;
# valgrind: scripts/valgrind.sh; ser2net: the real serial server the network
# tests run against.
packages=(build-essential cmake ninja-build qt6-base-dev qt6-serialport-dev libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev fonts-wine qt6-translations-l10n valgrind
          ser2net)
if [[ "${1:-}" == "--gui" ]]; then
    packages+=(xvfb xauth)
fi

source "$(dirname "$0")/install-missing.sh"
install_missing "${packages[@]}"
