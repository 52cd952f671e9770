#pragma once

#include <windows.h>

#include "app/startup.h"
#include "main_window.h"

namespace kivo {

class SystemStartupPlatform : public StartupPlatform {
 public:
  SystemStartupPlatform(HINSTANCE instance, MainWindow& main_window)
      : instance_(instance), main_window_(main_window) {}

  MutexResult create_instance_mutex(const char* name) override;
  bool restore_window(const char* title) override;
  void init_common_controls() override;
  void load_application_icon() override;
  void run_main_window() override;
  void release_instance_mutex() override;

 private:
  HINSTANCE instance_;
  MainWindow& main_window_;
  HANDLE mutex_ = nullptr;
  HICON icon_ = nullptr;
};

}  // namespace kivo
