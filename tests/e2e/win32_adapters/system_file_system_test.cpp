#include "system_file_system.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace kivo {
namespace {

// A fresh folder of its own under the temporary folder, removed with its files at the end.
struct SystemFileSystemTest : ::testing::Test {
  SystemFileSystem files;
  std::string folder;

  SystemFileSystemTest() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    folder = std::string(temp) + "kivo-files-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  ~SystemFileSystemTest() override {
    for (const char* name : {"\\usage.bin", "\\usage.tmp", "\\log.csv"})
      DeleteFileA(path(name).c_str());
    RemoveDirectoryA(folder.c_str());
  }
  std::string path(const char* name) const { return folder + name; }
  std::string read(const char* name) {
    char buffer[64];
    std::size_t length = 0;
    EXPECT_EQ(files.read_file(path(name).c_str(), buffer, sizeof buffer, length), ReadResult::Read);
    return std::string(buffer, length);
  }
};

TEST_F(SystemFileSystemTest, AMissingFileIsToldFromOneHeldWithNoSharing) {
  char buffer[8];
  std::size_t length = 0;
  const std::string store = path("\\usage.bin");
  EXPECT_EQ(files.read_file(store.c_str(), buffer, sizeof buffer, length), ReadResult::Missing);
  EXPECT_EQ(files.read_file(path("\\none\\usage.bin").c_str(), buffer, sizeof buffer, length),
            ReadResult::Missing);

  ASSERT_EQ(files.write_file(store.c_str(), "stored", 6), WriteResult::Written);
  HANDLE held = CreateFileA(store.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(files.read_file(store.c_str(), buffer, sizeof buffer, length), ReadResult::Unreadable);
  EXPECT_EQ(files.write_file(store.c_str(), "x", 1), WriteResult::NotCreated);
  CloseHandle(held);
  EXPECT_EQ(read("\\usage.bin"), "stored");
}

TEST_F(SystemFileSystemTest, AWriteEndsTheFileAfterItsBytesAndRemovingAMissingFileSucceeds) {
  const std::string temporary = path("\\usage.tmp");
  ASSERT_EQ(files.write_file(temporary.c_str(), "a longer stale file", 19), WriteResult::Written);
  ASSERT_EQ(files.write_file(temporary.c_str(), "new", 3), WriteResult::Written);
  EXPECT_EQ(read("\\usage.tmp"), "new");

  EXPECT_TRUE(files.remove_file(temporary.c_str()));
  char buffer[8];
  std::size_t length = 0;
  EXPECT_EQ(files.read_file(temporary.c_str(), buffer, sizeof buffer, length), ReadResult::Missing);
  EXPECT_TRUE(files.remove_file(temporary.c_str()));
}

TEST_F(SystemFileSystemTest, ALogFileIsCreatedWithItsHeaderOnceAndThenLeftAsItIs) {
  const std::string log = path("\\log.csv");
  EXPECT_EQ(files.open_or_create(log.c_str(), "head\r\n", 6), OpenResult::Created);
  EXPECT_EQ(files.open_or_create(log.c_str(), "other\r\n", 7), OpenResult::Existing);
  EXPECT_TRUE(files.append_to_file(log.c_str(), "row\r\n", 5));
  EXPECT_EQ(read("\\log.csv"), "head\r\nrow\r\n");
  EXPECT_EQ(files.open_or_create(path("\\none\\log.csv").c_str(), "head", 4), OpenResult::Failed);
}

}  // namespace
}  // namespace kivo
