#include "system_file_system.h"

#include <windows.h>

namespace kivo {

bool SystemFileSystem::create_directory(const char* path) {
  return CreateDirectoryA(path, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace kivo
