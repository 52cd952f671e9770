// The answers the modem setup reads (^HS, +CPIN/^CPIN, ^CARDLOCK, ^SYSINFO) on any text, in an
// exact-size buffer: none may read outside the response, whatever the modem says.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "setup/answer_parsers.h"
#include "status/mode_setting_parsers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<char> text(data, data + size);
  const std::string_view view(text.data(), text.size());
  kivo::HsInfo hs;
  (void)kivo::parse_hs(view, hs);
  kivo::CardLockInfo lock;
  (void)kivo::parse_cardlock(view, lock);
  kivo::SysInfo info;
  (void)kivo::parse_sysinfo(view, info);
  for (kivo::CommandSet command_set : {kivo::CommandSet::Huawei, kivo::CommandSet::Standard}) {
    kivo::PinState state;
    if (kivo::parse_cpin(view, command_set, state)) {
      KIVO_FUZZ_CHECK(state.state == kivo::SimState::Ready
                          ? state.attempts == 0
                          : state.attempts == 99 || command_set == kivo::CommandSet::Huawei);
    }
  }
  return 0;
}
