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

bool SystemFileSystem::read_file(const char* path, void* buffer, std::size_t capacity,
                                 std::size_t& length) {
  File file(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
  DWORD read = 0;
  if (!file.is_open() || capacity > MAXDWORD ||
      !ReadFile(file.handle(), buffer, static_cast<DWORD>(capacity), &read, nullptr))
    return false;
  length = read;
  return true;
}

bool SystemFileSystem::write_file(const char* path, const void* bytes, std::size_t size) {
  File file(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, CREATE_ALWAYS);
  return file.is_open() && file.write_all(bytes, size) && FlushFileBuffers(file.handle());
}

// The rename reaches the disk before the call returns, so no later failure can undo it.
bool SystemFileSystem::replace_file(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool SystemFileSystem::append_to_file(const char* path, const void* bytes, std::size_t size) {
  File file(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS);
  LARGE_INTEGER start = {};
  return file.is_open() && SetFilePointerEx(file.handle(), start, nullptr, FILE_END) &&
         file.write_all(bytes, size);
}

}  // namespace kivo
