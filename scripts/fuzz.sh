#!/usr/bin/env bash
# Runs each fuzz target of our own code for a fixed time, two at a time, in
# a clang build with the sanitizers and libFuzzer. A crash, an input that
# takes more than 5 seconds or an allocation above 512 MB fails the run; the
# input that did it is kept as <build>/fuzz-runs/<target>/crash-* (or
# timeout-*, oom-*, leak-*).
#
#   scripts/fuzz.sh [-t SECONDS] [-r RUNS] [-b BUILD] [-j PARALLEL] [TARGET...]
#
# Defaults: 45 seconds per target, build folder build-asan (configured here
# when it does not exist yet), 2 at a time, every target listed in
# <build>/fuzz-targets.txt. With -r, each target runs that many inputs
# instead, however long it takes (long local campaigns). Figures go to
# <build>/fuzz-runs/summary.txt, or to $KORVALITH_FUZZ_RUNS/summary.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=45
runs_wanted=0
build=build-asan
parallel=2
while getopts "t:r:b:j:" option; do
  case $option in
    t) seconds=$OPTARG ;;
    r) runs_wanted=$OPTARG ;;
    b) build=$OPTARG ;;
    j) parallel=$OPTARG ;;
    *) sed -n '8p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))

if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -gline-tables-only -DNDEBUG" \
    "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -gline-tables-only -DNDEBUG" \
    -DKORVALITH_SANITIZE=ON -DKORVALITH_FUZZ=ON -DKORVALITH_BENCH=OFF
fi
if [ ! -f "$build/fuzz-targets.txt" ]; then
  echo "fuzz.sh: $build is not configured with -DKORVALITH_FUZZ=ON" >&2
  exit 2
fi
if [ $# -gt 0 ]; then
  targets=("$@")
else
  mapfile -t targets < <(grep -v '^$' "$build/fuzz-targets.txt")
fi
cmake --build "$build" --parallel "$parallel" --target "${targets[@]/#/fuzz_}"

# A small quarantine: ASan's default (256 MB of freed blocks held back) alone
# would take half of the 512 MB that an input may use.
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:print_stacktrace=1:quarantine_size_mb=16}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/fuzz/lsan.supp}
runs=${KORVALITH_FUZZ_RUNS:-$build/fuzz-runs}
mkdir -p "$runs"

source scripts/fuzz-limits.sh

# One target: new inputs go to its scratch folder, the repository's seeds
# are read only; the status is left in <target>.status.
run_target() {
  local target=$1 scratch=$runs/$1
  mkdir -p "$scratch/new"
  local status=0 limit=(-max_total_time="$seconds")
  if [ "$runs_wanted" -gt 0 ]; then
    limit=(-runs="$runs_wanted")
  fi
  local started=$SECONDS
  "$build/bin/fuzz_$target" "${limit[@]}" -timeout=5 -rss_limit_mb=512 -malloc_limit_mb=512 \
    -max_len="$(max_len "$target")" -dict="fuzz/$target.dict" -artifact_prefix="$scratch/" -print_final_stats=1 \
    "$scratch/new" "fuzz/corpus/$target" > "$runs/$target.log" 2>&1 || status=$?
  echo $status > "$runs/$target.status"
  echo $((SECONDS - started)) > "$runs/$target.seconds"
}

running=0
for target in "${targets[@]}"; do
  if [ $running -ge "$parallel" ]; then
    wait -n || true
    running=$((running - 1))
  fi
  if [ "$runs_wanted" -gt 0 ]; then
    echo "fuzz.sh: $target for $runs_wanted inputs"
  else
    echo "fuzz.sh: $target for $seconds s"
  fi
  run_target "$target" &
  running=$((running + 1))
done
wait

failed=0
: > "$runs/summary.txt"
for target in "${targets[@]}"; do
  status=$(cat "$runs/$target.status")
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$runs/$target.log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$runs/$target.log" | tail -1)
  line="$target: ${executions:-?} executions in $(cat "$runs/$target.seconds") s (${rate:-?}/s), status $status"
  if [ "$status" -ne 0 ]; then
    failed=1
    line="$line FAILED, see $runs/$target.log"
    grep -m1 -E 'ERROR: (AddressSanitizer|libFuzzer)|runtime error|SUMMARY' "$runs/$target.log" >&2 || true
  fi
  echo "$line" | tee -a "$runs/summary.txt"
done
exit $failed
