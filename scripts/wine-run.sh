#!/usr/bin/env bash
# Runs a Windows program under 64-bit Wine: wine-run.sh PREFIX PROGRAM.exe [ARGUMENTS...].
# ctest and the Windows build call it (CMAKE_CROSSCOMPILING_EMULATOR). The prefix is made with
# `wineboot -i` the first time it is used; scripts/windows-test.sh makes a fresh one up front.
# No Mono and no Gecko: their installers would ask with a window and the programs need neither.
set -euo pipefail
export WINEPREFIX=$1 WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
shift
wine=/usr/lib/wine/wine64
[[ -x $wine ]] || wine=$(command -v wine64 || command -v wine)
# Two programs started at once must not both make the prefix. The services it starts must not
# hold this program's output open (ctest would wait for them): no output of theirs.
mkdir -p "$WINEPREFIX"
[[ -f $WINEPREFIX/system.reg ]] ||
  flock "$WINEPREFIX/.boot-lock" bash -c '[[ -f $WINEPREFIX/system.reg ]] || wineboot -i' </dev/null >/dev/null 2>&1
# The program's output goes through a file: a service of the prefix started by this program
# inherits its output and outlives it, and a caller reading a pipe (ctest) would wait for it.
output=$(mktemp)
trap 'rm -f "$output"' EXIT
"$wine" "$@" >"$output" 2>&1 </dev/null && status=0 || status=$?
cat "$output"
exit "$status"
