#pragma once

#include "base/process_starter.h"

namespace kivo {

class SystemProcessStarter : public ProcessStarter {
 public:
  bool run_and_wait(const char* command_line) override;
};

}  // namespace kivo
