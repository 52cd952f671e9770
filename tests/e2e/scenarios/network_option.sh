#!/bin/bash
# An Option modem: the first readings show the technology of _OCTI, _OWCTI and _OHCIP and
# select the _OPSYS setting; the signal follows the modem's _OSIGQ reports at once, the
# technology the two-second poll; the chosen network mode is written as a fixed _OPSYS setting.
source "$(dirname "$0")/../lib.sh"
e2e_start
e2e_start_modem COM5 --profile option

kivo /PORT:COM5 /COMMANDSET:Option
probe status-text --wait Ready >/dev/null
expect_network 0 signal=-79dBm bar=17 colour=#00ff00 operator='Simnet ZA' mcc=655 mnc=01 \
  lac=161 rnc=434 cell=50132 tech=3G
expect_mode_list 1 'GPRS/EDGE Preferred' '3G Preferred' 'GPRS/EDGE Only' '3G Only'

modem_control 'send _OSIGQ: 25,99'
expect_network 1 signal=-63dBm bar=25 colour=#0000ff
modem_set tech=edge
expect_network 5 tech=EDGE
modem_set rnc=12 cell=3456
expect_network 1 lac=161 rnc=12 cell=3456
modem_set operator=310410 operator_name=Roamnet registration=5
expect_network 1 operator=Roamnet mcc=310 mnc=410

# Without service the modem names no cell type, which the poll shows as "Unknown".
modem_set registration=2
expect_network 1 operator= mcc= mnc= lac= rnc= cell=
expect_network 5 tech=Unknown

apply_network_mode 0
expect_modem_received 'AT_OPSYS=2,2\r\n'

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
