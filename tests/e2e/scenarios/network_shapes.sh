#!/bin/bash
# A standard modem that writes "+CSQ:4,0", blanks behind the commas of +CGREG and the access
# technology at the end of its location reports: the signal group shows the same readings as
# for the common shapes, from the poll and from the reports.
source "$(dirname "$0")/../lib.sh"
e2e_start
e2e_start_modem COM5
modem_set csq_blank=0 registration_blanks=1 location_act=1 rssi=4

kivo /PORT:COM5
probe status-text --wait Ready >/dev/null
expect_network 0 signal=-105dBm bar=4 colour=#ff0000 lac=161 rnc=434 cell=50132 tech=Unknown

modem_set rssi=12
expect_network 5 signal=-89dBm bar=12 colour=#ffcc00
modem_set rnc=12 cell=3456
expect_network 1 lac=161 rnc=12 cell=3456
modem_set registration=2
expect_network 1 operator= mcc= mnc= lac= rnc= cell= tech=
modem_set registration=1
expect_network 1 lac=161 rnc=12 cell=3456 tech=Unknown

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
