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
contains() { grep -qxF -- "$2" <<<"$1"; }
count_of() { grep -cF -- "$2" <<<"$1" || true; }

# --- Settings: every row switched on, drive C by its own key only ----------------------------
printf 'cpu\nphysical\nvirtual\nbattery\ndrive C /\ndrive D /home\ndrive E /srv/data\n' >"$WORK/rows"
settings=$("$BENCH/scripts/write_settings.sh" "$WORK/rows" 1)
expect "the settings are defined, without splash" contains "$settings" "Defined=Yes"
expect "no splash" contains "$settings" "ShowSplash=0"
expect "the Monitor window opens at start-up" contains "$settings" "ShowStatsAtStartup=1"
expect "the battery row is on" contains "$settings" "ShowBattery=1"
expect "drive D has its key" contains "$settings" "ShowDdrive=1"
expect "drive E has its key" contains "$settings" "ShowEdrive=1"
expect "drive C has one key" test "$(count_of "$settings" "ShowCdrive=")" -eq 1
tray_only=$("$BENCH/scripts/write_settings.sh" "$WORK/rows" 0)
expect "the tray-only settings keep the window closed" contains "$tray_only" "ShowStatsAtStartup=0"
printf 'cpu\nphysical\nvirtual\ndrive C /\n' >"$WORK/rows-plain"
plain=$("$BENCH/scripts/write_settings.sh" "$WORK/rows-plain" 1)
expect "no battery, no battery row" contains "$plain" "ShowBattery=0"

# --- conky: the battery and the drives in the Monitor window's order, in place of the marker --
printf 'cpu\nphysical\nvirtual\nbattery\ndrive C /\ndrive D /mnt/a&b\n' >"$WORK/rows-conky"
mkdir -p "$WORK/power/AC" "$WORK/power/BAT7"
echo Mains >"$WORK/power/AC/type"
echo Battery >"$WORK/power/BAT7/type"
conky=$(POWER_SUPPLY_DIR="$WORK/power" "$BENCH/scripts/write_conky_config.sh" "$WORK/rows-conky" "$BENCH/conky")
bars=$(grep -oE '\$\{(cpubar|membar|swapbar|battery_bar|fs_bar)[^}]*\}' <<<"$conky" | tr '\n' ' ')
# shellcheck disable=SC2016  # conky's own ${...}, not the shell's
expected_bars='${cpubar cpu0 17,121} ${membar 17,121} ${swapbar 17,121} ${battery_bar 17,121 BAT7} '
# shellcheck disable=SC2016
expected_bars+='${fs_bar 17,121 /} ${fs_bar 17,121 /mnt/a&b} '
expect "one bar per row, in order (got: $bars)" test "$bars" = "$expected_bars"
expect "the marker is gone" test "$(count_of "$conky" "@")" -eq 0
expect "the text block is closed" test "$(tail -n1 <<<"$conky")" = "]]"
expect "the refresh is 0.9 s, double-buffered, in its own window" test "$(grep -cE \
  "update_interval = 0.9,|double_buffer = true,|own_window = true,|own_window_type = 'normal'," <<<"$conky")" -eq 4

# --- CPU ticks of a process whose name holds spaces and a parenthesis -------------------------
# shellcheck source-path=SCRIPTDIR/../scripts
# shellcheck source=processes.sh
source "$BENCH/scripts/processes.sh"
cp "$(command -v sleep)" "$WORK/x) y z"
"$WORK/x) y z" 30 &
sleeper=$!
busy_ticks=$(awk '{ sub(/.*\) /, ""); split($0, f, " "); print f[12] + f[13] }' "/proc/$sleeper/stat")
expect "the ticks are read after the name" test "$(CpuTicks "$sleeper")" = "$busy_ticks"
expect "a running process is alive" Alive "$sleeper"
kill "$sleeper"
sleep 0.2
not_alive() { ! Alive "$1"; }
# Not reaped yet: a zombie, which kill -0 would still call alive.
expect "a process that ended is not alive" not_alive "$sleeper"
wait "$sleeper" 2>/dev/null || true

# --- The report: medians per run, process paired with its own run's X server ------------------
# Runs listed out of order: run 3's process must meet run 3's X server.
cat >"$WORK/figures" <<'EOF'
3	shared	sysvane	process	30	30000	31000	14
1	shared	sysvane	process	10	30000	31000	10
2	shared	sysvane	process	20	30000	31000	12
1	alone	sysvane	xserver	0	0	0	1
3	alone	sysvane	xserver	0	0	0	3
2	alone	sysvane	xserver	0	0	0	2
1	shared	conky	process	40	12000	12000	30
2	shared	conky	process	40	12000	12000	30
3	shared	conky	process	40	12000	12000	30
1	alone	conky	xserver	10	0	0	10
2	alone	conky	xserver	10	0	0	10
3	alone	conky	xserver	10	0	0	10
1	shared	floor	process	20	28000	28000	10
2	shared	floor	process	20	28000	28000	12
3	shared	floor	process	20	28000	28000	14
1	alone	floor	xserver	0	0	0	4
2	alone	floor	xserver	0	0	0	2
3	alone	floor	xserver	0	0	0	3
EOF
printf 'tray\t1\t90\ntray\t2\t70\ntray\t3\t200\n' >"$WORK/startup"
report=$(python3 "$BENCH/scripts/compare_report.py" --figures "$WORK/figures" --startup "$WORK/startup" \
  --runs 3 --seconds 60 --warmup 10 --rows "CPU" --load "")
# Sysvane: 10+1, 12+2, 14+3 -> median 14; conky 40 -> 0.35; floor 14, 14, 17 -> 14 -> 1.00.
expect "Sysvane's total over its own runs" contains "$report" "| Sysvane (Monitor window) | 12.0 (10.0–14.0) | 2.0 (1.0–3.0) | 14.0 (11.0–17.0) |"
expect "the ratio to conky against its goal" grep -qF "Sysvane / conky: 0.35x (goal ≤ 0.50x: met)" <<<"$report"
expect "the ratio to the Qt floor against its goal" grep -qF "Sysvane / Qt floor: 1.00x (goal ≤ 1.00x: met)" <<<"$report"
expect "the resident memory ratio against its goal" grep -qF "Sysvane / Qt floor: 1.07x (goal ≤ 1.15x: met)" <<<"$report"
expect "the start-up median and range" grep -qF "goal ≤ 120 ms): 90 (70–200) over 3 start(s)" <<<"$report"

((failures == 0)) || { echo "$failures check(s) failed"; exit 1; }
