#pragma once

#include "base/command_set.h"
#include "status/network_context.h"

namespace kivo {

using NetworkOperation = void (*)(const NetworkContext&);
using ModeApply = bool (*)(const NetworkContext&);

// What differs between the vendor command sets in watching the network, in one table.
struct CommandSetProfile {
  // Each poll tick asks for signal (AT+CSQ) and operator (AT+COPS); sets without this send the
  // signal in unsolicited reports.
  bool polls_signal_and_operator = true;
  // Each poll tick's technology query; none where reports bring it or the set has none.
  NetworkOperation poll_technology = nullptr;
  // Each poll tick asks for the registration (when location reports are on).
  bool polls_registration = true;
  // On a new registration, behind the operator: the technology, then the network-mode read.
  NetworkOperation registered_technology = nullptr;
  NetworkOperation registered_mode = nullptr;
  // The first readings once the modem is initialized, before its APN, signal, operator and
  // registration: the technology, then the network-mode read. Huawei's technology is read by
  // the initialization itself, which cannot go on without it.
  NetworkOperation first_technology = nullptr;
  NetworkOperation first_mode = nullptr;
  // The network-mode write of button 1050; none where the set has no network-mode command.
  ModeApply apply_mode = nullptr;
};

const CommandSetProfile& command_set_profile(CommandSet command_set);

}  // namespace kivo
