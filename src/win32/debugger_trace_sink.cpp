#include "debugger_trace_sink.h"

#include <windows.h>

namespace kivo {

void DebuggerTraceSink::write_line(const char* line) {
  OutputDebugStringA(line);
}

}  // namespace kivo
