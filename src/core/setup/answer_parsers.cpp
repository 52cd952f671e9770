#include "setup/answer_parsers.h"

#include <cstddef>
#include <initializer_list>

#include "link/number_reader.h"

namespace kivo {

namespace {

// Reads decimal numbers from the first line of `text`, the first at `pos`, each next one
// character past the end of the one before.
void read_numbers(std::string_view text, std::size_t pos,
                  std::initializer_list<std::uint32_t*> numbers) {
  const std::string_view line = first_line(text);
  for (std::uint32_t* number : numbers) {
    const NumberReading r = read_number(line, pos);
    *number = r.value;
    pos = r.end + 1;
  }
}

}  // namespace

bool parse_hs(std::string_view text, HsInfo& info) {
  if (!starts_with(text, "^HS:")) return false;
  read_numbers(text, 4,
               {&info.id, &info.protocol, &info.is_offline, &info.product_class, &info.product_id});
  return true;
}

bool parse_cardlock(std::string_view text, CardLockInfo& info) {
  if (!starts_with(text, "^CARDLOCK:")) return false;
  read_numbers(text, 10, {&info.status, &info.attempts, &info.operator_number});
  return true;
}

bool parse_cpin(std::string_view text, CommandSet command_set, PinState& state) {
  // The first character is "+" (AT+CPIN?) or "^" (AT^CPIN?).
  if (text.size() < 7 || text.compare(1, 6, "CPIN: ") != 0) return false;
  const std::string_view code = text.substr(7);
  if (starts_with(code, "READY")) {
    state = {SimState::Ready, 0};
    return true;
  }
  if (starts_with(code, "SIM PIN")) {
    state.state = SimState::PinWanted;
  } else if (starts_with(code, "SIM PUK")) {
    state.state = SimState::PukWanted;
  } else {
    return false;
  }
  // "^CPIN: SIM PIN,<attempts>,...": the attempts stand right behind the code's comma.
  state.attempts =
      command_set == CommandSet::Huawei ? read_number(text, 15).value : kAttemptsNotReported;
  return true;
}

}  // namespace kivo
