#!/usr/bin/env bash
# Long fuzzing runs: every fuzz target (or the ones named) for a number of seconds each, JOBS at a
# time, at low priority. Each target's corpus grows in <build-folder>/fuzz-corpus/<target>,
# starting from the one kept in fuzz/corpus/<target>; an input that crashes or breaks an invariant
# is saved in <build-folder>/crashes/<target>/ and the run goes on with the other targets.
# Every run adds a line to <build-folder>/fuzz-history.tsv: date, target, seconds, processor
# seconds, inputs run, result.
# With --keep, the inputs of a run that reach code the kept corpus does not are merged into
# fuzz/corpus/ to be committed; with --smoke (CI's short run), new inputs go to a temporary folder.
#   scripts/fuzz.sh [--keep|--smoke] [seconds-per-target] [target...]
#   (default 3600 seconds and every target; BUILD_DIR=build-fuzz, JOBS=2, MAX_LEN=4096)
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-}
[[ $mode == --keep || $mode == --smoke ]] && shift || mode=
seconds=${1:-3600}
shift || true
build_dir=${BUILD_DIR:-build-fuzz} jobs=${JOBS:-2} max_len=${MAX_LEN:-4096}

results=$(mktemp) scratch=
[[ $mode == --smoke ]] && scratch=$(mktemp -d)
trap 'rm -rf "$results" $scratch' EXIT
corpora=${scratch:-$build_dir/fuzz-corpus}
targets=("$@")
((${#targets[@]})) || for corpus in fuzz/corpus/*/; do targets+=("$(basename "$corpus")"); done

cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DSYSVANE_FUZZ=ON >/dev/null
cmake --build "$build_dir" --target fuzzers -j"$jobs"

# One target for `seconds`; its log tells how many inputs ran.
run_target() {
  local target=$1 result=clean cpu runs
  local corpus=$corpora/$target crashes=$build_dir/crashes/$target log=$build_dir/fuzz-logs/$target.log
  mkdir -p "$corpus" "$crashes" "$(dirname "$log")"
  # The processor time it had, which is less than `seconds` when the machine was busy otherwise.
  cpu=$( { TIMEFORMAT=%0U; time nice -n 15 "$build_dir/fuzz/fuzz_$target" -max_total_time="$seconds" \
    -timeout=10 -rss_limit_mb=2048 -max_len="$max_len" -print_final_stats=1 -artifact_prefix="$crashes/" \
    "$corpus" "fuzz/corpus/$target" >"$log" 2>&1 || echo FOUND >"$log.result"; } 2>&1)
  [[ -f $log.result ]] && result=FOUND && rm -f "$log.result"
  runs=$(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -Eo '[0-9]+$' || echo 0)
  printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$(date -u +%FT%TZ)" "$target" "$seconds" "$cpu" "$runs" "$result" \
    >>"$build_dir/fuzz-history.tsv"
  printf '%-24s %6s s of processor time %12s runs  %s\n' "$target" "$cpu" "$runs" "$result" | tee -a "$results"
  [[ $result == clean ]] || tail -40 "$log"
}

for target in "${targets[@]}"; do
  [[ -x $build_dir/fuzz/fuzz_$target ]] || { echo "No fuzz target $target" >&2; exit 2; }
  while [[ $(jobs -rp | wc -l) -ge $jobs ]]; do wait -n || true; done
  run_target "$target" &
done
wait

if [[ $mode == --keep ]]; then
  for target in "${targets[@]}"; do
    # By edges alone (no hit counts, no value profile): the kept corpus stays a few kilobytes.
    "$build_dir/fuzz/fuzz_$target" -merge=1 -use_counters=0 -use_value_profile=0 -max_len="$max_len" \
      "fuzz/corpus/$target" "$build_dir/fuzz-corpus/$target" >/dev/null 2>&1
  done
  echo "Kept in fuzz/corpus: $(find fuzz/corpus -type f | wc -l) inputs, $(cat fuzz/corpus/*/* | wc -c) bytes"
fi

echo "Inputs kept in $build_dir/crashes: $(find "$build_dir/crashes" -type f | wc -l)"
! grep -q FOUND "$results"
