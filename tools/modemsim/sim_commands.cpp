#include "standard_commands.h"

namespace modemsim {
namespace {

Reply cpin_read(ModemModel& m) {
  ModemConfig& config = m.config();
  if (config.sim_busy > 0) {
    --config.sim_busy;
    return Reply::cme(14);
  }
  switch (config.sim) {
    case SimState::Ready:
      return Reply::ok({"+CPIN: READY"});
    case SimState::PinWanted:
      return Reply::ok({"+CPIN: SIM PIN"});
    case SimState::PukWanted:
      return Reply::ok({"+CPIN: SIM PUK"});
    case SimState::Absent:
    case SimState::Failure:
      break;
  }
  return Reply::cme(m.sim_error());
}

Reply cpin_enter(ModemModel& m, const std::vector<std::string>& args) {
  ModemConfig& config = m.config();
  if (config.sim == SimState::PinWanted) {
    if (arg(args, 0) == config.pin) {
      config.sim = SimState::Ready;
      config.pin_attempts = 3;
      return Reply::ok();
    }
    if (--config.pin_attempts <= 0) config.sim = SimState::PukWanted;
    return Reply::cme(16);
  }
  if (config.sim == SimState::PukWanted) {
    if (args.size() < 2 || args[1].empty()) return Reply::cme(16);
    if (arg(args, 0) == config.puk) {
      config.pin = args[1];
      config.sim = SimState::Ready;
      config.pin_attempts = 3;
      config.puk_attempts = 10;
      return Reply::ok();
    }
    if (--config.puk_attempts <= 0) config.sim = SimState::Failure;
    return Reply::cme(16);
  }
  int error = m.sim_error();
  return Reply::cme(error != 0 ? error : 3);
}

// The ICCID as EF ICCID stores it: digits padded with F to whole bytes, each byte's two
// digits swapped.
std::string stored_iccid(const std::string& iccid, std::size_t bytes) {
  std::string digits = iccid;
  digits.resize(bytes * 2, 'F');
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2) std::swap(digits[i], digits[i + 1]);
  return digits;
}

}  // namespace

Reply cpin(ModemModel& m, const Command& c) {
  if (c.kind == CommandKind::Read) return cpin_read(m);
  if (c.kind == CommandKind::Test) return Reply::ok();
  if (c.kind == CommandKind::Set) return cpin_enter(m, split_args(c.args));
  return Reply::error();
}

Reply crsm(ModemModel& m, const Command& c) {
  if (c.kind == CommandKind::Test) return Reply::ok();
  if (c.kind != CommandKind::Set) return Reply::error();
  if (m.sim_error() != 0) return Reply::cme(m.sim_error());
  constexpr long kReadBinary = 176;
  constexpr long kEfIccid = 0x2fe2;
  auto args = split_args(c.args);
  long command = number(arg(args, 0));
  if (command != kReadBinary) return Reply::ok({"+CRSM: 109,0"});
  if (number(arg(args, 1)) != kEfIccid) return Reply::ok({"+CRSM: 106,130"});
  long length = args.size() > 4 ? number(args[4]) : 10;
  if (length < 1 || length > 10) return Reply::ok({"+CRSM: 103,10"});
  return Reply::ok({"+CRSM: 144,0,\"" +
                    stored_iccid(m.config().iccid, static_cast<std::size_t>(length)) + "\""});
}

}  // namespace modemsim
