#!/bin/bash
# A Nokia phone: the standard readings without a technology or a network-mode list; signal and
# operator follow the two-second poll; the registration is never polled, so the cell follows
# the phone's reports alone.
source "$(dirname "$0")/../lib.sh"
e2e_start
e2e_start_modem COM5 --profile nokia

kivo /PORT:COM5 /COMMANDSET:Nokia
probe status-text --wait Ready >/dev/null
expect_network 0 signal=-79dBm bar=17 colour=#00ff00 operator='Simnet ZA' mcc=655 mnc=01 \
  lac=161 rnc=434 cell=50132 tech=
expect_control 1051 '"enabled":false' '"entries":[]'

modem_set rssi=99 operator=310410 operator_name=Roamnet
expect_network 5 signal= bar=0 colour=#ff0000 operator=Roamnet mcc=310 mnc=410
modem_set rnc=12 cell=3456
expect_network 1 lac=161 rnc=12 cell=3456
modem_set registration=2
expect_network 1 operator= mcc= mnc= lac= rnc= cell=
sleep 2.5  # a poll
expect_transcript_count 'AT+CGREG?\r\n' 1

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
