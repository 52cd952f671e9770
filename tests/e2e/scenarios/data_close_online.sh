#!/bin/bash
# Closing the window while online asks whether to disconnect and save the counters. Cancel keeps
# the window and the connection; Yes hangs up, folds the session into the totals and closes.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../lib_data.sh"
e2e_start
e2e_start_modem COM5 --profile huawei
modem_set tx_rate=1500 rx_rate=12000
# Reports at 2 and 4 s, then none while the context stays up.
install_dialer 'connect' 'after 5000 set flow_interval 0'
question='You are currently online.  Proceding will exit KIVO.\nDo you wish to disconnect and save the data counters?'

kivo /PORT:COM5 /COMMANDSET:HUAWEI /SESSIONLOG
probe status-text --wait Ready >/dev/null
expect_eq "connect" "$(probe click 1052)" '{"clicked":1052,"done":true}'
expect_texts 8 1052=Disconnect 1048=00:00:04 1040=5.859KB 1039=46.87KB 1038=52.73KB

probe close >/dev/null
expect_eq "question" "$(probe message-box)" \
  "{\"caption\":\"KIVO\",\"text\":\"$question\",\"buttons\":[\"Yes\",\"No\",\"Cancel\"]}"
expect_eq "cancel" "$(probe answer Cancel)" '{"pressed":"Cancel"}'
expect_window '"dialogs":[]'
expect_texts 0 1052=Disconnect 1048=00:00:04 1049=00:00:00
expect_transcript_count 'ATH\r\n' 0

probe close >/dev/null
probe message-box >/dev/null
expect_eq "yes" "$(probe answer Yes)" '{"pressed":"Yes"}'
expect_eq "exit code" "$(kivo_exit 1)" 1
expect_transcript_count 'AT+CGACT=0,1\r\n' 1
expect_transcript_count 'ATH\r\n' 1
expect_usage last_duration=4 last_tx=6000 last_rx=48000 total_duration=4 total_tx=6000 \
  total_rx=48000
expect_session_log '"APPLICATION STARTED",0,0,0,0,0,0' '"CONNECTION ATTEMPTED",0,0,0,0,0,0' \
  '"CONNECTION DETECTED",0,0,0,0,0,0' '"DISCONNECT & EXIT",4,6000,48000,0,0,0'
