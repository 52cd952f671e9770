#!/bin/bash
# A modem left in flight mode (AT+CFUN? answers 4) is told to restart with AT+CFUN=6. It leaves
# the bus and comes back on a new device, as a USB modem does; Kivoscope waits 15 s, finds it in
# the registry again and initializes it to "Ready".
source "$(dirname "$0")/../lib.sh"
e2e_start
cat >"$OUT/modem.scenario" <<'END'
set cfun 4
END
e2e_start_modem COM5 --profile huawei --scenario "$OUT/modem.scenario"
seed_modem_registry huawei COM5
opened="KIVO: opened port COM5"

kivo
probe status-text --wait 'Resetting mobile data device...' --timeout 20000 >/dev/null
reset_at=$SECONDS
expect_transcript_count 'AT+CFUN=6\r\n' 1
expect_transcript_count 'AT+CFUN=1\r\n' 0
probe status-text --wait Ready --timeout 30000 >/dev/null
((SECONDS - reset_at >= 14)) || fail "searched again after $((SECONDS - reset_at)) s"
expect_trace_count "$opened" 2
expect_transcript_count 'AT+CFUN=6\r\n' 1

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
