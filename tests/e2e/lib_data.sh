# Helpers of the data-connection scenarios, sourced after lib.sh: the dialer stand-in, the
# window's counter fields, and the usage store and session log in the prefix's data folder.

RASPHONE_EXE="$KIVO_WIN32_BUILD/tests/e2e/rasphone.exe"
FILEHOLD_EXE="$KIVO_WIN32_BUILD/tests/e2e/filehold.exe"

# The program's data folder in the scenario's prefix: C:\ProgramData\KIVO.
data_file() {
  printf '%s/drive_c/ProgramData/KIVO/%s\n' "$WINEPREFIX" "$1"
}

# windows_path PATH: a Unix path as Wine programs open it, through drive Z:.
windows_path() {
  local path=$1
  printf 'Z:%s\n' "${path//\//\\}"
}

# install_dialer [LINE...]: puts the dialer stand-in where the platform's dialer lives
# (C:\windows\system32\rasphone.exe, and syswow64, which a 32-bit program sees as system32).
# Started by the program, it writes the LINEs (default "connect") to the simulator's control
# pipe and stays open until dialer_close.
install_dialer() {
  [[ -f $RASPHONE_EXE ]] || fail "missing $RASPHONE_EXE: build the win32 preset first"
  cp "$RASPHONE_EXE" "$WINEPREFIX/drive_c/windows/system32/rasphone.exe"
  cp "$RASPHONE_EXE" "$WINEPREFIX/drive_c/windows/syswow64/rasphone.exe"
  export KIVO_DIALER_CONTROL KIVO_DIALER_CLOSE
  KIVO_DIALER_CONTROL=$(windows_path "$OUT/modem-control")
  KIVO_DIALER_CLOSE=$(windows_path "$OUT/dialer-close")
  if (($#)); then
    printf '%s\n' "$@" >"$OUT/dialer-script"
    export KIVO_DIALER_SCRIPT
    KIVO_DIALER_SCRIPT=$(windows_path "$OUT/dialer-script")
  fi
}

# dialer_close: closes the dialer as its user would, and waits until it has gone.
dialer_close() {
  local i
  touch "$OUT/dialer-close"
  for ((i = 0; i < 100; i++)); do
    if [[ ! -e $OUT/dialer-close ]]; then
      e2e_log "ok: the dialer closed"
      return
    fi
    sleep 0.05
  done
  fail "the dialer did not close"
}

# hold_file PATH: opens PATH under Wine with no sharing, as a backup or a virus scan does, so
# that no other program can open it until release_file; returns once it is held.
hold_file() {
  [[ -f $FILEHOLD_EXE ]] || fail "missing $FILEHOLD_EXE: build the win32 preset first"
  wine "$FILEHOLD_EXE" "$(windows_path "$1")" "$(windows_path "$OUT/file-release")" \
    </dev/null >"$OUT/filehold.log" 2>&1 &
  local i
  for ((i = 0; i < 200; i++)); do
    if grep -q '^held' "$OUT/filehold.log" 2>/dev/null; then
      e2e_log "holding $1"
      return
    fi
    sleep 0.05
  done
  fail "the file holder did not hold $1 (see $OUT/filehold.log)"
}

# release_file: lets go of the file hold_file holds, and waits until it has.
release_file() {
  local i
  touch "$OUT/file-release"
  for ((i = 0; i < 100; i++)); do
    if [[ ! -e $OUT/file-release ]]; then
      e2e_log "ok: the file was released"
      return
    fi
    sleep 0.05
  done
  fail "the file holder did not let go"
}

# expect_texts TIMEOUT_S ID=TEXT...: waits until the main window's controls show these texts,
# all in one read ('1048=00:00:06' '1040=8.789KB'). A window that is busy with the modem for a
# moment is read again.
expect_texts() {
  local timeout=$1 pair id object json missing deadline
  shift
  local ids=()
  for pair in "$@"; do ids+=("${pair%%=*}"); done
  deadline=$((${EPOCHREALTIME/./} + timeout * 1000000))
  while :; do
    json=$(wine "$UIPROBE_EXE" read "${ids[@]}" </dev/null 2>>"$OUT/uiprobe.log") || json=""
    missing=""
    for pair in "$@"; do
      id=${pair%%=*}
      object=$(grep -oE "\\{\"id\":$id,[^{}]*\\}" <<<"$json" || true)
      [[ $object == *"\"text\":\"${pair#*=}\""* ]] || missing+=" $pair"
    done
    if [[ -z $missing ]]; then
      e2e_log "ok: window shows $*"
      return
    fi
    ((${EPOCHREALTIME/./} < deadline)) || fail "after $timeout s the window still lacks$missing: $json"
    sleep 0.1
  done
}

# control_text ID: the text control ID shows now.
control_text() {
  control "$1" | sed -E 's/.*"text":"([^"]*)".*/\1/'
}

# The fields of usage.bin by name: offset and size in bytes, little-endian.
declare -A DATA_USAGE_FIELDS=(
  [last_duration]='0 4' [last_reserved]='4 4' [last_tx]='8 8' [last_rx]='16 8'
  [total_duration]='40 4' [total_reserved]='44 4' [total_tx]='48 8' [total_rx]='56 8'
  [previous_duration]='80 4' [previous_reserved]='84 4' [previous_tx]='88 8' [previous_rx]='96 8'
)

# expect_usage FIELD=VALUE...: usage.bin is 120 bytes and holds these numbers ('total_tx=9000').
expect_usage() {
  local pair field size actual usage
  usage=$(data_file usage.bin)
  [[ -f $usage ]] || fail "no $usage"
  expect_eq "usage.bin size" "$(stat -c %s "$usage")" 120
  for pair in "$@"; do
    field=${DATA_USAGE_FIELDS[${pair%%=*}]:-}
    [[ -n $field ]] || fail "expect_usage: no field ${pair%%=*}"
    size=${field#* }
    actual=$(od -An -t "u$size" -j "${field% *}" -N "$size" "$usage" | tr -d ' ')
    expect_eq "usage.bin ${pair%%=*}" "$actual" "${pair#*=}"
  done
}

# usage_time OFFSET: the SYSTEMTIME at OFFSET of usage.bin as the window writes a time
# (year, month, day of week, day, hour, minute, second, milliseconds).
usage_time() {
  local year month weekday day hour minute second millis
  read -r year month weekday day hour minute second millis \
    < <(od -An -t u2 -j "$1" -N 16 "$(data_file usage.bin)")
  printf '%04d/%02d/%02d %02d:%02d:%02d\n' "$year" "$month" "$day" "$hour" "$minute" "$second"
}

# expect_session_log ROW...: sessionlog.csv holds exactly these rows, each after its quoted
# date and time and ended by CR LF ('"DISCONNECTED",6,9000,72000,0,0,0').
expect_session_log() {
  local line rows=() log
  log=$(data_file sessionlog.csv)
  [[ -f $log ]] || fail "no $log"
  while IFS= read -r line; do
    [[ $line =~ ^\"[0-9]{4}/[0-9]{2}/[0-9]{2}\",\"[0-9]{2}:[0-9]{2}:[0-9]{2}\",(.*)$'\r'$ ]] ||
      fail "session log row of the wrong shape: $line"
    rows+=("${BASH_REMATCH[1]}")
  done <"$log"
  expect_eq "session log" "$(printf '%s\n' "${rows[@]}")" "$(printf '%s\n' "$@")"
}

# await_trace_count LINE N TIMEOUT_S: waits until the trace has LINE exactly N times.
await_trace_count() {
  local line=$1 expected=$2 timeout=$3 i count
  for ((i = 0; i < timeout * 20; i++)); do
    count=$(grep -cxF -- "$line" "$TRACE" || true)
    if ((count == expected)); then
      e2e_log "ok: trace has \"$line\" $expected times"
      return
    fi
    sleep 0.05
  done
  fail "trace has \"$line\" $count times, not $expected (see $TRACE)"
}
