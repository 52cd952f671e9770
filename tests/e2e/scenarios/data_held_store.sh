#!/bin/bash
# A usage.bin held with no sharing at start, as a backup or a virus scan holds it, is not taken
# for a missing one: after a few tries the program says once that it could not be read, and no
# save in that run writes over it, not even once the file is free again.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../lib_data.sh"
e2e_start
e2e_start_modem COM5
usage=$(data_file usage.bin)
mkdir -p "$(dirname "$usage")"
# Totals of 6 s, 9000 bytes sent and 72000 received; the other fields zero.
{
  head -c 40 /dev/zero
  printf '\x06\0\0\0\0\0\0\0\x28\x23\0\0\0\0\0\0\x40\x19\x01\0\0\0\0\0'
  head -c 56 /dev/zero
} >"$usage"
cp "$usage" "$OUT/usage.original"
box='The stored data counters in C:\\ProgramData\\KIVO\\usage.bin could not be read. They will not be overwritten while Kivoscope runs.'

hold_file "$usage"
kivo /PORT:COM5 /SESSIONLOG
expect_eq "box" "$(probe message-box)" \
  "{\"caption\":\"KIVO\",\"text\":\"$box\",\"buttons\":[\"OK\"]}"
expect_trace 'KIVO: C:\ProgramData\KIVO\usage.bin could not be read, it will not be saved over'
expect_eq "ok" "$(probe answer OK)" '{"pressed":"OK"}'
probe status-text --wait Ready >/dev/null
expect_texts 0 1049=00:00:00 '1043=0 bytes'
release_file

# Resetting the totals saves them, but not over the store that could not be read.
# The click waits on the question box it opens.
expect_eq "reset totals" "$(probe click 1045)" '{"clicked":1045,"done":false}'
expect_eq "question" "$(probe message-box)" \
  '{"caption":"KIVO","text":"Are you sure you want to reset the totals?","buttons":["Yes","No"]}'
expect_eq "yes" "$(probe answer Yes)" '{"pressed":"Yes"}'
expect_window '"dialogs":[]'
probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
cmp -s "$usage" "$OUT/usage.original" || fail "usage.bin changed: $(od -An -tx1 "$usage")"
e2e_log "ok: usage.bin holds its original bytes"
[[ ! -e $(data_file usage.tmp) ]] || fail "usage.tmp was left behind"

# The next run reads the store as it was.
kivo /PORT:COM5 /SESSIONLOG
probe status-text --wait Ready >/dev/null
expect_texts 0 1049=00:00:06 1043=8.789KB 1042=70.31KB
expect_window '"dialogs":[]'
probe close >/dev/null
expect_eq "exit code after the restart" "$(kivo_exit 2)" 1
expect_session_log '"APPLICATION STARTED",0,0,0,0,0,0' '"RESET TOTALS",0,0,0,0,0,0' \
  '"APPLICATION STARTED",0,0,0,6,9000,72000'
