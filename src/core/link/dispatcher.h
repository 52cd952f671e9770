#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "base/command_set.h"
#include "base/message_boxes.h"
#include "base/trace.h"
#include "link/notices.h"

namespace kivo {

// Where the dispatcher hands a captured response: the ResponseBuffer and rx_response_event of
// the modem link. Called on the receive thread.
class ResponseSink {
 public:
  virtual ~ResponseSink() = default;
  // The response text (the rest of a chunk from the first line that is not an unsolicited
  // report, at most 2048 characters, no NUL inside): copy it into the ResponseBuffer and set
  // rx_response_event.
  virtual void capture_response(const char* text, std::size_t length) = 0;
  // Sets rx_response_event and leaves the ResponseBuffer as it is (the Novatel end-of-chunk rule).
  virtual void set_response_event() = 0;
};

struct DispatcherContext {
  NoticeSink& notices;
  const Trace* trace;  // null: no trace lines at all (benchmarks)
  MessageBoxes& boxes;
  const std::atomic<CommandSet>& command_set;
  ResponseSink& responses;
};

constexpr std::size_t kRxBufferSize = 2048;        // RxBuffer: one read, plus its NUL
constexpr std::size_t kResponseBufferSize = 2048;  // ResponseBuffer: text, plus its NUL

// The line dispatcher (`rx_dispatch`). It keeps no state between chunks besides
// NovatelStatus and sms_send_pending, and allocates nothing: a chunk is processed in place and
// the only copy is the response capture. rx_dispatch is called by one thread at a time.
class Dispatcher {
 public:
  explicit Dispatcher(DispatcherContext context) : context_(context) {}

  // Processes one chunk of `length` bytes held in a buffer of at least `length + 1` bytes
  // (RxBuffer); writes the NUL at chunk[length] itself. A Novatel reply (4B FA 03 00 or
  // 4B FA 04 00) is first unwrapped in place. The chunk is text: it ends at its first NUL.
  void rx_dispatch(char* chunk, std::size_t length);

  // sms_send_pending: set by the SMS sender, cleared by "+CMGS:" or a reported
  // "+CMS ERROR:".
  void set_sms_send_pending(bool pending) { sms_send_pending_.store(pending); }
  bool sms_send_pending() const { return sms_send_pending_.load(); }

  // Set while the command last sent carries the SIM codes: its echo is traced masked.
  void set_pin_echo_expected(bool expected) { pin_echo_expected_.store(expected); }

  // NovatelStatus: the status byte of the last Novatel reply unwrapped.
  std::uint8_t novatel_status() const { return novatel_status_.load(); }
  void set_novatel_status(std::uint8_t status) { novatel_status_.store(status); }

 private:
  friend struct DispatchRows;  // the handlers of the prefix table (dispatcher.cpp)

  void unwrap_novatel(std::uint8_t* chunk, std::size_t length);
  void end_of_chunk();
  void post(NoticeId id, std::uint32_t value = 0);
  template <typename Report>
  void post_report(NoticeId id, const Report& report);
  void trace_line(const char* label, const char* line, std::size_t line_length);
  void trace_received(const char* chunk, std::size_t length);

  DispatcherContext context_;
  std::atomic<bool> sms_send_pending_{false};
  std::atomic<std::uint8_t> novatel_status_{0};
  std::atomic<bool> pin_echo_expected_{false};
};

}  // namespace kivo
