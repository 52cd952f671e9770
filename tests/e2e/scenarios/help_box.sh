#!/bin/bash
# "/?" shows the command-line help and stops before the single-instance test and the window.
source "$(dirname "$0")/../lib.sh"
e2e_start

kivo /?
expected_text='Usage:\rkivo [/port:COM<x> [/commandset:<command set>]] [/hexprofiles] [/sessionlog] [/nopollcid]\r\r/commandset may only be specified if /port is specified\r<command set> may be Huawei, Option, Novatel, Sierra or Nokia\rif /commandset is not specified, only standard commands are used\r\r/hexprofiles\tenables display of assigned profiles in raw hexadecimal format (debug)\r/sessionlog\tkeeps a log of data used per session (experimental)\r/nopollcid\t\tdisables Cell ID polling'
expect_eq "help box" "$(probe message-box)" \
  '{"caption":"KIVO Command Line Help","text":"'"$expected_text"'","buttons":["OK"]}'

probe press OK >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 0
expect_trace "KIVO: application started"
expect_trace_count "KIVO: application terminated" 0
