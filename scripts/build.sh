#!/usr/bin/env bash
# Configures and builds into build/ (warnings are errors when CI=true or WERROR=1).
#   scripts/build.sh              everything: programs, tests, benchmarks
#   scripts/build.sh TARGET...    only these targets
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/configure-tree.sh"
configure_tree "$root/build"
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$root/build" -j"$(nproc)" "${targets[@]}"
