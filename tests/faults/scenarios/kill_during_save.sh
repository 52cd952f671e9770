#!/bin/bash
# The program is killed (SIGKILL of its Wine process) thirty times at varied moments while it
# saves usage.bin several times a second: the connected modem's every other report has an
# impossible rate, which folds the session into the totals and saves. After each kill usage.bin
# must be a whole record, the old or the new: 120 bytes, every session in it of the modem's pace
# (8 bytes received for each one sent), and totals that never went back.
source "$(dirname "$0")/../../e2e/lib.sh"
source "$(dirname "$0")/../../e2e/lib_data.sh"
source "$(dirname "$0")/../lib_faults.sh"
e2e_start
e2e_start_modem COM5 --profile huawei
modem_set tx_rate=1500 rx_rate=12000 flow_interval=100
modem_control $'connect\nevery 200 spike 300000 0'
seed_usage 10 15000 120000
saving="KIVO: data speed too high, resetting counters"
kills=30

# whole_record: usage.bin is a record the program wrote whole; if not, PROBLEM says why.
whole_record() {
  PROBLEM=""
  local size total_duration total_tx total_rx last_duration last_tx last_rx
  read -r size total_duration total_tx total_rx last_duration last_tx last_rx \
    <<<"$(usage_fields "$(data_file usage.bin)")"
  if ((size != 120)); then
    PROBLEM="$size bytes"
  elif ((total_rx != 8 * total_tx || last_rx != 8 * last_tx)); then
    PROBLEM="sessions of another pace: $total_tx/$total_rx, last $last_tx/$last_rx"
  elif ((total_tx < previous_tx)); then
    PROBLEM="the totals went back from $previous_tx to $total_tx bytes sent"
  else
    previous_tx=$total_tx
  fi
}

previous_tx=15000
survived=yes
intact=yes
for ((kill = 1; kill <= kills; kill++)); do
  saves=$(grep -cxF -- "$saving" "$TRACE" || true)
  kivo_killable /PORT:COM5 /COMMANDSET:HUAWEI
  pid=$(kivo_pid)
  # Once its saves have begun, at a different moment each time.
  await_trace_at_least "$saving" $((saves + 1 + kill % 3)) 30
  sleep "0.$((RANDOM % 200))"
  kill -9 "$pid"
  kivo_exit "$E2E_RUNS" >/dev/null
  whole_record
  if [[ -n $PROBLEM ]]; then
    intact=no
    e2e_log "after kill $kill: $PROBLEM"
  fi
done
e2e_log "after $kills kills usage.bin holds $previous_tx bytes sent in total"

# A run that is not killed still reads the store and saves over it.
kivo /PORT:COM5 /COMMANDSET:HUAWEI
await_trace_at_least "$saving" $(($(grep -cxF -- "$saving" "$TRACE") + 2)) 30
survived=$(alive "$E2E_RUNS")
modem_control disconnect
expect_trace "KIVO: PDP context status is deactivated, assuming connection lost" 10
whole_record
[[ -z $PROBLEM ]] || { intact=no; e2e_log "after the last run: $PROBLEM"; }
record_fault "killed during a save, $kills times" "$survived" "$intact"
probe close >/dev/null
kivo_exit "$E2E_RUNS" >/dev/null
