#!/bin/bash
# A second copy restores the first one's minimized window and exits with 0 at once.
source "$(dirname "$0")/../lib.sh"
e2e_start

kivo
probe wait-window >/dev/null
probe minimize | grep -q '"minimized":true' || fail "the first window did not minimize"

kivo
expect_eq "second copy's exit code" "$(kivo_exit 2)" 0
state=$(probe window)
[[ $state == *'"visible":true,"minimized":false'* ]] || fail "first window not restored: $state"
expect_trace_count "KIVO: application started" 2
expect_trace_count "KIVO: application terminated" 0

probe close >/dev/null
expect_eq "first copy's exit code" "$(kivo_exit 1)" 1
expect_trace "KIVO: application terminated"
