#pragma once

#include "base/file_system.h"

namespace kivo {

class SystemFileSystem : public FileSystem {
 public:
  bool create_directory(const char* path) override;
  ReadResult read_file(const char* path, void* buffer, std::size_t capacity,
                       std::size_t& length) override;
  WriteResult write_file(const char* path, const void* bytes, std::size_t size) override;
  bool replace_file(const char* from, const char* to) override;
  bool remove_file(const char* path) override;
  bool append_to_file(const char* path, const void* bytes, std::size_t size) override;
  OpenResult open_or_create(const char* path, const void* first_bytes, std::size_t size) override;
};

}  // namespace kivo
