#include "base/data_paths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_file_system.h"
#include "support/fake_registry.h"

namespace kivo {
namespace {

constexpr char kShellFolders[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

struct DataPathsTest : ::testing::Test {
  test::FakeRegistry registry;
  test::FakeFileSystem files;
  DataPaths paths;
};

TEST_F(DataPathsTest, FilesLiveInTheKivoFolderUnderCommonAppData) {
  registry.set(RegistryRoot::LocalMachine, kShellFolders, "Common AppData", "C:\\ProgramData");
  EXPECT_TRUE(find_data_paths(registry, files, paths));
  EXPECT_STREQ(paths.usage_file_path, "C:\\ProgramData\\KIVO\\usage.bin");
  EXPECT_STREQ(paths.session_log_path, "C:\\ProgramData\\KIVO\\sessionlog.csv");
  EXPECT_EQ(files.created, std::vector<std::string>{"C:\\ProgramData\\KIVO"});
}

TEST_F(DataPathsTest, WithoutTheFolderBothFilesGoToTheCurrentDirectory) {
  EXPECT_FALSE(find_data_paths(registry, files, paths));
  EXPECT_STREQ(paths.usage_file_path, "usage.bin");
  EXPECT_STREQ(paths.session_log_path, "sessionlog.csv");
  EXPECT_TRUE(files.created.empty());
}

TEST_F(DataPathsTest, AFolderTooLongForTheFilePathsIsNotCutShort) {
  // 263 - strlen("\\KIVO\\sessionlog.csv") = 243 is the longest folder that still fits.
  std::string longest = "C:\\" + std::string(240, 'd');
  registry.set(RegistryRoot::LocalMachine, kShellFolders, "Common AppData", longest);
  EXPECT_TRUE(find_data_paths(registry, files, paths));
  EXPECT_EQ(std::string(paths.session_log_path).size(), 263u);

  files.created.clear();
  registry.set(RegistryRoot::LocalMachine, kShellFolders, "Common AppData", longest + "d");
  EXPECT_FALSE(find_data_paths(registry, files, paths));
  EXPECT_STREQ(paths.usage_file_path, "usage.bin");
  EXPECT_STREQ(paths.session_log_path, "sessionlog.csv");
  EXPECT_TRUE(files.created.empty());
}

TEST_F(DataPathsTest, AValueThatDoesNotFitItsBufferCountsAsMissing) {
  registry.set(RegistryRoot::LocalMachine, kShellFolders, "Common AppData", std::string(300, 'x'));
  EXPECT_FALSE(find_data_paths(registry, files, paths));
  EXPECT_STREQ(paths.usage_file_path, "usage.bin");
}

}  // namespace
}  // namespace kivo
