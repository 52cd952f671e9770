#pragma once

#include <cstddef>

#if defined(__MINGW32__)
#define KIVO_PRINTF(fmt, args) __attribute__((format(gnu_printf, fmt, args)))
#else
#define KIVO_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#endif

namespace kivo {

// Where finished trace lines go: the debugger output on Windows, a recorder in tests.
class TraceSink {
 public:
  virtual ~TraceSink() = default;
  virtual void write_line(const char* line) = 0;
};

constexpr std::size_t kTraceLineSize = 2048;
constexpr char kTracePrefix[] = "KIVO: ";

// The program's always-on diagnostic trace. Each call formats into its own stack buffer, so
// any thread may call it at any time; text beyond the 2048-byte line is cut, never overrun.
class Trace {
 public:
  explicit Trace(TraceSink& sink) : sink_(sink) {}
  int operator()(const char* format, ...) const KIVO_PRINTF(2, 3);
  // The same as ("<label>%s", text) for `length` bytes of text, without the formatting cost:
  // the receive path traces every chunk this way.
  int labelled(const char* label, const char* text, std::size_t length) const;

 private:
  TraceSink& sink_;
};

}  // namespace kivo
