#include "base/trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace kivo {

int Trace::operator()(const char* format, ...) const {
  char line[kTraceLineSize];
  constexpr std::size_t prefix_length = sizeof(kTracePrefix) - 1;
  std::memcpy(line, kTracePrefix, prefix_length);
  va_list args;
  va_start(args, format);
  // vsnprintf cuts the text to fit with its terminator, whatever the arguments expand to.
  int written = std::vsnprintf(line + prefix_length, sizeof(line) - prefix_length, format, args);
  va_end(args);
  if (written < 0) line[prefix_length] = '\0';
  sink_.write_line(line);
  return 1;
}

int Trace::labelled(const char* label, const char* text, std::size_t length) const {
  char line[kTraceLineSize];
  std::size_t used = 0;
  auto append = [&](const char* bytes, std::size_t count) {
    std::size_t room = sizeof(line) - 1 - used;
    if (count > room) count = room;
    std::memcpy(line + used, bytes, count);
    used += count;
  };
  append(kTracePrefix, sizeof(kTracePrefix) - 1);
  append(label, std::strlen(label));
  append(text, length);
  line[used] = '\0';
  sink_.write_line(line);
  return 1;
}

}  // namespace kivo
