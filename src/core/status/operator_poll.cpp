#include "status/operator_poll.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "link/number_reader.h"
#include "status/signal_log.h"
#include "status/text_cut.h"
#include "view/control_ids.h"

namespace kivo {

namespace {

constexpr std::size_t kOperatorNameSize = 80;  // up to 79 bytes and a NUL

bool has_ok(const Reply& reply) {
  return reply.text.find("OK") != std::string::npos;
}

// Where the operator field of "+COPS: <mode>,<format>,<oper>" starts, past its opening quote.
std::optional<std::size_t> numeric_field(const std::string& text) {
  const std::size_t cops = text.find("+COPS:");
  if (cops == std::string::npos) return std::nullopt;
  const std::size_t first = text.find(',', cops + 8);
  if (first == std::string::npos) return std::nullopt;
  const std::size_t second = text.find(',', first + 1);
  if (second == std::string::npos) return std::nullopt;
  const std::size_t start = second + 1;
  return start < text.size() && text[start] == '"' ? start + 1 : start;
}

// The text between the first two double quotes behind "+COPS:"; empty when there is none.
std::string long_name(const std::string& text) {
  const std::size_t cops = text.find("+COPS:");
  if (cops == std::string::npos) return "";
  const std::size_t open = text.find('"', cops);
  if (open == std::string::npos) return "";
  const std::size_t close = text.find('"', open + 1);
  if (close == std::string::npos) return "";
  const std::string_view name = std::string_view(text).substr(open + 1, close - open - 1);
  return std::string(cut_at_character_boundary(name, kOperatorNameSize - 1));
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

const char* operator_name_for_code(std::uint32_t operator_code) {
  switch (operator_code) {
    case 0:
    case 1:
      return "";
    case 65501:
      return "Vodacom";
    case 65507:
      return "Cell-C";
    case 65510:
      return "MTN";
    default:
      return "Unknown";
  }
}

void poll_operator(const NetworkContext& context) {
  AtChannel& channel = context.channel;
  std::uint32_t code = 0;
  std::optional<std::string> code_text;
  if (has_ok(channel.tx_at_command("AT+COPS=3,2\r\n"))) {
    const Reply reply = channel.tx_at_command("AT+COPS?\r\n");
    if (const std::optional<std::size_t> field = numeric_field(reply.text)) {
      code_text = reply.text.substr(*field);
      code = read_number(reply.text, *field).value;
    }
  }
  NetworkSnapshot& snapshot = context.network.snapshot;
  if (code == snapshot.operator_code.load()) return;
  snapshot.operator_code = code;

  MainView& view = context.view;
  if (code_text) {
    // Three MCC digits, then an MNC of three digits or of two.
    const std::string& digits = *code_text;
    const std::size_t mnc_length = digits.size() > 5 && is_digit(digits[5]) ? 3 : 2;
    view.set_text(IDC_MCC, digits.substr(0, 3).c_str());
    view.set_text(IDC_MNC,
                  digits.substr(std::min<std::size_t>(3, digits.size()), mnc_length).c_str());
  } else {
    view.set_text(IDC_MCC, "");
    view.set_text(IDC_MNC, "");
  }

  std::string name;
  if (has_ok(channel.tx_at_command("AT+COPS=3,0\r\n")))
    name = long_name(channel.tx_at_command("AT+COPS?\r\n").text);
  // A modem without a name for the network answers nothing or a run of "FF".
  if (name.empty() || name.compare(0, 2, "FF") == 0) name = operator_name_for_code(code);
  view.set_text(IDC_OPERATOR, name.c_str());
  log_network_event(context, "MNC/MCC");
}

}  // namespace kivo
