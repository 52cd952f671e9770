#pragma once

#include <cstddef>

namespace kivo {

// How a read ended. A file that is there but cannot be read is not a missing one: its content
// may still matter, so it must not be taken for absent and written over.
enum class ReadResult { Read, Missing, Unreadable };

// How a write ended. NotCreated: the file could not be opened or created, and is as it was.
// Failed: it was opened, but not every byte reached the disk; what it holds is unknown.
enum class WriteResult { Written, NotCreated, Failed };

// How opening a file that may be new ended.
enum class OpenResult { Existing, Created, Failed };

// The file operations the core decides about; Win32 calls in the program, a temp folder in tests.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Creates a directory; an existing one counts as success.
  virtual bool create_directory(const char* path) = 0;
  // Reads the file from its start, at most `capacity` bytes, and gives their number in `length`;
  // others may read and write it meanwhile. Missing when the file or its folder does not exist;
  // a file held by another program, or one whose read fails, is Unreadable.
  virtual ReadResult read_file(const char* path, void* buffer, std::size_t capacity,
                               std::size_t& length) = 0;
  // Writes `size` bytes over the file's start, creating it when missing, ends the file there and
  // flushes it to the disk. Bytes already there are overwritten where they lie, so rewriting a
  // file with as many bytes needs no new room on the disk.
  virtual WriteResult write_file(const char* path, const void* bytes, std::size_t size) = 0;
  // Puts the file `from` in the place of `to` in one step: whatever happens midway, `to` holds
  // either its old content or all of the new one.
  virtual bool replace_file(const char* from, const char* to) = 0;
  // Deletes the file. True when it is gone, a file that was missing included.
  virtual bool remove_file(const char* path) = 0;
  // Appends `size` bytes at the end, creating the file when it is missing; others may read it
  // meanwhile. True only when every byte was written.
  virtual bool append_to_file(const char* path, const void* bytes, std::size_t size) = 0;
  // Opens the file for reading and writing when it exists (others may read it) and leaves it as
  // it is; otherwise creates it with `first_bytes` as its content. Failed when it can be neither
  // opened nor created, or when the new file could not take all of `first_bytes` (it is then
  // deleted again).
  virtual OpenResult open_or_create(const char* path, const void* first_bytes,
                                    std::size_t size) = 0;
};

}  // namespace kivo
