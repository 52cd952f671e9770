#include "setup/device_info.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "view/control_ids.h"

namespace kivo {

namespace {

using Text = std::optional<std::string_view>;
constexpr std::size_t npos = std::string_view::npos;

// The answer to `command` when it holds "OK"; nothing for an error, or for a time-out, which
// leaves an older response behind.
std::optional<std::string> ask(AtChannel& channel, const char* command) {
  Reply reply = channel.tx_at_command(command);
  if (reply.result == 0 || reply.text.find("OK") == npos) return std::nullopt;
  return std::move(reply.text);
}

void show(DeviceInfoView& view, int control, Text text) {
  if (text) view.set_field(control, std::string(*text).c_str());
}

// From `start` up to the next `end`; nothing when no `end` follows.
Text up_to(std::string_view answer, std::size_t start, char end) {
  if (start > answer.size()) return std::nullopt;
  const std::size_t stop = answer.find(end, start);
  if (stop == npos) return std::nullopt;
  return answer.substr(start, stop - start);
}

// The value that starts `offset` characters from the start of `prefix` and runs up to `end`.
Text field_behind(std::string_view answer, std::string_view prefix, std::size_t offset, char end) {
  const std::size_t at = answer.find(prefix);
  if (at == npos) return std::nullopt;
  return up_to(answer, at + offset, end);
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

bool is_letter_or_digit(char c) {
  return is_digit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// AT+CGMI and AT+CGMM: the first line, behind one leading blank, when it starts like a name.
Text identity_line(std::string_view answer) {
  const std::size_t start = !answer.empty() && answer[0] == ' ' ? 1 : 0;
  if (start >= answer.size() || !is_letter_or_digit(answer[start])) return std::nullopt;
  return up_to(answer, start, '\r');
}

// A line that starts with a digit (IMSI, IMEI).
Text number_line(std::string_view answer) {
  if (answer.empty() || !is_digit(answer[0])) return std::nullopt;
  return up_to(answer, 0, '\r');
}

Text huawei_serial(std::string_view answer) {
  const std::size_t at = answer.find("^SN:");
  if (at == npos) return std::nullopt;
  const std::size_t blank = answer.find(' ', at + 4);
  if (blank == npos) return std::nullopt;
  return up_to(answer, blank + 1, '\r');
}

// The third value of ^SPN; a name of "FF..." is an unset SIM file.
Text huawei_provider(std::string_view answer) {
  const std::size_t at = answer.find("^SPN:");
  if (at == npos) return std::nullopt;
  const std::size_t first = answer.find(',', at + 5);
  if (first == npos) return std::nullopt;
  const std::size_t second = answer.find(',', first + 1);
  if (second == npos) return std::nullopt;
  const Text name = up_to(answer, second + 1, '\r');
  if (name && name->size() >= 2 && (*name)[0] == 'F' && (*name)[1] == 'F') return std::nullopt;
  return name;
}

// The hex text of EF ICCID between the quotes, in the SIM's nibble order.
Text sim_iccid(std::string_view answer) {
  const std::size_t at = answer.find("+CRSM:");
  if (at == npos) return std::nullopt;
  const std::size_t quote = answer.find('"', at);
  if (quote == npos) return std::nullopt;
  return up_to(answer, quote + 1, '"');
}

void query_huawei(AtChannel& channel, DeviceInfoView& view) {
  if (const auto answer = ask(channel, "AT^SN\r\n"))
    show(view, IDC_INFO_SERIAL_NUMBER, huawei_serial(*answer));
  if (const auto answer = ask(channel, "AT^HWVER\r\n"))
    show(view, IDC_INFO_HARDWARE_VERSION, field_behind(*answer, "^HWVER:", 8, '"'));
  if (const auto answer = ask(channel, "AT^SPN=0\r\n"))
    show(view, IDC_INFO_PROVIDER, huawei_provider(*answer));
}

void query_option(AtChannel& channel, DeviceInfoView& view) {
  if (const auto answer = ask(channel, "AT_OHWV\r\n"))
    show(view, IDC_INFO_HARDWARE_VERSION, field_behind(*answer, "_OHWV:", 7, '\r'));
}

void query_sierra(AtChannel& channel, DeviceInfoView& view) {
  if (const auto answer = ask(channel, "AT^HVER\r\n"))
    show(view, IDC_INFO_HARDWARE_VERSION, field_behind(*answer, "^HVER:", 8, '"'));
}

// What differs between the command sets in asking for the device's identity.
struct DeviceInfoProfile {
  // Hardware version, serial number, provider name: asked before the standard queries.
  void (*vendor_queries)(AtChannel&, DeviceInfoView&) = nullptr;
  // The ICCID comes from AT$NWICCID? instead of the SIM's EF ICCID.
  bool iccid_by_nwiccid = false;
  // AT+CGSN answers "IMEI,serial number".
  bool imei_with_serial = false;
};

DeviceInfoProfile device_info_profile(CommandSet command_set) {
  DeviceInfoProfile profile;
  switch (command_set) {
    case CommandSet::Huawei:
      profile.vendor_queries = query_huawei;
      break;
    case CommandSet::Option:
      profile.vendor_queries = query_option;
      profile.imei_with_serial = true;
      break;
    case CommandSet::Novatel:
      profile.iccid_by_nwiccid = true;
      break;
    case CommandSet::Sierra:
      profile.vendor_queries = query_sierra;
      break;
    case CommandSet::Standard:
    case CommandSet::Nokia:
      break;
  }
  return profile;
}

void query_iccid(AtChannel& channel, const DeviceInfoProfile& profile, DeviceInfoView& view) {
  if (profile.iccid_by_nwiccid) {
    if (const auto answer = ask(channel, "AT$NWICCID?\r\n"))
      show(view, IDC_INFO_ICCID, field_behind(*answer, "$NWICCID:", 10, '\r'));
  } else if (const auto answer = ask(channel, "AT+CRSM=176,12258,0,0,10\r\n")) {
    show(view, IDC_INFO_ICCID, sim_iccid(*answer));
  }
}

void query_imei(AtChannel& channel, const DeviceInfoProfile& profile, DeviceInfoView& view) {
  const auto answer = ask(channel, "AT+CGSN\r\n");
  if (!answer) return;
  const Text line = number_line(*answer);
  if (!line) return;
  const std::size_t comma = profile.imei_with_serial ? line->find(',') : npos;
  if (comma == npos) {
    show(view, IDC_INFO_IMEI, line);
  } else {
    show(view, IDC_INFO_SERIAL_NUMBER, line->substr(comma + 1));
    show(view, IDC_INFO_IMEI, line->substr(0, comma));
  }
}

}  // namespace

void fill_device_info(AtChannel& channel, CommandSet command_set, const char* port_name,
                      DeviceInfoView& view) {
  view.set_field(IDC_INFO_PORT, port_name);
  view.set_field(IDC_INFO_PROVIDER, "Not Available");
  const DeviceInfoProfile profile = device_info_profile(command_set);
  if (profile.vendor_queries) profile.vendor_queries(channel, view);

  if (const auto answer = ask(channel, "AT+CGMI\r\n"))
    show(view, IDC_INFO_MANUFACTURER, identity_line(*answer));
  if (const auto answer = ask(channel, "AT+CGMR\r\n")) {
    const std::size_t at = answer->find("+CGMR:");
    show(view, IDC_INFO_FIRMWARE, up_to(*answer, at == npos ? 0 : at + 6, '\r'));
  }
  if (const auto answer = ask(channel, "AT+CIMI\r\n"))
    show(view, IDC_INFO_IMSI, number_line(*answer));
  // An MC950D is never asked for its IMEI.
  bool asks_imei = true;
  if (const auto answer = ask(channel, "AT+CGMM\r\n")) {
    const Text model = identity_line(*answer);
    show(view, IDC_INFO_MODEL, model);
    asks_imei = !model || model->find("MC950D") == npos;
  }
  query_iccid(channel, profile, view);
  if (asks_imei) query_imei(channel, profile, view);
}

}  // namespace kivo
