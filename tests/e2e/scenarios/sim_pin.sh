#!/bin/bash
# A SIM that wants its PIN is unlocked through the PIN dialog: the attempts the modem reports are
# shown, a wrong PIN is told and asked again, the last try before the SIM locks comes with the
# warning, and the right PIN brings the modem to "Ready". The PIN is in no trace line.
source "$(dirname "$0")/../lib.sh"
e2e_start
cat >"$OUT/sim.scenario" <<'END'
set sim pin
set pin 2468
set pin_attempts 2
END
e2e_start_modem COM5 --profile huawei --scenario "$OUT/sim.scenario"
seed_modem_registry huawei COM5

# enter_pin PIN ATTEMPTS: the dialog shows ATTEMPTS; PIN is typed and confirmed with Enter.
enter_pin() {
  local pin=$1 attempts=$2 json
  probe wait-window --dialog 'SIM PIN' --timeout 20000 >/dev/null
  json=$(probe read --dialog 'SIM PIN')
  expect_eq "attempts shown" "$(dialog_text "$json" 1027)" "$attempts"
  probe type 1007 "${pin:0:3}" --dialog 'SIM PIN' >/dev/null
  expect_eq "OK with three digits" \
    "$(grep -oE '\{"id":1004,[^{}]*\}' <<<"$(probe read 1004 --dialog 'SIM PIN')" |
      grep -oE '"enabled":(true|false)')" '"enabled":false'
  probe type 1007 "$pin" --dialog 'SIM PIN' >/dev/null
  probe key enter --dialog 'SIM PIN' >/dev/null
}

kivo
enter_pin 1357 2
await_box 'Warning: Incorrect PIN entered.' >/dev/null
probe answer OK >/dev/null
enter_pin 2468 1
await_box 'Warning: An incorrect PIN will lock your SIM card.' >/dev/null
probe answer OK >/dev/null
probe status-text --wait Ready --timeout 15000 >/dev/null

expect_modem_received 'AT^CPIN=1357\r\n'
expect_modem_received 'AT^CPIN=2468\r\n'
expect_trace_count $'KIVO: sent data: AT^CPIN=********\r' 2
for pin in 1357 2468; do
  if grep -q "$pin" "$TRACE"; then fail "the PIN $pin is in the trace: $(grep "$pin" "$TRACE")"; fi
done
probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
