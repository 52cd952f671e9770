#include "link/ussd_parser.h"

#include "link/number_reader.h"
#include "link/ussd_text_decoder.h"

namespace kivo {

std::optional<std::size_t> parse_cusd(std::string_view text, UssdResponse& response) {
  constexpr std::string_view kPrefix = "+CUSD: ";
  constexpr std::size_t kMaxSourceCharacters = 182;
  constexpr std::size_t kMaxTextLength = UssdResponse::kTextSize - 1;
  response = UssdResponse{};
  if (!starts_with(text, kPrefix)) return std::nullopt;

  const NumberReading status = read_number(text, kPrefix.size());
  response.status = static_cast<std::int32_t>(status.value);
  const std::size_t open = status.end + 1;  // the separator behind the number is skipped
  if (open >= text.size() || text[open] != '"') return std::nullopt;
  const std::size_t close = text.rfind('"');
  if (close == std::string_view::npos || close <= open) return std::nullopt;

  std::size_t pos = close + 1;
  NumberReading dcs;
  if (pos < text.size() && text[pos] == ',') {
    ++pos;
    dcs = read_number(text, pos);
    if (dcs.found) pos = dcs.end + 2;  // past the line end
  }

  std::string_view source = text.substr(open + 1, close - open - 1);
  char decoded[kMaxSourceCharacters];
  if (dcs.found) {
    if (const std::size_t length = decode_ussd_hex(source, dcs.value, decoded, sizeof decoded))
      source = std::string_view(decoded, length);
  }
  std::size_t out = 0;
  char previous = '"';
  for (std::size_t i = 0; i < source.size() && i < kMaxSourceCharacters; ++i) {
    const char c = source[i];
    if (c == '\n' && previous != '\r') {
      if (out == kMaxTextLength) break;
      response.text[out++] = '\r';
    }
    if (out == kMaxTextLength) break;
    response.text[out++] = c;
    previous = c;
  }
  response.text[out] = '\0';

  return pos < text.size() ? pos : text.size();
}

}  // namespace kivo
