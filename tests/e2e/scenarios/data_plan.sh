#!/bin/bash
# A 1 MB plan set through the "Data plan" dialog: the usage group shows the period's bytes, the
# days left and a bar that turns amber at the warning level and red when the allowance is used
# up; each warning box shows once, while the counting goes on behind it, and not again after a
# restart; usage-history.csv holds today's bytes.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../lib_data.sh"
e2e_start
e2e_start_modem COM5 --profile huawei
# No traffic of its own: the test sets the counters.
modem_set tx_rate=0 rx_rate=0
install_dialer 'connect'

# Days from today to the next 1st, as the program counts them from its local date.
today=$(date +%F)
next_first=$(date -d "$(date +%Y-%m-01) +1 month" +%s)
days=$(((next_first - $(date -d "$today" +%s) + 43200) / 86400))
if ((days == 1)); then days_left="1 day left"; else days_left="$days days left"; fi
level_box="You have used 80% of your monthly data allowance of 1024KB."
used_up_box="You have used all of your monthly data allowance of 1024KB."

# no_box: no box of the program opens within two seconds.
no_box() {
  local json
  json=$(wine "$UIPROBE_EXE" message-box --timeout 2000 </dev/null 2>>"$OUT/uiprobe.log" || true)
  [[ $json != *'"caption"'* ]] || fail "unexpected box: $json"
}

kivo /PORT:COM5 /COMMANDSET:HUAWEI
probe status-text --wait Ready >/dev/null
expect_texts 0 '1094=' '1095='
expect_control 1096 '"position":0' '"range":[0,100]'

# The dialog: OK only while every field holds a number in range.
probe click 1090 >/dev/null
probe wait-window --dialog "Data plan" >/dev/null
json=$(probe read --dialog "Data plan")
expect_eq "allowance at first" "$(dialog_text "$json" 1091)" 0
expect_eq "billing day at first" "$(dialog_text "$json" 1092)" 1
expect_eq "warning level at first" "$(dialog_text "$json" 1093)" 80
ok_button() { grep -oE '\{"id":1,[^{}]*\}' <<<"$(probe read --dialog "Data plan")"; }
[[ $(ok_button) == *'"enabled":true'* ]] || fail "OK disabled at first: $(ok_button)"
probe type 1093 0 --dialog "Data plan" >/dev/null
[[ $(ok_button) == *'"enabled":false'* ]] || fail "OK enabled with a warning level of 0"
probe type 1093 80 --dialog "Data plan" >/dev/null
probe type 1091 1 --dialog "Data plan" >/dev/null
probe click 1 --dialog "Data plan" >/dev/null
expect_texts 5 '1094=0 bytes of 1024KB (0%)' "1095=$days_left"
expect_eq "plan.ini" "$(cat "$(data_file plan.ini)")" \
  "$(printf 'allowance_mb=1\r\nbilling_day=1\r\nwarn_percent=80\r')"

expect_eq "connect" "$(probe click 1052)" '{"clicked":1052,"done":true}'
expect_texts 5 1052=Disconnect

# 80 % exactly: the level's box, and the counting goes on while it is open.
modem_control 'set rx_bytes 838861'
await_box "$level_box" >/dev/null
expect_texts 0 '1094=819.2KB of 1024KB (80%)'
expect_control 1096 '"position":80' '"bar_colour":"#ffcc00"'
before=$(control_text 1048)
sleep 3
[[ $(control_text 1048) != "$before" ]] || fail "the session stopped at $before behind the box"
probe answer OK >/dev/null
no_box

# 100 %: the last box, once.
modem_control 'set rx_bytes 1048576'
await_box "$used_up_box" >/dev/null
expect_texts 0 '1094=1024KB of 1024KB (100%)'
expect_control 1096 '"position":100' '"bar_colour":"#ff0000"'
probe answer OK >/dev/null
no_box

# Disconnect folds the session: the history holds its bytes on today's row.
expect_eq "disconnect" "$(probe click 1052)" '{"clicked":1052,"done":true}'
expect_texts 10 1052=Connect '1094=1024KB of 1024KB (100%)'
expect_eq "usage-history.csv" "$(cat "$(data_file usage-history.csv)")" \
  "$(printf 'date,sent,received\r\n%s,0,1048576\r' "$today")"
dialer_close
probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1

# The period remembers its warnings.
kivo /PORT:COM5 /COMMANDSET:HUAWEI
probe status-text --wait Ready >/dev/null
expect_texts 0 '1094=1024KB of 1024KB (100%)' "1095=$days_left"
expect_control 1096 '"position":100' '"bar_colour":"#ff0000"'
no_box
probe close >/dev/null
expect_eq "exit code after the restart" "$(kivo_exit 2)" 1
