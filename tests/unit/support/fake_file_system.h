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
  std::set<std::string> unreadable;     // read_file finds the file but cannot read it
  std::set<std::string> uncreatable;    // write_file cannot open it: NotCreated, the file untouched
  std::set<std::string> unwritable;     // write_file and append_to_file fail, the file untouched
  std::set<std::string> unreplaceable;  // replace_file fails with `to` untouched
  std::set<std::string> unremovable;    // remove_file fails, the file stays
  // write_file stores only this many bytes and then fails, as a write cut short does.
  std::size_t write_limit = std::string::npos;
  // Every read_file, in order, by path.
  std::vector<std::string> reads;

  bool exists(const std::string& path) const { return files.count(path) != 0; }

  bool create_directory(const char* path) override {
    created.emplace_back(path);
    return true;
  }
  ReadResult read_file(const char* path, void* buffer, std::size_t capacity,
                       std::size_t& length) override {
    reads.emplace_back(path);
    auto it = files.find(path);
    if (it == files.end()) return ReadResult::Missing;
    if (unreadable.count(path)) return ReadResult::Unreadable;
    length = std::min(capacity, it->second.size());
    std::memcpy(buffer, it->second.data(), length);
    return ReadResult::Read;
  }
  WriteResult write_file(const char* path, const void* bytes, std::size_t size) override {
    if (uncreatable.count(path)) return WriteResult::NotCreated;
    if (unwritable.count(path)) return WriteResult::Failed;
    const std::size_t stored = std::min(size, write_limit);
    files[path].assign(static_cast<const char*>(bytes), stored);
    return stored == size ? WriteResult::Written : WriteResult::Failed;
  }
  bool replace_file(const char* from, const char* to) override {
    auto it = files.find(from);
    if (it == files.end() || unreplaceable.count(to)) return false;
    files[to] = it->second;
    files.erase(from);
    return true;
  }
  bool remove_file(const char* path) override {
    if (unremovable.count(path)) return false;
    files.erase(path);
    return true;
  }
  bool append_to_file(const char* path, const void* bytes, std::size_t size) override {
    if (unwritable.count(path)) return false;
    files[path].append(static_cast<const char*>(bytes), size);
    return true;
  }
  OpenResult open_or_create(const char* path, const void* first_bytes, std::size_t size) override {
    if (exists(path)) return unwritable.count(path) ? OpenResult::Failed : OpenResult::Existing;
    if (uncreatable.count(path)) return OpenResult::Failed;
    files[path].assign(static_cast<const char*>(first_bytes), size);
    return OpenResult::Created;
  }
};

}  // namespace kivo::test
