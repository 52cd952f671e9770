#!/bin/bash
# The main window: its title, status bar and every control by identifier and kind, the state
# the controls start in, and a layout that fits a 1024x768 screen.
source "$(dirname "$0")/../lib.sh"
e2e_start
e2e_start_modem COM5
modem_control 'set rssi 99'  # no signal reading: the bar keeps the state it starts in

kivo /PORT:COM5
expect_eq "status bar" "$(probe status-text --wait Ready)" '{"text":"Ready"}'
json=$(window_json)
[[ $json == *'"title":"Kivoscope"'* ]] || fail "title: $json"

kinds=(
  "text:1009 1012 1015 1077 1078 1079 1081 1082 1028 1048 1040 1039 1038 1061 1058 1059 1064
   1060 1056 1057 1063 1071 1072 1047 1037 1036 1013 1053 1049 1043 1042 1041 1055 1068 1067
   1066 1065 1069 1094 1095"
  "button:1022 1023 1024 1025 1030 1033 1034 1044 1045 1046 1050 1052 1054 1062 1070 1073 1074 1090"
  "edit:1021 1031 1032 1035"
  "progress bar:1011 1096"
  "drop-down list:1051"
  "status bar:100"
)
for entry in "${kinds[@]}"; do
  kind=${entry%%:*}
  for id in ${entry#*:}; do
    count=$(grep -oE "\"id\":$id,\"class\":\"[^\"]*\",\"kind\":\"$kind\"" <<<"$json" | wc -l)
    [[ $count == 1 ]] || fail "control $id: $count controls of kind $kind"
  done
done
e2e_log "ok: every control once, of its kind"

expect_control 1011 '"range":[0,31]' '"position":0' '"background":"#ffffff"'
expect_control 1021 '"multiline":true' '"readonly":true' '"vscroll":true'
expect_control 1031 '"multiline":true' '"readonly":true'
expect_control 1032 '"readonly":false' '"limit":80'
expect_control 1035 '"readonly":false'
expect_control 1052 '"text":"Connect"' '"enabled":true' '"default":true'
expect_control 1024 '"text":"Start Logging"'
for id in 1022 1023 1030 1033 1034 1050 1051; do
  expect_control "$id" '"enabled":false'
done
# Discovery has finished: Enter connects.
expect_window '"default_button":1052'

# The window fits the screen, and every control lies inside it, above the status bar.
numbers() { grep -oE "\"$1\":\[[0-9,-]+\]" | head -n1 | sed -E 's/.*\[(.*)\]/\1/; s/,/ /g'; }
read -r width height < <(numbers size <<<"$json")
((width <= 1024 && height <= 740)) || fail "window ${width}x$height does not fit 1024x768"
read -r client_width _ < <(numbers client <<<"$json")
read -r _ status_top _ < <(grep -oE '"id":100,[^}]*' <<<"$json" | numbers rect)
while read -r left top right bottom; do
  ((left >= 0 && top >= 0 && right <= client_width && bottom <= status_top)) ||
    fail "a control at $left,$top,$right,$bottom is outside the window or under its status bar"
done < <(grep -oE '"id":-?[0-9]+,[^}]*' <<<"$json" | grep -v '^"id":100,' |
  while read -r control; do numbers rect <<<"$control"; done)
e2e_log "ok: ${width}x$height window, controls inside it and above the status bar"
probe layout >/dev/null
# The USSD help is taller than this screen as a message box, so it scrolls in a box that fits.
probe click 1070 >/dev/null
probe layout --dialog 'USSD Help' >/dev/null
probe answer OK >/dev/null
e2e_log "ok: no text cut, the USSD help on the screen"

# Escape is the dialog's Cancel, which does nothing.
probe key escape >/dev/null
sleep 0.5
probe window >/dev/null

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
