#pragma once

#include "app/options.h"
#include "link/device_state.h"
#include "messaging/ussd_session.h"
#include "status/network_state.h"
#include "usage/usage_state.h"

namespace kivo {

// The process-wide records and flags, owned in one place: one instance in the program, a fresh
// one in every test. Each subsystem is handed only its own slice.
struct AppState {
  Options options;
  DeviceState device;
  NetworkState network;
  UsageState usage;
  UssdSession ussd;
};

}  // namespace kivo
