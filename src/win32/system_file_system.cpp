#include "system_file_system.h"

#include <windows.h>

namespace kivo {
namespace {

// The file's handle for one call; closed on every way out.
class File {
 public:
  File(const char* path, DWORD access, DWORD sharing, DWORD disposition)
      : handle_(CreateFileA(path, access, sharing, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                            nullptr)) {}
  ~File() {
    if (is_open()) CloseHandle(handle_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool is_open() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE handle() const { return handle_; }

  bool write_all(const void* bytes, std::size_t size) {
    DWORD written = 0;
    return size <= MAXDWORD &&
           WriteFile(handle_, bytes, static_cast<DWORD>(size), &written, nullptr) &&
           written == size;
  }

 private:
  HANDLE handle_;
};

}  // namespace

bool SystemFileSystem::create_directory(const char* path) {
  return CreateDirectoryA(path, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

ReadResult SystemFileSystem::read_file(const char* path, void* buffer, std::size_t capacity,
                                       std::size_t& length) {
  File file(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
  if (!file.is_open()) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::Missing
                                                                          : ReadResult::Unreadable;
  }
  DWORD read = 0;
  if (capacity > MAXDWORD ||
      !ReadFile(file.handle(), buffer, static_cast<DWORD>(capacity), &read, nullptr))
    return ReadResult::Unreadable;
  length = read;
  return ReadResult::Read;
}

// Opened without truncating: the file is cut only after the new bytes are in, so a store
// rewritten in place never stands empty on a full disk.
WriteResult SystemFileSystem::write_file(const char* path, const void* bytes, std::size_t size) {
  File file(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS);
  if (!file.is_open()) return WriteResult::NotCreated;
  return file.write_all(bytes, size) && SetEndOfFile(file.handle()) &&
                 FlushFileBuffers(file.handle())
             ? WriteResult::Written
             : WriteResult::Failed;
}

// The rename reaches the disk before the call returns, so no later failure can undo it.
bool SystemFileSystem::replace_file(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool SystemFileSystem::remove_file(const char* path) {
  return DeleteFileA(path) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool SystemFileSystem::append_to_file(const char* path, const void* bytes, std::size_t size) {
  File file(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS);
  LARGE_INTEGER start = {};
  return file.is_open() && SetFilePointerEx(file.handle(), start, nullptr, FILE_END) &&
         file.write_all(bytes, size);
}

OpenResult SystemFileSystem::open_or_create(const char* path, const void* first_bytes,
                                            std::size_t size) {
  if (File(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING).is_open())
    return OpenResult::Existing;
  bool written = false;
  {
    File file(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW);
    if (!file.is_open()) return OpenResult::Failed;
    written = file.write_all(first_bytes, size);
  }
  if (written) return OpenResult::Created;
  DeleteFileA(path);
  return OpenResult::Failed;
}

}  // namespace kivo
