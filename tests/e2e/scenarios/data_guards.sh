#!/bin/bash
# Reports the program does not believe. A connection made without the dialer is seen all the
# same; its counters are left over from before, so its first report (2 s and 203,000 bytes sent)
# is refused and the modem told to clear them, and the next one is shown. Later one report
# carries an upload rate of 300,000 bytes a second: it is refused, the session is folded into
# the totals and the counters are cleared again. Closing with No leaves the totals alone.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../lib_data.sh"
e2e_start
e2e_start_modem COM5 --profile huawei
modem_set tx_rate=1500 rx_rate=12000

kivo /PORT:COM5 /COMMANDSET:HUAWEI /SESSIONLOG
probe status-text --wait Ready >/dev/null
# Reports at 2 s (refused), 4 s (shown as 2 s), 6 s (the spike) and 8 s (2 s again), then none
# while the context stays up.
modem_control $'connect\nset tx_bytes 200000\nafter 5000 spike 300000 0\n'\
'after 9000 set flow_interval 0'
expect_trace "KIVO: data counter values too high, resetting totals" 5
expect_modem_received 'AT^DSFLOWCLR\r\n'
expect_texts 5 1052=Disconnect 1048=00:00:02 1040=2.929KB 1039=23.43KB 1058=12.000

expect_trace "KIVO: data speed too high, resetting counters" 5
expect_texts 1 1049=00:00:02 1043=2.929KB 1042=23.43KB 1041=26.36KB \
  1047=00:00:02 1037=2.929KB 1036=23.43KB 1013=26.36KB
expect_usage total_duration=2 total_tx=3000 total_rx=24000
# The spike was never shown, and the cleared counters start again.
expect_texts 4 1048=00:00:02 1040=2.929KB 1061=12.000 1058=12.000 1052=Disconnect
expect_transcript_count 'AT^DSFLOWCLR\r\n' 2

probe close >/dev/null
probe message-box >/dev/null
expect_eq "no" "$(probe answer No)" '{"pressed":"No"}'
expect_eq "exit code" "$(kivo_exit 1)" 1
expect_transcript_count 'ATH\r\n' 0
expect_usage total_duration=2 total_tx=3000 total_rx=24000
expect_session_log '"APPLICATION STARTED",0,0,0,0,0,0' '"CONNECTION DETECTED",0,0,0,0,0,0' \
  '"RESET TOTALS (UNEXPECTED VALUES)",0,0,0,0,0,0' '"RESET SESSION COUNTERS",2,3000,24000,0,0,0'
