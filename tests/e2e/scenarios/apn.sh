#!/bin/bash
# The APN: the modem's own shows at start; a new one goes to context 1 and leaves Set disabled
# with Connect the default; a modem that refuses it shows "Set APN failed." and Set stays
# enabled; an APN holding a double quote is refused before it reaches the modem.
source "$(dirname "$0")/../lib.sh"
e2e_start
e2e_start_modem COM5 --profile huawei

# await_control ID FRAGMENT...: waits up to 5 s until control ID's JSON holds every FRAGMENT.
await_control() {
  local id=$1 i json fragment missing
  shift
  for ((i = 0; i < 20; i++)); do
    json=$(control "$id")
    missing=""
    for fragment in "$@"; do [[ $json == *"$fragment"* ]] || missing+=" $fragment"; done
    [[ -z $missing ]] && return
    sleep 0.25
  done
  fail "control $id: no$missing in $json"
}

kivo /PORT:COM5 /COMMANDSET:HUAWEI
probe status-text --wait Ready >/dev/null
expect_network 0 apn=internet
expect_control 1034 '"enabled":false'

probe type 1035 newapn >/dev/null
probe click 1034 >/dev/null
expect_modem_received 'AT+CGDCONT=1,"IP","newapn"\r\n'
await_control 1034 '"enabled":false' '"default":false'
expect_window '"default_button":1052'

modem_set apn_error=1
probe type 1035 other >/dev/null
probe click 1034 >/dev/null
await_box 'Set APN failed.' >/dev/null
probe answer OK >/dev/null
expect_modem_received 'AT+CGDCONT=1,"IP","other"\r\n'
expect_control 1034 '"enabled":true'
expect_control 1035 '"text":"other"'

probe type 1035 'a","x' >/dev/null
probe click 1034 >/dev/null
await_box 'The APN may not contain double quotes or control characters.' >/dev/null
probe answer OK >/dev/null
expect_transcript_count 'AT+CGDCONT=1,"IP","a","x"\r\n' 0

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
