#pragma once

#include <windows.h>

#include <atomic>

#include "dialog_rescale.h"
#include "link/notices.h"
#include "view/main_view.h"

namespace kivo {

// The main window's controls, status bar and timers, reached through the dialog's handle.
class DialogMainView : public MainView {
 public:
  // `window` is published while the dialog exists, for owned boxes and posted notices.
  DialogMainView(NoticeSink& notices, std::atomic<HWND>& window)
      : notices_(notices), window_(window) {}

  // From the dialog's creation to its end.
  void attach(HWND dialog, HINSTANCE instance, HICON icon);
  void detach();
  // WM_DPICHANGED: the window moves to the rectangle Windows suggests for the new DPI (the
  // dialog manager scales the template's controls), and what the program sized itself follows.
  void on_dpi_changed(UINT dpi, const RECT& suggested);

  void set_text(int control, const char* text) override;
  std::string text(int control) const override;
  void enable(int control, bool enabled) override;
  void set_default_button(int control) override;
  void limit_text(int control, unsigned characters) override;
  void append_text(int control, const char* text) override;
  void copy_text_to_clipboard(int control) override;

  void set_bar_range(int control, int low, int high) override;
  void set_bar_position(int control, int position) override;
  void set_bar_colour(int control, std::uint32_t colour) override;
  void set_bar_background(int control, std::uint32_t colour) override;

  void clear_list(int control) override;
  void add_list_entry(int control, const char* text, std::uint32_t value) override;
  void select_list_entry(int control, int index) override;
  int selected_list_entry(int control) const override;
  std::uint32_t list_entry_value(int control, int index) const override;

  void set_icons() override;
  void create_status_bar() override;
  void set_status_text(const char* text) override;

  void set_timer(unsigned timer, unsigned period_ms) override;
  void kill_timer(unsigned timer) override;

  BoxAnswer show_box(const BoxRequest& request) override;
  void show_device_info(const std::function<void(DeviceInfoView&)>& fill) override;
  void run_sms_dialog(SmsDialogEvents& dialog) override;
  bool choose_save_file(const SaveFileRequest& request, char* path, std::size_t size) override;
  bool edit_data_plan(PlanEntry& entry,
                      const std::function<bool(const PlanEntry&)>& acceptable) override;

  void post(const Notice& notice) override;
  void post_close() override;
  void end_dialog(int result) override;
  void run_history_dialog(const HistoryChart& chart) override;

 private:
  LRESULT send(int control, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const {
    return SendDlgItemMessageA(dialog_, control, message, wparam, lparam);
  }

  void load_icons(UINT dpi);
  void fit_status_bar_to_dpi(UINT dpi);

  NoticeSink& notices_;
  std::atomic<HWND>& window_;
  HWND dialog_ = nullptr;
  HINSTANCE instance_ = nullptr;
  HICON icon_ = nullptr;
  // The window's own icons and status-bar font, at its DPI.
  HICON small_icon_ = nullptr;
  HICON big_icon_ = nullptr;
  HFONT status_font_ = nullptr;
  DialogRescaler rescaler_;
  // Set once on the window's thread before any worker starts; read by workers.
  std::atomic<HWND> status_bar_{nullptr};
};

}  // namespace kivo
