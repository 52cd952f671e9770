#pragma once

#include <string>

#include "base/process_starter.h"
#include "support/journal.h"

namespace kivo::test {

// Records "run <command line>"; the process "ends" at once, or cannot be created.
class FakeProcessStarter : public ProcessStarter {
 public:
  explicit FakeProcessStarter(Journal& journal) : journal_(journal) {}

  bool can_start = true;

  bool run_and_wait(const char* command_line) override {
    journal_.add(std::string("run ") + command_line);
    return can_start;
  }

 private:
  Journal& journal_;
};

}  // namespace kivo::test
