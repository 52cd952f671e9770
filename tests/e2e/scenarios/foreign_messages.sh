#!/bin/bash
# Another program posts WM_APP messages to the window with numbers of its own: the window tells
# them from its own notices and ignores them (no crash, no reading changed, no worker joined),
# and the modem's own reports still show at once afterwards.
source "$(dirname "$0")/../lib.sh"
e2e_start
e2e_start_modem COM5 --profile huawei

kivo /PORT:COM5 /COMMANDSET:Huawei
probe status-text --wait Ready >/dev/null
expect_network 0 signal=-79dBm bar=17 tech=3G

# The report notices (^MODE, ^BOOT, flow, registration) with a wParam that points nowhere, the
# signal and the discovery's completion with plain numbers, and the unused WM_APP+7.
for message in '13 0x1234 0' '18 0xDEADBEEF 0' '11 0x10 0x20' '17 1 1' '12 5 0' '3 0 0' '7 0 0'; do
  # shellcheck disable=SC2086 # three numbers
  expect_eq "post $message" "$(probe post $message | grep -o '"done":[a-z]*')" '"done":true'
done
sleep 1
expect_eq "window" "$(probe window | grep -o '"visible":[a-z]*')" '"visible":true'
expect_network 1 signal=-79dBm bar=17 tech=3G

modem_set rssi=8 tech=hsdpa
expect_network 1 signal=-97dBm bar=8 tech=HSDPA

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
