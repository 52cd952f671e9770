#include "base/atomic_write.h"

#include <cstring>

#include "base/data_paths.h"

namespace kivo {
namespace {

// The file's name with ".tmp" for its extension. False when that name does not fit.
bool temporary_path(const char* path, char (&out)[kMaxDataPathLength + 1]) {
  const char* name = std::strrchr(path, '\\');
  if (name == nullptr) name = path;
  const char* dot = std::strrchr(name, '.');
  const std::size_t stem = dot ? static_cast<std::size_t>(dot - path) : std::strlen(path);
  constexpr char kExtension[] = ".tmp";
  if (stem + sizeof kExtension > sizeof out) return false;
  std::memcpy(out, path, stem);
  std::memcpy(out + stem, kExtension, sizeof kExtension);
  return true;
}

}  // namespace

WriteResult write_through_temporary(FileSystem& files, const char* path, const void* bytes,
                                    std::size_t size) {
  char temporary[kMaxDataPathLength + 1];
  if (!temporary_path(path, temporary)) return WriteResult::NotCreated;
  const WriteResult written = files.write_file(temporary, bytes, size);
  if (written == WriteResult::NotCreated) return WriteResult::NotCreated;
  if (written == WriteResult::Written && files.replace_file(temporary, path))
    return WriteResult::Written;
  files.remove_file(temporary);
  return WriteResult::Failed;
}

}  // namespace kivo
