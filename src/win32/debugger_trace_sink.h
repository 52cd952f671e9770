#pragma once

#include "base/trace.h"

namespace kivo {

// Trace lines go to the debugger output, where a debug viewer (or the test listener) shows them.
class DebuggerTraceSink : public TraceSink {
 public:
  void write_line(const char* line) override;
};

}  // namespace kivo
