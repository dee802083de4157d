#!/usr/bin/env bash
# A short run of every fuzz target (a few seconds each), for CI: `fuzz.sh --smoke`, which replays
# the corpus kept in fuzz/corpus/ and fuzzes on from it into a temporary folder, never the repository.
#   scripts/fuzz-smoke.sh [seconds-per-target]    (default 5; BUILD_DIR=build-fuzz, JOBS=2)
exec "$(dirname "$0")/fuzz.sh" --smoke "${1:-5}"
