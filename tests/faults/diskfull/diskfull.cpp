// Preloaded into Wine by the fault scenarios: while the file KIVO_DISKFULL_FLAG names exists,
// every write to a file named usage.bin or usage.tmp fails with ENOSPC, as on a full disk. Other
// files, and everything while the flag is absent, are written as usual.
#include <dlfcn.h>
#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

bool ends_with(const char* text, const char* tail) {
  const size_t length = strlen(text);
  const size_t tail_length = strlen(tail);
  return length >= tail_length && strcmp(text + length - tail_length, tail) == 0;
}

bool disk_full_for(int fd) {
  const char* flag = getenv("KIVO_DISKFULL_FLAG");
  if (flag == nullptr || access(flag, F_OK) != 0) return false;
  char link[64];
  char path[PATH_MAX];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t length = readlink(link, path, sizeof path - 1);
  if (length <= 0) return false;
  path[length] = '\0';
  return ends_with(path, "/usage.bin") || ends_with(path, "/usage.tmp");
}

template <typename Function>
Function next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" ssize_t write(int fd, const void* bytes, size_t count) {
  static auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
  if (count > 0 && disk_full_for(fd)) {
    errno = ENOSPC;
    return -1;
  }
  return real(fd, bytes, count);
}

extern "C" ssize_t pwrite(int fd, const void* bytes, size_t count, off_t offset) {
  static auto real = next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
  if (count > 0 && disk_full_for(fd)) {
    errno = ENOSPC;
    return -1;
  }
  return real(fd, bytes, count, offset);
}

extern "C" ssize_t pwrite64(int fd, const void* bytes, size_t count, off64_t offset) {
  static auto real = next<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
  if (count > 0 && disk_full_for(fd)) {
    errno = ENOSPC;
    return -1;
  }
  return real(fd, bytes, count, offset);
}
