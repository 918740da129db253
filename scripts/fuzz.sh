#!/usr/bin/env bash
# Runs the fuzz targets of the sanitizer build, each from its seeds in fuzz/corpus/<target>/.
#   scripts/fuzz.sh [-t seconds | -r runs] [-j parallel] [target...]
# Each target runs for 600 seconds unless told otherwise (-t), or for a number of inputs
# (-r); -j targets at a time (default: the number of processors). New inputs the fuzzer
# finds go to build-asan/fuzz/corpus/<target>/, never into the seeds; a crash leaves its
# input in build-asan/fuzz/crashes/ and fails the run. A line per target tells the inputs
# tried.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

budget=(-max_total_time=600)
parallel=$(nproc)
while getopts "t:r:j:" option; do
  case $option in
    t) budget=(-max_total_time="$OPTARG") ;;
    r) budget=(-runs="$OPTARG") ;;
    j) parallel=$OPTARG ;;
    *) echo "usage: $0 [-t seconds | -r runs] [-j parallel] [target...]" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=($(ls fuzz/corpus))

scripts/build-asan.sh "${targets[@]/#/fuzz_}"

out=build-asan/fuzz
mkdir -p "$out/crashes" "$out/logs"
# Every input is written as a file for the reader; on a memory file system that costs
# no disk writes (the safe writes sync).
if [ -z "${TMPDIR:-}" ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
# Options given by the caller win: long runs may trade leak checks for speed.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS="suppressions=$root/scripts/sanitizer/lsan.supp:print_suppressions=0"

# One target: a hang of 10 seconds on one input counts as a failure, like a crash.
fuzz_one() {
  local target=$1 log=$out/logs/$1.log
  mkdir -p "$out/corpus/$target"
  if "$out/fuzz_$target" "$out/corpus/$target" "fuzz/corpus/$target" "${budget[@]}" -timeout=10 \
       -artifact_prefix="$out/crashes/$target-" -print_final_stats=1 >"$log" 2>&1; then
    echo "$target: $(grep -a -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') inputs, no crash"
  else
    echo "$target: FAILED, see $log"
    grep -a -E 'ERROR|SUMMARY|broken promise|Test unit written' "$log" | head -5
    return 1
  fi
}

status=0
running=0
for target in "${targets[@]}"; do
  if [ $running -ge "$parallel" ]; then
    wait -n || status=1
    running=$((running - 1))
  fi
  fuzz_one "$target" &
  running=$((running + 1))
done
while [ $running -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done
exit $status
