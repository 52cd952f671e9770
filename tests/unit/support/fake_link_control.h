#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>

#include "link/link_control.h"
#include "support/journal.h"

namespace kivo::test {

// Records "open COM7", "close", "at <command>" and "exchange <hex bytes>"; every exchange
// answers at once, with "OK" unless `answers` holds another text for the command, or times out
// (result 0, the last answer's text) for a command in `timing_out`. Also records "exclusive",
// "exclusive end" and "sms pending 1" or "sms pending 0".
class FakeLinkControl : public LinkControl {
 public:
  explicit FakeLinkControl(Journal& journal) : journal_(journal) {}

  int open_result = 1;
  std::deque<int> open_results;  // taken first, one per open, before open_result
  bool open = false;
  std::map<std::string, std::string> answers;  // by command, with its CR LF
  std::set<std::string> timing_out;            // by command, with its CR LF
  int data_result = 1;                         // what tx_data returns

  int open_modem_link(const char* port_name) override {
    journal_.add(std::string("open ") + port_name);
    int result = open_result;
    if (!open_results.empty()) {
      result = open_results.front();
      open_results.pop_front();
    }
    open = result == 1;
    return result;
  }
  void close() override {
    journal_.add("close");
    open = false;
  }
  bool is_open() const override { return open; }
  Reply tx_at_command(const char* command) override {
    journal_.add(std::string("at ") + command);
    if (timing_out.count(command)) return {0, last_answer_};
    const auto answer = answers.find(command);
    last_answer_ = answer == answers.end() ? "OK" : answer->second;
    return {1, last_answer_};
  }
  int tx_data(const void* bytes, std::size_t count) override {
    journal_.add("data " + hex_bytes(bytes, count));
    return data_result;
  }
  Reply tx_data_and_get_response(const void* bytes, std::size_t count) override {
    journal_.add("exchange " + hex_bytes(bytes, count));
    return {1, "OK"};
  }
  void exclusive(const std::function<void()>& exchanges) override {
    journal_.add("exclusive");
    exchanges();
    journal_.add("exclusive end");
  }
  void set_sms_send_pending(bool pending) override {
    journal_.add(pending ? "sms pending 1" : "sms pending 0");
  }

 private:
  Journal& journal_;
  std::string last_answer_;
};

}  // namespace kivo::test
