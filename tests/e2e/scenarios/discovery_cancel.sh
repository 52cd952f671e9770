#!/bin/bash
# Cancel in each of discovery's boxes ends the program through its usual close.
source "$(dirname "$0")/../lib.sh"
e2e_start

# cancel_box FRAGMENT: Cancel in the box that holds FRAGMENT ends the last run cleanly.
cancel_box() {
  await_box "$1" 30 >/dev/null
  probe answer Cancel >/dev/null
  expect_eq "exit code after Cancel" "$(kivo_exit "$E2E_RUNS")" 1
  expect_trace_count "KIVO: application terminated" "$E2E_RUNS"
}

kivo /PORT:COM9
cancel_box 'Unable to open COM port, mobile data device possibly in use by another application.'

cat >"$OUT/modem.scenario" <<'END'
on AT+CMGF=0 reply ERROR
END
e2e_start_modem COM5 --scenario "$OUT/modem.scenario"
kivo /PORT:COM5
await_box 'AT+CMGF' >/dev/null
probe answer OK >/dev/null
cancel_box 'An error occured while initalizing the mobile data device.'
e2e_stop_modem

cat >"$OUT/modem.scenario" <<'END'
silence on
END
e2e_start_modem COM5 --scenario "$OUT/modem.scenario"
kivo /PORT:COM5
cancel_box 'Mobile data device not responding.'
