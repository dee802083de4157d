#!/usr/bin/env bash
# Builds the whole tree with AddressSanitizer and UndefinedBehaviorSanitizer in a folder of its
# own and runs every test there with leak checking on. Any report fails the run: undefined
# behaviour aborts (the build does not recover from it) and a leak makes the process exit non-zero.
#   scripts/sanitize.sh [build-folder]    (default build-asan; JOBS=2, BUILD_TYPE=Debug)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build-asan} jobs=${JOBS:-2} build_type=${BUILD_TYPE:-Debug}

cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE="$build_type" -DSYSVANE_SANITIZE=ON
cmake --build "$build_dir" -j"$jobs"

# Leaks are suppressed only where they happen inside system libraries; each entry of the file
# says which and why.
# The system's Qt is built without frame pointers: the fast unwinder loses a stack inside it, and
# a suppression could then match neither the leak's function nor ours.
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:fast_unwind_on_malloc=0
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
rm -rf "$build_dir/e2e-logs"
ctest --test-dir "$build_dir" --output-on-failure -j"$jobs" -LE desktops || status=1

# The end-to-end runs judge what the program shows, not how it ends: a leak it reports at exit
# (or any other finding) is only in its log, so the logs are read here.
! grep -rlE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$build_dir/e2e-logs" 2>/dev/null ||
  { echo "The program's logs above hold sanitizer reports." >&2 && status=1; }
exit $status
