#!/bin/bash
# A Novatel modem, every command in a diagnostic frame: the network-mode read ($NWRAT) fills
# the three-entry list and gives the technology; signal, operator and technology follow the
# two-second poll, the cell its reports; the chosen network mode is written as a fixed $NWRAT
# setting.
source "$(dirname "$0")/../lib.sh"
e2e_start
e2e_start_modem COM5 --profile novatel

kivo /PORT:COM5 /COMMANDSET:Novatel
probe status-text --wait Ready >/dev/null
expect_network 0 signal=-79dBm bar=17 colour=#00ff00 operator='Simnet ZA' mcc=655 mnc=01 \
  lac=161 rnc=434 cell=50132 tech=3G
expect_mode_list 2 'GPRS/EDGE Only' '3G Only' 'Automatic'

modem_set rssi=31 tech=hsdpa operator=310410 operator_name=Roamnet
expect_network 5 signal='>=-51dBm' bar=31 colour=#0000ff tech=HSDPA operator=Roamnet mcc=310 \
  mnc=410
modem_set rnc=12 cell=3456
expect_network 1 lac=161 rnc=12 cell=3456

modem_set registration=2
expect_network 1 operator= mcc= mnc= lac= rnc= cell=
expect_network 5 tech='No Signal'
modem_set registration=1
expect_network 1 operator=Roamnet lac=161 rnc=12 cell=3456

apply_network_mode 0
expect_modem_received 'AT$NWRAT=1,1\r\n'
# GPRS/EDGE only moves the modem to EDGE.
expect_network 5 tech=EDGE

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
