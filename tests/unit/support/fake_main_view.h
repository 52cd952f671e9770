#pragma once

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/fake_message_boxes.h"
#include "support/journal.h"
#include "view/main_view.h"

namespace kivo::test {

// A drop-down list's item values and selection (-1: none); a test selects as the user would.
struct FakeList {
  std::vector<std::uint32_t> values;
  int selected = -1;
};

// Records every call in the journal (`text 1021 ""`, "enable 1023 0", "post 3", ...) and
// keeps the control texts and lists, so the logic can read back what the user typed or chose.
class FakeMainView : public MainView {
 public:
  explicit FakeMainView(Journal& journal) : journal_(journal) {}

  FakeMessageBoxes boxes;
  std::map<int, std::string> texts;
  std::map<int, FakeList> lists;
  // The path the user chooses in the save-file dialog; none: the user cancels.
  std::optional<std::string> save_file_choice;
  // What the user does while the device-information dialog is open, before closing it.
  std::function<void()> while_device_info_open;
  // What the user does in the SMS dialog, on the dialog's events, before closing it.
  std::function<void(SmsDialogEvents&)> while_sms_dialog_open;
  // The charts the usage-history dialog was opened with.
  std::vector<HistoryChart> history_charts;
  // What the user types into the data-plan dialog's edits; none: the user cancels.
  std::optional<PlanEntry> plan_typed;

  void set_text(int control, const char* text) override {
    texts[control] = text;
    log("text", control, '"' + std::string(text) + '"');
  }
  std::string text(int control) const override {
    auto it = texts.find(control);
    return it == texts.end() ? std::string() : it->second;
  }
  void enable(int control, bool enabled) override { log("enable", control, enabled ? "1" : "0"); }
  void set_default_button(int control) override { log("default", control); }
  void limit_text(int control, unsigned characters) override {
    log("limit", control, std::to_string(characters));
  }
  void append_text(int control, const char* text) override { log("append", control, text); }
  void copy_text_to_clipboard(int control) override { log("copy", control); }
  void set_bar_range(int control, int low, int high) override {
    log("bar range", control, std::to_string(low) + " " + std::to_string(high));
  }
  void set_bar_position(int control, int position) override {
    log("bar position", control, std::to_string(position));
  }
  void set_bar_colour(int control, std::uint32_t colour) override {
    log("bar colour", control, hex(colour));
  }
  void set_bar_background(int control, std::uint32_t colour) override {
    log("bar background", control, hex(colour));
  }
  void clear_list(int control) override {
    lists[control] = FakeList{};
    log("list clear", control);
  }
  void add_list_entry(int control, const char* text, std::uint32_t value) override {
    lists[control].values.push_back(value);
    log("list add", control, std::string(text) + " " + std::to_string(value));
  }
  void select_list_entry(int control, int index) override {
    lists[control].selected = index;
    log("list select", control, std::to_string(index));
  }
  int selected_list_entry(int control) const override {
    auto it = lists.find(control);
    return it == lists.end() ? -1 : it->second.selected;
  }
  // Like the combo box: an index without an entry gives the error value.
  std::uint32_t list_entry_value(int control, int index) const override {
    auto it = lists.find(control);
    if (it == lists.end() || index < 0 || std::size_t(index) >= it->second.values.size())
      return 0xFFFFFFFF;
    return it->second.values[std::size_t(index)];
  }
  void set_icons() override { journal_.add("icons"); }
  void create_status_bar() override { journal_.add("status bar"); }
  void set_status_text(const char* text) override { journal_.add(std::string("status ") + text); }
  void set_timer(unsigned timer, unsigned period_ms) override {
    log("timer", int(timer), std::to_string(period_ms));
  }
  void kill_timer(unsigned timer) override { log("kill", int(timer)); }
  BoxAnswer show_box(const BoxRequest& request) override {
    journal_.add(std::string("box ") + request.text);
    return boxes.show(request);
  }
  // Records "device info", each field as "field 1017 "COM7"", then "device info closed".
  void show_device_info(const std::function<void(DeviceInfoView&)>& fill) override {
    journal_.add("device info");
    FieldRecorder fields(journal_);
    fill(fields);
    if (while_device_info_open) while_device_info_open();
    journal_.add("device info closed");
  }
  // Records "sms dialog" and "sms dialog closed".
  void run_sms_dialog(SmsDialogEvents& dialog) override {
    journal_.add("sms dialog");
    if (while_sms_dialog_open) while_sms_dialog_open(dialog);
    journal_.add("sms dialog closed");
  }
  // Records "save file TITLE|FILTER|PATTERN|EXTENSION|PROPOSED".
  bool choose_save_file(const SaveFileRequest& request, char* path, std::size_t size) override {
    journal_.add(std::string("save file ") + request.title + '|' + request.filter_name + '|' +
                 request.pattern + '|' + request.default_extension + '|' + path);
    if (!save_file_choice || save_file_choice->size() >= size) return false;
    std::snprintf(path, size, "%s", save_file_choice->c_str());
    return true;
  }
  // Records "plan dialog ALLOWANCE|DAY|PERCENT" as it opens; OK only while `acceptable` holds.
  bool edit_data_plan(PlanEntry& entry,
                      const std::function<bool(const PlanEntry&)>& acceptable) override {
    journal_.add("plan dialog " + entry.allowance_mb + '|' + entry.billing_day + '|' +
                 entry.warn_percent);
    if (!plan_typed || !acceptable(*plan_typed)) return false;
    entry = *plan_typed;
    return true;
  }
  void post(const Notice& notice) override {
    journal_.add("post " + std::to_string(static_cast<unsigned>(notice.id)));
  }
  void post_close() override { journal_.add("post close"); }
  void end_dialog(int result) override { journal_.add("end " + std::to_string(result)); }
  void run_history_dialog(const HistoryChart& chart) override {
    journal_.add("history dialog");
    history_charts.push_back(chart);
  }

 private:
  class FieldRecorder : public DeviceInfoView {
   public:
    explicit FieldRecorder(Journal& journal) : journal_(journal) {}
    void set_field(int control, const char* text) override {
      journal_.add("field " + std::to_string(control) + " \"" + text + '"');
    }

   private:
    Journal& journal_;
  };

  void log(const char* what, int control, const std::string& detail = "") {
    journal_.add(std::string(what) + " " + std::to_string(control) +
                 (detail.empty() ? "" : " " + detail));
  }
  static std::string hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof(text), "%06X", static_cast<unsigned>(value));
    return text;
  }

  Journal& journal_;
};

}  // namespace kivo::test
