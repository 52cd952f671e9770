#!/bin/bash
# The modem, found by discovery, is pulled out in the middle of a command and, later, while
# online; each time it is plugged in again on the same port and Detect finds it again. The
# session that was up when it went is folded into the totals, and so is the next one.
source "$(dirname "$0")/../../e2e/lib.sh"
source "$(dirname "$0")/../../e2e/lib_data.sh"
source "$(dirname "$0")/../lib_faults.sh"
e2e_start
e2e_start_modem COM5 --profile huawei
seed_modem_registry huawei COM5
seed_usage 7200 1000000 9000000

# await_unplugged: waits until the simulator has left, as a pulled-out modem does.
await_unplugged() {
  local i
  for ((i = 0; i < 600; i++)); do
    if ! kill -0 "$E2E_MODEM_PID" 2>/dev/null; then
      clear_active_ports
      e2e_stop_modem
      e2e_log "the modem is unplugged"
      return
    fi
    sleep 0.05
  done
  fail "the modem was not unplugged"
}

# plug_in_again: the modem comes back on its port, and Detect finds it.
plug_in_again() {
  e2e_start_modem COM5 --profile huawei
  seed_modem_registry huawei COM5
  probe click 1074 >/dev/null
  probe status-text --wait Ready --timeout 30000 >/dev/null
}

kivo /COMMANDSET:HUAWEI
probe status-text --wait Ready --timeout 20000 >/dev/null
fault_row "found by discovery (baseline)" 1

modem_control 'on AT+CGREG\? times 1 unplug'
await_unplugged
sleep 2
plug_in_again
fault_row "unplugged in the middle of a command, plugged in again" 1

modem_control $'connect\nafter 2500 unplug'
expect_more "$SESSION_DURATION" "$SESSION_TX" "$SESSION_RX"
await_unplugged
await_trace_count "$FOLD_TRACE" 3 40
plug_in_again
fault_row "unplugged while online, plugged in again" 1

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
record_fault "closed after the replugs" yes "$(totals_intact 2)"
