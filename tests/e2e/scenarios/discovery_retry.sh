#!/bin/bash
# Retry in each of discovery's boxes: a port that will not open is tried again; an initialization
# error runs the initialization again on the open link; a modem that did not answer is searched
# for and opened again.
source "$(dirname "$0")/../lib.sh"
e2e_start
opened="KIVO: opened port COM9"
busy='Unable to open COM port, mobile data device possibly in use by another application.'

# The port is not there yet: Retry until it is.
kivo /PORT:COM9
await_box "$busy" >/dev/null
probe answer Retry >/dev/null
await_box "$busy" >/dev/null
cat >"$OUT/modem.scenario" <<'END'
on AT+CMGF=0 times 1 reply ERROR
END
e2e_start_modem COM9 --scenario "$OUT/modem.scenario"
probe answer Retry >/dev/null
expect_trace "$opened"

# AT+CMGF refused once: its own box, then the initialization error, then Retry on the same link.
await_box 'AT+CMGF' >/dev/null
probe answer OK >/dev/null
await_box 'An error occured while initalizing the mobile data device.' >/dev/null
probe answer Retry >/dev/null
probe status-text --wait Ready --timeout 15000 >/dev/null
expect_trace_count "$opened" 1
expect_transcript_count 'AT+CMGF=0\r\n' 2

# Detect again with a modem gone silent: not responding; Retry once it answers again.
modem_control 'silence on'
probe click 1074 >/dev/null
await_box 'Mobile data device not responding.' 30 >/dev/null
modem_control 'silence off'
probe answer Retry >/dev/null
probe status-text --wait Ready --timeout 15000 >/dev/null
expect_trace_count "$opened" 3

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
