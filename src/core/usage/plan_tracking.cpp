#include "usage/plan_tracking.h"

#include <cstdio>
#include <cstring>

#include "base/atomic_write.h"
#include "usage/history_chart.h"
#include "usage/plan_status.h"
#include "view/control_ids.h"

namespace kivo {
namespace {

constexpr std::size_t kMaxPlanFileSize = 1024;

// `name` in the folder of usage.bin; empty when that path does not fit.
void path_beside_store(const char* store, const char* name, char (&out)[kMaxDataPathLength + 1]) {
  const char* slash = std::strrchr(store, '\\');
  const int folder = slash ? static_cast<int>(slash - store + 1) : 0;
  const int length = std::snprintf(out, sizeof out, "%.*s%s", folder, store, name);
  if (length < 0 || std::size_t(length) >= sizeof out) out[0] = '\0';
}

CalendarDate today(const UsageContext& context) {
  return date_of(context.clock.local_time());
}

DataPlan read_plan_file(const UsageContext& context) {
  const char* path = context.usage.plan_path;
  char text[kMaxPlanFileSize];
  std::size_t length = 0;
  if (path[0] == '\0' ||
      context.files.read_file(path, text, sizeof text, length) != ReadResult::Read)
    return DataPlan{};
  return parse_plan_ini(std::string(text, length));
}

void save_plan(const UsageContext& context) {
  const char* path = context.usage.plan_path;
  if (path[0] == '\0') return;
  const std::string text = format_plan_ini(context.usage.plan);
  if (write_through_temporary(context.files, path, text.data(), text.size()) !=
      WriteResult::Written)
    context.trace("%s could not be written", path);
}

void clear_plan_fields(MainView& view) {
  view.set_text(IDC_PLAN_USAGE, "");
  view.set_text(IDC_PLAN_DAYS_LEFT, "");
  view.set_bar_position(IDC_PLAN_BAR, 0);
}

// The fields, then (when `may_warn`) a warning due. The warning is remembered before its box
// shows: reports handled while the box is open must not raise it again, nor a crash behind it.
void show_plan(const UsageContext& context, bool may_warn) {
  UsageState& state = context.usage;
  MainView& view = context.view;
  if (!has_plan(state.plan)) {
    clear_plan_fields(view);
    return;
  }
  const CalendarDate day = today(context);
  const BillingPeriod period = billing_period_containing(day, state.plan.billing_day);
  const PlanReading reading =
      read_plan(state.plan, day, state.history.bytes_between(period.first, period.last));
  view.set_text(IDC_PLAN_USAGE, plan_usage_text(state.plan, reading).c_str());
  view.set_text(IDC_PLAN_DAYS_LEFT, days_left_text(reading.days_left).c_str());
  view.set_bar_colour(IDC_PLAN_BAR, plan_bar_colour(state.plan, reading));
  view.set_bar_position(IDC_PLAN_BAR, plan_bar_position(reading));
  if (!may_warn) return;
  const PlanWarnings given = state.plan.warnings;
  const PlanWarning warning = take_due_warning(state.plan, reading);
  if (warning == PlanWarning::None) {
    // A new period forgets the last one's warnings.
    if ((given.level_percent != 0 || given.used_up) &&
        given.period_start != state.plan.warnings.period_start)
      save_plan(context);
    return;
  }
  save_plan(context);
  const std::string text = warning_text(warning, state.plan, reading);
  BoxRequest request;
  request.owner = BoxOwner::MainWindow;
  request.text = text.c_str();
  request.icon = BoxIcon::Warning;
  view.show_box(request);
}

}  // namespace

void load_data_plan(const UsageContext& context) {
  UsageState& state = context.usage;
  const char* store = state.data_paths.usage_file_path;
  path_beside_store(store, "plan.ini", state.plan_path);
  path_beside_store(store, "usage-history.csv", state.history_path);
  state.plan = read_plan_file(context);
  if (state.history_path[0] != '\0') state.history.load(context.files, state.history_path);
  show_plan(context, false);
}

void check_data_plan(const UsageContext& context) {
  show_plan(context, true);
}

void follow_session(const UsageContext& context) {
  const SessionCounters& session = context.usage.session;
  context.usage.history.count_session(today(context), session.tx_bytes, session.rx_bytes);
  show_plan(context, true);
}

void write_history(const UsageContext& context) {
  const char* path = context.usage.history_path;
  if (path[0] != '\0' && !context.usage.history.save(context.files, path))
    context.trace("%s could not be written", path);
}

void history_tick(const UsageContext& context) {
  write_history(context);
  show_plan(context, true);
}

void fold_into_history(const UsageContext& context) {
  UsageState& state = context.usage;
  state.history.count_session(today(context), state.session.tx_bytes, state.session.rx_bytes);
  state.history.start_new_session();
  write_history(context);
}

void edit_data_plan(const UsageContext& context) {
  UsageState& state = context.usage;
  PlanEntry entry = plan_entry(state.plan);
  const bool accepted = context.view.edit_data_plan(entry, [](const PlanEntry& typed) {
    DataPlan checked;
    return read_plan_entry(typed, checked);
  });
  DataPlan plan = state.plan;
  if (!accepted || !read_plan_entry(entry, plan)) return;
  // Another allowance or billing day is another plan: its warnings are still to come.
  if (plan.allowance_mb != state.plan.allowance_mb || plan.billing_day != state.plan.billing_day)
    plan.warnings = PlanWarnings{};
  state.plan = plan;
  save_plan(context);
  show_plan(context, true);
}

HistoryChart history_chart(const UsageContext& context) {
  const UsageState& usage = context.usage;
  HistoryChartInput input;
  input.days = usage.history.days();
  input.today = today(context);
  if (has_plan(usage.plan)) {
    input.billing_day = usage.plan.billing_day;
    input.allowance_bytes = allowance_bytes(usage.plan);
  }
  return make_history_chart(input);
}

}  // namespace kivo
