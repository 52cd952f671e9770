# Helpers of the fault scenarios, sourced after tests/e2e/lib.sh and lib_data.sh. Each fault ends
# in one row of the summary: whether the program survived it and whether usage.bin still holds
# exactly the totals of every session the simulator reported.
#
# The runner sets KIVO_FAULTS_ROWS, the file the rows are appended to.

: "${KIVO_FAULTS_ROWS:?}"
STORE_SHIM="$KIVO_NATIVE_BUILD/tests/faults/storeshim.so"

# What one modem session adds: `connect`, one report after 2 s, then the network drops it and
# the watchdog folds it into the totals.
SESSION_LINES=$'connect\nafter 3000 disconnect'
SESSION_DURATION=2 SESSION_TX=3000 SESSION_RX=24000
ONLINE_TRACE="KIVO: ^DSFLOWRPT received, assuming device is online"
FOLD_TRACE="KIVO: updating data counter totals and resetting current connection counters"

# The totals usage.bin should hold: duration, bytes sent, bytes received.
EXPECT_DURATION=0 EXPECT_TX=0 EXPECT_RX=0

expect_more() {
  EXPECT_DURATION=$((EXPECT_DURATION + $1)) EXPECT_TX=$((EXPECT_TX + $2))
  EXPECT_RX=$((EXPECT_RX + $3))
}

# record_fault NAME SURVIVED INTACT: one row of the summary (yes or no each).
record_fault() {
  printf '%s|%s|%s\n' "$1" "$2" "$3" >>"$KIVO_FAULTS_ROWS"
  e2e_log "fault $1: survived=$2 totals intact=$3"
}

le_bytes() {
  local value=$1 size=$2 i out=""
  for ((i = 0; i < size; i++)); do
    out+=$(printf '\\x%02x' $(((value >> (8 * i)) & 255)))
  done
  printf '%s' "$out"
}

# usage_group DURATION TX RX: one 40-byte group of usage.bin, timed 2026-01-05 10:20:30.
usage_group() {
  printf '%b' "$(le_bytes "$1" 4)$(le_bytes 0 4)$(le_bytes "$2" 8)$(le_bytes "$3" 8)"
  printf '%b' "$(le_bytes 2026 2)$(le_bytes 1 2)$(le_bytes 1 2)$(le_bytes 5 2)"
  printf '%b' "$(le_bytes 10 2)$(le_bytes 20 2)$(le_bytes 30 2)$(le_bytes 0 2)"
}

# seed_usage DURATION TX RX: usage.bin with these totals (and last session) before the program
# starts; they become the expected totals.
seed_usage() {
  mkdir -p "$(dirname "$(data_file usage.bin)")"
  { usage_group "$@"; usage_group "$@"; usage_group 0 0 0; } >"$(data_file usage.bin)"
  EXPECT_DURATION=$1 EXPECT_TX=$2 EXPECT_RX=$3
}

# usage_fields FILE: its size, then total duration, sent and received, last duration, sent and
# received.
usage_fields() {
  local file=$1
  printf '%s' "$(stat -c %s "$file")"
  local offset size
  for offset in '40 4' '48 8' '56 8' '0 4' '8 8' '16 8'; do
    size=${offset#* }
    printf ' %s' "$(od -An -t "u$size" -j "${offset% *}" -N "$size" "$file" | tr -d ' ')"
  done
  echo
}

# totals_intact [TIMEOUT_S]: usage.bin comes to hold exactly the expected totals; prints yes or no.
totals_intact() {
  local timeout=${1:-10} i wanted fields=""
  wanted="120 $EXPECT_DURATION $EXPECT_TX $EXPECT_RX"
  for ((i = 0; i < timeout * 10; i++)); do
    fields=$(usage_fields "$(data_file usage.bin)" 2>/dev/null || true)
    [[ ${fields% * * *} == "$wanted" ]] && { echo yes; return; }
    sleep 0.1
  done
  e2e_log "usage.bin: [$fields], expected [$wanted ...]" >&2
  echo no
}

# alive RUN: the program's run RUN has not ended and its window answers; prints yes or no.
alive() {
  if [[ ! -e $OUT/kivo.$1.exit ]] &&
    wine "$UIPROBE_EXE" read 1009 </dev/null >/dev/null 2>>"$OUT/uiprobe.log"; then
    echo yes
  else
    e2e_log "run $1 is gone or its window does not answer" >&2
    echo no
  fi
}

# session_folded [TIMEOUT_S]: one more session of the modem reaches the program through the port
# and is folded into its totals; FOLDED says yes or no. (Not in $(...): the expected totals grow.)
session_folded() {
  local timeout=${1:-20} online folded i
  FOLDED=no
  online=$(grep -cxF -- "$ONLINE_TRACE" "$TRACE" || true)
  folded=$(grep -cxF -- "$FOLD_TRACE" "$TRACE" || true)
  modem_control "$SESSION_LINES"
  expect_more "$SESSION_DURATION" "$SESSION_TX" "$SESSION_RX"
  for ((i = 0; i < timeout * 10; i++)); do
    if (($(grep -cxF -- "$ONLINE_TRACE" "$TRACE") > online &&
      $(grep -cxF -- "$FOLD_TRACE" "$TRACE") > folded)); then
      FOLDED=yes
      return
    fi
    sleep 0.1
  done
  e2e_log "the session after the fault was not detected and folded"
}

# fault_row NAME RUN: after fault NAME the program still runs, a new session reaches it and is
# folded, and usage.bin holds every session's totals.
fault_row() {
  local survived intact
  survived=$(alive "$2")
  if [[ $survived == yes ]]; then
    session_folded
    survived=$FOLDED
  fi
  intact=$(totals_intact)
  record_fault "$1" "$survived" "$intact"
}

# send_storm COUNT GAP_MS TEXT: the modem sends TEXT as a report COUNT times, GAP_MS apart.
send_storm() {
  local i lines=""
  for ((i = 1; i <= $1; i++)); do lines+="after $((i * $2)) send $3"$'\n'; done
  printf '%s' "$lines" >"$OUT/modem-control"
}

# kivo_killable ARGS...: kivo with the store shim preloaded too (inactive until disk_full on).
kivo_killable() {
  E2E_RUNS=$((E2E_RUNS + 1))
  local run=$E2E_RUNS
  (
    status=0
    LD_PRELOAD="$PTYSHIM $STORE_SHIM" KIVO_DISKFULL_FLAG="$OUT/disk-full" \
      wine "$KIVO_EXE" "$@" </dev/null >"$OUT/kivo.$run.log" 2>&1 || status=$?
    echo "$status" >"$OUT/kivo.$run.exit"
  ) &
  e2e_log "started kivoscope.exe $* (run $run)"
}

# disk_full on|off: while on, every write to usage.bin or usage.tmp fails as on a full disk.
disk_full() {
  if [[ $1 == on ]]; then touch "$OUT/disk-full"; else rm -f "$OUT/disk-full"; fi
}

# faults_start: e2e_start with the store shim preloaded into the wineserver, which opens,
# renames and removes files for the program (read_only needs it there).
faults_start() {
  [[ -f $STORE_SHIM ]] || fail "missing $STORE_SHIM: build the native preset first"
  LD_PRELOAD="$STORE_SHIM" KIVO_READONLY_FLAG="$OUT/read-only" e2e_start
}

# read_only on|off: while on, the data folder is read-only for the program (after faults_start).
read_only() {
  if [[ $1 == on ]]; then touch "$OUT/read-only"; else rm -f "$OUT/read-only"; fi
}

# private_kb PID: the process's private memory in KB.
private_kb() {
  awk '/^Private_(Clean|Dirty):/ { sum += $2 } END { print sum }' "/proc/$1/smaps_rollup"
}

# await_trace_at_least LINE N TIMEOUT_S: waits until the trace has LINE N times or more.
await_trace_at_least() {
  local i
  for ((i = 0; i < $3 * 20; i++)); do
    (($(grep -cxF -- "$1" "$TRACE" || true) >= $2)) && return
    sleep 0.05
  done
  fail "trace has \"$1\" fewer than $2 times (see $TRACE)"
}
