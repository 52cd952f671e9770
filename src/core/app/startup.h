#pragma once

#include "app/options.h"
#include "base/command_set.h"
#include "base/message_boxes.h"
#include "base/trace.h"

namespace kivo {

constexpr char kInstanceMutexName[] = "KIVO";
constexpr char kMainWindowTitle[] = "Kivoscope";

enum class MutexResult { Created, AlreadyExists, Failed };

// What start-up needs of the platform besides message boxes and the trace.
class StartupPlatform {
 public:
  virtual ~StartupPlatform() = default;
  virtual MutexResult create_instance_mutex(const char* name) = 0;
  // Finds the top-level dialog titled `title`; shows it in its normal state and brings it to the
  // front. False when there is no such window.
  virtual bool restore_window(const char* title) = 0;
  virtual void init_common_controls() = 0;
  virtual void load_application_icon() = 0;
  // Runs the main window as a modal dialog until it ends.
  virtual void run_main_window() = 0;
  virtual void release_instance_mutex() = 0;
};

struct StartupContext {
  StartupPlatform& platform;
  MessageBoxes& boxes;
  const Trace& trace;
  Options& options;
  CommandSet& command_set;
};

// The program's entry sequence; returns the process result (1 after a normal run, 0 when it
// stopped early: help shown, mutex failure or another instance running).
int run_startup(StartupContext& context, char* command_line);

}  // namespace kivo
