#!/usr/bin/env bash
# Runs a Windows program under 64-bit Wine: wine-run.sh PREFIX PROGRAM.exe [ARGUMENTS...].
# ctest and the Windows build call it (CMAKE_CROSSCOMPILING_EMULATOR). The prefix is made with
# `wineboot -i` the first time it is used; scripts/windows-test.sh makes a fresh one up front.
set -euo pipefail
prefix=$1
shift
export WINEPREFIX=$prefix WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono and no Gecko: their installers would ask with a window and the programs need neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine=/usr/lib/wine/wine64
[[ -x $wine ]] || wine=$(command -v wine64 || command -v wine)
if [[ ! -f $prefix/system.reg ]]; then
  mkdir -p "$prefix"
  # Two programs started at once must not both make the prefix. The services it starts must not
  # hold this program's output open (ctest would wait for them): no output of theirs.
  flock "$prefix/.boot-lock" bash -c '[[ -f $WINEPREFIX/system.reg ]] || wineboot -i' </dev/null >/dev/null 2>&1
fi
# The program's output goes through a file: a service of the prefix started by this program
# inherits its output and outlives it, and a caller reading a pipe (ctest) would wait for it.
output=$(mktemp)
trap 'rm -f "$output"' EXIT
status=0
"$wine" "$@" >"$output" 2>&1 </dev/null || status=$?
cat "$output"
exit "$status"
