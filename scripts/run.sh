#!/usr/bin/env bash
# Installs what is missing, builds and starts Tabulon in the current directory
# (its Tabulon.ini lives in the working directory).
#   scripts/run.sh          start the program
#   scripts/run.sh --demo   start a simulated register on a pseudo-terminal and
#                           the program in demo/, with COM1 mapped to it
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" tabulon tabulon-sim tabulon-cli
if [[ "${1:-}" == "--demo" ]]; then
    exec "$root/scripts/demo.sh"
fi
exec "$root/build/src/app/tabulon"
