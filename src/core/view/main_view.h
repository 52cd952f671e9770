#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "base/message_boxes.h"
#include "link/notices.h"
#include "view/device_info_view.h"
#include "view/history_chart_view.h"
#include "view/plan_entry.h"
#include "view/sms_dialog_view.h"

namespace kivo {

// The period of the main window's poll (timer 1203).
constexpr unsigned kPollPeriodMs = 2000;

// What the main-window logic needs of the dialog: its controls (by identifier), the status
// bar, the timers and posting to itself. The Win32 dialog in the program, a recorder in tests.
// Calls are made on the window's own thread, except set_status_text and post, and the control
// and box calls of the first readings, which the discovery thread makes while the window waits
// for it in its message loop.
// The save-file dialog: one filter (its name and pattern), the title, and the extension added to
// a name typed without one.
struct SaveFileRequest {
  const char* filter_name = "";
  const char* pattern = "";
  const char* title = "";
  const char* default_extension = "";
};

class MainView {
 public:
  virtual ~MainView() = default;

  virtual void set_text(int control, const char* text) = 0;
  virtual std::string text(int control) const = 0;
  virtual void enable(int control, bool enabled) = 0;
  virtual void set_default_button(int control) = 0;
  virtual void limit_text(int control, unsigned characters) = 0;
  // Appends at the end of a multi-line edit.
  virtual void append_text(int control, const char* text) = 0;
  // Selects the whole text of an edit and copies it to the clipboard.
  virtual void copy_text_to_clipboard(int control) = 0;

  // Progress bar: range, position, bar and background colours as 0x00BBGGRR.
  virtual void set_bar_range(int control, int low, int high) = 0;
  virtual void set_bar_position(int control, int position) = 0;
  virtual void set_bar_colour(int control, std::uint32_t colour) = 0;
  virtual void set_bar_background(int control, std::uint32_t colour) = 0;

  // Drop-down list: entries with an item value each, and the selection (-1: none).
  virtual void clear_list(int control) = 0;
  virtual void add_list_entry(int control, const char* text, std::uint32_t value) = 0;
  virtual void select_list_entry(int control, int index) = 0;
  virtual int selected_list_entry(int control) const = 0;
  virtual std::uint32_t list_entry_value(int control, int index) const = 0;

  // The window's icons and its status bar (created empty along the bottom edge).
  virtual void set_icons() = 0;
  virtual void create_status_bar() = 0;
  // Any thread; waits until the window has shown the text.
  virtual void set_status_text(const char* text) = 0;

  virtual void set_timer(unsigned timer, unsigned period_ms) = 0;
  virtual void kill_timer(unsigned timer) = 0;

  // A message box owned by the main window.
  virtual BoxAnswer show_box(const BoxRequest& request) = 0;
  // Runs the device-information dialog modally, owned by the main window; `fill` sets its
  // fields while the dialog initializes. Returns once the user has closed it.
  virtual void show_device_info(const std::function<void(DeviceInfoView&)>& fill) = 0;
  // Runs an SMS dialog modally on the calling thread (the SMS worker), owned by the main window.
  // Returns once the user has closed it.
  virtual void run_sms_dialog(SmsDialogEvents& dialog) = 0;

  // The save-file dialog, owned by the main window; `path` (of `size` bytes) holds the proposed
  // name and receives the chosen full path. False when the user cancels. Called by the
  // signal-log worker.
  virtual bool choose_save_file(const SaveFileRequest& request, char* path, std::size_t size) = 0;

  // The data-plan dialog (template 110), modal, owned by the main window: its edits start with
  // `entry`, OK is enabled only while `acceptable` holds for what they show, and OK puts that
  // into `entry`. False when the user cancels.
  virtual bool edit_data_plan(PlanEntry& entry,
                              const std::function<bool(const PlanEntry&)>& acceptable) = 0;

  // Any thread; never waits for the window.
  virtual void post(const Notice& notice) = 0;
  virtual void post_close() = 0;
  virtual void end_dialog(int result) = 0;

  // Runs the usage-history dialog modally, owned by the main window, drawing `chart`; returns
  // once the user has closed it.
  virtual void run_history_dialog(const HistoryChart& chart) = 0;
};

}  // namespace kivo
