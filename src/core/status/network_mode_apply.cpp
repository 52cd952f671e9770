#include <optional>
#include <string>

#include "status/mode_setting_parsers.h"
#include "status/network_mode.h"
#include "status/text_format.h"
#include "view/control_ids.h"

namespace kivo {

namespace {

// The item value of the entry chosen in 1051, when it is one of the list's `count` values.
// Nothing chosen (a read refilled the list with no setting to select) gives none, and then
// nothing is written.
std::optional<std::uint32_t> chosen_item(const NetworkContext& context, std::uint32_t count) {
  const int index = context.view.selected_list_entry(IDC_NETWORK_MODE_LIST);
  if (index < 0) return std::nullopt;
  const std::uint32_t item = context.view.list_entry_value(IDC_NETWORK_MODE_LIST, index);
  if (item >= count) return std::nullopt;
  return item;
}

// Huawei and Sierra: the mode and acquisition order of an entry of the four-entry list. The
// "only" settings keep the order the modem had.
struct Preference {
  std::uint32_t mode;
  std::uint32_t acq_order;
};

Preference preference_for(std::uint32_t item, std::uint32_t acq_order_read) {
  switch (item) {
    case 0:
      return {2, 1};
    case 1:
      return {2, 2};
    case 2:
      return {13, acq_order_read};
    default:
      return {14, acq_order_read};
  }
}

bool write_mode(const NetworkContext& context, const std::string& command) {
  if (context.channel.tx_at_command(command.c_str()).text.find("OK") == std::string::npos)
    return false;
  context.view.enable(IDC_NETWORK_MODE_APPLY, false);
  context.view.set_default_button(IDC_CONNECT);
  return true;
}

}  // namespace

bool apply_mode_huawei(const NetworkContext& context) {
  const std::optional<std::uint32_t> item = chosen_item(context, 4);
  if (!item) return false;
  // The write repeats what it does not change.
  SysCfg s;
  if (!parse_syscfg(context.channel.tx_at_command("AT^SYSCFG?\r\n").text, s)) return false;
  const Preference p = preference_for(*item, s.acq_order);
  return write_mode(
      context, format_text("AT^SYSCFG=%d,%d,%s,%d,%d\r\n", as_int(p.mode), as_int(p.acq_order),
                           format_band(s.band, 1).c_str(), as_int(s.roam), as_int(s.srv_domain)));
}

bool apply_mode_option(const NetworkContext& context) {
  static constexpr int kModes[] = {2, 3, 0, 1};
  const std::optional<std::uint32_t> item = chosen_item(context, 4);
  if (!item) return false;
  return write_mode(context, format_text("AT_OPSYS=%d,%d\r\n", kModes[*item], 2));
}

bool apply_mode_novatel(const NetworkContext& context) {
  static constexpr int kModes[] = {1, 2, 0};
  const std::optional<std::uint32_t> item = chosen_item(context, 3);
  if (!item) return false;
  return write_mode(context, format_text("AT$NWRAT=%d,%d\r\n", kModes[*item], 1));
}

bool apply_mode_sierra(const NetworkContext& context) {
  const std::optional<std::uint32_t> item = chosen_item(context, 4);
  if (!item) return false;
  SysConfig s;
  if (!parse_sysconfig(context.channel.tx_at_command("AT^SYSCONFIG?\r\n").text, s)) return false;
  const Preference p = preference_for(*item, s.acq_order);
  return write_mode(context,
                    format_text("AT^SYSCONFIG=%d,%d,%d,%d\r\n", as_int(p.mode), as_int(p.acq_order),
                                as_int(s.roam), as_int(s.srv_domain)));
}

}  // namespace kivo
