#!/usr/bin/env bash
# Runs a fixed list of command-line cases against the programs in BIN (a
# folder holding tabulon-cli and tabulon-sim) and prints each case's command,
# exit status, standard output and standard error, with pseudo-terminal paths
# and the scratch folder put in words, and the lines of many registers (which
# finish in any order) sorted. Run for two builds and diff the two outputs to
# see what a change did to the command line:
#   scripts/cli-cases.sh OLD_DIR > before.txt
#   scripts/cli-cases.sh NEW_DIR > after.txt
#   diff before.txt after.txt
set -uo pipefail
bin="$(cd "$1" && pwd)"
cli="$bin/tabulon-cli"; sim="$bin/tabulon-sim"
scratch=/tmp/proof-scratch
rm -rf "$scratch"; mkdir -p "$scratch"; cd "$scratch"
pids=()
start_sim() {  # start_sim NAME ARGS... -> sets variable NAME to the pty path
    local var=$1; shift
    "$sim" "$@" > "$scratch/$var.pty" 2>/dev/null &
    pids+=($!)
    for _ in $(seq 100); do [[ -s "$scratch/$var.pty" ]] && break; sleep 0.05; done
    printf -v "$var" '%s' "$(head -1 "$scratch/$var.pty")"
}
trap 'kill "${pids[@]}" 2>/dev/null' EXIT
start_sim P550 --model mp-550t
start_sim P50 --model mp-50-junior
start_sim PNEON --model neon
start_sim PSILENT --silent
start_sim PERR --error-replies
start_sim PBUS --model neon --bus 1,2,3
printf '[Ports]\nCOM1=%s\nCOM2=%s\nCOM3=%s\nCOM4=%s\nCOM5=%s\n' "$P550" "$P50" "$PNEON" "$PSILENT" "$PERR" > Tabulon.ini
n=0
norm() { sed -e "s#$P550#PTY550#g; s#$P50#PTY50#g; s#$PNEON#PTYNEON#g; s#$PSILENT#PTYSILENT#g; s#$PERR#PTYERR#g; s#$PBUS#PTYBUS#g; s#$scratch#SCRATCH#g; s#/dev/pts/[0-9]*#/dev/pts/N#g"; }
case_() {
    n=$((n+1))
    local out err rc
    out=$(timeout 120 "$@" 2>"$scratch/err" </dev/null); rc=$?
    err=$(cat "$scratch/err")
    if [[ "$*" == *--fleet* || "$*" == *scan* ]]; then  # registers answer in any order, in any time
        out=$(sed -E 's/[0-9]+:[0-9]{2}$/M:SS/' <<<"$out" | sort); err=$(sort <<<"$err")
    fi
    printf '=== %d: %s\n--- rc %d\n--- out\n%s\n--- err\n%s\n' "$n" "$(echo "${*#$bin/}" | norm)" "$rc" "$out" "$err" | norm
}
file_() { printf -- '--- file %s\n' "$1"; if [[ -f "$1" ]]; then md5sum < "$1"; else echo missing; fi; }
# usage and help
case_ "$cli" --help
case_ "$cli" --version
case_ "$cli"
case_ "$cli" --bogus detect
case_ "$cli" frobnicate
case_ "$cli" detect extra
case_ "$cli" --speed 1234 detect
case_ "$cli" --speed abc detect
case_ "$cli" --speed
case_ "$cli" --register 0 detect
case_ "$cli" --register 100 detect
case_ "$cli" --register x detect
case_ "$cli" --model foo clear-table goods
case_ "$cli" --model MP-550T --port COM1 clear-table header
case_ "$cli" --model Neon --port COM3 clear-table header
case_ "$cli" --interval 1:2 read-table goods x.txt
case_ "$cli" --on-failure maybe read-table goods x.txt
case_ "$cli" --port COM0 detect
case_ "$cli" --port foo detect
case_ "$cli" --port tcp://host detect
case_ "$cli" --port=rfc2217://h:0 detect
case_ "$cli" --quiet=1 detect
case_ "$cli" --verify read-table goods x.txt
case_ "$cli" --all detect
case_ "$cli" --trace= detect
case_ "$cli" --only-changed "" write-table goods x.txt
case_ "$cli" read-table nosuch x.txt
case_ "$cli" read goods
case_ "$cli" -- detect
case_ "$cli" --port COM1 --model mp-50-junior write-table goods missing.txt
case_ "$cli" --fleet missing.fleet detect
case_ "$cli" --fleet x --jobs 0 detect
case_ "$cli" --fleet x --jobs y detect
case_ "$cli" --fleet x --port COM1 detect
case_ "$cli" --fleet x read
case_ "$cli" --report r.csv detect
# one register each model
for m in 1:mp-550t 2:mp-50-junior 3:neon; do
    com=COM${m%%:*}; model=${m#*:}
    case_ "$cli" --port $com detect
    case_ "$cli" --port $com read goods 1
    case_ "$cli" --port $com read operators 1
    case_ "$cli" --port $com write operators 1 'Иванов;1;'
    case_ "$cli" --port $com read operators 1
    case_ "$cli" --port $com reset
    for t in goods operators payments departments header cash receipt service; do
        case_ "$cli" --port $com --model $model read-table $t "$model-$t.txt"
        file_ "$model-$t.txt"
    done
    case_ "$cli" --port $com --model $model --verify write-table operators "$model-operators.txt"
    case_ "$cli" --port $com --model $model --interval 1:3:1 read-table goods "$model-g3.txt"
    file_ "$model-g3.txt"
    case_ "$cli" --port $com --model $model clear-table departments
    case_ "$cli" --port $com read-logo "$model-logo.bmp"
    file_ "$model-logo.bmp"
    case_ "$cli" --port $com write-logo "$model-logo.bmp"
    mkdir -p "rep-$model"
    case_ "$cli" --port $com --model $model reports --dir "rep-$model"
    for f in rep-$model/*; do file_ "$f"; done
done
case_ "$cli" --port COM1 --model mp-550t --only-changed mp-550t-goods.txt write-table goods mp-550t-goods.txt
case_ "$cli" --port COM1 write-table goods mp-550t-goods.txt
# faults
case_ "$cli" --port COM4 detect
case_ "$cli" --port COM5 write operators 1 'X;1;'
case_ "$cli" --port COM5 --on-failure skip --model mp-550t clear-table header
case_ "$cli" --port "$PSILENT" read goods 1
case_ "$cli" --port /dev/nonexistent detect
case_ "$cli" --port COM9 detect
case_ "$cli" --port tcp://127.0.0.1:1 detect
case_ "$cli" --port rfc2217://127.0.0.1:1 detect
case_ "$cli" ports
case_ "$cli" scan --ports COM1,COM3 --speeds 4800 --registers 1-2 --all
case_ "$cli" scan --ports "$PBUS" --speeds 4800 --registers 1-4 --all
case_ "$cli" scan --registers 0
case_ "$cli" scan --speeds 1
# fleet
printf 'a COM1 4800 1 mp-550t\nb COM3 4800 1 neon\n# c\nd %s 4800 2 neon\ne COM4 4800 1 neon\n' "$PBUS" > f.fleet
case_ "$cli" --fleet f.fleet detect
case_ "$cli" --fleet f.fleet --report rep.csv detect
printf -- '--- file rep.csv\n'; sed -E 's/[0-9]+:[0-9]{2}( |$)/M:SS\1/' rep.csv | sort
case_ "$cli" --fleet f.fleet --only-failed rep.csv detect
case_ "$cli" --fleet f.fleet read-table goods 'out-{name}.txt'
case_ "$cli" --fleet f.fleet read-table goods same.txt
printf 'a COM1 4800 1 MP550T\n' > g.fleet
case_ "$cli" --fleet g.fleet detect
printf 'a COM1 4801 1 neon\n' > h.fleet
case_ "$cli" --fleet h.fleet detect
# the simulator
case_ "$sim" --help
case_ "$sim" --version
case_ "$sim" --bogus
case_ "$sim" --model x
case_ "$sim" --model NEON --device /nonexistent
case_ "$sim" --register 0
case_ "$sim" --bus 1,x
case_ "$sim" --speed 7x --device /nonexistent
case_ "$sim" --pace 0
case_ "$sim" --chaos x
case_ "$sim" --silent=abc
case_ "$sim" --device
echo "=== $n cases"
