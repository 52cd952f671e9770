#include <cstdio>
#include <string>

#include "status/signal_log.h"
#include "view/control_ids.h"

namespace kivo {

namespace {

void stop_logging(const NetworkContext& context) {
  // Cleared first: writers that look at the flag from now on write nothing after this row.
  context.network.signal_log_active = false;
  append_signal_log_row(context, 0, "LOGGING STOPPED");
  context.view.set_text(IDC_SIGNAL_LOG, "Start Logging");
}

bool choose_log_file(const NetworkContext& context) {
  SaveFileRequest request;
  request.filter_name = "Comma Separated Values Files";
  request.pattern = "*.csv";
  request.title = "Create New Or Choose Existing Log File";
  request.default_extension = "CSV";
  char path[kSignalLogPathSize];
  std::snprintf(path, sizeof path, "%s", context.network.signal_log_path.get().c_str());
  if (!context.view.choose_save_file(request, path, sizeof path)) return false;
  context.network.signal_log_path.set(path);
  return true;
}

void start_logging(const NetworkContext& context) {
  if (!choose_log_file(context)) return;
  NetworkState& network = context.network;
  const std::string path = network.signal_log_path.get();
  // An existing file is appended to; only a new one gets the header.
  if (context.files.open_or_create(path.c_str(), kSignalLogHeader.data(),
                                   kSignalLogHeader.size()) == OpenResult::Failed) {
    BoxRequest request;
    request.owner = BoxOwner::MainWindow;
    request.text = "Unable to create log file.";
    request.icon = BoxIcon::Error;
    context.view.show_box(request);
    return;
  }
  append_signal_log_row(context, 0, "LOGGING STARTED");
  const std::string cell_info = network.cell_info_text.get();
  if (!cell_info.empty()) append_signal_log_row(context, 0, cell_info);
  network.signal_log_active = true;
  context.view.set_text(IDC_SIGNAL_LOG, "Stop Logging");
}

}  // namespace

void toggle_signal_log(const NetworkContext& context) {
  if (context.network.signal_log_active)
    stop_logging(context);
  else
    start_logging(context);
  Notice done;
  done.id = NoticeId::SignalLogWorkerDone;
  context.view.post(done);
}

}  // namespace kivo
