#!/bin/bash
# SMS from both dialogs: the fixed-recipient dialog sends "Hello" in the GSM 7-bit alphabet to
# +12025550100, the any-number dialog sends UCS2 to the number typed and refuses one that is no
# number. The exact PDUs reach the modem after its prompt; its answers show as the program's
# notices, and so does a new message.
source "$(dirname "$0")/../lib.sh"
e2e_start
e2e_start_modem COM5 --profile huawei

FIXED='Send SMS'
ANY='Send SMS to any number'

kivo /PORT:COM5 /COMMANDSET:HUAWEI
probe status-text --wait Ready >/dev/null

probe click 1025 >/dev/null
probe wait-window --dialog "$FIXED" >/dev/null
json=$(probe read --dialog "$FIXED")
expect_eq "recipient" "$(dialog_text "$json" 1043)" +12025550100
expect_eq "full count" "$(dialog_text "$json" 1035)" 160
[[ $(grep -oE '\{"id":1040,[^{}]*\}' <<<"$json") == *'"enabled":false'* ]] ||
  fail "Send is enabled before any text"
probe type 1037 'Hello [1]' --dialog "$FIXED" >/dev/null
# The brackets come from the extension table: two septets each.
expect_eq "count" "$(dialog_text "$(probe read --dialog "$FIXED")" 1035)" 149
probe type 1037 'Hello' --dialog "$FIXED" >/dev/null
probe click 1040 --dialog "$FIXED" >/dev/null
expect_modem_received 'AT+CMGS=19\r\n'
expect_modem_received '0011000B912120550501F00000FF05C8329BFD06\x1a'
await_box 'SMS message sent successfully.' >/dev/null
probe answer OK >/dev/null

# The any-number dialog opens over the first one.
probe click 1041 --dialog "$FIXED" >/dev/null
probe wait-window --dialog "$ANY" >/dev/null
expect_eq "full count" "$(dialog_text "$(probe read --dialog "$ANY")" 1035)" 70
probe type 1042 '+1234a' --dialog "$ANY" >/dev/null
probe type 1037 'Hi' --dialog "$ANY" >/dev/null
expect_eq "count" "$(dialog_text "$(probe read --dialog "$ANY")" 1035)" 68
probe click 1040 --dialog "$ANY" >/dev/null
await_box "The number may hold only digits, after an optional '+'." >/dev/null
probe answer OK >/dev/null
expect_transcript_count 'AT+CMGS=15\r\n' 0

probe type 1042 '+12345' --dialog "$ANY" >/dev/null
probe click 1040 --dialog "$ANY" >/dev/null
expect_modem_received 'AT+CMGS=15\r\n'
expect_modem_received '00110005912143F50018FF0400480069\x1a'
await_box 'SMS message sent successfully.' >/dev/null
probe answer OK >/dev/null

# The network refuses the next one.
modem_control 'set sms_error 500'
probe click 1040 --dialog "$ANY" >/dev/null
await_box 'SMS message sending failed.' >/dev/null
probe answer OK >/dev/null
expect_transcript_count 'AT+CMGS=15\r\n' 2

modem_control 'send +CMTI: "SM",3'
await_box 'SMS message received.' >/dev/null
probe answer OK >/dev/null

probe click 1004 --dialog "$ANY" >/dev/null
probe click 1004 --dialog "$FIXED" >/dev/null
# The worker has ended and been joined: the button opens the dialog again.
for ((i = 0; i < 5; i++)); do
  probe click 1025 >/dev/null
  wine "$UIPROBE_EXE" wait-window --dialog "$FIXED" --timeout 1000 </dev/null >/dev/null \
    2>>"$OUT/uiprobe.log" && break
done
probe close --dialog "$FIXED" >/dev/null
probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
