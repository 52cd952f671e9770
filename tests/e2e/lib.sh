# Harness of the end-to-end scenarios, sourced by each one. A scenario runs in a world of its
# own: a prefix copied from the template, an Xvfb display, its own wineserver, the
# debugger-output listener and, when asked for, the modem simulator behind a COM port.
# Everything it started is stopped when it exits; on failure a screenshot is kept.
#
# The runner sets KIVO_NATIVE_BUILD, KIVO_WIN32_BUILD and KIVO_E2E_OUT (this scenario's folder).

set -euo pipefail

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$E2E_ROOT/scripts/wine-prefix"

: "${KIVO_NATIVE_BUILD:?}" "${KIVO_WIN32_BUILD:?}" "${KIVO_E2E_OUT:?}"
KIVO_EXE="$KIVO_WIN32_BUILD/src/win32/kivoscope.exe"
UIPROBE_EXE="$KIVO_WIN32_BUILD/tools/uiprobe/uiprobe.exe"
DBWINLISTEN_EXE="$KIVO_WIN32_BUILD/tests/e2e/dbwinlisten.exe"
MODEMSIM="$KIVO_NATIVE_BUILD/tools/modemsim/modemsim"
PTYSHIM="$KIVO_NATIVE_BUILD/tests/e2e/ptyshim.so"

OUT=$KIVO_E2E_OUT
TRACE="$OUT/trace.txt"
E2E_MODEM_PID=""
E2E_RUNS=0

e2e_log() { printf '[%s] %s\n' "$(date +%T.%3N)" "$*"; }

# Ends the scenario; also from inside $(...), where stdout would be captured.
fail() {
  e2e_log "FAILED: $*" >&2
  exit 1
}

e2e_finish() {
  local status=$?
  set +e
  if ((status != 0)) && [[ -n ${DISPLAY:-} ]]; then
    import -window root "$OUT/failure.png" 2>/dev/null && e2e_log "screenshot: $OUT/failure.png"
  fi
  kivo_stop_wineserver "$WINEPREFIX"
  [[ -n $E2E_MODEM_PID ]] && kill "$E2E_MODEM_PID" 2>/dev/null && wait "$E2E_MODEM_PID"
  kivo_stop_xvfb
  rm -rf "$WINEPREFIX"
  exit "$status"
}

# A run killed before its trap ran leaves its wineserver, Xvfb and simulator behind; they are
# stopped before the folder is reused.
e2e_stop_leftovers() {
  [[ -d $OUT/prefix ]] && { WINEPREFIX="$OUT/prefix" wineserver -k 2>/dev/null || true; }
  [[ -f $OUT/pids ]] || return 0
  local pid name
  while read -r pid name; do
    [[ $(cat "/proc/$pid/comm" 2>/dev/null) == "$name" ]] && kill "$pid" 2>/dev/null
  done <"$OUT/pids"
  return 0
}

e2e_start() {
  local tool
  for tool in "$KIVO_EXE" "$UIPROBE_EXE" "$DBWINLISTEN_EXE" "$PTYSHIM"; do
    [[ -f $tool ]] || fail "missing $tool: build the native and win32 presets first"
  done
  e2e_stop_leftovers
  rm -rf "$OUT"
  mkdir -p "$OUT"
  export WINEPREFIX="$OUT/prefix"
  trap e2e_finish EXIT
  # A virtual desktop draws the window frames that no window manager draws under Xvfb.
  kivo_new_prefix "$WINEPREFIX" --desktop 1024x768
  kivo_start_xvfb "$OUT/xvfb.log" 1024x768 || fail "no X display"
  echo "$KIVO_XVFB_PID Xvfb" >>"$OUT/pids"
  kivo_start_wineserver "$WINEPREFIX" "$OUT/wineserver.log"
  wine "$DBWINLISTEN_EXE" "Z:$TRACE" </dev/null >"$OUT/dbwinlisten.log" 2>&1 &
  local i
  for ((i = 0; i < 200; i++)); do
    [[ -f $TRACE ]] && return
    sleep 0.05
  done
  fail "the debugger-output listener did not start (see $OUT/dbwinlisten.log)"
}

# e2e_start_modem COMn [modemsim options...]: the simulator behind port COMn.
e2e_start_modem() {
  local port=${1,,}
  shift
  [[ -x $MODEMSIM ]] || fail "missing $MODEMSIM: build the native preset first"
  "$MODEMSIM" --link "$WINEPREFIX/dosdevices/$port" --transcript "$OUT/modem-transcript.txt" \
    --control "$OUT/modem-control" "$@" </dev/null >"$OUT/modemsim.out" 2>"$OUT/modemsim.log" &
  E2E_MODEM_PID=$!
  echo "$E2E_MODEM_PID modemsim" >>"$OUT/pids"
  local i
  for ((i = 0; i < 100; i++)); do
    if grep -q '^pty: ' "$OUT/modemsim.out" 2>/dev/null && [[ -e $WINEPREFIX/dosdevices/$port ]]; then
      e2e_log "modem simulator on $(head -n1 "$OUT/modemsim.out" | cut -d' ' -f2) as ${port^^}"
      return
    fi
    kill -0 "$E2E_MODEM_PID" 2>/dev/null || fail "the modem simulator exited (see $OUT/modemsim.log)"
    sleep 0.05
  done
  fail "the modem simulator did not report its pty"
}

# modem_control LINE: a scenario line for the running simulator ("send ^RSSI:17", "unplug").
modem_control() {
  printf '%s\n' "$1" >"$OUT/modem-control"
}

# kivo ARGS...: starts kivoscope.exe in the background; prints its run number for kivo_exit.
kivo() {
  E2E_RUNS=$((E2E_RUNS + 1))
  local run=$E2E_RUNS
  (
    status=0
    LD_PRELOAD="$PTYSHIM" wine "$KIVO_EXE" "$@" </dev/null >"$OUT/kivo.$run.log" 2>&1 || status=$?
    echo "$status" >"$OUT/kivo.$run.exit"
  ) &
  e2e_log "started kivoscope.exe $* (run $run)"
}

# kivo_exit RUN [TIMEOUT_S]: waits for that run to end and prints its exit code.
kivo_exit() {
  local run=$1 timeout=${2:-15} i
  for ((i = 0; i < timeout * 20; i++)); do
    if [[ -s $OUT/kivo.$run.exit ]]; then
      cat "$OUT/kivo.$run.exit"
      return
    fi
    sleep 0.05
  done
  fail "kivoscope.exe run $run did not end within $timeout s"
}

# probe ARGS...: runs uiprobe.exe and prints its JSON line.
probe() {
  local output
  output=$(wine "$UIPROBE_EXE" "$@" </dev/null 2>>"$OUT/uiprobe.log") ||
    fail "uiprobe $*: $output"
  printf '%s\n' "$output"
}

expect_eq() {
  local what=$1 actual=$2 expected=$3
  if [[ $actual != "$expected" ]]; then
    fail "$what: expected [$expected], got [$actual]"
  fi
  e2e_log "ok: $what"
}

# expect_trace LINE [TIMEOUT_S]: waits for a trace line that is exactly LINE.
expect_trace() {
  local line=$1 timeout=${2:-10} i
  for ((i = 0; i < timeout * 20; i++)); do
    if grep -qxF -- "$line" "$TRACE"; then
      e2e_log "ok: trace has \"$line\""
      return
    fi
    sleep 0.05
  done
  fail "no trace line \"$line\" (see $TRACE)"
}

# expect_trace_match REGEX [TIMEOUT_S]: waits for a trace line matching the extended REGEX
# (a trace text's own CR LF pairs split it over several lines of the file).
expect_trace_match() {
  local regex=$1 timeout=${2:-10} i
  for ((i = 0; i < timeout * 20; i++)); do
    if grep -qE -- "$regex" "$TRACE"; then
      e2e_log "ok: trace matches /$regex/"
      return
    fi
    sleep 0.05
  done
  fail "no trace line matches /$regex/ (see $TRACE)"
}

expect_trace_count() {
  local line=$1 expected=$2 count
  count=$(grep -cxF -- "$line" "$TRACE" || true)
  expect_eq "trace lines \"$line\"" "$count" "$expected"
}

# window_json: the main window as `uiprobe read` prints it (controls, status, focus, boxes).
window_json() {
  probe read
}

# control ID: the JSON object of the main window's control ID.
control() {
  local json
  json=$(probe read "$1")
  grep -oE "\\{\"id\":$1,([^{}]|\\{[^{}]*\\})*\\}" <<<"$json" || fail "no control $1 in $json"
}

# expect_control ID FRAGMENT...: control ID's JSON holds every FRAGMENT ('"enabled":false').
expect_control() {
  local id=$1 json fragment
  shift
  json=$(control "$id")
  for fragment in "$@"; do
    [[ $json == *"$fragment"* ]] || fail "control $id: no $fragment in $json"
  done
  e2e_log "ok: control $id has $*"
}

# expect_window FRAGMENT...: the main window's JSON holds every FRAGMENT ('"default_button":1052').
expect_window() {
  local json fragment
  json=$(window_json)
  for fragment in "$@"; do
    [[ $json == *"$fragment"* ]] || fail "window: no $fragment in $json"
  done
  e2e_log "ok: window has $*"
}

# expect_transcript_count LINE N: the simulator received LINE (written as its transcript shows
# it, 'ATE1\r\n') N times.
expect_transcript_count() {
  local line=$1 expected=$2 count
  count=$(grep -cxF -- "$line" "$OUT/modem-transcript.txt" 2>/dev/null || true)
  expect_eq "modem received \"$line\"" "$count" "$expected"
}
