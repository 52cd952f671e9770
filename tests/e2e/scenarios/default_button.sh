#!/bin/bash
# Enter follows the input: with text in the USSD edit it presses Send (1030), with text in the
# APN edit Set (1034); once the edit is empty again it presses Connect (1052).
source "$(dirname "$0")/../lib.sh"
e2e_start
e2e_start_modem COM5

kivo /PORT:COM5
probe status-text --wait Ready >/dev/null
expect_window '"default_button":1052'

for pair in 1032:1030 1035:1034; do
  edit=${pair%:*} button=${pair#*:}
  probe type "$edit" '*100#' >/dev/null
  expect_window "\"focus\":$edit" "\"default_button\":$button"
  expect_control "$button" '"enabled":true' '"default":true'
  expect_control 1052 '"default":false'

  probe type "$edit" '' >/dev/null
  expect_window "\"focus\":$edit" '"default_button":1052'
  expect_control "$button" '"enabled":false' '"default":false'
  expect_control 1052 '"default":true'
done

# The USSD input takes 80 characters at most.
long=$(printf '%090d' 0)
expect_eq "typed 90 characters" "$(probe type 1032 "$long")" \
  "{\"control\":1032,\"text\":\"${long:0:80}\"}"

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
