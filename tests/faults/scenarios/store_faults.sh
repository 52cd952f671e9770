#!/bin/bash
# Saves that cannot be made: a data folder and usage.bin made read-only, and a disk that is full
# under usage.tmp and usage.bin. Each save shows the warning box and leaves usage.bin as it was,
# with no usage.tmp; once the folder is writable or the disk has room again, the next save holds
# every session, the one that could not be saved too. Then usage.bin damaged to a few lengths
# before a start (every length from 0 to 240 is the win32 adapter test's): a record cut short
# starts from zero, one with bytes behind it is read; either way the next save is whole.
source "$(dirname "$0")/../../e2e/lib.sh"
source "$(dirname "$0")/../../e2e/lib_data.sh"
source "$(dirname "$0")/../lib_faults.sh"
faults_start
e2e_start_modem COM5 --profile huawei
seed_usage 100 20000 160000
save_failed='An error occured while saving the data counters.'

# unsaved_session NAME: a session whose save fails; usage.bin stays as it was.
unsaved_session() {
  local before survived=yes intact=yes
  before=$(usage_fields "$(data_file usage.bin)")
  modem_control "$SESSION_LINES"
  expect_more "$SESSION_DURATION" "$SESSION_TX" "$SESSION_RX"
  await_box "$save_failed" 20 >/dev/null || survived=no
  probe answer OK >/dev/null
  [[ $(usage_fields "$(data_file usage.bin)") == "$before" ]] || { intact=no; e2e_log "usage.bin changed"; }
  [[ ! -e $(data_file usage.tmp) ]] || { intact=no; e2e_log "usage.tmp left behind"; }
  [[ $(alive 1) == yes ]] || survived=no
  e2e_log "$1: the failed save kept usage.bin (survived=$survived intact=$intact)"
  UNSAVED_OK="$survived $intact"
}

kivo_killable /PORT:COM5 /COMMANDSET:HUAWEI
probe status-text --wait Ready >/dev/null

read_only on
unsaved_session "read-only data folder"
read_only off
read -r survived intact <<<"$UNSAVED_OK"
[[ $survived == yes ]] && session_folded && survived=$FOLDED
[[ $intact == yes ]] && intact=$(totals_intact)
record_fault "read-only data folder during a save" "$survived" "$intact"

disk_full on
unsaved_session "full disk"
disk_full off
read -r survived intact <<<"$UNSAVED_OK"
[[ $survived == yes ]] && session_folded && survived=$FOLDED
[[ $intact == yes ]] && intact=$(totals_intact)
record_fault "full disk during a save" "$survived" "$intact"

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1

# damaged_start LENGTH: usage.bin of LENGTH bytes at start; a run folds one session.
damaged_start() {
  local length=$1 survived intact run
  seed_usage 500 70000 560000
  cat "$(data_file usage.bin)" "$OUT/noise" >"$OUT/damaged"
  head -c "$length" "$OUT/damaged" >"$(data_file usage.bin)"
  ((length < 120)) && EXPECT_DURATION=0 EXPECT_TX=0 EXPECT_RX=0
  kivo /PORT:COM5 /COMMANDSET:HUAWEI
  run=$E2E_RUNS
  probe status-text --wait Ready >/dev/null
  survived=$(alive "$run")
  [[ $survived == yes ]] && session_folded && survived=$FOLDED
  intact=$(totals_intact)
  probe close >/dev/null
  expect_eq "exit code" "$(kivo_exit "$run")" 1
  record_fault "usage.bin damaged to $length bytes at start" "$survived" "$intact"
}
head -c 200 /dev/urandom >"$OUT/noise"
damaged_start 0
damaged_start 57
damaged_start 119
damaged_start 121
damaged_start 240

# Every length from 0 to 240, through the Win32 file system under the program's store.
if wine "$KIVO_WIN32_BUILD/tests/e2e/kivo_win32_adapter_tests.exe" \
  --gtest_filter='DamagedUsageStore*' </dev/null >"$OUT/damaged-lengths.log" 2>&1; then
  record_fault "usage.bin damaged to every length 0..240 (store under Wine)" yes yes
else
  tail -n 20 "$OUT/damaged-lengths.log"
  record_fault "usage.bin damaged to every length 0..240 (store under Wine)" yes no
fi
