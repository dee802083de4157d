#!/usr/bin/env bash
# Runs the Windows test programs of a Windows build under Wine: windows-test.sh BUILD_DIR [CTEST ARGS...].
# The build gets a fresh Wine prefix, started once (`wineboot -i`), and a Wine server that stays
# up for the whole run, so that each test program starts in about a second.
set -euo pipefail
build=$(realpath "$1")
shift
export WINEPREFIX=$build/wineprefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=

rm -rf "$WINEPREFIX"
wineboot -i
wineserver -w

# A server that stays up until `wineserver -k` below, and the prefix's services started now, with
# no output: a service started by the first test would hold that test's output open and ctest
# would wait for it until the server ends.
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
wineboot </dev/null >/dev/null 2>&1
ctest --test-dir "$build" --output-on-failure -j"${JOBS:-2}" "$@"
