#!/usr/bin/env bash
# Runs every benchmark program of the build, one after the other.
set -euo pipefail
build_dir=${1:-build}
found=0
for program in "$build_dir"/bench/*; do
  [[ -f $program && -x $program ]] || continue
  found=1
  echo "== $(basename "$program")"
  "$program"
done
if [[ $found -eq 0 ]]; then
  echo "No benchmark programs in $build_dir/bench."
fi
