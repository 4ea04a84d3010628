#!/usr/bin/env bash
# Builds the programs and tests with AddressSanitizer and UndefinedBehavior-
# Sanitizer into build-asan/ and runs the whole test suite there. Any finding
# ends its test program at once and fails the script.
#   scripts/sanitize.sh            build and run every test
#   scripts/sanitize.sh -R REGEX   only the tests ctest selects with REGEX
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
jobs="${JOBS:-$(nproc)}"
source "$root/scripts/configure-tree.sh"
configure_tree "$root/build-asan" -DTABULON_SANITIZE=address,undefined -DTABULON_BENCH=OFF
cmake --build "$root/build-asan" -j"$jobs"

# detect_leaks: Qt's plugin and font caches that live until exit are not
# leaks of ours; suppressions.txt names each one it lets pass, with the reason.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$root/scripts/sanitize-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
cd "$root/build-asan"
ctest --output-on-failure -j"$jobs" --timeout 900 "$@"
