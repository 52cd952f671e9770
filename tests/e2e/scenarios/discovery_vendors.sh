#!/bin/bash
# Started without switches, Kivoscope finds each vendor's modem through the registry entries its
# driver writes (with the decoys of a real machine around them), opens the right port, speaks the
# vendor's commands and shows "Ready". The entries of the vendors unplugged before stay behind,
# as on Windows; only the device map tells which device is there now.
source "$(dirname "$0")/../lib.sh"
e2e_start

# find_vendor VENDOR PORT LINE: the simulated modem of VENDOR behind PORT is found, and LINE, a
# command of that vendor's initialization, reaches it.
find_vendor() {
  local vendor=$1 port=$2 line=$3
  e2e_start_modem "$port" --profile "$vendor"
  clear_active_ports
  seed_modem_registry --fillers 40 "$vendor" "$port"
  kivo
  probe status-text --wait Ready --timeout 20000 >/dev/null
  expect_trace "KIVO: opened port $port"
  expect_modem_received "$line"
  probe close >/dev/null
  expect_eq "$vendor: exit code" "$(kivo_exit "$E2E_RUNS")" 1
  e2e_stop_modem
}

find_vendor huawei COM3 'AT^CURC=1\r\n'
find_vendor option COM4 'AT_OSQI=1\r\n'
find_vendor novatel COM6 'AT$NWRAT?\r\n'
find_vendor sierra COM7 'AT*CNTI=0\r\n'
find_vendor nokia COM8 'AT+CUSD=1\r\n'
# A phone as a modem gets no vendor command, and no technology text.
if grep -qE '^AT[_*$^]' "$OUT/modem-transcript.txt"; then
  fail "the Nokia modem got a vendor command: $(grep -E '^AT[_*$^]' "$OUT/modem-transcript.txt")"
fi
