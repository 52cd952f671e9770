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
# pe_machine EXE: the PE header's machine field (014c for x86, 8664 for x64).
pe_machine() {
  local header
  header=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null) || return 0
  od -An -tx2 -j$((header + 4)) -N2 "$1" 2>/dev/null | tr -d ' '
}
# A 32-bit program runs in Wine's 32-bit loader, which needs the 32-bit shim.
PTYSHIM="$KIVO_NATIVE_BUILD/tests/e2e/ptyshim.so"
[[ $(pe_machine "$KIVO_EXE") == 014c ]] && PTYSHIM="$KIVO_NATIVE_BUILD/tests/e2e/ptyshim32.so"

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
  # E2E_DESKTOP gives a scenario another screen (a larger one for a higher DPI).
  local desktop=${E2E_DESKTOP:-1024x768}
  kivo_new_prefix "$WINEPREFIX" --desktop "$desktop"
  kivo_start_xvfb "$OUT/xvfb.log" "$desktop" || fail "no X display"
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

# e2e_stop_modem: stops the simulator; its port vanishes as an unplugged modem's does.
e2e_stop_modem() {
  [[ -n $E2E_MODEM_PID ]] || return 0
  kill "$E2E_MODEM_PID" 2>/dev/null || true
  wait "$E2E_MODEM_PID" 2>/dev/null || true
  E2E_MODEM_PID=""
}

# clear_active_ports: empties the device map of active serial ports, as if every device were
# pulled out; the drivers' class and Enum entries stay, as they do on Windows.
clear_active_ports() {
  wine reg delete 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /va /f </dev/null >>"$OUT/registry.log" 2>&1 ||
    true
}

# seed_modem_registry [--fillers N] VENDOR COMn: the registry entries the vendor's driver writes
# for the modem behind COMn, with the decoys of a real machine (see tests/e2e/seed-modem-registry).
seed_modem_registry() {
  "$E2E_ROOT/tests/e2e/seed-modem-registry" "$@" </dev/null >>"$OUT/registry.log" 2>&1 ||
    fail "seeding the registry: $* (see $OUT/registry.log)"
}

# modem_control LINE: a scenario line for the running simulator ("send ^RSSI:17", "unplug").
modem_control() {
  printf '%s\n' "$1" >"$OUT/modem-control"
}

# wine_pid NAME: the process id of the Windows program NAME (as the kernel names it, at most 15
# characters) running in this scenario's prefix, once there is one: wine may start it beside its
# own launcher, so it is found by its name and prefix.
wine_pid() {
  local i pid
  for ((i = 0; i < 200; i++)); do
    for pid in $(pgrep -x "$1"); do
      if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
        echo "$pid"
        return
      fi
    done
    sleep 0.05
  done
  fail "no $1 runs in $WINEPREFIX"
}

kivo_pid() { wine_pid kivoscope.exe; }

# cpu_ticks PID...: the clock ticks (user and system) the processes have used.
cpu_ticks() {
  local pid total=0
  for pid in "$@"; do
    total=$((total + $(awk '{ print $14 + $15 }' "/proc/$pid/stat")))
  done
  echo "$total"
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

# await_box FRAGMENT [TIMEOUT_S]: waits for a box of the program whose text holds FRAGMENT (as
# JSON writes it: a line end is \n) and prints its JSON.
await_box() {
  local fragment=$1 timeout=${2:-10} json i
  for ((i = 0; i < timeout * 4; i++)); do
    # Not `probe`: no box yet is no failure here.
    json=$(wine "$UIPROBE_EXE" message-box --timeout 250 </dev/null 2>>"$OUT/uiprobe.log" || true)
    if [[ $json == *"$fragment"* ]]; then
      e2e_log "ok: box \"$fragment\""
      printf '%s\n' "$json"
      return
    fi
  done
  fail "no box with \"$fragment\" (last: $json)"
}

# dialog_text JSON ID: the text of control ID in a `uiprobe read` JSON.
dialog_text() {
  grep -oE "\\{\"id\":$2,[^{}]*\\}" <<<"$1" | sed -E 's/.*"text":"(([^"\\]|\\.)*)".*/\1/'
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

# expect_modem_received LINE [TIMEOUT_S]: waits until the simulator has received LINE (as its
# transcript writes it, 'AT_OPSYS=2,2\r\n'), on its own or carried in a Novatel frame.
expect_modem_received() {
  local line=$1 timeout=${2:-5} i
  for ((i = 0; i < timeout * 20; i++)); do
    if grep -qxF -- "$line" < <(sed 's/^\[frame [^]]*\] //' "$OUT/modem-transcript.txt"); then
      e2e_log "ok: modem received \"$line\""
      return
    fi
    sleep 0.05
  done
  fail "the modem never received \"$line\" (see $OUT/modem-transcript.txt)"
}

# modem_set KEY=VALUE...: changes the simulated modem's state, one `set` per pair, in order.
modem_set() {
  local pair
  for pair in "$@"; do modem_control "set ${pair%%=*} ${pair#*=}"; done
}

# The signal group's fields by name: the control and the JSON field that shows each.
declare -A E2E_NETWORK_FIELDS=(
  [signal]='1009 text' [bar]='1011 position' [colour]='1011 bar_colour' [tech]='1012 text'
  [operator]='1015 text' [mcc]='1077 text' [mnc]='1078 text' [lac]='1079 text'
  [rnc]='1082 text' [cell]='1081 text' [apn]='1035 text'
)

# expect_network TIMEOUT_S FIELD=VALUE...: waits until the window shows each value, in one read
# of the controls ('signal=-79dBm bar=17 colour=#00ff00 operator=Simnet ZA tech=' ...).
expect_network() {
  local timeout=$1 pair field id key value json object wanted missing deadline
  shift
  local ids=()
  deadline=$((${EPOCHREALTIME/./} + timeout * 1000000))
  for pair in "$@"; do
    field=${E2E_NETWORK_FIELDS[${pair%%=*}]:-}
    [[ -n $field ]] || fail "expect_network: no field ${pair%%=*}"
    ids+=("${field% *}")
  done
  while :; do
    json=$(probe read "${ids[@]}")
    missing=""
    for pair in "$@"; do
      field=${E2E_NETWORK_FIELDS[${pair%%=*}]}
      id=${field% *} key=${field#* } value=${pair#*=}
      object=$(grep -oE "\\{\"id\":$id,[^{}]*\\}" <<<"$json")
      # Numbers stand bare in the JSON, texts in quotes.
      [[ $key == position ]] && wanted="\"$key\":$value" || wanted="\"$key\":\"$value\""
      [[ $object == *"$wanted"* ]] || missing+=" $pair"
    done
    if [[ -z $missing ]]; then
      e2e_log "ok: window shows $*"
      return
    fi
    ((${EPOCHREALTIME/./} < deadline)) || fail "after $timeout s the window still lacks$missing: $json"
    sleep 0.1
  done
}

# expect_mode_list SELECTED ENTRY...: the network-mode list 1051 is enabled, holds the entries
# in order with their places as item values, and has entry SELECTED selected.
expect_mode_list() {
  local selected=$1 entries="" value=0 entry
  shift
  for entry in "$@"; do
    entries+="${entries:+,}{\"text\":\"$entry\",\"value\":$value}"
    value=$((value + 1))
  done
  expect_control 1051 '"enabled":true' "\"entries\":[$entries]" "\"selected\":$selected"
}

# apply_network_mode INDEX: chooses entry INDEX of the list and presses apply (1050), which the
# modem accepts: apply is disabled again and connect (1052) is the default button once more.
apply_network_mode() {
  expect_eq "select $1" "$(probe select 1051 "$1")" "{\"control\":1051,\"selected\":$1,\"done\":true}"
  expect_control 1050 '"enabled":true'
  expect_eq "apply" "$(probe click 1050)" '{"clicked":1050,"done":true}'
  expect_control 1050 '"enabled":false'
  expect_window '"default_button":1052'
}
