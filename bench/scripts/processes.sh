# shellcheck shell=bash
# Processes of the comparison: started through Launch, watched through /proc, ended by their
# ids only. Sourced by compare.sh; expects WORK (the scratch folder) to be set.

PIDS=()          # every process started and not yet ended, in start order
STARTED_PID=""   # the last one started

# Launch COMMAND...: starts a command in the background, its output in a log of the scratch folder.
Launch() {
  mkdir -p "$WORK/logs"
  local log
  log="$WORK/logs/$(date +%H%M%S)-$RANDOM.log"
  echo "$*" >"$log"
  "$@" >>"$log" 2>&1 &
  STARTED_PID=$!
  PIDS+=("$STARTED_PID")
}

# Adopt PID: counts a process started elsewhere in this script among those to end.
Adopt() { PIDS+=("$1"); }

# Alive PID: the process runs (a child that ended stays a zombie until reaped: that is not alive).
Alive() {
  local state
  [[ -r /proc/$1/stat ]] || return 1
  state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1) || return 1
  [[ -n $state && $state != Z && $state != X ]]
}

# CpuTicks PID: user + system time of the process and all its threads, in clock ticks.
CpuTicks() {
  # The name in parentheses may hold spaces: count the fields after its closing parenthesis.
  local -a fields
  read -r -a fields <<<"$(sed 's/.*) //' "/proc/$1/stat")"
  echo $((fields[11] + fields[12]))
}

# CpuNs PID: the time on the processor of every thread of the process, in nanoseconds, from
# the scheduler's own clock: the same time as CpuTicks, without the 10 ms steps of the ticks.
CpuNs() {
  cat "/proc/$1"/task/*/schedstat 2>/dev/null | awk '{ ns += $1 } END { printf "%.0f", ns }'
}

# Wakeups PID: the times any thread of the process went to sleep of its own accord and was woken
# again (voluntary context switches of /proc/PID/task/*/status): a timer, a message, an X event.
# Unlike CPU time, it does not depend on how busy the machine is.
Wakeups() {
  cat "/proc/$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches:/ { n += $2 } END { print n + 0 }'
}

# Counters PIDS: for each living pid of the comma-separated list, "pid,ticks" and then, for each of
# its threads, ",tid:nanoseconds:wake-ups"; the pids separated by spaces.
Counters() {
  local pid task
  for pid in ${1//,/ }; do
    Alive "$pid" || continue
    printf '%s,%s' "$pid" "$(CpuTicks "$pid")"
    for task in /proc/"$pid"/task/*; do
      printf ',%s:%s:%s' "${task##*/}" "$(cut -d' ' -f1 "$task/schedstat" 2>/dev/null)" \
        "$(awk '/^voluntary_ctxt_switches:/ { print $2 }' "$task/status" 2>/dev/null)"
    done
    printf ' '
  done
}

# CounterDeltas BEFORE AFTER: "ticks nanoseconds wake-ups" gone by between two Counters, added up
# over the processes that lived at both ends; the nanoseconds and wake-ups over the threads that
# did (a thread that ends takes its own figures with it; the process's ticks keep them).
CounterDeltas() {
  awk -v before="$1" -v after="$2" '
    function read(text, ticks, ns, wake,   n, i, m, j, f, g) {
      n = split(text, procs, " ")
      for (i = 1; i <= n; i++) {
        m = split(procs[i], f, ",")
        ticks[f[1]] = f[2]
        for (j = 3; j <= m; j++) { split(f[j], g, ":"); ns[f[1] "/" g[1]] = g[2]; wake[f[1] "/" g[1]] = g[3] }
      }
    }
    BEGIN {
      read(before, t0, s0, w0); read(after, t1, s1, w1)
      for (p in t1) if (p in t0) dt += t1[p] - t0[p]
      for (k in s1) if (k in s0 && s1[k] != "" && s0[k] != "") { ds += s1[k] - s0[k]; dw += w1[k] - w0[k] }
      printf "%d %.0f %d", dt, ds, dw
    }'
}

# MemoryKb PID: "VmRSS<TAB>VmHWM<TAB>Pss<TAB>Private_Dirty" in kB. Resident memory counts every
# shared library page the process maps (Qt's, the C library's), pages every other program of the
# desktop uses too; Pss splits each shared page among its users, and Private_Dirty is what this
# process alone has written: what it really costs the machine.
MemoryKb() {
  awk '/^VmRSS:/ { rss = $2 } /^VmHWM:/ { hwm = $2 } /^Pss:/ { pss = $2 } /^Private_Dirty:/ { dirty = $2 }
    END { printf "%s\t%s\t%s\t%s", rss, hwm, pss, dirty }' "/proc/$1/status" "/proc/$1/smaps_rollup"
}

# StopAll: ends every process started, the last started first (programs before their X server):
# a polite TERM, then KILL for whatever still runs two seconds later.
StopAll() {
  local i pid waited
  for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do
    pid=${PIDS[$i]}
    kill -TERM "$pid" 2>/dev/null || true
    for ((waited = 0; waited < 40; waited++)); do
      Alive "$pid" || break
      sleep 0.05
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  PIDS=()
}
