# Helpers of the signal-log and cell-broadcast scenarios, sourced after lib.sh: the save-file
# dialog of the logging button, and the log file in the scenario's prefix.

SAVE_DIALOG="Create New Or Choose Existing Log File"
SIGNAL_LOG_HEADER='"DATE","TIME","MESSAGEID","MESSAGE","RSSI","RAT","MCC/MNC","LAC(HEX)","RNC/CELLID(HEX)","CELLID(DEC)"'

# drive_c_file NAME: a file at the top of drive C: of the prefix.
drive_c_file() {
  printf '%s/drive_c/%s\n' "$WINEPREFIX" "$1"
}

# choose_log_file NAME [PROPOSED]: presses the logging button, checks that the save-file dialog proposes
# PROPOSED (when given), types C:\NAME as the file name and saves.
choose_log_file() {
  local name=$1 proposed=${2:-} json
  probe click 1024 >/dev/null
  probe wait-window --dialog "$SAVE_DIALOG" >/dev/null
  if [[ -n $proposed ]]; then
    json=$(probe read 1148 --dialog "$SAVE_DIALOG")
    expect_eq "proposed log file" "$(dialog_text "$json" 1148)" "$proposed"
  fi
  probe type 1148 "C:\\$name" --dialog "$SAVE_DIALOG" >/dev/null
  probe click 1 --dialog "$SAVE_DIALOG" >/dev/null
}

# expect_signal_log NAME ROW...: within 5 s, C:\NAME holds exactly these lines; a row with a
# quoted date and time is compared behind them ('0,"RSSI",8,"3G",65501,00A1,01B2C3D4,50132'),
# any other line whole. Every line must end in CR LF.
expect_signal_log() {
  # Texts of the modem are bytes of the Windows code page, not UTF-8.
  local LC_ALL=C file line rows i
  file=$(drive_c_file "$1")
  shift
  for ((i = 0; i < 50; i++)); do
    rows=()
    if [[ -f $file ]]; then
      while IFS= read -r line; do
        [[ $line == *$'\r' ]] || fail "signal log line without CR LF: $line"
        line=${line%$'\r'}
        [[ $line =~ ^\"[0-9]{4}/[0-9]{2}/[0-9]{2}\",\"[0-9]{2}:[0-9]{2}:[0-9]{2}\",(.*)$ ]] &&
          line=${BASH_REMATCH[1]}
        rows+=("$line")
      done <"$file"
    fi
    if [[ "$(printf '%s\n' "${rows[@]}")" == "$(printf '%s\n' "$@")" ]]; then
      e2e_log "ok: signal log $file"
      return
    fi
    sleep 0.1
  done
  expect_eq "signal log" "$(printf '%s\n' "${rows[@]}")" "$(printf '%s\n' "$@")"
}
