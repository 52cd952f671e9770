#include <cstddef>

#include "setup/checked_command.h"
#include "setup/init_steps.h"
#include "status/command_set_profile.h"
#include "status/technology.h"

namespace kivo {

namespace {

constexpr CheckedCommand kHuaweiCommands[] = {
    {"AT^CURC=1\r\n",
     {"OK", "ERROR"},
     "Sent: \"AT^CURC=1\"\nExpected: \"OK\" or \"ERROR\"\nReceived: \"%s\"",
     true},
};

constexpr CheckedCommand kOptionCommands[] = {
    {"AT_OSSYS=1\r\n", {"OK"}, "Sent: \"AT_OSSYS=1\"\nExpected: \"OK\"\nReceived: \"%s\"", false},
    {"AT_OSQI=1\r\n", {"OK"}, "Sent: \"AT_OSQI=1\"\nExpected: \"OK\"\nReceived: \"%s\"", false},
    {"AT_OEANT=1\r\n",
     {"OK", "ERROR"},
     "Sent: \"AT_OEANT=1\"\nExpected: \"OK\" or \"ERROR\"\nReceived: \"%s\"",
     false},
};

struct VendorCommands {
  const CheckedCommand* first = nullptr;
  std::size_t count = 0;
};

template <std::size_t N>
constexpr VendorCommands commands_of(const CheckedCommand (&commands)[N]) {
  return {commands, N};
}

// The reports the vendor's modems send only when asked to.
VendorCommands vendor_commands(CommandSet command_set) {
  switch (command_set) {
    case CommandSet::Huawei:
      return commands_of(kHuaweiCommands);
    case CommandSet::Option:
      return commands_of(kOptionCommands);
    default:
      return {};
  }
}

// Huawei's technology: an unreadable answer at start means the modem is in no state to go on.
bool read_huawei_technology(const SetupContext& context) {
  const Reply reply = context.channel.tx_at_command("AT^SYSINFO\r\n");
  if (show_sysinfo(context.network_context(), reply.text)) return true;
  show_unexpected_answer(
      context, "Sent: \"AT^SYSINFO\"\nExpected: \"^SYSINFO:a,b,c,d,e,f,g\"\nReceived: \"%s\"",
      reply);
  return false;
}

}  // namespace

bool run_vendor_step(const SetupContext& context) {
  const CommandSet command_set = context.device.command_set;
  const VendorCommands commands = vendor_commands(command_set);
  for (std::size_t i = 0; i < commands.count; ++i)
    if (!run_checked(context, commands.first[i])) return false;

  const CommandSetProfile& profile = command_set_profile(command_set);
  const NetworkContext network = context.network_context();
  if (command_set == CommandSet::Huawei && !read_huawei_technology(context)) return false;
  if (profile.first_technology) profile.first_technology(network);
  if (profile.first_mode) profile.first_mode(network);
  return true;
}

}  // namespace kivo
