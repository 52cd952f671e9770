#!/bin/bash
# The device-information button does nothing until the modem is ready. On a ready Huawei modem
# it stops the poll, asks the modem and its SIM who they are, shows the answers in the "Device
# information" dialog (the ICCID as the SIM stores it, each byte's digits swapped), and polls
# again once the dialog is closed.
source "$(dirname "$0")/../lib.sh"
e2e_start
e2e_start_modem COM5 --profile huawei

polls() {
  grep -cxF 'AT+CGREG?\r\n' "$OUT/modem-transcript.txt" || true
}

# No modem in the registry: discovery searches on, the modem is never ready, the click opens
# nothing.
kivo
probe status-text --wait 'Detecting mobile data device...' >/dev/null
expect_eq "click while detecting" "$(probe click 1046)" '{"clicked":1046,"done":true}'
expect_window '"dialogs":[]'
probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1

kivo /PORT:COM5 /COMMANDSET:HUAWEI
probe status-text --wait Ready >/dev/null
# The dialog is modal: the click returns only when it closes.
expect_eq "click when ready" "$(probe click 1046)" '{"clicked":1046,"done":false}'
json=$(probe read --dialog 'Device information')
expect_eq "port" "$(dialog_text "$json" 1017)" COM5
expect_eq "manufacturer" "$(dialog_text "$json" 1021)" huawei
expect_eq "model" "$(dialog_text "$json" 1019)" MS-3G100
expect_eq "firmware" "$(dialog_text "$json" 1020)" 11.608.02.00.00
expect_eq "IMSI" "$(dialog_text "$json" 1029)" 655011234567890
expect_eq "IMEI" "$(dialog_text "$json" 1027)" 356938035643809
expect_eq "ICCID" "$(dialog_text "$json" 1030)" 987200214365870921F3
expect_eq "serial number" "$(dialog_text "$json" 1026)" R3B7NA1580200374
expect_eq "hardware" "$(dialog_text "$json" 1018)" CD25TCPU
expect_eq "service provider" "$(dialog_text "$json" 1033)" Simnet
for line in 'AT^SN\r\n' 'AT^HWVER\r\n' 'AT^SPN=0\r\n' 'AT+CGMI\r\n' 'AT+CGMR\r\n' 'AT+CIMI\r\n' \
  'AT+CGMM\r\n' 'AT+CRSM=176,12258,0,0,10\r\n' 'AT+CGSN\r\n'; do
  expect_transcript_count "$line" 1
done
# The order the queries went out in.
order=$(grep -nxF -e 'AT^SN\r\n' -e 'AT+CGSN\r\n' "$OUT/modem-transcript.txt" | cut -d: -f2 |
  tr -d '\n')
expect_eq "first and last query" "$order" 'AT^SN\r\nAT+CGSN\r\n'

# No poll while the dialog is open; the poll comes back once it is closed.
before=$(polls)
sleep 3
expect_eq "polls while open" "$(polls)" "$before"
expect_eq "close" "$(probe click 1004 --dialog 'Device information')" \
  '{"clicked":1004,"done":true}'
for ((i = 0; i < 80 && $(polls) == before; i++)); do sleep 0.05; done
(($(polls) > before)) || fail "the poll did not come back after the dialog closed"
expect_window '"dialogs":[]'

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 2)" 1
