// The network-status operations against a modem that answers every command with the same
// arbitrary text: each reads its answer from the response, and none may read outside it, loop
// or trip the sanitizers, whatever the modem says.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/file_system.h"
#include "fuzz_support.h"
#include "link/at_channel.h"
#include "status/apn_read.h"
#include "status/network_context.h"
#include "status/network_mode.h"
#include "status/operator_poll.h"
#include "status/registration.h"
#include "status/signal.h"
#include "status/technology.h"
#include "view/main_view.h"

namespace {

class EchoingChannel : public kivo::AtChannel {
 public:
  explicit EchoingChannel(std::string answer) : answer_(std::move(answer)) {}
  kivo::Reply tx_at_command(const char*) override { return {1, answer_}; }
  int tx_data(const void*, std::size_t) override { return 1; }
  kivo::Reply tx_data_and_get_response(const void*, std::size_t) override { return {1, answer_}; }

 private:
  std::string answer_;
};

// Keeps only the list, so the apply operations have an entry to write.
class ListOnlyView : public kivo::MainView {
 public:
  void set_text(int, const char*) override {}
  std::string text(int) const override { return {}; }
  void enable(int, bool) override {}
  void set_default_button(int) override {}
  void limit_text(int, unsigned) override {}
  void append_text(int, const char*) override {}
  void copy_text_to_clipboard(int) override {}
  void set_bar_range(int, int, int) override {}
  void set_bar_position(int, int) override {}
  void set_bar_colour(int, std::uint32_t) override {}
  void set_bar_background(int, std::uint32_t) override {}
  void clear_list(int) override { values_.clear(); }
  void add_list_entry(int, const char*, std::uint32_t value) override { values_.push_back(value); }
  void select_list_entry(int, int) override {}
  int selected_list_entry(int) const override { return values_.empty() ? -1 : 0; }
  std::uint32_t list_entry_value(int, int index) const override {
    return index >= 0 && std::size_t(index) < values_.size() ? values_[std::size_t(index)] : 0;
  }
  void set_icons() override {}
  void create_status_bar() override {}
  void set_status_text(const char*) override {}
  void set_timer(unsigned, unsigned) override {}
  void kill_timer(unsigned) override {}
  kivo::BoxAnswer show_box(const kivo::BoxRequest&) override { return kivo::BoxAnswer::Ok; }
  void show_device_info(const std::function<void(kivo::DeviceInfoView&)>&) override {}
  void run_sms_dialog(kivo::SmsDialogEvents&) override {}
  bool choose_save_file(const kivo::SaveFileRequest&, char*, std::size_t) override { return false; }
  bool edit_data_plan(kivo::PlanEntry&,
                      const std::function<bool(const kivo::PlanEntry&)>&) override {
    return false;
  }
  void post(const kivo::Notice&) override {}
  void post_close() override {}
  void end_dialog(int) override {}
  void run_history_dialog(const kivo::HistoryChart&) override {}

 private:
  std::vector<std::uint32_t> values_;
};

// Signal-log rows, which carry the modem's technology word: each must be one whole CSV line.
class RowCheckingFiles : public kivo::FileSystem {
 public:
  bool create_directory(const char*) override { return false; }
  kivo::ReadResult read_file(const char*, void*, std::size_t, std::size_t&) override {
    return kivo::ReadResult::Missing;
  }
  kivo::WriteResult write_file(const char*, const void*, std::size_t) override {
    return kivo::WriteResult::NotCreated;
  }
  bool replace_file(const char*, const char*) override { return false; }
  bool remove_file(const char*) override { return false; }
  bool append_to_file(const char*, const void* bytes, std::size_t size) override {
    const auto* row = static_cast<const char*>(bytes);
    KIVO_FUZZ_CHECK(size >= 3 && size <= 1023);
    KIVO_FUZZ_CHECK(row[size - 2] == '\r' && row[size - 1] == '\n');
    return true;
  }
  kivo::OpenResult open_or_create(const char*, const void*, std::size_t) override {
    return kivo::OpenResult::Failed;
  }
};

class StoppedClock : public kivo::Clock {
 public:
  kivo::LocalTime local_time() override { return {}; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  EchoingChannel channel(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  ListOnlyView view;
  kivo::NetworkState network;
  kivo::DeviceState device;
  device.device_ready = true;
  network.location_reports_enabled = true;
  network.signal_log_active = true;
  RowCheckingFiles files;
  StoppedClock clock;
  const kivo::NetworkContext context{channel, view, network, device, files, clock};

  switch (data[0] % 4) {
    case 0:
      kivo::read_mode_huawei(context);
      kivo::apply_mode_huawei(context);
      break;
    case 1:
      kivo::read_mode_option(context);
      kivo::query_rat_option(context);
      kivo::apply_mode_option(context);
      break;
    case 2:
      kivo::read_mode_novatel(context);
      kivo::query_rat_novatel(context);
      kivo::apply_mode_novatel(context);
      break;
    default:
      kivo::read_mode_sierra(context);
      kivo::query_rat_sierra(context);
      kivo::apply_mode_sierra(context);
      break;
  }
  kivo::read_apn(context);
  kivo::poll_signal(context);
  kivo::poll_operator(context);
  kivo::poll_registration(context);
  return 0;
}
