#!/bin/bash
# A Sierra modem: the first readings show the technology of *CNTI and select the ^SYSCONFIG
# setting; signal, operator and technology follow the two-second poll, the cell its reports; the
# chosen network mode is written back with the modem's own roaming and domain.
source "$(dirname "$0")/../lib.sh"
e2e_start
e2e_start_modem COM5 --profile sierra

kivo /PORT:COM5 /COMMANDSET:Sierra
probe status-text --wait Ready >/dev/null
expect_network 0 signal=-79dBm bar=17 colour=#00ff00 operator='Simnet ZA' mcc=655 mnc=01 \
  lac=161 rnc=434 cell=50132 tech=3G
expect_mode_list 1 'GPRS/EDGE Preferred' '3G Preferred' 'GPRS/EDGE Only' '3G Only'

modem_set rssi=0 tech=gprs operator=310410 operator_name=Roamnet
expect_network 5 signal='<=-113dBm' bar=0 colour=#ff0000 tech=GPRS operator=Roamnet mcc=310 \
  mnc=410
modem_set rnc=12 cell=3456
expect_network 1 lac=161 rnc=12 cell=3456

# Without service the modem's word is "NONE", shown as it wrote it.
modem_set registration=2
expect_network 1 operator= mcc= mnc= lac= rnc= cell=
expect_network 5 tech=NONE
modem_set registration=1
expect_network 1 operator=Roamnet lac=161 rnc=12 cell=3456

apply_network_mode 3
expect_modem_received 'AT^SYSCONFIG=14,2,1,2\r\n'

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
