#!/usr/bin/env bash
# Runs the logo tests and every input of the logo fuzz corpus under valgrind's
# memcheck. Qt's BMP reader leaves pixels the file does not set as the memory
# it was given; AddressSanitizer and UndefinedBehaviorSanitizer do not see
# such reads, memcheck does. Builds a plain tree of its own (build-valgrind/,
# only the folders the logo needs) and fails on any error memcheck reports.
#   scripts/valgrind.sh
# The corpus is fuzz/corpus/logo_fuzz/ and, when scripts/fuzz.sh has grown
# one here, build-fuzz/corpus/logo_fuzz/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
build="$root/build-valgrind"
source "$root/scripts/configure-tree.sh"
configure_tree "$build" -DTABULON_FOLDERS="text;catalogue;link;logo;sim" -DTABULON_BENCH=OFF
cmake --build "$build" -j"${JOBS:-$(nproc)}" \
      --target logo_codec_test logo_transfer_test logo_fuzz_replay

export QT_QPA_PLATFORM=offscreen
# Leaks are not looked for here (the sanitizer suite does that); every other
# error fails the run. --track-origins names the allocation an undefined
# value came from.
memcheck=(valgrind --tool=memcheck --error-exitcode=1 --errors-for-leak-kinds=none
          --track-origins=yes --num-callers=30
          --suppressions="$root/scripts/valgrind-suppressions.supp")
corpora=("$root/fuzz/corpus/logo_fuzz")
if [[ -d "$root/build-fuzz/corpus/logo_fuzz" ]]; then
    corpora+=("$root/build-fuzz/corpus/logo_fuzz")
fi
logs="$build/logs"
mkdir -p "$logs"
failed=()
run() {
    local name="$1"
    shift
    echo "== $name"
    if "${memcheck[@]}" --log-file="$logs/$name.log" "$@" > "$logs/$name.out" 2>&1; then
        grep -E "ERROR SUMMARY" "$logs/$name.log" || true
    else
        failed+=("$name")
        tail -n 20 "$logs/$name.out"
        head -n 150 "$logs/$name.log"
    fi
}
run logo_codec_test "$build/tests/logo/logo_codec_test"
run logo_transfer_test "$build/tests/logo/logo_transfer_test"
run logo_fuzz_replay "$build/tests/logo/logo_fuzz_replay" "${corpora[@]}"
if ((${#failed[@]})); then
    echo "memcheck errors in: ${failed[*]} (logs in $logs/)" >&2
    exit 1
fi
