#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/file_system.h"

namespace kivo::test {

// Files as strings in memory, keyed by path. Each operation can be made to fail for one path,
// to stand in for a full disk, a locked file or a machine stopping midway.
class FakeFileSystem : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  std::vector<std::string> created;
  std::set<std::string> unreadable;     // read_file fails
  std::set<std::string> unwritable;     // write_file and append_to_file fail, the file untouched
  std::set<std::string> unreplaceable;  // replace_file fails with `to` untouched
  // write_file stores only this many bytes and then fails, as a write cut short does.
  std::size_t write_limit = std::string::npos;

  bool exists(const std::string& path) const { return files.count(path) != 0; }

  bool create_directory(const char* path) override {
    created.emplace_back(path);
    return true;
  }
  bool read_file(const char* path, void* buffer, std::size_t capacity,
                 std::size_t& length) override {
    auto it = files.find(path);
    if (it == files.end() || unreadable.count(path)) return false;
    length = std::min(capacity, it->second.size());
    std::memcpy(buffer, it->second.data(), length);
    return true;
  }
  bool write_file(const char* path, const void* bytes, std::size_t size) override {
    if (unwritable.count(path)) return false;
    const std::size_t stored = std::min(size, write_limit);
    files[path].assign(static_cast<const char*>(bytes), stored);
    return stored == size;
  }
  bool replace_file(const char* from, const char* to) override {
    auto it = files.find(from);
    if (it == files.end() || unreplaceable.count(to)) return false;
    files[to] = it->second;
    files.erase(from);
    return true;
  }
  bool append_to_file(const char* path, const void* bytes, std::size_t size) override {
    if (unwritable.count(path)) return false;
    files[path].append(static_cast<const char*>(bytes), size);
    return true;
  }
};

}  // namespace kivo::test
