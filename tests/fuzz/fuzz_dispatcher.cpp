// The line dispatcher, fed whole chunks (at most one read of 2048 bytes) with every command set
// and both states of sms_send_pending. The first input byte picks sms_send_pending.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "link/dispatcher.h"

namespace {

using namespace kivo;

// Checks what the dispatcher hands on: a capture is at most 2048 characters with no NUL inside.
class CheckingResponseSink : public ResponseSink {
 public:
  void capture_response(const char* text, std::size_t length) override {
    KIVO_FUZZ_CHECK(length <= kResponseBufferSize);
    KIVO_FUZZ_CHECK(std::memchr(text, '\0', length) == nullptr);
    std::memcpy(buffer_, text, length);
    buffer_[length] = '\0';
  }
  void set_response_event() override {}

 private:
  char buffer_[kResponseBufferSize + 1];
};

class CheckingNoticeSink : public NoticeSink {
 public:
  void post(const Notice& notice) override {
    if (const auto* ussd = std::get_if<UssdResponse>(&notice.report))
      KIVO_FUZZ_CHECK(std::memchr(ussd->text, '\0', sizeof ussd->text) != nullptr);
    if (const auto* page = std::get_if<CellBroadcastPage>(&notice.report)) {
      KIVO_FUZZ_CHECK(std::memchr(page->text, '\0', sizeof page->text) != nullptr);
      KIVO_FUZZ_CHECK(page->page >= 1 && page->page <= 15);
      KIVO_FUZZ_CHECK(page->pages >= 1 && page->pages <= 15);
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool sms_pending = data[0] & 1;
  ++data;
  --size;
  if (size > kRxBufferSize) size = kRxBufferSize;

  fuzz::NullTraceSink trace_sink;
  Trace trace(trace_sink);
  fuzz::NullMessageBoxes boxes;
  CheckingNoticeSink notices;
  CheckingResponseSink responses;
  for (int set = 0; set <= static_cast<int>(CommandSet::Nokia); ++set) {
    std::atomic<CommandSet> command_set{static_cast<CommandSet>(set)};
    Dispatcher dispatcher({notices, &trace, boxes, command_set, responses});
    dispatcher.set_sms_send_pending(sms_pending);
    // Exact-size buffer: the chunk and the RxBuffer's NUL, nothing more.
    std::vector<char> chunk(data, data + size);
    chunk.push_back('\0');
    dispatcher.rx_dispatch(chunk.data(), size);
  }
  return 0;
}
