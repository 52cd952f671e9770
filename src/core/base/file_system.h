#pragma once

#include <cstddef>

namespace kivo {

// The file operations the core decides about; Win32 calls in the program, a temp folder in tests.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Creates a directory; an existing one counts as success.
  virtual bool create_directory(const char* path) = 0;
  // Reads the file from its start, at most `capacity` bytes, and gives their number in `length`;
  // others may read and write it meanwhile. False when it is missing or cannot be read.
  virtual bool read_file(const char* path, void* buffer, std::size_t capacity,
                         std::size_t& length) = 0;
  // Creates the file anew (an existing one is truncated), writes `size` bytes and flushes them to
  // the disk. True only when every byte was written and flushed.
  virtual bool write_file(const char* path, const void* bytes, std::size_t size) = 0;
  // Puts the file `from` in the place of `to` in one step: whatever happens midway, `to` holds
  // either its old content or all of the new one.
  virtual bool replace_file(const char* from, const char* to) = 0;
  // Appends `size` bytes at the end, creating the file when it is missing; others may read it
  // meanwhile. True only when every byte was written.
  virtual bool append_to_file(const char* path, const void* bytes, std::size_t size) = 0;
};

}  // namespace kivo
