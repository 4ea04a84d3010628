#!/usr/bin/env bash
# Configures and builds into build/ (warnings are errors when CI=true or WERROR=1).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
werror=OFF
if [[ "${CI:-}" == "true" || "${WERROR:-}" == "1" ]]; then werror=ON; fi
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTABULON_WERROR=$werror "$@" > /dev/null
cmake --build "$root/build" -j"$(nproc)"
