#!/usr/bin/env bash
# Configures and builds into build/ (warnings are errors when CI=true or WERROR=1).
#   scripts/build.sh              everything: programs, tests, benchmarks
#   scripts/build.sh TARGET...    only these targets
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
werror=OFF
if [[ "${CI:-}" == "true" || "${WERROR:-}" == "1" ]]; then werror=ON; fi
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTABULON_WERROR=$werror > /dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$root/build" -j"$(nproc)" "${targets[@]}"
