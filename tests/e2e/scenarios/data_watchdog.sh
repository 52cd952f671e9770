#!/bin/bash
# The watchdog ends a session whose reports have stopped: at once when the modem says the
# context is down (the network dropped it), after five checks in a row without an answer when
# the modem has stopped answering. Each time the session is folded into the totals.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../lib_data.sh"
e2e_start
e2e_start_modem COM5 --profile huawei
modem_set tx_rate=1500 rx_rate=12000
checking="KIVO: timeout waiting for ^DSFLOWRPT response, checking PDP context status..."
lost="KIVO: updating data counter totals and resetting current connection counters"

kivo /PORT:COM5 /COMMANDSET:HUAWEI /SESSIONLOG
probe status-text --wait Ready >/dev/null
modem_control $'connect\nafter 3000 disconnect'
expect_trace "KIVO: ^DSFLOWRPT received, assuming device is online" 5
expect_trace "KIVO: PDP context status is deactivated, assuming connection lost" 5
expect_texts 2 1052=Connect 1049=00:00:02 1043=2.929KB 1042=23.43KB 1048=00:00:00
expect_trace_count "$checking" 1

modem_control $'connect\nafter 3000 silence on'
expect_texts 5 1052=Disconnect 1048=00:00:02
await_trace_count "$lost" 2 60
expect_trace_count "KIVO: no response received to PDP context status query" 5
expect_trace_count "$checking" 6
# The modem comes back without its connection.
modem_control $'disconnect\nsilence off'
expect_texts 5 1052=Connect 1049=00:00:04 1043=5.859KB 1042=46.87KB 1041=52.73KB

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
expect_session_log '"APPLICATION STARTED",0,0,0,0,0,0' '"CONNECTION DETECTED",0,0,0,0,0,0' \
  '"DISCONNECTED",2,3000,24000,0,0,0' '"CONNECTION DETECTED",0,0,0,2,3000,24000' \
  '"DISCONNECTED",2,3000,24000,2,3000,24000'
