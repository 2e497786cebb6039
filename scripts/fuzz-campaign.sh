#!/usr/bin/env bash
# A long local campaign for one fuzz target: WORKERS fuzzers share one corpus
# folder and are restarted every ROUND seconds, until their executions add up
# to TOTAL, a finding stops them or they are interrupted (Ctrl-C, or SIGINT
# to the process group). Restarting keeps each worker's peak resident size,
# which libFuzzer holds to 512 MB, low: the toolkit's caches grow with a run
# and nothing trims them (about 420 MB after 20 minutes at 380 inputs a
# second). A round's figures are written down as soon as it ends, so a
# campaign that is cut short still has every finished round counted.
#
#   scripts/fuzz-campaign.sh [-b BUILD] [-w WORKERS] [-s ROUND] [-n TOTAL] [-e FIRST_SEED] TARGET FOLDER
#
# FOLDER receives corpus/ (shared by the workers), artifacts/, one log per
# worker and rounds.txt: one line per worker and round with its seed, its
# executions, its rate, its peak resident size and its exit status. Leak
# checks are off (-detect_leaks=0): replay the corpus once with them at the
# end. Defaults: build-asan, 2 workers, 1200 s rounds, 10,000,000 inputs.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-asan
workers=2
round=1200
total=10000000
seed=1
while getopts "b:w:s:n:e:" option; do
  case $option in
    b) build=$OPTARG ;;
    w) workers=$OPTARG ;;
    s) round=$OPTARG ;;
    n) total=$OPTARG ;;
    e) seed=$OPTARG ;;
    *) sed -n '9p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
if [ $# -ne 2 ]; then
  sed -n '9p' "$0" >&2
  exit 2
fi
target=$1
folder=$2
binary=$build/bin/fuzz_$target
if [ ! -x "$binary" ]; then
  echo "fuzz-campaign.sh: $binary is not built" >&2
  exit 2
fi
mkdir -p "$folder/corpus" "$folder/artifacts"
touch "$folder/rounds.txt"

source scripts/fuzz-limits.sh
max_len=$(max_len "$target")
# Pages of the shared corpus, when there is one, seed the page target too.
extra=()
if [ "$target" = html ] && [ -d ../shared/corpus/html ]; then
  extra=(../shared/corpus/html)
fi

# Five frames per allocation and free stack: the sanitizer keeps every
# distinct stack to the end of the process, and the layout's recursion makes
# new ones all the time; with the full 30 frames that store alone grew by
# about 200 MB in 15 minutes. A finding is re-run alone for its whole stacks.
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:print_stacktrace=1:quarantine_size_mb=16:detect_leaks=0:malloc_context_size=5}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

stat_of() {
  sed -n "s/^stat::$1: *//p" "$2" | tail -1
}

executed() {
  awk '{ sum += $4 } END { print sum + 0 }' "$folder/rounds.txt"
}

run_worker() {
  local worker_seed=$1 log=$folder/worker-$1.log status=0
  nice -n 5 "$binary" -seed="$worker_seed" -max_total_time="$round" -timeout=5 \
    -rss_limit_mb=512 -malloc_limit_mb=512 -max_len=$max_len -dict="fuzz/$target.dict" \
    -detect_leaks=0 -print_final_stats=1 -artifact_prefix="$folder/artifacts/" \
    "$folder/corpus" "fuzz/corpus/$target" "${extra[@]}" > "$log" 2>&1 || status=$?
  echo "$(date -u +%FT%TZ) seed $worker_seed $(stat_of number_of_executed_units "$log") executions" \
    "$(stat_of average_exec_per_sec "$log")/s peak $(stat_of peak_rss_mb "$log") MB status $status" \
    >> "$folder/rounds.txt"
  return $status
}

# libFuzzer's exit status when it is interrupted: the round still counts.
interrupted=72
while [ "$(executed)" -lt "$total" ]; do
  failed=0 stopped=0
  for ((w = 0; w < workers; w++)); do
    run_worker $((seed + w)) &
  done
  for ((w = 0; w < workers; w++)); do
    status=0
    wait -n || status=$?
    if [ $status -eq $interrupted ]; then
      stopped=1
    elif [ $status -ne 0 ]; then
      failed=1
    fi
  done
  seed=$((seed + workers))
  echo "fuzz-campaign.sh: $(executed) executions so far"
  if [ $failed -ne 0 ] || [ -n "$(ls -A "$folder/artifacts")" ]; then
    echo "fuzz-campaign.sh: a worker failed; see $folder/artifacts and the logs" >&2
    exit 1
  fi
  if [ $stopped -ne 0 ]; then
    echo "fuzz-campaign.sh: interrupted; the next seed is $seed"
    exit 0
  fi
done
