#!/bin/bash
# Every window of the program fits at 144 DPI (a 1920x1080 screen with text at 150 %) as it does
# at 96: the main window with its network-mode list, each dialog and the program's boxes lie on
# the screen, keep every control inside them and cut no text ("uiprobe layout" measures each
# text in the window's font at its DPI). At 144 DPI the windows and their text really are larger.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../lib_data.sh"
E2E_DESKTOP=1920x1080
e2e_start
cat >"$OUT/sim.scenario" <<'END'
set sim pin
set pin 2468
END

# set_dpi DPI: the setting the display settings write; a program reads it when it starts.
set_dpi() {
  local key
  for key in 'HKCU\Control Panel\Desktop' \
    'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >>"$OUT/registry.log" 2>&1 ||
      fail "setting LogPixels $1 in $key"
  done
}

# expect_layout DPI [TITLE]: the main window (or the dialog or box titled TITLE) fits at DPI.
expect_layout() {
  local dpi=$1 title=${2:-} json
  if [[ -n $title ]]; then
    probe wait-window --dialog "$title" >/dev/null
    json=$(probe layout --dialog "$title")
  else
    json=$(probe layout)
  fi
  [[ $json == *"\"dpi\":$dpi,"* ]] || fail "${title:-main window} not at $dpi DPI: $json"
  e2e_log "ok: ${title:-main window} fits at $dpi DPI"
  printf '%s\n' "$json" >>"$OUT/layouts.txt"
}

# expect_dialog_layout DPI BUTTON TITLE: BUTTON of the main window opens the dialog TITLE, which
# fits; it is closed again as its close box does.
expect_dialog_layout() {
  local dpi=$1 button=$2 title=$3
  probe click "$button" >/dev/null
  expect_layout "$dpi" "$title"
  probe close --dialog "$title" >/dev/null
  wait_dialog_gone "$title"
}

wait_dialog_gone() {
  local i
  for ((i = 0; i < 40; i++)); do
    wine "$UIPROBE_EXE" window --dialog "$1" </dev/null >/dev/null 2>&1 || return 0
    sleep 0.25
  done
  fail "the dialog $1 stayed open"
}

# width JSON: the window's width in a layout report.
width() {
  sed -E 's/.*"size":\[([0-9]+),.*/\1/' <<<"$1"
}

# le VALUE BYTES: VALUE as that many little-endian bytes.
le() {
  local i
  for ((i = 0; i < $2; i++)); do printf "\\x%02x" $(($1 >> (8 * i) & 255)); done
}

# usage_record DURATION TX RX: one record of usage.bin, with 2026/12/31 23:59:59 as its time.
usage_record() {
  printf "$(le "$1" 4)$(le 0 4)$(le "$2" 8)$(le "$3" 8)"
  printf "$(le 2026 2)$(le 12 2)$(le 4 2)$(le 31 2)$(le 23 2)$(le 59 2)$(le 59 2)$(le 0 2)"
}

# The longest texts the usage group shows for a heavy user: more than a year online in the
# totals, a month in the previous period, the longest byte counts of each unit.
mkdir -p "$(dirname "$(data_file usage.bin)")"
{
  usage_record 86399 1023 1048000
  usage_record 35999999 1048575000 1099511627776
  usage_record 2678400 1073741000 1023
} >"$(data_file usage.bin)"

# walk DPI: the program at DPI through each of its windows.
walk() {
  local dpi=$1 run
  set_dpi "$dpi"
  e2e_start_modem COM5 --profile huawei --scenario "$OUT/sim.scenario"
  ((E2E_RUNS > 0)) || seed_modem_registry huawei COM5
  kivo
  run=$E2E_RUNS
  # Discovery finds the modem first.
  probe wait-window --dialog 'SIM PIN' --timeout 20000 >/dev/null
  expect_layout "$dpi" 'SIM PIN'
  probe type 1007 2468 --dialog 'SIM PIN' >/dev/null
  probe key enter --dialog 'SIM PIN' >/dev/null
  probe status-text --wait Ready --timeout 20000 >/dev/null
  # The network-mode list is filled and the signal group shows the first readings.
  expect_network 10 operator='Simnet ZA'
  expect_mode_list 1 'GPRS/EDGE Preferred' '3G Preferred' 'GPRS/EDGE Only' '3G Only'
  expect_texts 5 '1049=9999:59:59' '1037=1023 bytes' '1042=1024GB'
  expect_layout "$dpi"
  import -window root -trim +repage "$OUT/main-${dpi}dpi.png"
  # Each dialog a button of the main window opens: one line each.
  expect_dialog_layout "$dpi" 1046 'Device information'
  expect_dialog_layout "$dpi" 1025 'Send SMS'
  expect_dialog_layout "$dpi" 1097 'Usage history'
  expect_dialog_layout "$dpi" 1090 'Data plan'
  probe click 1025 >/dev/null
  probe click 1041 --dialog 'Send SMS' >/dev/null
  expect_layout "$dpi" 'Send SMS to any number'
  probe close --dialog 'Send SMS to any number' >/dev/null
  wait_dialog_gone 'Send SMS to any number'
  probe close --dialog 'Send SMS' >/dev/null
  wait_dialog_gone 'Send SMS'
  probe click 1070 >/dev/null
  expect_layout "$dpi" 'USSD Help'
  probe answer OK >/dev/null
  probe close >/dev/null
  expect_eq "exit code at $dpi DPI" "$(kivo_exit "$run")" 1
  e2e_stop_modem

  kivo /?
  run=$E2E_RUNS
  expect_layout "$dpi" 'KIVO Command Line Help'
  probe press OK >/dev/null
  expect_eq "help exit code at $dpi DPI" "$(kivo_exit "$run")" 0
}

walk 96
walk 144
small=$(grep -m1 '"title":"Kivoscope"' "$OUT/layouts.txt")
large=$(grep '"title":"Kivoscope"' "$OUT/layouts.txt" | tail -n1)
# 144 DPI is 150 %: the dialog units, so the window, grow with the font.
(($(width "$large") * 100 >= $(width "$small") * 140)) ||
  fail "the main window did not grow with the DPI: $small / $large"
e2e_log "ok: main window $(width "$small") px wide at 96 DPI, $(width "$large") px at 144"
