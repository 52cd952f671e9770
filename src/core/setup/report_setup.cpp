#include "setup/checked_command.h"
#include "setup/init_steps.h"

namespace kivo {

namespace {

constexpr CheckedCommand kNoCircuitReports{
    "AT+CREG=0\r\n", {"OK"}, "Sent: \"AT+CREG=0\"\nExpected: \"OK\"\nReceived: \"%s\"", false};

constexpr CheckedCommand kPacketReports{
    "AT+CGREG=1\r\n", {"OK"}, "Sent: \"AT+CGREG=1\"\nExpected: \"OK\"\nReceived: \"%s\"", false};

constexpr CheckedCommand kUssdResults{
    "AT+CUSD=1\r\n", {"OK"}, "Sent: \"AT+CUSD=1\"\nExpected: \"OK\"\nReceived: \"%s\"", true};

}  // namespace

bool set_up_reports(const SetupContext& context) {
  run_checked(context, kNoCircuitReports);
  std::atomic<bool>& location = context.network.location_reports_enabled;
  location = false;
  // With the location where the modem takes it; the registration poll runs only then.
  if (contains(context.channel.tx_at_command("AT+CGREG=2\r\n"), "OK"))
    location = true;
  else
    run_checked(context, kPacketReports);
  return run_checked(context, kUssdResults);
}

}  // namespace kivo
