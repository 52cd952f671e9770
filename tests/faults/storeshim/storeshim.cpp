// Preloaded into Wine by the fault scenarios to make the program's data folder fail under it.
// While the file KIVO_DISKFULL_FLAG names exists, every write to a file named usage.bin or
// usage.tmp fails with ENOSPC, as on a full disk (the Wine process writes itself). While the file
// KIVO_READONLY_FLAG names exists, the data folder (…/ProgramData/KIVO/) is read-only: opening a
// file there for writing, creating, renaming or removing one fails with EROFS (the wineserver
// does these, so it must have the library preloaded too). Everything else goes through.
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

bool flag_set(const char* variable) {
  const char* flag = getenv(variable);
  return flag != nullptr && access(flag, F_OK) == 0;
}

bool ends_with(const char* text, const char* tail) {
  const size_t length = strlen(text);
  const size_t tail_length = strlen(tail);
  return length >= tail_length && strcmp(text + length - tail_length, tail) == 0;
}

bool disk_full_for(int fd) {
  if (!flag_set("KIVO_DISKFULL_FLAG")) return false;
  char link[64];
  char path[PATH_MAX];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t length = readlink(link, path, sizeof path - 1);
  if (length <= 0) return false;
  path[length] = '\0';
  return ends_with(path, "/usage.bin") || ends_with(path, "/usage.tmp");
}

// The path as given, or behind the folder of `dirfd` (the working folder for AT_FDCWD).
bool read_only_at(int dirfd, const char* path) {
  if (path == nullptr || !flag_set("KIVO_READONLY_FLAG")) return false;
  char folder[PATH_MAX] = "";
  if (path[0] != '/') {
    char link[64];
    snprintf(link, sizeof link, "/proc/self/fd/%d", dirfd);
    const ssize_t length = dirfd == AT_FDCWD ? (getcwd(folder, sizeof folder) ? 1 : -1)
                                             : readlink(link, folder, sizeof folder - 1);
    if (length <= 0) return false;
    if (dirfd != AT_FDCWD) folder[length] = '\0';
  }
  char full[2 * PATH_MAX + 2];
  snprintf(full, sizeof full, "%s/%s", folder, path);
  return strstr(full, "/ProgramData/KIVO/") != nullptr;
}

bool writes(int flags) {
  return (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0;
}

template <typename Function>
Function next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

int refuse(int error) {
  errno = error;
  return -1;
}

mode_t mode_of(int flags, va_list args) {
  return (flags & O_CREAT) != 0 ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

}  // namespace

extern "C" ssize_t write(int fd, const void* bytes, size_t count) {
  static auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
  if (count > 0 && disk_full_for(fd)) return refuse(ENOSPC);
  return real(fd, bytes, count);
}

extern "C" ssize_t pwrite(int fd, const void* bytes, size_t count, off_t offset) {
  static auto real = next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
  if (count > 0 && disk_full_for(fd)) return refuse(ENOSPC);
  return real(fd, bytes, count, offset);
}

extern "C" ssize_t pwrite64(int fd, const void* bytes, size_t count, off64_t offset) {
  static auto real = next<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
  if (count > 0 && disk_full_for(fd)) return refuse(ENOSPC);
  return real(fd, bytes, count, offset);
}

extern "C" int open(const char* path, int flags, ...) {
  static auto real = next<int (*)(const char*, int, ...)>("open");
  va_list args;
  va_start(args, flags);
  const mode_t mode = mode_of(flags, args);
  va_end(args);
  if (writes(flags) && read_only_at(AT_FDCWD, path)) return refuse(EROFS);
  return real(path, flags, mode);
}

extern "C" int open64(const char* path, int flags, ...) {
  static auto real = next<int (*)(const char*, int, ...)>("open64");
  va_list args;
  va_start(args, flags);
  const mode_t mode = mode_of(flags, args);
  va_end(args);
  if (writes(flags) && read_only_at(AT_FDCWD, path)) return refuse(EROFS);
  return real(path, flags, mode);
}

extern "C" int openat(int dirfd, const char* path, int flags, ...) {
  static auto real = next<int (*)(int, const char*, int, ...)>("openat");
  va_list args;
  va_start(args, flags);
  const mode_t mode = mode_of(flags, args);
  va_end(args);
  if (writes(flags) && read_only_at(dirfd, path)) return refuse(EROFS);
  return real(dirfd, path, flags, mode);
}

extern "C" int openat64(int dirfd, const char* path, int flags, ...) {
  static auto real = next<int (*)(int, const char*, int, ...)>("openat64");
  va_list args;
  va_start(args, flags);
  const mode_t mode = mode_of(flags, args);
  va_end(args);
  if (writes(flags) && read_only_at(dirfd, path)) return refuse(EROFS);
  return real(dirfd, path, flags, mode);
}

extern "C" int rename(const char* from, const char* to) {
  static auto real = next<int (*)(const char*, const char*)>("rename");
  if (read_only_at(AT_FDCWD, from) || read_only_at(AT_FDCWD, to)) return refuse(EROFS);
  return real(from, to);
}

extern "C" int renameat(int from_dir, const char* from, int to_dir, const char* to) {
  static auto real = next<int (*)(int, const char*, int, const char*)>("renameat");
  if (read_only_at(from_dir, from) || read_only_at(to_dir, to)) return refuse(EROFS);
  return real(from_dir, from, to_dir, to);
}

extern "C" int unlink(const char* path) {
  static auto real = next<int (*)(const char*)>("unlink");
  if (read_only_at(AT_FDCWD, path)) return refuse(EROFS);
  return real(path);
}

extern "C" int unlinkat(int dirfd, const char* path, int flags) {
  static auto real = next<int (*)(int, const char*, int)>("unlinkat");
  if (read_only_at(dirfd, path)) return refuse(EROFS);
  return real(dirfd, path, flags);
}
