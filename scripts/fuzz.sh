#!/usr/bin/env bash
# Builds the libFuzzer targets (clang++-14, AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs each for SECONDS
# (default 30), one after the other, starting from fuzz/corpus/<target>/.
# New inputs go to build-fuzz/corpus/<target>/ (the repository's seeds stay
# small); a finding is kept as build-fuzz/findings/<target>/crash-* and fails
# the script. A longer campaign is the same command with more seconds:
#   scripts/fuzz.sh                 30 s per target (what CI runs)
#   scripts/fuzz.sh 3600            an hour per target
#   scripts/fuzz.sh 600 link_fuzz   only the named targets
# FUZZ_SANITIZE picks the sanitizers (default address,undefined). A long
# campaign runs several times faster with FUZZ_SANITIZE=undefined (its own
# tree, build-fuzz-undefined/); the inputs it finds go to the same corpus, and
# FUZZ_REPLAY=1 scripts/fuzz.sh runs that corpus once under the default build.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-30}"
shift || true
all=(line_reader_fuzz table_file_fuzz price_list_fuzz profile_file_fuzz record_reply_fuzz
     card_files_fuzz link_fuzz logo_fuzz)
targets=("$@")
if ((${#targets[@]} == 0)); then targets=("${all[@]}"); fi

"$root/scripts/deps.sh"
source "$root/scripts/install-missing.sh"
install_missing clang-14 libfuzzer-14-dev

sanitize="${FUZZ_SANITIZE-address,undefined}"
build="$root/build-fuzz"
if [[ "$sanitize" != "address,undefined" ]]; then build="$root/build-fuzz-${sanitize//,/-}"; fi
corpora="$root/build-fuzz/corpus"
source "$root/scripts/configure-tree.sh"
configure_tree "$build" -DCMAKE_CXX_COMPILER=clang++-14 -DTABULON_FUZZ=ON \
               -DTABULON_SANITIZE=$sanitize -DTABULON_TESTS=OFF -DTABULON_BENCH=OFF
cmake --build "$build" -j"${JOBS:-$(nproc)}" --target "${targets[@]}"

export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
# The settings and logo targets write a file on every run; memory is faster.
if [[ -d /dev/shm && -w /dev/shm ]]; then export TMPDIR=/dev/shm; fi
failed=()
for target in "${targets[@]}"; do
    corpus="$corpora/$target"
    findings="$build/findings/$target"
    mkdir -p "$corpus" "$findings"
    log="$build/findings/$target.log"
    run=(-max_total_time="$seconds")
    if [[ "${FUZZ_REPLAY:-}" == 1 ]]; then run=(-runs=0); fi
    echo "== $target: ${run[*]}"
    # -timeout: one input that takes seconds is a finding (bounded work);
    # -rss_limit_mb: so is one that needs more memory than a desktop has.
    if "$build/fuzz/$target" "${run[@]}" -timeout=10 -rss_limit_mb=2048 \
        -max_len=4096 -print_final_stats=1 -artifact_prefix="$findings/" \
        "$corpus" "$root/fuzz/corpus/$target" > "$log" 2>&1; then
        grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb)|#[0-9]+ *DONE" "$log" || true
    else
        failed+=("$target")
        tail -n 40 "$log"
    fi
done
if ((${#failed[@]})); then
    echo "Findings in: ${failed[*]} (inputs in $build/findings/)" >&2
    exit 1
fi
