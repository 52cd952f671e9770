#!/bin/bash
# Closing says goodbye to the modem ("ATE1") only when the device was ready: with /PORT: on a
# working port, not while discovery is still looking for the modem.
source "$(dirname "$0")/../lib.sh"
e2e_start
e2e_start_modem COM5

kivo
expect_eq "status bar" "$(probe status-text --wait 'Detecting mobile data device...')" \
  '{"text":"Detecting mobile data device..."}'
probe close >/dev/null
expect_eq "exit code without /PORT:" "$(kivo_exit 1)" 1
expect_transcript_count 'ATE1\r\n' 0

kivo /PORT:COM5
expect_eq "status bar" "$(probe status-text --wait Ready)" '{"text":"Ready"}'
probe close >/dev/null
expect_eq "exit code with /PORT:" "$(kivo_exit 2)" 1
expect_transcript_count 'ATE1\r\n' 1
expect_trace_count "KIVO: application terminated" 2
