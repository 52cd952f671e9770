#!/bin/bash
# USSD on a Huawei modem: one input walks a three-step menu ("*111#,1,2"), each pending command
# going out when the network asks for more; a balance handed over as GSM 7-bit hex reads as text;
# a code the network never answers ends 20 s later with AT+CUSD=2 and "Ready"; a code holding a
# double quote is refused before it reaches the modem; the help box opens and closes.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../lib_data.sh"
e2e_start
cat >"$OUT/ussd.scenario" <<'SCENARIO'
ussd *111# 1 1. Balance\n2. Bundles
ussd *111#>1 1 1. Data\n2. Voice
ussd *111#>1>2 0 Voice: 12 min left
ussd gsm7 *100# 0 Your balance is R12.34
ussd *123# none
SCENARIO
e2e_start_modem COM5 --profile huawei --scenario "$OUT/ussd.scenario"

kivo /PORT:COM5 /COMMANDSET:HUAWEI
probe status-text --wait Ready >/dev/null

probe type 1032 '*111#,1,2' >/dev/null
probe click 1030 >/dev/null
expect_texts 10 '1031=Voice: 12 min left'
for command in '*111#' 1 2; do expect_modem_received "AT+CUSD=1,\"$command\",15\\r\\n"; done
probe status-text --wait Ready >/dev/null
expect_control 1033 '"enabled":false'
expect_control 1032 '"text":""'

probe type 1032 '*100#' >/dev/null
probe click 1030 >/dev/null
expect_texts 10 '1031=Your balance is R12.34'

# No answer: the session ends by itself after 20 s.
probe type 1032 '*123#' >/dev/null
probe click 1030 >/dev/null
probe status-text --wait 'USSD session active' >/dev/null
started=$SECONDS
expect_control 1033 '"enabled":true'
probe status-text --wait Ready --timeout 30000 >/dev/null
((SECONDS - started >= 18)) || fail "the session ended after $((SECONDS - started)) s, not 20 s"
expect_transcript_count 'AT+CUSD=2\r\n' 1
expect_control 1033 '"enabled":false'

probe type 1032 '*1"#' >/dev/null
probe click 1030 >/dev/null
await_box 'The USSD code may not contain double quotes or control characters.' >/dev/null
probe answer OK >/dev/null
expect_transcript_count 'AT+CUSD=1,"*1"#",15\r\n' 0
expect_control 1032 '"text":"*1\"#"'

probe click 1070 >/dev/null
expect_eq "help caption" "$(await_box 'Vodacom:' | grep -o '"caption":"[^"]*"')" '"caption":"USSD Help"'
probe answer OK >/dev/null

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
