#include "status/command_set_profile.h"

#include "status/network_mode.h"
#include "status/technology.h"

namespace kivo {

namespace {

constexpr CommandSetProfile kStandard = [] {
  CommandSetProfile p;
  p.registered_technology = show_technology_unknown;
  p.first_technology = show_technology_unknown;
  return p;
}();

// Signal and technology arrive as reports ("^RSSI:", "^MODE:").
constexpr CommandSetProfile kHuawei = [] {
  CommandSetProfile p;
  p.polls_signal_and_operator = false;
  p.first_mode = read_mode_huawei;
  p.apply_mode = apply_mode_huawei;
  return p;
}();

// The signal arrives as reports ("_OSIGQ:").
constexpr CommandSetProfile kOption = [] {
  CommandSetProfile p;
  p.polls_signal_and_operator = false;
  p.poll_technology = query_rat_option;
  p.registered_technology = query_rat_option;
  p.registered_mode = read_mode_option;
  p.first_technology = query_rat_option;
  p.first_mode = read_mode_option;
  p.apply_mode = apply_mode_option;
  return p;
}();

// The network-mode read brings the technology as well.
constexpr CommandSetProfile kNovatel = [] {
  CommandSetProfile p;
  p.poll_technology = query_rat_novatel;
  p.registered_mode = read_mode_novatel;
  p.first_mode = read_mode_novatel;
  p.apply_mode = apply_mode_novatel;
  return p;
}();

constexpr CommandSetProfile kSierra = [] {
  CommandSetProfile p;
  p.poll_technology = query_rat_sierra;
  p.registered_technology = query_rat_sierra;
  p.registered_mode = read_mode_sierra;
  p.first_technology = query_rat_sierra;
  p.first_mode = read_mode_sierra;
  p.apply_mode = apply_mode_sierra;
  return p;
}();

constexpr CommandSetProfile kNokia = [] {
  CommandSetProfile p;
  p.polls_registration = false;
  return p;
}();

}  // namespace

const CommandSetProfile& command_set_profile(CommandSet command_set) {
  switch (command_set) {
    case CommandSet::Huawei:
      return kHuawei;
    case CommandSet::Option:
      return kOption;
    case CommandSet::Novatel:
      return kNovatel;
    case CommandSet::Sierra:
      return kSierra;
    case CommandSet::Nokia:
      return kNokia;
    case CommandSet::Standard:
      break;
  }
  return kStandard;
}

}  // namespace kivo
