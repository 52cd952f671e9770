#!/bin/bash
# A modem pulled out while the port is open ends the receive thread; the window still closes.
source "$(dirname "$0")/../lib.sh"
e2e_start
e2e_start_modem COM5

kivo /PORT:COM5
expect_eq "status bar" "$(probe status-text --wait Ready)" '{"text":"Ready"}'
expect_trace_count "KIVO: port read failed, receive thread ending (modem unplugged?)" 0
modem_control "unplug"
expect_trace "KIVO: port read failed, receive thread ending (modem unplugged?)"

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
expect_trace "KIVO: application terminated"
