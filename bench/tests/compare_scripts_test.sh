#!/usr/bin/env bash
# The pieces of compare.sh that turn this machine's rows into configurations and figures into
# the table: a mistake here measures the wrong work or reports the wrong ratio.
set -euo pipefail
BENCH=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0
expect() {  # expect DESCRIPTION COMMAND...
  local description=$1
  shift
  if "$@"; then echo "ok: $description"; else echo "FAILED: $description"; failures=$((failures + 1)); fi
}
has() { grep -qF -- "$2" <<<"$1"; }

# Settings: every row on, the Monitor window at start-up or not, drive C by its own key only.
printf 'cpu\nphysical\nvirtual\nbattery\ndrive C /\ndrive D /home\n' >"$WORK/rows"
settings=$("$BENCH/scripts/write_settings.sh" "$WORK/rows" 1 | grep -E 'Defined|Splash|Startup|Battery|drive' | tr '\n' ' ')
expect "settings ($settings)" test "$settings" = "Defined=Yes ShowSplash=0 ShowStatsAtStartup=1 ShowBattery=1 ShowCdrive=1 ShowDdrive=1 "
expect "tray-only settings" has "$("$BENCH/scripts/write_settings.sh" "$WORK/rows" 0)" "ShowStatsAtStartup=0"

# conky: one bar per row in the Monitor window's order, the battery found by its type.
printf 'cpu\nphysical\nvirtual\nbattery\ndrive C /\ndrive D /mnt/a&b\n' >"$WORK/rows"
mkdir -p "$WORK/power/AC" "$WORK/power/BAT7" && echo Mains >"$WORK/power/AC/type" && echo Battery >"$WORK/power/BAT7/type"
conky=$(POWER_SUPPLY_DIR="$WORK/power" "$BENCH/scripts/write_conky_config.sh" "$WORK/rows" "$BENCH/conky")
bars=$(grep -oE '\$\{(cpubar|membar|swapbar|battery_bar|fs_bar)[^}]*\}' <<<"$conky" | tr '\n' ' ')
# shellcheck disable=SC2016  # conky's own ${...}
expect "conky bars ($bars)" test "$bars" = '${cpubar cpu0 17,121} ${membar 17,121} ${swapbar 17,121} ${battery_bar 17,121 BAT7} ${fs_bar 17,121 /} ${fs_bar 17,121 /mnt/a&b} '

# CPU ticks of a process whose name holds spaces and a parenthesis; a zombie is not alive.
# shellcheck source-path=SCRIPTDIR/../scripts
# shellcheck source=processes.sh
source "$BENCH/scripts/processes.sh"
cp "$(command -v sleep)" "$WORK/x) y z"
"$WORK/x) y z" 30 & sleeper=$!
expect "ticks read after the name" test "$(CpuTicks "$sleeper")" = "$(awk '{ sub(/.*\) /, ""); split($0, f, " "); print f[12] + f[13] }' "/proc/$sleeper/stat")"
expect "memory figures" test "$(MemoryKb "$sleeper" | awk -F'\t' '{ print NF }')" = 4
kill "$sleeper" && sleep 0.2
not_alive() { ! Alive "$1"; }
expect "a process that ended is not alive (a zombie not yet reaped)" not_alive "$sleeper"

# The report: each run's process meets its own run's X server; memory columns and ratios.
for run in 3 1 2; do
  cpu=$((8 + 2 * run))
  printf '%s\tshared\tsysvane\tprocess\t%s\t%s\t30000\t31000\t%s\t%s\n' $run $cpu $cpu $((6000 + run)) $((2000 + run))
  printf '%s\talone\tsysvane\txserver\t%s\t%s\n' $run $run $run
  printf '%s\tshared\tconky\tprocess\t30\t30\t12000\t12000\t4000\t2002\n%s\talone\tconky\txserver\t10\t10\n' $run $run
done >"$WORK/figures"
printf 'tray\t1\t90\ntray\t2\t70\ntray\t3\t200\n' >"$WORK/startup"
report=$(python3 "$BENCH/scripts/compare_report.py" --figures "$WORK/figures" --startup "$WORK/startup" --runs 3 --seconds 60 --warmup 10 --rows CPU)
expect "Sysvane's row" has "$report" "| 12 (10–14) | n/a | 2 (1–3) | 14 (11–17) | 29.3 | 30.3 | 5.9 | 2.0 |"
expect "the CPU ratio to conky" has "$report" "Sysvane / conky: 0.35x (goal ≤ 0.50x: met)"
expect "the memory ratios to conky" has "$report" "Pss, Sysvane / conky: 1.50x; Private_Dirty: 1.00x"
expect "the start-up median and range" has "$report" "goal ≤ 120 ms): 90 (70–200) over 3 start(s)"
((failures == 0)) || { echo "$failures check(s) failed"; exit 1; }
