#!/usr/bin/env bash
# A short run of every fuzz target (a few seconds each), for CI: builds them with clang in a
# folder of their own, replays the corpus kept in fuzz/corpus/ and fuzzes on from it. New inputs go
# to a temporary folder, never into the repository. Any crash or broken invariant fails the run;
# the input that caused it is kept in <build-folder>/crashes/<target>/.
#   scripts/fuzz-smoke.sh [seconds-per-target]    (default 5; BUILD_DIR=build-fuzz, JOBS=2)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-5}
build_dir=${BUILD_DIR:-build-fuzz}
jobs=${JOBS:-2}

cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DSYSVANE_FUZZ=ON >/dev/null
cmake --build "$build_dir" --target fuzzers -j"$jobs"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=()
for corpus in fuzz/corpus/*/; do
  target=$(basename "$corpus")
  mkdir -p "$scratch/$target" "$build_dir/crashes/$target"
  printf '%-24s ' "$target"
  if "$build_dir/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
    -artifact_prefix="$build_dir/crashes/$target/" "$scratch/$target" "$corpus" >"$scratch/$target.log" 2>&1; then
    grep -Eo 'Done [0-9]+ runs in [0-9]+ second\(s\)' "$scratch/$target.log" | tail -1 || echo done
  else
    echo FAILED
    tail -40 "$scratch/$target.log"
    failed+=("$target")
  fi
done
if [[ ${#failed[@]} -gt 0 ]]; then
  echo "Fuzz targets that failed: ${failed[*]}" >&2
  exit 1
fi
