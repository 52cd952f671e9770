#!/bin/bash
# Without a dialer to start, Connect says so; once the box is closed it can be tried again.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../lib_data.sh"
e2e_start
e2e_start_modem COM5

kivo /PORT:COM5 /SESSIONLOG
probe status-text --wait Ready >/dev/null
for attempt in 1 2; do
  expect_eq "connect $attempt" "$(probe click 1052)" '{"clicked":1052,"done":true}'
  expect_eq "box $attempt" "$(probe message-box)" \
    '{"caption":"KIVO","text":"Unable to execute rasphone.exe.","buttons":["OK"]}'
  expect_eq "ok $attempt" "$(probe answer OK)" '{"pressed":"OK"}'
  expect_window '"dialogs":[]'
done
expect_texts 0 1052=Connect

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
expect_session_log '"APPLICATION STARTED",0,0,0,0,0,0' '"CONNECTION ATTEMPTED",0,0,0,0,0,0' \
  '"CONNECTION ATTEMPTED",0,0,0,0,0,0'
