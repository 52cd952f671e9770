#include "startup_platform.h"

#include <commctrl.h>

#include "res/resource_ids.h"

namespace kivo {

MutexResult SystemStartupPlatform::create_instance_mutex(const char* name) {
  mutex_ = CreateMutexA(nullptr, FALSE, name);
  if (mutex_ == nullptr) return MutexResult::Failed;
  return GetLastError() == ERROR_ALREADY_EXISTS ? MutexResult::AlreadyExists : MutexResult::Created;
}

bool SystemStartupPlatform::restore_window(const char* title) {
  HWND window = FindWindowA("#32770", title);
  if (window == nullptr) return false;
  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  return true;
}

void SystemStartupPlatform::init_common_controls() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_PROGRESS_CLASS | ICC_BAR_CLASSES;
  InitCommonControlsEx(&controls);
}

void SystemStartupPlatform::load_application_icon() {
  icon_ = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
}

void SystemStartupPlatform::run_main_window() {
  main_window_.run(instance_, icon_);
}

void SystemStartupPlatform::release_instance_mutex() {
  // Created without an owner, so there is nothing to release but the handle; closing it
  // lets the next instance start as the first.
  CloseHandle(mutex_);
  mutex_ = nullptr;
}

}  // namespace kivo
