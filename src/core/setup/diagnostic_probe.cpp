#include "link/link_profile.h"
#include "link/novatel.h"
#include "setup/init_steps.h"

namespace kivo {

namespace {

constexpr int kProbeAttempts = 3;
constexpr unsigned kProbePauseMs = 1000;
constexpr std::size_t kFlagPosition = 4;  // behind the four bytes of the probe's echo

bool answers_in_diagnostic_frames(const Reply& reply) {
  return reply.text.size() > kFlagPosition &&
         static_cast<std::uint8_t>(reply.text[kFlagPosition]) == kNovatelFlag;
}

}  // namespace

InitResult run_diagnostic_probe(const SetupContext& context) {
  AtChannel& channel = context.channel;
  for (int attempt = 0; attempt < kProbeAttempts; ++attempt) {
    channel.tx_data(DiagProbe, sizeof(DiagProbe));
    if (answers_in_diagnostic_frames(
            channel.tx_data_and_get_response(DiagProbe, sizeof(DiagProbe)))) {
      restart_with_diagnostic_packets(channel);
      return InitResult::ResetByDiag;
    }
    context.sleeper.sleep_ms(kProbePauseMs);
  }
  return InitResult::NotResponding;
}

}  // namespace kivo
