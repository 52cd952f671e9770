#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <optional>
#include <string>

#include "link/at_channel.h"
#include "support/journal.h"

namespace kivo::test {

// A modem that answers each command with the texts scripted for it, in order, the last one
// again and again. Records "at <command>" in the journal. A command without a script gets the
// answer given to `answer_others`, or times out: result 0 and the previous response text, as the
// ResponseBuffer keeps it. Raw writes are recorded as "data <hex bytes>" (tx_data) and
// "exchange <hex bytes>" (tx_data_and_get_response); exchanges answer from their own script
// the same way.
class ScriptedAtChannel : public AtChannel {
 public:
  explicit ScriptedAtChannel(Journal& journal) : journal_(journal) {}

  // `command` without its CR LF.
  void answer(const std::string& command, std::string text) {
    answers_[command + "\r\n"].push_back(std::move(text));
  }

  bool scripted(const std::string& command) const { return answers_.count(command + "\r\n") != 0; }
  // The answer to every command that has no script of its own.
  void answer_others(std::string text) { other_answer_ = std::move(text); }
  void answer_exchange(std::string text) { exchange_answers_.push_back(std::move(text)); }

  // Forgets every script; the last response text stays, as in the ResponseBuffer.
  void clear_script() {
    answers_.clear();
    other_answer_.reset();
    exchange_answers_.clear();
  }

  Reply tx_at_command(const char* command) override {
    journal_.add(std::string("at ") + command);
    auto it = answers_.find(command);
    if (it != answers_.end() && !it->second.empty()) return next_answer(it->second);
    if (other_answer_) return answer_with(*other_answer_);
    return {0, buffer_};
  }
  int tx_data(const void* bytes, std::size_t count) override {
    journal_.add("data " + hex_bytes(bytes, count));
    return 1;
  }
  Reply tx_data_and_get_response(const void* bytes, std::size_t count) override {
    journal_.add("exchange " + hex_bytes(bytes, count));
    if (exchange_answers_.empty()) return {0, buffer_};
    return next_answer(exchange_answers_);
  }

 private:
  Reply next_answer(std::deque<std::string>& answers) {
    const Reply reply = answer_with(answers.front());
    if (answers.size() > 1) answers.pop_front();
    return reply;
  }
  Reply answer_with(const std::string& text) {
    buffer_ = text;
    return {1, buffer_};
  }

  Journal& journal_;
  std::map<std::string, std::deque<std::string>> answers_;
  std::optional<std::string> other_answer_;
  std::deque<std::string> exchange_answers_;
  std::string buffer_;
};

}  // namespace kivo::test
