#include "link/modem_link.h"

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <string>

#include "link/dispatcher.h"
#include "link/link_profile.h"
#include "link/novatel.h"
#include "link/pin_mask.h"

namespace kivo {

// One open port and its receive thread. The thread holds it too, so a thread that does not end
// within close()'s wait (and is detached) still reads only memory that lives.
struct ModemLink::RxSession {
  enum class State { Starting, Listening, Failed, Ended };

  explicit RxSession(std::unique_ptr<SerialPort> p) : port(std::move(p)) {}

  const std::shared_ptr<SerialPort> port;
  std::atomic<bool> stop{false};  // rx_thread_end_event
  std::mutex mutex;
  std::condition_variable changed;
  State state = State::Starting;           // rx_thread_ready_event, and the thread's end
  char rx_buffer[kRxBufferSize + 1] = {};  // RxBuffer

  void set_state(State s) {
    std::lock_guard<std::mutex> lock(mutex);
    state = s;
    changed.notify_all();
  }
};

// The link's state shared by the senders and the receive thread.
struct ModemLink::Shared final : ResponseSink {
  explicit Shared(const ModemLinkContext& c)
      : context(c), dispatcher({c.notices, &c.trace, c.boxes, c.command_set, *this}) {}

  void capture_response(const char* text, std::size_t length) override {
    if (length > kResponseBufferSize) length = kResponseBufferSize;
    std::lock_guard<std::mutex> lock(mutex);
    std::memcpy(response_buffer, text, length);
    response_buffer[length] = '\0';
    response_event = true;
    response_changed.notify_all();
  }

  void set_response_event() override {
    std::lock_guard<std::mutex> lock(mutex);
    response_event = true;
    response_changed.notify_all();
  }

  void reset_response_event() {
    std::lock_guard<std::mutex> lock(mutex);
    response_event = false;
  }

  // Waits for rx_response_event; when `text` is given, copies the ResponseBuffer into it under
  // the same lock (whether or not the wait timed out).
  bool wait_response_event(unsigned timeout_ms, std::string* text) {
    std::unique_lock<std::mutex> lock(mutex);
    const bool set = response_changed.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                                               [this] { return response_event; });
    if (text) text->assign(response_buffer);
    return set;
  }

  std::string response_text() {
    std::lock_guard<std::mutex> lock(mutex);
    return std::string(response_buffer);
  }

  std::shared_ptr<SerialPort> port() {
    std::lock_guard<std::mutex> lock(mutex);
    return session ? session->port : nullptr;
  }

  // novatel_tx_command's view of the link during one exchange.
  class NovatelView final : public NovatelChannel {
   public:
    NovatelView(Shared& shared, SerialPort* port, unsigned wait_ms)
        : shared_(shared), port_(port), wait_ms_(wait_ms) {}
    bool write(const void* bytes, std::size_t count) override {
      return port_ && port_->write(bytes, count, wait_ms_);
    }
    void reset_response_event() override { shared_.reset_response_event(); }
    bool wait_response_event() override { return shared_.wait_response_event(wait_ms_, nullptr); }
    std::uint8_t novatel_status() const override { return shared_.dispatcher.novatel_status(); }

   private:
    Shared& shared_;
    SerialPort* port_;
    unsigned wait_ms_;
  };

  const ModemLinkContext context;
  Dispatcher dispatcher;
  // One AT exchange (write, wait, capture) at a time; exclusive() holds it across several.
  std::recursive_mutex exchange_mutex;

  std::mutex mutex;  // guards what follows
  std::condition_variable response_changed;
  bool response_event = false;                         // rx_response_event
  char response_buffer[kResponseBufferSize + 1] = {};  // ResponseBuffer: never cleared
  std::shared_ptr<RxSession> session;                  // the open port, null when closed
};

ModemLink::ModemLink(ModemLinkContext context, ModemLinkTimings timings)
    : context_(context), timings_(timings), shared_(std::make_shared<Shared>(context_)) {}

ModemLink::~ModemLink() {
  close();
}

void ModemLink::rx_thread_proc(std::shared_ptr<Shared> shared, std::shared_ptr<RxSession> session) {
  SerialPort& port = *session->port;
  if (const unsigned error = port.start_listening()) {
    error_box(shared->context.boxes, "SetCommMask failed with error %d.\n",
              static_cast<int>(error));
    session->set_state(RxSession::State::Failed);
    return;
  }
  session->set_state(RxSession::State::Listening);
  while (!session->stop.load()) {
    long got = port.read_burst(reinterpret_cast<std::uint8_t*>(session->rx_buffer), kRxBufferSize);
    // Once close() has asked the thread to end, what a read still returns belongs to no open
    // link: a late ^BOOT would start discovery again after the close.
    if (session->stop.load()) break;
    if (got < 0) {
      shared->context.trace("port read failed, receive thread ending (modem unplugged?)");
      break;
    }
    if (got == 0) continue;  // woken by stop_listening(), or a read that delivered nothing
    if (got > static_cast<long>(kRxBufferSize)) got = static_cast<long>(kRxBufferSize);
    session->rx_buffer[got] = '\0';
    shared->dispatcher.rx_dispatch(session->rx_buffer, static_cast<std::size_t>(got));
  }
  session->set_state(RxSession::State::Ended);
}

int ModemLink::open_modem_link(const char* port_name) {
  std::lock_guard<std::mutex> lifecycle(lifecycle_mutex_);
  close_locked();
  shared_->dispatcher.set_sms_send_pending(false);
  if (!port_name || std::strlen(port_name) > kMaxPortNameLength) {
    context_.trace("port name too long: %s", port_name ? port_name : "");
    return 0;
  }
  std::unique_ptr<SerialPort> port = context_.opener.open(port_name);
  if (!port) return 0;
  auto session = std::make_shared<RxSession>(std::move(port));
  rx_thread_ = std::thread(rx_thread_proc, shared_, session);
  {
    std::unique_lock<std::mutex> lock(session->mutex);
    session->changed.wait(lock, [&] { return session->state != RxSession::State::Starting; });
    if (session->state != RxSession::State::Listening) {
      lock.unlock();
      rx_thread_.join();  // it has ended (or is ending) by itself
      return 0;           // the port closes with the last reference to the session
    }
  }
  {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->session = session;
  }
  context_.trace("opened port %s", port_name);
  return 1;
}

void ModemLink::close() {
  std::lock_guard<std::mutex> lifecycle(lifecycle_mutex_);
  close_locked();
}

void ModemLink::close_locked() {
  std::shared_ptr<RxSession> session;
  {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    session.swap(shared_->session);
  }
  if (rx_thread_.joinable()) {
    bool ended = true;
    if (session) {
      session->stop.store(true);
      session->port->stop_listening();
      std::unique_lock<std::mutex> lock(session->mutex);
      ended = session->changed.wait_for(lock, std::chrono::milliseconds(timings_.close_wait_ms),
                                        [&] { return session->state == RxSession::State::Ended; });
    }
    if (ended) {
      rx_thread_.join();
    } else {
      context_.trace("rx_thread not exiting within %u ms, left to end by itself",
                     timings_.close_wait_ms);
      // The thread holds the session and the shared state, so it may go on safely; it ends at
      // its next look at the stop flag, and the port closes with its last reference.
      rx_thread_.detach();
    }
  }
  if (session) session->port->purge();
}

bool ModemLink::is_open() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->session != nullptr;
}

Reply ModemLink::tx_at_command(const char* command) {
  Shared& s = *shared_;
  std::lock_guard<std::recursive_mutex> exchange(s.exchange_mutex);
  Reply reply;
  const std::shared_ptr<SerialPort> port = s.port();
  char masked[kPinMaskBufferSize];
  const std::string_view shown = mask_pin_codes(command, masked);
  context_.trace.labelled("sent data: ", shown.data(), shown.size());
  s.dispatcher.set_pin_echo_expected(shown.data() != command);
  s.reset_response_event();
  bool written;
  if (link_profile(context_.command_set.load()).diagnostic_framing) {
    Shared::NovatelView channel(s, port.get(), timings_.exchange_wait_ms);
    bool write_failed = false;
    // Its own result is not used: the two waits below decide. But a modem still asking for a
    // resend has not taken the command, and its last refusal set the event: that is no answer.
    if (!novatel_tx_command(channel, command, context_.trace, write_failed) && !write_failed &&
        s.dispatcher.novatel_status() == kNovatelStatusResend) {
      reply.text = s.response_text();
      return reply;
    }
    written = !write_failed;
  } else {
    written = port && port->write(command, std::strlen(command), timings_.exchange_wait_ms);
  }
  if (!written) {
    context_.trace("timeout waiting for data to be sent");
    reply.text = s.response_text();
    return reply;
  }
  if (!s.wait_response_event(timings_.exchange_wait_ms, &reply.text)) {
    context_.trace("timeout waiting for command response");
    return reply;
  }
  reply.result = 1;
  return reply;
}

int ModemLink::tx_data(const void* bytes, std::size_t count) {
  Shared& s = *shared_;
  std::lock_guard<std::recursive_mutex> exchange(s.exchange_mutex);
  const std::shared_ptr<SerialPort> port = s.port();
  if (!port || !port->write(bytes, count, timings_.exchange_wait_ms)) {
    context_.trace("timeout waiting for data to be sent");
    return 0;
  }
  return 1;
}

Reply ModemLink::tx_data_and_get_response(const void* bytes, std::size_t count) {
  Shared& s = *shared_;
  std::lock_guard<std::recursive_mutex> exchange(s.exchange_mutex);
  Reply reply;
  const std::shared_ptr<SerialPort> port = s.port();
  s.reset_response_event();
  if (!port || !port->write(bytes, count, timings_.exchange_wait_ms)) {
    context_.trace("timeout waiting for data to be sent");
    reply.text = s.response_text();
    return reply;
  }
  if (!s.wait_response_event(timings_.exchange_wait_ms, &reply.text)) {
    context_.trace("timeout waiting for command response");
    return reply;
  }
  reply.result = 1;
  return reply;
}

void ModemLink::exclusive(const std::function<void()>& exchanges) {
  std::lock_guard<std::recursive_mutex> hold(shared_->exchange_mutex);
  exchanges();
}

void ModemLink::set_sms_send_pending(bool pending) {
  shared_->dispatcher.set_sms_send_pending(pending);
}

bool ModemLink::sms_send_pending() const {
  return shared_->dispatcher.sms_send_pending();
}

}  // namespace kivo
