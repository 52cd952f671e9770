#!/bin/bash
# Faults on the serial line of a ready Huawei modem: half an answer and then silence, a modem
# that says nothing for a while, a megabyte of binary noise, answers that come one byte per read,
# ERROR to every command, storms of ^BOOT and +CMS ERROR reports, and a modem that stops
# answering while online. After each, the program must still run, see the modem's next session
# and fold it, and usage.bin must hold the exact totals of every session so far.
source "$(dirname "$0")/../../e2e/lib.sh"
source "$(dirname "$0")/../../e2e/lib_data.sh"
source "$(dirname "$0")/../lib_faults.sh"
e2e_start
e2e_start_modem COM5 --profile huawei
seed_usage 3600 5000000 40000000

kivo /PORT:COM5 /COMMANDSET:HUAWEI
probe status-text --wait Ready >/dev/null
fault_row "clean session (baseline)" 1

# The registration poll gets the start of its answer, then nothing for 4 s; the modem then answers
# everything again.
modem_control 'on AT+CGREG\? times 1 split 8 gap 4000'
sleep 6
fault_row "silence in the middle of a command" 1

modem_control $'silence on\nafter 5000 silence off'
sleep 6
fault_row "modem silent for 5 s" 1

# 1 MB of random bytes, NUL, CR and LF among them, in 1 KB bursts.
modem_control 'garbage 1048576'
sleep 8
fault_row "1 MB of binary noise" 1

# Every answer one byte per read (the watchdog's AT+CGACT? answers too); reports stay whole.
modem_control 'trickle on'
sleep 2
fault_row "answers split at every byte boundary" 1
modem_control 'trickle off'

modem_control 'on * times 40 reply ERROR'
sleep 3
fault_row "ERROR to every command" 1

send_storm 200 10 '^BOOT:24117505,0,0,0,0'
sleep 4
fault_row "^BOOT storm (200 in 2 s)" 1

send_storm 200 10 '+CMS ERROR: 500'
sleep 4
fault_row "+CMS ERROR storm (200 in 2 s)" 1

# Online, the modem goes silent after its first report: the watchdog gives up after five
# unanswered checks and folds the session; the modem then answers again.
modem_control $'connect\nafter 2500 silence on'
expect_more "$SESSION_DURATION" "$SESSION_TX" "$SESSION_RX"
await_trace_count "KIVO: no response received to PDP context status query" 5 30
modem_control $'disconnect\nsilence off'
sleep 1
fault_row "modem stops answering while online" 1

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
record_fault "closed after the faults" yes "$(totals_intact 2)"
