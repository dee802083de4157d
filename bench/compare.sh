#!/usr/bin/env bash
# Sysvane's cost side by side with its peers: conky, gkrellm and the Qt floor (a bare Qt 6
# program doing the Monitor window's job), each refreshing every 0.9 s on this machine.
#
# Per run:
#  1. side by side: one Xvfb with a tray host (trayer) and the four programs; after the warm-up,
#     each program's CPU time over the steady period and its memory at the end;
#  2. the X server's share: each program alone on a fresh Xvfb with its own tray host (plus one
#     Xvfb with the tray host only, the idle cost), all in the same period; each Xvfb's CPU time.
# Then the start-up: process start to the tray icon embedded (splash off) and to the Monitor
# window mapped (ShowStatsAtStartup on), median of 5 each, and the Qt floor's first window.
# Memory: VmRSS, and Pss and Private_Dirty (smaps_rollup), which leave out the shared library pages.
#
# The Markdown table goes to stdout and to build/bench/compare.md (raw figures: compare.tsv).
# Everything runs on this machine; every process started here is ended by its id on exit.
set -euo pipefail

usage() {
  cat <<'EOF'
Usage: bench/compare.sh [--runs N] [--seconds S] [--warmup W] [--starts K] [--build DIR] [--no-build]
  --runs N      measured runs (default 3)
  --seconds S   steady period of each run, in seconds (default 60)
  --warmup W    seconds between starting the programs and measuring (default 10)
  --starts K    start-up trials of each kind (default 5)
  --build DIR   CMake build folder of the project (default: build/ of the repository)
  --no-build    use the executables already built in DIR
Example of a short trial: bench/compare.sh --runs 1 --seconds 10
EOF
}

REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SCRIPTS="$REPO/bench/scripts"
RUNS=3
STEADY=60
WARMUP=10
STARTS=5
BUILD="$REPO/build"
DO_BUILD=1
while (($#)); do
  case "$1" in
    --runs) RUNS=$2; shift 2 ;;
    --seconds) STEADY=$2; shift 2 ;;
    --warmup) WARMUP=$2; shift 2 ;;
    --starts) STARTS=$2; shift 2 ;;
    --build) BUILD=$(realpath -m "$2"); shift 2 ;;
    --no-build) DO_BUILD=0; shift ;;
    -h | --help) usage; exit 0 ;;
    *) usage >&2; exit 2 ;;
  esac
done
for number in "$RUNS" "$STEADY" "$WARMUP" "$STARTS"; do
  [[ $number =~ ^[0-9]+$ && $number -gt 0 ]] || { echo "compare.sh: '$number' is not a positive whole number" >&2; exit 2; }
done

OUT_DIR="$REPO/build/bench"
mkdir -p "$OUT_DIR"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/sysvane-compare.XXXXXX")
TSV="$WORK/figures.tsv"
STARTUP_TSV="$WORK/startup.tsv"
: >"$TSV"
: >"$STARTUP_TSV"

# shellcheck source=bench/scripts/processes.sh
source "$SCRIPTS/processes.sh"
# shellcheck source=bench/scripts/x_session.sh
source "$SCRIPTS/x_session.sh"
# On the way out: every process ended; the logs of a failed comparison kept for a look.
Finish() {
  local status=$?
  StopAll
  if ((status != 0)) && [[ -d $WORK ]]; then
    rm -rf "$OUT_DIR/compare-logs"
    cp -r "$WORK" "$OUT_DIR/compare-logs" 2>/dev/null || true
    echo "compare.sh: failed; its logs are in $OUT_DIR/compare-logs" >&2
  fi
  rm -rf "$WORK"
}
trap Finish EXIT
trap 'exit 130' INT TERM

say() { echo "compare.sh: $*" >&2; }

# --- Tools ---------------------------------------------------------------------------------
"$SCRIPTS/install_tools.sh"

# --- Programs ------------------------------------------------------------------------------
if ((DO_BUILD)); then
  if [[ ! -f $BUILD/CMakeCache.txt ]]; then
    cmake -S "$REPO" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release >&2
  fi
  cmake --build "$BUILD" -j2 --target sysvane_qt_floor >&2
  if cmake --build "$BUILD" --target help | grep -qw sysvane; then
    cmake --build "$BUILD" -j2 --target sysvane >&2 || say "sysvane does not build: measuring the peers only"
  fi
fi
FLOOR="$BUILD/bench/qt_floor/sysvane_qt_floor"
SYSVANE="$BUILD/shell/sysvane"
[[ -x $FLOOR ]] || { say "no $FLOOR: build it first (it needs Google Benchmark's package, libbenchmark-dev)"; exit 1; }
[[ -x $SYSVANE ]] || { say "no $SYSVANE: Sysvane's rows stay empty"; SYSVANE=""; }

# --- What every program shows: the Qt floor's rows, lettered as Sysvane letters them ---------
ROWS_FILE="$WORK/rows.txt"
"$FLOOR" --rows >"$ROWS_FILE"
"$SCRIPTS/write_settings.sh" "$ROWS_FILE" 1 >"$WORK/sysvane-monitor.conf"
"$SCRIPTS/write_settings.sh" "$ROWS_FILE" 0 >"$WORK/sysvane-tray.conf"
"$SCRIPTS/write_conky_config.sh" "$ROWS_FILE" "$REPO/bench/conky" >"$WORK/conky.conf"
ROW_NAMES=$(awk '
  $1 == "cpu" { $0 = "CPU" } $1 == "physical" { $0 = "physical memory" }
  $1 == "virtual" { $0 = "virtual memory" } $1 == "drive" { $0 = "drive " $2 " (" $3 ")" }
  { names = names (NR > 1 ? ", " : "") $0 } END { print names }' "$ROWS_FILE")
say "rows: $ROW_NAMES"

PROGRAMS=(conky gkrellm floor)
[[ -n $SYSVANE ]] && PROGRAMS=(sysvane "${PROGRAMS[@]}")

# StartProgram NAME DISPLAY TAG [monitor|tray]: starts one program on a display (Sysvane with
# the Monitor window at start-up, or with the tray icon only); sets STARTED_PID.
StartProgram() {
  local name=$1 display=$2 tag=$3 variant=${4:-monitor}
  local private="$WORK/$tag"
  mkdir -p "$private/runtime" "$private/home"
  chmod 700 "$private/runtime"
  # No session bus: Qt docks its icon in the tray host of this display, not in the user's panel.
  local -a env=(env -u DBUS_SESSION_BUS_ADDRESS -u WAYLAND_DISPLAY -u SESSION_MANAGER
    DISPLAY="$display" XDG_RUNTIME_DIR="$private/runtime" QT_QPA_PLATFORM=xcb)
  case $name in
    sysvane)
      mkdir -p "$private/config/Sysvane"
      cp "$WORK/sysvane-$variant.conf" "$private/config/Sysvane/Sysvane.conf"
      chmod 600 "$private/config/Sysvane/Sysvane.conf"
      Launch "${env[@]}" HOME="$private/home" XDG_CONFIG_HOME="$private/config" "$SYSVANE" ;;
    conky)
      Launch "${env[@]}" HOME="$private/home" conky -q -c "$WORK/conky.conf" ;;
    gkrellm)
      # An empty configuration: the default panels, without the first-run introduction.
      mkdir -p "$private/home/.gkrellm2"
      : >"$private/home/.gkrellm2/user-config"
      Launch "${env[@]}" HOME="$private/home" gkrellm ;;
    floor)
      Launch "${env[@]}" HOME="$private/home" "$FLOOR" ;;
  esac
}

# --- The steady-state runs -------------------------------------------------------------------
CLK_TCK=$(getconf CLK_TCK)

# Measure TAG PID...: CPU ticks of each pid over the steady period; appends to the figures.
#   Each pid is given as phase:program:kind:pid (kind "process" or "xserver").
Measure() {
  local run=$1
  shift
  local -a entries=("$@") before=() before_ns=()
  local entry pid
  for entry in "${entries[@]}"; do
    pid=${entry##*:}
    if ! Alive "$pid"; then
      say "${entry%:*} ended before the measurement"
      before+=("")
      before_ns+=("")
      continue
    fi
    before+=("$(CpuTicks "$pid")")
    before_ns+=("$(CpuNs "$pid")")
  done
  local start=${EPOCHREALTIME/./}
  sleep "$STEADY"
  local -a after=() after_ns=() memory=()
  for entry in "${entries[@]}"; do
    pid=${entry##*:}
    if Alive "$pid"; then
      after+=("$(CpuTicks "$pid")")
      after_ns+=("$(CpuNs "$pid")")
      memory+=("$(MemoryKb "$pid")")
    else
      after+=("")
      after_ns+=("")
      memory+=("")
    fi
  done
  local elapsed_us=$((${EPOCHREALTIME/./} - start))
  local i
  for i in "${!entries[@]}"; do
    IFS=: read -r phase program kind pid <<<"${entries[$i]}"
    if [[ -z ${before[$i]} || -z ${after[$i]} ]]; then
      say "run $run: $program ($phase, $kind) did not last the period"
      continue
    fi
    # CPU milliseconds per minute: ticks / CLK_TCK seconds, scaled from the measured period;
    # the same from the scheduler's nanoseconds.
    local per_minute per_minute_ns
    per_minute=$(awk -v t=$((after[i] - before[i])) -v hz="$CLK_TCK" -v us="$elapsed_us" \
      'BEGIN { printf "%.1f", t * 1000 / hz * 60e6 / us }')
    per_minute_ns=$(awk -v ns=$((after_ns[i] - before_ns[i])) -v us="$elapsed_us" \
      'BEGIN { printf "%.2f", ns / 1e6 * 60e6 / us }')
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$run" "$phase" "$program" "$kind" "$per_minute" \
      "$per_minute_ns" "${memory[$i]}" >>"$TSV"
  done
}

LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
for ((run = 1; run <= RUNS; run++)); do
  say "run $run of $RUNS: side by side on one X server"
  StartX
  shared_x=$X_PID shared_display=$X_DISPLAY
  StartTray "$shared_display"
  entries=("shared:(shared X server):xserver:$shared_x")
  for program in "${PROGRAMS[@]}"; do
    StartProgram "$program" "$shared_display" "r$run-shared-$program"
    entries+=("shared:$program:process:$STARTED_PID")
  done
  sleep "$WARMUP"
  if [[ -n $SYSVANE ]] && ! WindowMapped "$shared_display" '^ Sysvane$'; then
    say "run $run: Sysvane's Monitor window is not open: its figures are not those of the Monitor window"
  fi
  Measure "$run" "${entries[@]}"
  StopAll

  say "run $run of $RUNS: each program alone on its own X server"
  entries=()
  for program in idle "${PROGRAMS[@]}"; do
    StartX
    StartTray "$X_DISPLAY"
    entries+=("alone:$program:xserver:$X_PID")
    if [[ $program != idle ]]; then
      StartProgram "$program" "$X_DISPLAY" "r$run-alone-$program"
      entries+=("alone:$program:process:$STARTED_PID")
    fi
  done
  sleep "$WARMUP"
  Measure "$run" "${entries[@]}"
  StopAll
done

# --- Start-up --------------------------------------------------------------------------------
# StartupTrial KIND PROGRAM VARIANT TRIAL: one start on a fresh session; appends milliseconds.
StartupTrial() {
  local kind=$1 program=$2 variant=$3 trial=$4
  StartX
  StartTray "$X_DISPLAY"
  local panel
  panel=$(TrayPanel "$X_DISPLAY")
  local launched=${EPOCHREALTIME/./} now
  StartProgram "$program" "$X_DISPLAY" "start-$kind-$trial" "$variant"
  local pid=$STARTED_PID deadline=$((launched + 20000000))
  while :; do
    now=${EPOCHREALTIME/./}
    case $kind in
      tray) Embedded "$X_DISPLAY" "$panel" sysvane && break ;;
      monitor) WindowMapped "$X_DISPLAY" '^ Sysvane$' && break ;;
      floor) WindowMapped "$X_DISPLAY" '^Qt floor$' && break ;;
    esac
    if ((now > deadline)) || ! Alive "$pid"; then
      say "start-up ($kind) trial $trial: no result"
      StopAll
      return
    fi
    sleep 0.005
  done
  printf '%s\t%s\t%s\n' "$kind" "$trial" "$(((now - launched) / 1000))" >>"$STARTUP_TSV"
  StopAll
}

for ((trial = 1; trial <= STARTS; trial++)); do
  say "start-up trial $trial of $STARTS"
  if [[ -n $SYSVANE ]]; then
    StartupTrial tray sysvane tray "$trial"
    StartupTrial monitor sysvane monitor "$trial"
  fi
  StartupTrial floor floor monitor "$trial"
done

LOAD_AFTER=$(cut -d' ' -f1-3 /proc/loadavg)

# --- Report ----------------------------------------------------------------------------------
cp "$TSV" "$OUT_DIR/compare.tsv"
cp "$STARTUP_TSV" "$OUT_DIR/compare-startup.tsv"
python3 "$SCRIPTS/compare_report.py" --figures "$TSV" --startup "$STARTUP_TSV" \
  --runs "$RUNS" --seconds "$STEADY" --warmup "$WARMUP" --rows "$ROW_NAMES" \
  --load "$LOAD_BEFORE before, $LOAD_AFTER after" | tee "$OUT_DIR/compare.md"
say "table written to $OUT_DIR/compare.md"
