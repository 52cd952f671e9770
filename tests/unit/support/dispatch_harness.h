#pragma once

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "link/dispatcher.h"
#include "support/fake_message_boxes.h"
#include "support/recording_notices.h"
#include "support/recording_trace.h"

namespace kivo::test {

// Records what the dispatcher hands to the link: captured responses and bare response events.
class RecordingResponseSink : public ResponseSink {
 public:
  void capture_response(const char* text, std::size_t length) override {
    std::lock_guard<std::mutex> lock(mutex_);
    captures_.emplace_back(text, length);
  }
  void set_response_event() override {
    std::lock_guard<std::mutex> lock(mutex_);
    ++bare_events_;
  }
  std::vector<std::string> captures() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return captures_;
  }
  int bare_events() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return bare_events_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> captures_;
  int bare_events_ = 0;
};

// A dispatcher wired to recorders. feed() passes a chunk in an exact-size buffer (its bytes and
// the NUL), so a read outside the chunk is caught by AddressSanitizer.
struct DispatchHarness {
  explicit DispatchHarness(CommandSet set = CommandSet::Huawei) : command_set(set) {}

  void feed(const std::string& bytes) {
    std::vector<char> buffer(bytes.size() + 1);
    std::memcpy(buffer.data(), bytes.data(), bytes.size());
    dispatcher.rx_dispatch(buffer.data(), bytes.size());
  }

  RecordingTraceSink trace_sink;
  Trace trace{trace_sink};
  FakeMessageBoxes boxes;
  RecordingNoticeSink notices;
  std::atomic<CommandSet> command_set;
  RecordingResponseSink responses;
  Dispatcher dispatcher{{notices, &trace, boxes, command_set, responses}};
};

}  // namespace kivo::test
