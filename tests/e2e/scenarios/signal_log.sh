#!/bin/bash
# The signal log: started into a new file (header first) and into an existing one (appended
# without a header), a row for each change of signal and technology with the readings of the
# moment, and stopped by the same button. The dialog proposes the file chosen last.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../lib_signal_log.sh"
e2e_start
e2e_start_modem COM5 --profile huawei

kivo /PORT:COM5 /COMMANDSET:HUAWEI
probe status-text --wait Ready >/dev/null
expect_control 1024 '"text":"Start Logging"'
cell='65501,00A1,01B2C3D4,50132'

choose_log_file new_log.csv kivo_log.csv
expect_control 1024 '"text":"Stop Logging"'
modem_set rssi=8
expect_network 2 signal=-97dBm
modem_set tech=hsdpa
expect_network 2 tech=HSDPA
probe click 1024 >/dev/null
expect_control 1024 '"text":"Start Logging"'
expect_signal_log new_log.csv "$SIGNAL_LOG_HEADER" \
  "0,\"LOGGING STARTED\",17,\"3G\",$cell" \
  "0,\"RSSI\",8,\"3G\",$cell" \
  "0,\"RAT\",8,\"HSDPA\",$cell" \
  "0,\"LOGGING STOPPED\",8,\"HSDPA\",$cell"

# Nothing is logged while logging is off.
modem_set rssi=20
expect_network 2 signal=-73dBm

printf 'earlier row\r\n' >"$(drive_c_file old_log.csv)"
choose_log_file old_log.csv new_log.csv
expect_signal_log old_log.csv 'earlier row' "0,\"LOGGING STARTED\",20,\"HSDPA\",$cell"
probe click 1024 >/dev/null
expect_signal_log old_log.csv 'earlier row' "0,\"LOGGING STARTED\",20,\"HSDPA\",$cell" \
  "0,\"LOGGING STOPPED\",20,\"HSDPA\",$cell"
expect_signal_log new_log.csv "$SIGNAL_LOG_HEADER" \
  "0,\"LOGGING STARTED\",17,\"3G\",$cell" \
  "0,\"RSSI\",8,\"3G\",$cell" \
  "0,\"RAT\",8,\"HSDPA\",$cell" \
  "0,\"LOGGING STOPPED\",8,\"HSDPA\",$cell"

probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1
