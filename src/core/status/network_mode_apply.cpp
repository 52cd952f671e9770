#include <iterator>
#include <optional>
#include <string>

#include "status/mode_setting_parsers.h"
#include "status/network_mode.h"
#include "status/network_mode_map.h"
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
  const std::optional<std::uint32_t> item = chosen_item(context, std::size(kOptionModes));
  if (!item) return false;
  return write_mode(context, format_text("AT_OPSYS=%d,%d\r\n", as_int(kOptionModes[*item]), 2));
}

bool apply_mode_novatel(const NetworkContext& context) {
  const std::optional<std::uint32_t> item = chosen_item(context, std::size(kNovatelModes));
  if (!item) return false;
  return write_mode(context, format_text("AT$NWRAT=%d,%d\r\n", as_int(kNovatelModes[*item]), 1));
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
