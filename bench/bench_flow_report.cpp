// One "^DSFLOWRPT:" report through the core, as the program handles it every two seconds: the
// receive thread's parse, then on_flow_report on the window's thread into a window that draws
// nothing. ns per report.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <string>

#include "link/flow_parser.h"
#include "usage/flow_report.h"
#include "usage/usage_state.h"

namespace {

using namespace kivo;

// The texts are taken and dropped, so only the core's own work is measured.
class NullView : public MainView {
 public:
  void set_text(int, const char* text) override { benchmark::DoNotOptimize(text); }
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
  void clear_list(int) override {}
  void add_list_entry(int, const char*, std::uint32_t) override {}
  void select_list_entry(int, int) override {}
  int selected_list_entry(int) const override { return -1; }
  std::uint32_t list_entry_value(int, int) const override { return 0; }
  void set_icons() override {}
  void create_status_bar() override {}
  void set_status_text(const char*) override {}
  void set_timer(unsigned, unsigned) override {}
  void kill_timer(unsigned) override {}
  BoxAnswer show_box(const BoxRequest&) override { return BoxAnswer::Ok; }
  void show_device_info(const std::function<void(DeviceInfoView&)>&) override {}
  void run_sms_dialog(SmsDialogEvents&) override {}
  bool choose_save_file(const SaveFileRequest&, char*, std::size_t) override { return false; }
  bool edit_data_plan(PlanEntry&, const std::function<bool(const PlanEntry&)>&) override {
    return false;
  }
  void post(const Notice&) override {}
  void post_close() override {}
  void end_dialog(int) override {}
  void run_history_dialog(const HistoryChart&) override {}
};

// Plausible reports never reach the modem, the files or the clock.
class NoModem : public AtChannel {
 public:
  Reply tx_at_command(const char*) override { return {}; }
  int tx_data(const void*, std::size_t) override { return 0; }
  Reply tx_data_and_get_response(const void*, std::size_t) override { return {}; }
};

class NoFiles : public FileSystem {
 public:
  bool create_directory(const char*) override { return false; }
  ReadResult read_file(const char*, void*, std::size_t, std::size_t&) override {
    return ReadResult::Missing;
  }
  WriteResult write_file(const char*, const void*, std::size_t) override {
    return WriteResult::NotCreated;
  }
  bool replace_file(const char*, const char*) override { return false; }
  bool remove_file(const char*) override { return false; }
  bool append_to_file(const char*, const void*, std::size_t) override { return false; }
  OpenResult open_or_create(const char*, const void*, std::size_t) override {
    return OpenResult::Failed;
  }
};

class StoppedClock : public Clock {
 public:
  LocalTime local_time() override { return {}; }
};

class NoSleep : public Sleeper {
 public:
  void sleep_ms(unsigned) override {}
};

class NoTrace : public TraceSink {
 public:
  void write_line(const char*) override {}
};

constexpr char kReport[] =
    "^DSFLOWRPT:00000E11,00000291,00000E69,0000000000012847,00000000002293EF,0B09F2A4,0045E5E8"
    "\r\n";

void BM_FlowReport(benchmark::State& bench) {
  NullView view;
  NoModem modem;
  NoFiles files;
  StoppedClock clock;
  NoTrace sink;
  const Trace trace(sink);
  UsageState state;
  state.online = true;
  NoSleep sleeper;
  const UsageContext context{modem, view, state, files, clock, sleeper, trace};
  const std::string_view text(kReport, sizeof kReport - 1);
  for (auto _ : bench) {
    FlowReport report;
    benchmark::DoNotOptimize(parse_dsflowrpt(text, report));
    on_flow_report(context, report);
  }
  bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_FlowReport);

}  // namespace

BENCHMARK_MAIN();
