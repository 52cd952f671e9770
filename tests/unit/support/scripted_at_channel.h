#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <string>

#include "link/at_channel.h"
#include "support/journal.h"

namespace kivo::test {

// A modem that answers each command with the texts scripted for it, in order, the last one
// again and again. Records "at <command>" in the journal. A command without a script times out:
// result 0 and the previous response text, as the ResponseBuffer keeps it.
class ScriptedAtChannel : public AtChannel {
 public:
  explicit ScriptedAtChannel(Journal& journal) : journal_(journal) {}

  // `command` without its CR LF.
  void answer(const std::string& command, std::string text) {
    answers_[command + "\r\n"].push_back(std::move(text));
  }

  // Forgets every script; the last response text stays, as in the ResponseBuffer.
  void clear_script() { answers_.clear(); }

  Reply tx_at_command(const char* command) override {
    journal_.add(std::string("at ") + command);
    auto it = answers_.find(command);
    if (it == answers_.end() || it->second.empty()) return {0, buffer_};
    buffer_ = it->second.front();
    if (it->second.size() > 1) it->second.pop_front();
    return {1, buffer_};
  }
  int tx_data(const void*, std::size_t) override { return 1; }
  Reply tx_data_and_get_response(const void*, std::size_t) override { return {0, buffer_}; }

 private:
  Journal& journal_;
  std::map<std::string, std::deque<std::string>> answers_;
  std::string buffer_;
};

}  // namespace kivo::test
