#!/usr/bin/env bash
# Tabulon without hardware: a simulated register on a pseudo-terminal, and the
# program started in demo/ with COM1 mapped to it. Expects a built tree
# (scripts/run.sh --demo builds first).
#   DEMO_MODEL=mp-550t|mp-50-junior|neon   the simulated register's model
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
demo="$root/demo"
mkdir -p "$demo"

out="$(mktemp)"
"${TABULON_SIM:-$root/build/src/sim/tabulon-sim}" --model "${DEMO_MODEL:-mp-550t}" > "$out" &
sim=$!
trap 'kill $sim 2>/dev/null || true; rm -f "$out"' EXIT
for _ in $(seq 50); do
    [[ -s "$out" ]] && break
    sleep 0.1
done
device="$(head -n1 "$out")"
if [[ "$device" != /dev/* ]]; then
    echo "The simulated register did not start." >&2
    exit 1
fi

# Keep the settings of earlier demo runs; only COM1 is pointed at the simulator.
ini="$demo/Tabulon.ini"
if [[ -f "$ini" ]] && grep -qi '^\[Ports\]' "$ini"; then
    sed -i '/^\[Ports\]/,/^\[/{/^COM1=/d}' "$ini"
    sed -i "s|^\[Ports\]\r\?$|[Ports]\r\nCOM1=$device\r|I" "$ini"
else
    printf '[Ports]\r\nCOM1=%s\r\n' "$device" >> "$ini"
fi
echo "Simulated register (${DEMO_MODEL:-mp-550t}) on $device as COM1; settings in $ini"
cd "$demo"
"${TABULON_PROGRAM:-$root/build/src/app/tabulon}"
