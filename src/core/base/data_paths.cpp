#include "base/data_paths.h"

#include <cstdio>

namespace kivo {

namespace {

constexpr char kShellFoldersKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kCommonAppDataValue[] = "Common AppData";
constexpr std::size_t kFolderBufferSize = 261;

// Both files in the current directory, side by side.
bool use_current_directory(DataPaths& paths) {
  std::snprintf(paths.usage_file_path, sizeof(paths.usage_file_path), "usage.bin");
  std::snprintf(paths.session_log_path, sizeof(paths.session_log_path), "sessionlog.csv");
  return false;
}

}  // namespace

bool find_data_paths(Registry& registry, FileSystem& files, DataPaths& paths) {
  char folder[kFolderBufferSize];
  if (!registry.read_value(RegistryRoot::LocalMachine, kShellFoldersKey, kCommonAppDataValue,
                           folder, sizeof(folder)))
    return use_current_directory(paths);

  char directory[kMaxDataPathLength + 1];
  char usage[kMaxDataPathLength + 1];
  char session_log[kMaxDataPathLength + 1];
  // A folder too long for the full file paths is not cut short: the files go where they would
  // go without one.
  auto fits = [](int length) { return length >= 0 && length <= int(kMaxDataPathLength); };
  if (!fits(std::snprintf(directory, sizeof(directory), "%s\\KIVO", folder)) ||
      !fits(std::snprintf(usage, sizeof(usage), "%s\\usage.bin", directory)) ||
      !fits(std::snprintf(session_log, sizeof(session_log), "%s\\sessionlog.csv", directory)))
    return use_current_directory(paths);

  files.create_directory(directory);
  std::snprintf(paths.usage_file_path, sizeof(paths.usage_file_path), "%s", usage);
  std::snprintf(paths.session_log_path, sizeof(paths.session_log_path), "%s", session_log);
  return true;
}

}  // namespace kivo
