#!/bin/bash
# Kivoscope leaves the modem with echo on when it closes (ATE1), and the next start finds it so:
# the escape line it sends first then comes back before the answer to AT. Started twice in a row
# against the same modem, each start still gets every answer to its own command and reaches
# "Ready" without a box.
source "$(dirname "$0")/../lib.sh"
e2e_start
e2e_start_modem COM5 --profile huawei
seed_modem_registry huawei COM5

for run in 1 2; do
  kivo
  probe status-text --wait Ready --timeout 20000 >/dev/null
  expect_window '"dialogs":[]'
  expect_control 1012 '"text":"3G"'
  probe close >/dev/null
  expect_eq "run $run: exit code" "$(kivo_exit "$run")" 1
done
expect_transcript_count 'ATE1\r\n' 2
# The second start met the echo of its escape line.
grep -qaF $'KIVO: received data: \x1b' "$TRACE" || fail "no echoed escape line in the trace"
