#include "status/technology.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "link/number_reader.h"
#include "status/mode_setting_parsers.h"
#include "status/signal_log.h"
#include "status/text_cut.h"
#include "view/control_ids.h"

namespace kivo {

namespace {

constexpr char kUnknown[] = "Unknown";

bool equals_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

// The number an answer "<prefix><number>" gives, read right behind its prefix (which ends in a
// blank); none when the answer does not begin with the prefix.
std::optional<std::uint32_t> number_behind(const Reply& reply, std::string_view prefix) {
  if (!starts_with(reply.text, prefix)) return std::nullopt;
  return read_number(reply.text, prefix.size()).value;
}

std::string option_technology(AtChannel& channel) {
  std::uint32_t gsm = 0;
  const Reply octi = channel.tx_at_command("AT_OCTI?\r\n");
  if (starts_with(octi.text, "_OCTI: ")) {
    // "_OCTI: <n>,<technology>"
    const NumberReading first = read_number(octi.text, 7);
    gsm = read_number(octi.text, first.end + 1).value;
  }
  const std::uint32_t wcdma =
      number_behind(channel.tx_at_command("AT_OWCTI?\r\n"), "_OWCTI: ").value_or(0);
  switch (wcdma) {
    case 0:
      switch (gsm) {
        case 1:
          return "GSM";
        case 2:
          return "GPRS";
        case 3:
          return "EDGE";
        default:
          return kUnknown;
      }
    case 1: {
      // WCDMA: the HSPA indicator tells plain 3G from HSDPA.
      const std::optional<std::uint32_t> hspa =
          number_behind(channel.tx_at_command("AT_OHCIP?\r\n"), "_OHCIP: ");
      if (hspa == 0u) return "3G";
      if (hspa == 1u) return "HSDPA";
      return kUnknown;
    }
    case 2:
      return "HSDPA";
    default:
      return kUnknown;
  }
}

// The modem's technology word of "*CNTI: <n>,<word>", under the program's own names where it
// has one.
std::string sierra_technology(const std::string& text) {
  if (!starts_with(text, "*CNTI: ")) return kUnknown;
  const std::size_t start = std::min(read_number(text, 7).end + 1, text.size());
  const std::size_t cr = text.find('\r', start);
  const std::string_view word = std::string_view(text).substr(
      start, cr == std::string::npos ? std::string::npos : cr - start);
  static constexpr struct {
    const char* word;
    const char* text;
  } kNames[] = {
      {"GSM", "GSM"}, {"GPRS", "GPRS"}, {"EDGE", "EDGE"}, {"UMTS", "3G"}, {"HSDPA", "HSDPA"}};
  for (const auto& name : kNames)
    if (equals_ignoring_case(word, name.word)) return name.text;
  return std::string(word);
}

}  // namespace

void set_technology(const NetworkContext& context, std::string_view text) {
  const std::string kept(cut_at_character_boundary(text, kRatTextSize - 1));
  context.network.snapshot.rat_text.set(kept);
  context.view.set_text(IDC_TECHNOLOGY, kept.c_str());
}

void show_technology(const NetworkContext& context, std::string_view text) {
  set_technology(context, text);
  log_network_event(context, "RAT");
}

void show_technology_unknown(const NetworkContext& context) {
  context.view.set_text(IDC_TECHNOLOGY, kUnknown);
}

std::string novatel_network_text(std::uint32_t network) {
  switch (network) {
    case 0:
      return "No Signal";
    case 2:
      return "3G";
    case 3:
      return "HSDPA";
    case 5:
      return "GPRS";
    case 6:
      return "EDGE";
    default: {
      char text[32];
      std::snprintf(text, sizeof(text), "Unknown %d", static_cast<int>(network));
      return text;
    }
  }
}

void show_mode(const NetworkContext& context, std::uint32_t sys_mode, std::uint32_t sub_mode) {
  static constexpr struct {
    std::uint32_t sys_mode;
    std::uint32_t sub_mode;
    const char* text;
  } kModes[] = {{0, 0, ""},   {0, 1, "GSM"},   {3, 2, "GPRS"},  {3, 3, "EDGE"},
                {5, 4, "3G"}, {5, 5, "HSDPA"}, {5, 6, "HSUPA"}, {5, 7, "HSD+UPA"}};
  for (const auto& mode : kModes) {
    if (mode.sys_mode == sys_mode && mode.sub_mode == sub_mode) {
      show_technology(context, mode.text);
      return;
    }
  }
  char text[40];
  std::snprintf(text, sizeof(text), "Unknown (%d,%d)", static_cast<int>(sys_mode),
                static_cast<int>(sub_mode));
  show_technology(context, text);
}

bool show_sysinfo(const NetworkContext& context, const std::string& answer) {
  SysInfo info;
  if (!parse_sysinfo(answer, info)) return false;
  show_mode(context, info.sys_mode, info.sys_submode);
  return true;
}

void query_rat_option(const NetworkContext& context) {
  show_technology(context, option_technology(context.channel));
}

void query_rat_novatel(const NetworkContext& context) {
  NwRat setting;
  if (!parse_nwrat(context.channel.tx_at_command("AT$NWRAT?\r\n").text, setting)) return;
  show_technology(context, novatel_network_text(setting.network));
}

void query_rat_sierra(const NetworkContext& context) {
  show_technology(context, sierra_technology(context.channel.tx_at_command("AT*CNTI=0\r\n").text));
}

}  // namespace kivo
