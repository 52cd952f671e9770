#!/bin/bash
# A modem whose dial-up runs on context 4 lists two contexts in its AT+CGACT? answer, the first
# one inactive: the watchdog keeps the session while context 4 is active and ends it once both
# are inactive.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../lib_data.sh"
e2e_start
e2e_start_modem COM5 --profile huawei
modem_set data_cid=4

kivo /PORT:COM5 /COMMANDSET:HUAWEI
probe status-text --wait Ready >/dev/null
modem_control $'connect\nafter 3000 set flow_interval 0'
expect_trace "KIVO: ^DSFLOWRPT received, assuming device is online" 5
expect_trace "KIVO: PDP context status is activated, resetting connection timeout" 10
expect_texts 1 1052=Disconnect

modem_control disconnect
expect_trace "KIVO: PDP context status is deactivated, assuming connection lost" 10
expect_texts 2 1052=Connect

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
