#!/bin/bash
# Cell broadcasts: each page is appended to the box with its time and header (a blank line
# between pages, none after Clear), the area-information page of the network shows in 1028 and
# is the second row when logging starts, every page goes to the signal log with its channel;
# an emergency alert of 65 octets and a UCS2 page show their whole text. Copy puts the box on
# the clipboard; Clear empties it and disables both buttons.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../lib_signal_log.sh"
e2e_start
e2e_start_modem COM5 --profile huawei
# On this network the cell-area channel is 50.
modem_set operator=65507 operator_name=Cell-C

kivo /PORT:COM5 /COMMANDSET:HUAWEI
probe status-text --wait Ready >/dev/null
expect_control 1022 '"enabled":false'
expect_control 1023 '"enabled":false'

stamp='[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}'
area="$stamp, Serial Number: 16421,\\\\r\\\\nMessage Identifier: 50, DCS: 1, Page 1/1\\\\r\\\\n"
area+='Kenilworth @ Claremont, Cape Town 021'
alert="$stamp, Serial Number: 8000,\\\\r\\\\nMessage Identifier: 4370, DCS: 1, Page 1/1\\\\r\\\\n"
alert+='Presidential Alert: a test of the national alert system. No action.'
ucs2="$stamp, Serial Number: 3201,\\\\r\\\\nMessage Identifier: 919, DCS: 17, Page 1/1\\\\r\\\\n"
ucs2+='\\u00dcbung: Stra\\u00dfe gesperrt \? Zivilschutz'

# expect_box REGEX: within 3 s the broadcast box's whole text (as JSON) matches REGEX.
expect_box() {
  local i text
  for ((i = 0; i < 30; i++)); do
    text=$(dialog_text "$(probe read 1021)" 1021)
    if [[ $text =~ ^$1$ ]]; then
      e2e_log "ok: broadcast box"
      return
    fi
    sleep 0.1
  done
  fail "broadcast box: [$text] does not match [$1]"
}

modem_control 'cbm area'
expect_box "$area"
expect_control 1028 '"text":"Kenilworth @ Claremont, Cape Town 021"'
expect_control 1022 '"enabled":true'
expect_control 1023 '"enabled":true'

cell='65507,00A1,01B2C3D4,50132'
choose_log_file cb_log.csv
modem_control 'cbm alert'
expect_box "$area\\\\r\\\\n\\\\r\\\\n$alert"
modem_control 'cbm ucs2'
expect_box "$area\\\\r\\\\n\\\\r\\\\n$alert\\\\r\\\\n\\\\r\\\\n$ucs2"
# The alert is not the area information.
expect_control 1028 '"text":"Kenilworth @ Claremont, Cape Town 021"'
expect_signal_log cb_log.csv "$SIGNAL_LOG_HEADER" \
  "0,\"LOGGING STARTED\",17,\"3G\",$cell" \
  "0,\"Kenilworth @ Claremont, Cape Town 021\",17,\"3G\",$cell" \
  "4370,\"Presidential Alert: a test of the national alert system. No action.\",17,\"3G\",$cell" \
  "919,\"$(printf '\xdcbung: Stra\xdfe gesperrt ? Zivilschutz')\",17,\"3G\",$cell"

probe click 1023 >/dev/null
box=$(dialog_text "$(probe read 1021)" 1021)
clip=$(probe clipboard)
expect_eq "clipboard" "$clip" "{\"text\":\"$box\"}"

probe click 1022 >/dev/null
expect_control 1021 '"text":""'
expect_control 1022 '"enabled":false'
expect_control 1023 '"enabled":false'
modem_control 'cbm alert'
expect_box "$alert"

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
