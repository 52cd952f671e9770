#!/bin/bash
# A standard modem: the first readings fill the signal group at once ("Unknown" technology, no
# network-mode list); signal and operator follow the two-second poll, the cell its reports; a
# lost registration clears operator, technology and location, and a new one shows them again.
source "$(dirname "$0")/../lib.sh"
e2e_start
e2e_start_modem COM5

kivo /PORT:COM5
probe status-text --wait Ready >/dev/null
expect_network 0 signal=-79dBm bar=17 colour=#00ff00 operator='Simnet ZA' mcc=655 mnc=01 \
  lac=161 rnc=434 cell=50132 tech=Unknown apn=internet
expect_control 1051 '"enabled":false' '"entries":[]'

modem_set rssi=12
expect_network 5 signal=-89dBm bar=12 colour=#ffcc00
modem_set rnc=12 cell=3456
expect_network 1 lac=161 rnc=12 cell=3456
modem_set operator=310410 operator_name=Roamnet
expect_network 5 operator=Roamnet mcc=310 mnc=410

modem_set registration=2
expect_network 1 operator= mcc= mnc= lac= rnc= cell= tech=
modem_set registration=1
expect_network 1 operator=Roamnet mcc=310 mnc=410 lac=161 rnc=12 cell=3456 tech=Unknown

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
