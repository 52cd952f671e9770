#pragma once

#include <functional>
#include <map>
#include <string>

#include "base/worker_threads.h"
#include "support/journal.h"

namespace kivo::test {

// Records "start thread N" and "join thread N"; a body runs only when the test says so, on the
// test's own thread.
class FakeWorkerThreads : public WorkerThreads {
 public:
  explicit FakeWorkerThreads(Journal& journal) : journal_(journal) {}

  Id start(std::function<void()> body) override {
    bodies_[++last_] = std::move(body);
    journal_.add("start thread " + std::to_string(last_));
    return last_;
  }
  void join(Id thread) override { journal_.add("join thread " + std::to_string(thread)); }

  void run(Id thread) { bodies_.at(thread)(); }
  Id last() const { return last_; }

 private:
  Journal& journal_;
  std::map<Id, std::function<void()>> bodies_;
  Id last_ = 0;
};

}  // namespace kivo::test
