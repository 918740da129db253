#!/usr/bin/env bash
# The sanitizer run: builds the whole suite with AddressSanitizer and
# UndefinedBehaviorSanitizer (scripts/build-asan.sh) and runs every test there. Any
# sanitizer report, in a test or in a program a test starts, fails the run. Expects the
# test environment of scripts/test-env.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${PELLORAN_JOBS:-$(nproc)}  # a shared machine may ask for fewer

scripts/build-asan.sh

# Libraries stay loaded to the end of each process, so that the leak check at exit
# still sees their global data and can name their frames (see the file for why).
cc -shared -fPIC -O2 -o build-asan/keep-libraries.so scripts/sanitizer/keep-libraries.c
export LD_PRELOAD="$root/build-asan/keep-libraries.so${LD_PRELOAD:+:$LD_PRELOAD}"

# Reports go to files, so that those of the programs the end-to-end tests start are
# seen too, whatever those tests make of the program's exit code.
reports=$(mktemp -d)
# intercept_tls_get_addr=0: this runtime guesses where a thread's block of a
# dynamically loaded library's thread-local data begins from the 16 bytes before it,
# which are the allocator's own chunk header now that the C library allocates those
# blocks with malloc; the leak check then scans a made-up range and dies ("Tracer
# caught signal 11"). Those blocks are still found as heap blocks reached from the
# thread's own descriptor, which the check scans with the rest of its static data.
export ASAN_OPTIONS="detect_leaks=1:log_path=$reports/asan:strict_init_order=1:detect_stack_use_after_return=1:intercept_tls_get_addr=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan"
export LSAN_OPTIONS="suppressions=$root/scripts/sanitizer/lsan.supp:print_suppressions=0"

status=0
(cd build-asan && ctest --output-on-failure --no-tests=error -j"$jobs" --timeout 600) || status=1
if compgen -G "$reports/*" >/dev/null; then
  for report in "$reports"/*; do
    echo "==== sanitizer report $(basename "$report")"
    cat "$report"
  done
  status=1
fi
rm -rf "$reports"
exit $status
