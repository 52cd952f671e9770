#include <string>

#include "status/mode_setting_parsers.h"
#include "status/network_mode.h"
#include "status/network_mode_map.h"
#include "status/technology.h"
#include "status/text_format.h"
#include "view/control_ids.h"

namespace kivo {

namespace {

constexpr const char* kNetworkModeNames[] = {"GPRS/EDGE Preferred", "3G Preferred",
                                             "GPRS/EDGE Only", "3G Only", "Automatic"};

// Most sets offer the first four names; Novatel offers the last three.
struct ModeList {
  std::size_t first;
  std::size_t count;
};
constexpr ModeList kFourEntries{0, 4};
constexpr ModeList kThreeEntries{2, 3};

// Each entry's item value is its place in the list, which the list keeps unsorted.
void fill_list(const NetworkContext& context, ModeList list) {
  MainView& view = context.view;
  view.enable(IDC_NETWORK_MODE_LIST, true);
  view.clear_list(IDC_NETWORK_MODE_LIST);
  for (std::size_t i = 0; i < list.count; ++i)
    view.add_list_entry(IDC_NETWORK_MODE_LIST, kNetworkModeNames[list.first + i],
                        static_cast<std::uint32_t>(i));
}

void warn(const NetworkContext& context, const std::string& text) {
  BoxRequest request;
  request.owner = BoxOwner::MainWindow;
  request.text = text.c_str();
  request.icon = BoxIcon::Warning;
  context.view.show_box(request);
}

}  // namespace

void read_mode_huawei(const NetworkContext& context) {
  fill_list(context, kFourEntries);
  SysCfg s;
  if (!parse_syscfg(context.channel.tx_at_command("AT^SYSCFG?\r\n").text, s)) return;
  if (const int entry = preference_entry(s.mode, s.acq_order); entry != kNoModeEntry) {
    context.view.select_list_entry(IDC_NETWORK_MODE_LIST, entry);
  } else {
    warn(context, format_text("Unable to determine connection type, please report the "
                              "following information to the author:\r\n\t\t^SYSCFG=%d,%d,"
                              "%s,%d,%d and your current connection type; GPRS/EDGE or "
                              "3G, only or preferred. ",
                              as_int(s.mode), as_int(s.acq_order), format_band(s.band, 8).c_str(),
                              as_int(s.roam), as_int(s.srv_domain)));
  }
}

void read_mode_option(const NetworkContext& context) {
  fill_list(context, kFourEntries);
  OpSys s;
  if (!parse_opsys(context.channel.tx_at_command("AT_OPSYS?\r\n").text, s)) return;
  if (const int entry = mode_entry(kOptionModes, s.mode); entry != kNoModeEntry) {
    context.view.select_list_entry(IDC_NETWORK_MODE_LIST, entry);
  } else {
    warn(context, format_text("Unable to determine connection type, please report the "
                              "following information to the author:\r\n\t\t_OPSYS=%d,%d "
                              "and your current connection type; GPRS/EDGE or 3G, only "
                              "or preferred. ",
                              as_int(s.mode), as_int(s.domain)));
  }
}

void read_mode_novatel(const NetworkContext& context) {
  fill_list(context, kThreeEntries);
  NwRat s;
  if (!parse_nwrat(context.channel.tx_at_command("AT$NWRAT?\r\n").text, s)) return;
  set_technology(context, novatel_network_text(s.network));
  if (const int entry = mode_entry(kNovatelModes, s.mode); entry != kNoModeEntry) {
    context.view.select_list_entry(IDC_NETWORK_MODE_LIST, entry);
  } else {
    warn(context, format_text("Unable to determine connection type, please report the "
                              "following information to the author:\r\n\t\t$NWRAT=%d,%d,"
                              "%d and your current connection type; GPRS/EDGE or 3G, "
                              "only or preferred. ",
                              as_int(s.mode), as_int(s.second), as_int(s.network)));
  }
}

void read_mode_sierra(const NetworkContext& context) {
  fill_list(context, kFourEntries);
  SysConfig s;
  if (!parse_sysconfig(context.channel.tx_at_command("AT^SYSCONFIG?\r\n").text, s)) return;
  if (const int entry = preference_entry(s.mode, s.acq_order); entry != kNoModeEntry) {
    context.view.select_list_entry(IDC_NETWORK_MODE_LIST, entry);
  } else {
    warn(context,
         format_text("Unable to determine connection type, please report the "
                     "following information to the author:\r\n\t\t^SYSCONFIG="
                     "%d,%d,%d,%d and your current connection type; GPRS/EDGE "
                     "or 3G, only or preferred. ",
                     as_int(s.mode), as_int(s.acq_order), as_int(s.roam), as_int(s.srv_domain)));
  }
}

}  // namespace kivo
