#!/bin/bash
# A Huawei modem: the first readings show the technology of ^SYSINFO and select the ^SYSCFG
# setting in the network-mode list; signal and technology follow the modem's ^RSSI and ^MODE
# reports at once (nothing is polled but the registration); a new operator shows with a new
# registration; the chosen network mode is written back with the modem's own band and domain; a
# setting the list lacks is shown in a warning box.
source "$(dirname "$0")/../lib.sh"
e2e_start
e2e_start_modem COM5 --profile huawei

kivo /PORT:COM5 /COMMANDSET:Huawei
probe status-text --wait Ready >/dev/null
expect_network 0 signal=-79dBm bar=17 colour=#00ff00 operator='Simnet ZA' mcc=655 mnc=01 \
  lac=161 rnc=434 cell=50132 tech=3G
expect_mode_list 1 'GPRS/EDGE Preferred' '3G Preferred' 'GPRS/EDGE Only' '3G Only'

modem_set rssi=8 tech=hsdpa
expect_network 1 signal=-97dBm bar=8 colour=#ff0000 tech=HSDPA
modem_set rnc=12 cell=3456
expect_network 1 lac=161 rnc=12 cell=3456
modem_set operator=310410 operator_name=Roamnet registration=5
expect_network 1 operator=Roamnet mcc=310 mnc=410

modem_set registration=2
expect_network 1 operator= mcc= mnc= lac= rnc= cell= tech=
modem_set registration=1
expect_network 1 operator=Roamnet lac=161 rnc=12 cell=3456 tech=HSDPA

apply_network_mode 2
expect_modem_received 'AT^SYSCFG=13,2,3FFFFFFF,1,2\r\n'
# GSM only moves the modem to EDGE, which it reports.
expect_network 1 tech=EDGE

# A setting the list has no entry for is shown for the user to report, from the first readings
# after a new detection; the list stays filled with nothing selected.
modem_set syscfg_mode=16
probe click 1074 >/dev/null
warning='Unable to determine connection type, please report the following information to the'
warning+=' author:\r\n\t\t^SYSCFG=16,2,3FFFFFFF,1,2 and your current connection type; GPRS/EDGE or'
warning+=' 3G, only or preferred. '
expect_eq "warning" "$(probe message-box)" "{\"caption\":\"KIVO\",\"text\":\"$warning\",\"buttons\":[\"OK\"]}"
probe answer OK >/dev/null
probe status-text --wait Ready >/dev/null
expect_control 1051 '"selected":-1'

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
