#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/serial_port.h"

namespace kivo::test {

// The modem behind a FakeSerialPort: a script of bursts for the receive thread to read, a record
// of what was written, and an optional responder that answers each write at once (by queuing
// bursts before the write returns). Shared between the test and the port the link owns.
class FakeModem {
 public:
  // Returns the bursts to queue in answer to one write (the written bytes).
  using Responder = std::function<std::vector<std::string>(const std::string& written)>;

  // --- test side ---
  void push_burst(std::string bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    bursts_.push_back(std::move(bytes));
    changed_.notify_all();
  }
  void set_responder(Responder responder) {
    std::lock_guard<std::mutex> lock(mutex_);
    responder_ = std::move(responder);
  }
  // Writes then never complete: each waits its whole time limit and fails (and is cancelled).
  void set_writes_hang(bool hang) {
    std::lock_guard<std::mutex> lock(mutex_);
    writes_hang_ = hang;
  }
  void set_start_listening_error(unsigned error) {
    std::lock_guard<std::mutex> lock(mutex_);
    start_listening_error_ = error;
  }
  // The next read reports a failed port (-1): the modem was unplugged.
  void unplug() {
    std::lock_guard<std::mutex> lock(mutex_);
    unplugged_ = true;
    changed_.notify_all();
  }
  // Reads ignore stop_listening() until release_reads(): a receive thread stuck in a read.
  void set_reads_stuck(bool stuck) {
    std::lock_guard<std::mutex> lock(mutex_);
    reads_stuck_ = stuck;
    changed_.notify_all();
  }
  // Waits until every queued burst has been read and dispatched (the reader is back waiting).
  bool wait_until_idle(std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return bursts_.empty() && reader_waiting_; });
  }
  std::vector<std::string> written() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return written_;
  }
  int cancelled_writes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return cancelled_writes_;
  }
  int purges() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return purges_;
  }
  bool port_closed() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return port_closed_;
  }
  bool listening() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return listening_;
  }

  // --- port side ---
  unsigned start_listening() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (start_listening_error_ == 0) listening_ = true;
    return start_listening_error_;
  }
  long read_burst(std::uint8_t* buffer, std::size_t capacity) {
    std::unique_lock<std::mutex> lock(mutex_);
    reader_waiting_ = true;
    changed_.notify_all();
    changed_.wait(lock,
                  [&] { return !bursts_.empty() || unplugged_ || (stopped_ && !reads_stuck_); });
    reader_waiting_ = false;
    if (!bursts_.empty()) {
      std::string burst = std::move(bursts_.front());
      bursts_.pop_front();
      const std::size_t n = burst.size() < capacity ? burst.size() : capacity;
      std::memcpy(buffer, burst.data(), n);
      return static_cast<long>(n);
    }
    if (unplugged_) return -1;
    return 0;
  }
  void stop_listening() {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
  }
  bool write(const void* bytes, std::size_t count, unsigned timeout_ms) {
    std::string data(static_cast<const char*>(bytes), count);
    Responder responder;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      written_.push_back(data);
      if (writes_hang_) {
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(timeout_ms));
        lock.lock();
        ++cancelled_writes_;
        return false;
      }
      responder = responder_;
    }
    if (responder)
      for (std::string& burst : responder(data)) push_burst(std::move(burst));
    return true;
  }
  void purge() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++purges_;
  }
  void port_destroyed() {
    std::lock_guard<std::mutex> lock(mutex_);
    port_closed_ = true;
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::string> bursts_;
  std::vector<std::string> written_;
  Responder responder_;
  bool writes_hang_ = false;
  unsigned start_listening_error_ = 0;
  bool unplugged_ = false;
  bool reads_stuck_ = false;
  bool stopped_ = false;
  bool listening_ = false;
  bool reader_waiting_ = false;
  bool port_closed_ = false;
  int cancelled_writes_ = 0;
  int purges_ = 0;
};

class FakeSerialPort : public SerialPort {
 public:
  explicit FakeSerialPort(std::shared_ptr<FakeModem> modem) : modem_(std::move(modem)) {}
  ~FakeSerialPort() override { modem_->port_destroyed(); }
  unsigned start_listening() override { return modem_->start_listening(); }
  long read_burst(std::uint8_t* buffer, std::size_t capacity) override {
    return modem_->read_burst(buffer, capacity);
  }
  void stop_listening() override { modem_->stop_listening(); }
  bool write(const void* bytes, std::size_t count, unsigned timeout_ms) override {
    return modem_->write(bytes, count, timeout_ms);
  }
  void purge() override { modem_->purge(); }

 private:
  std::shared_ptr<FakeModem> modem_;
};

// Opens a FakeSerialPort on a fresh FakeModem per open (or fails when told to).
class FakeSerialPortOpener : public SerialPortOpener {
 public:
  std::unique_ptr<SerialPort> open(const char* port_name) override {
    std::lock_guard<std::mutex> lock(mutex_);
    opened_names_.emplace_back(port_name);
    if (fail_) return nullptr;
    return std::make_unique<FakeSerialPort>(modem_);
  }
  // Opens nothing that stays: records the name, runs `during_probe` (what changes meanwhile)
  // and fails when told to.
  bool probe_port(const char* port_name) override {
    bool opens;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      probed_names_.emplace_back(port_name);
      opens = !fail_;
    }
    if (during_probe) during_probe();
    return opens;
  }
  std::function<void()> during_probe;
  // The modem the next open connects to (set it up before opening).
  std::shared_ptr<FakeModem> modem() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return modem_;
  }
  void replace_modem() {
    std::lock_guard<std::mutex> lock(mutex_);
    modem_ = std::make_shared<FakeModem>();
  }
  void set_fail(bool fail) {
    std::lock_guard<std::mutex> lock(mutex_);
    fail_ = fail;
  }
  std::vector<std::string> opened_names() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return opened_names_;
  }
  std::vector<std::string> probed_names() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return probed_names_;
  }

 private:
  mutable std::mutex mutex_;
  std::shared_ptr<FakeModem> modem_ = std::make_shared<FakeModem>();
  std::vector<std::string> opened_names_;
  std::vector<std::string> probed_names_;
  bool fail_ = false;
};

}  // namespace kivo::test
