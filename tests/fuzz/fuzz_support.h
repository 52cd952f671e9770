#pragma once

// Shared pieces of the fuzz targets: sinks that keep nothing, and a check that traps.

#include <cstdlib>

#include "base/message_boxes.h"
#include "base/trace.h"
#include "link/notices.h"

namespace kivo::fuzz {

class NullTraceSink : public TraceSink {
 public:
  void write_line(const char*) override {}
};

class NullMessageBoxes : public MessageBoxes {
 public:
  BoxAnswer show(const BoxRequest&) override { return BoxAnswer::Ok; }
};

class NullNoticeSink : public NoticeSink {
 public:
  void post(const Notice&) override {}
};

// An invariant of a decoder that must hold for every input.
#define KIVO_FUZZ_CHECK(condition)  \
  do {                              \
    if (!(condition)) std::abort(); \
  } while (0)

}  // namespace kivo::fuzz
