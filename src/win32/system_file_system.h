#pragma once

#include "app/file_system.h"

namespace kivo {

class SystemFileSystem : public FileSystem {
 public:
  bool create_directory(const char* path) override;
};

}  // namespace kivo
