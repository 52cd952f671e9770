#pragma once

namespace kivo {

// The file operations the core decides about; Win32 calls in the program, a temp folder in tests.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Creates a directory; an existing one counts as success.
  virtual bool create_directory(const char* path) = 0;
};

}  // namespace kivo
