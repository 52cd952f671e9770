#pragma once

#include "base/clock.h"

namespace kivo {

class SystemClock : public Clock {
 public:
  LocalTime local_time() override;
};

}  // namespace kivo
