#pragma once

#include <atomic>

#include "base/command_set.h"

namespace kivo {

// What the whole program knows of the modem it talks to. Several threads read it.
struct DeviceState {
  std::atomic<CommandSet> command_set{CommandSet::Standard};
  // The link is open and its initialization succeeded.
  std::atomic<bool> device_ready{false};
};

}  // namespace kivo
