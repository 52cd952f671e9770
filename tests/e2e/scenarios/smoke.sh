#!/bin/bash
# The program opens the port given on the command line, shows "Ready", receives what the
# modem sends, and closes cleanly.
source "$(dirname "$0")/../lib.sh"
e2e_start
e2e_start_modem COM5

kivo /PORT:COM5
expect_trace "KIVO: application started"
expect_trace "KIVO: opened port COM5"
expect_eq "status bar" "$(probe status-text --wait Ready)" '{"text":"Ready"}'
modem_control 'send ^RSSI:17'
expect_trace_match '^\^RSSI:17'

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
expect_trace "KIVO: application terminated"
