#!/bin/bash
# Detect (1074) closes the link and opens it again; reset (1073) first restarts the modem
# (AT+CFUN=4, AT+CFUN=6), waits 15 s for it to come back while the window keeps answering, and
# then opens the link again. Neither says goodbye to the modem.
source "$(dirname "$0")/../lib.sh"
e2e_start
e2e_start_modem COM5
opened="KIVO: opened port COM5"

kivo /PORT:COM5
probe status-text --wait Ready >/dev/null
expect_trace_count "$opened" 1

expect_eq "detect" "$(probe click 1074)" '{"clicked":1074,"done":true}'
expect_trace "$opened"
probe status-text --wait Ready >/dev/null
expect_trace_count "$opened" 2

expect_eq "reset" "$(probe click 1073)" '{"clicked":1073,"done":true}'
reset_at=$SECONDS
expect_transcript_count 'AT+CFUN=4\r\n' 1
expect_transcript_count 'AT+CFUN=6\r\n' 1
# The window answers while the modem restarts.
for _ in 1 2 3; do
  expect_window '"status":"Resetting mobile data device..."'
  sleep 2
done
expect_trace_count "$opened" 2
probe status-text --wait Ready --timeout 25000 >/dev/null
((SECONDS - reset_at >= 14)) || fail "the link opened again after $((SECONDS - reset_at)) s"
expect_trace_count "$opened" 3
expect_transcript_count 'ATE1\r\n' 0

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
expect_transcript_count 'ATE1\r\n' 1
