#!/bin/bash
# A connected Huawei modem floods the port with ^DSFLOWRPT, 500 lines a second for 60 s, each
# moving the counters on by 2 ms of traffic. The window keeps answering throughout; at the end it
# shows the last report's counters, and the session folds into exact totals. The window's answer
# times and the program's private memory are logged as measurements (bench/ holds the goals).
source "$(dirname "$0")/../../e2e/lib.sh"
source "$(dirname "$0")/../../e2e/lib_data.sh"
source "$(dirname "$0")/../lib_faults.sh"
e2e_start
e2e_start_modem COM5 --profile huawei
modem_set tx_rate=1500 rx_rate=12000 flow_interval=0
seed_usage 60 1000 2000

kivo_killable /PORT:COM5 /COMMANDSET:HUAWEI
probe status-text --wait Ready >/dev/null
pid=$(kivo_pid)
memory_before=$(private_kb "$pid")

modem_control $'connect\nflood 500 60'
expect_trace "$ONLINE_TRACE" 5
# The window's own answer times through the flood, from one probe process that stays up.
wine "$UIPROBE_EXE" ping --timeout 60000 </dev/null >"$OUT/ping.json" 2>>"$OUT/uiprobe.log" &
ping_pid=$!
start=$SECONDS
slowest=0
answered=yes
last_seconds=0
while ((SECONDS - start < 62)); do
  begin=${EPOCHREALTIME/./}
  # Once more before it counts: a Wine process can fail to start on a loaded machine.
  if ! json=$(wine "$UIPROBE_EXE" read 1048 </dev/null 2>>"$OUT/uiprobe.log") &&
    ! json=$(wine "$UIPROBE_EXE" read 1048 </dev/null 2>>"$OUT/uiprobe.log"); then
    answered=no
    e2e_log "the window did not answer: $json"
    continue
  fi
  ms=$(((${EPOCHREALTIME/./} - begin) / 1000))
  ((ms > slowest)) && slowest=$ms
  # The session's duration never goes back: no report is taken out of order.
  shown=$(dialog_text "$json" 1048)
  [[ $shown =~ ^[0-9]{2}:[0-9]{2}:[0-9]{2}$ ]] || { answered=no; e2e_log "read: $json"; continue; }
  seconds=$((10#${shown:0:2} * 3600 + 10#${shown:3:2} * 60 + 10#${shown:6:2}))
  ((seconds >= last_seconds)) || { answered=no; e2e_log "duration went back to $shown"; }
  last_seconds=$seconds
  sleep 1
done
memory_after=$(private_kb "$pid")
wait "$ping_pid" || answered=no
e2e_log "measured: the window's answers through the flood $(cat "$OUT/ping.json")"
e2e_log "measured: slowest probe round trip $slowest ms (uiprobe under Wine included);" \
  "private memory $memory_before KB before, $memory_after KB after the flood"

# The last of the 30,000 reports: 60 s, 90,000 bytes sent, 720,000 received.
expect_texts 10 1048=00:01:00 1040=87.89KB 1039=703.1KB
survived=$answered
[[ $(alive 1) == yes ]] || survived=no
modem_control disconnect
expect_more 60 90000 720000
record_fault "^DSFLOWRPT flood, 500 lines/s for 60 s" "$survived" "$(totals_intact 15)"

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
