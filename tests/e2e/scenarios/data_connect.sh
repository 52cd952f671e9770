#!/bin/bash
# Connect starts the dialer, which brings up the Huawei modem's data connection; the first
# traffic report makes the button "Disconnect", and the window follows the modem's counters and
# rates. While reports stay away the watchdog asks for the context: still up, the session goes
# on; after Disconnect has hung up, it is down and the session is folded into the totals, which
# usage.bin keeps and a restarted program shows again. The session log has a row for each step.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../lib_data.sh"
e2e_start
e2e_start_modem COM5 --profile huawei
modem_set tx_rate=1500 rx_rate=12000 qos_tx=BB80 qos_rx=6DDD0
# One report, then none while the context stays up.
install_dialer 'connect' 'after 2500 set flow_interval 0'

kivo /PORT:COM5 /COMMANDSET:HUAWEI /SESSIONLOG
probe status-text --wait Ready >/dev/null
expect_texts 0 1052=Connect 1048=00:00:00 '1040=0 bytes' 1049=00:00:00 '1043=0 bytes'
expect_eq "connect" "$(probe click 1052)" '{"clicked":1052,"done":true}'
expect_texts 5 1052=Disconnect 1048=00:00:02 1040=2.929KB 1039=23.43KB 1038=26.36KB \
  1061=12.000 1059=2.400 1060=96.000 1057=19.200 1071=384.000 1072=3600.000
expect_trace "KIVO: ^DSFLOWRPT received, assuming device is online"
# No more reports, but the context is up: the session goes on.
expect_trace "KIVO: PDP context status is activated, resetting connection timeout" 5
expect_texts 0 1052=Disconnect 1048=00:00:02

# Two more reports, then none again.
modem_control $'set flow_interval 2000\nafter 4500 set flow_interval 0'
expect_texts 8 1048=00:00:06 1040=8.789KB 1039=70.31KB 1038=79.10KB \
  1061=12.000 1058=12.000 1059=7.200 1064=7.200 1060=96.000 1056=96.000 1057=57.600 1063=57.600

expect_eq "disconnect" "$(probe click 1052)" '{"clicked":1052,"done":true}'
expect_modem_received 'AT+CGACT=0,1\r\n'
expect_modem_received 'ATH\r\n'
expect_trace "KIVO: PDP context status is deactivated, assuming connection lost" 5
expect_texts 2 1052=Connect 1049=00:00:06 1043=8.789KB 1042=70.31KB 1041=79.10KB \
  1047=00:00:06 1037=8.789KB 1036=70.31KB 1013=79.10KB \
  1048=00:00:00 '1040=0 bytes' '1039=0 bytes' '1038=0 bytes' 1061=0.000 1060=0.000 \
  1059=7.200 1057=57.600 1058=12.000 1056=96.000 1071=0.000 1072=0.000
expect_usage last_duration=6 last_tx=9000 last_rx=72000 total_duration=6 total_tx=9000 \
  total_rx=72000 previous_duration=0 previous_tx=0 previous_rx=0 \
  last_reserved=0 total_reserved=0 previous_reserved=0
last_end=$(usage_time 24)
since=$(usage_time 64)
expect_eq "a new store's periods start together" "$(usage_time 104)" "$since"
expect_texts 0 "1053=$last_end" "1055=$since" "1069=$since"

# The dialer is still open: Connect does nothing until it is closed.
expect_eq "connect while dialing" "$(probe click 1052)" '{"clicked":1052,"done":true}'
dialer_close
expect_transcript_count 'AT+CGACT=0,1\r\n' 1
expect_transcript_count 'ATH\r\n' 1
probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1

kivo /PORT:COM5 /COMMANDSET:HUAWEI /SESSIONLOG
probe status-text --wait Ready >/dev/null
expect_texts 0 1049=00:00:06 1043=8.789KB 1042=70.31KB 1041=79.10KB "1055=$since" \
  1047=00:00:06 1037=8.789KB 1036=70.31KB 1013=79.10KB "1053=$last_end" \
  1048=00:00:00 1052=Connect
probe close >/dev/null
expect_eq "exit code after the restart" "$(kivo_exit 2)" 1

expect_session_log '"APPLICATION STARTED",0,0,0,0,0,0' '"CONNECTION ATTEMPTED",0,0,0,0,0,0' \
  '"CONNECTION DETECTED",0,0,0,0,0,0' '"DISCONNECTED",6,9000,72000,0,0,0' \
  '"APPLICATION STARTED",0,0,0,6,9000,72000'
