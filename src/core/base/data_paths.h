#pragma once

#include <cstddef>

#include "base/file_system.h"
#include "base/registry.h"

namespace kivo {

constexpr std::size_t kMaxDataPathLength = 263;

// Where the usage counters and the session log live.
struct DataPaths {
  char usage_file_path[kMaxDataPathLength + 1] = {};
  char session_log_path[kMaxDataPathLength + 1] = {};
};

// Builds "<Common AppData>\KIVO\usage.bin" and "...\sessionlog.csv", creating the folder.
// Without a usable folder both files go to the current directory. True when the folder was found.
bool find_data_paths(Registry& registry, FileSystem& files, DataPaths& paths);

}  // namespace kivo
