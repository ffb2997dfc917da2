#include "codecs/file_io.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace kv {
namespace {

std::string TempPath(const std::string& name) {
  return ::testing::TempDir() + name;
}

TEST(FileIo, AtomicWriteReplacesTheWholeFileAndLeavesNoTemporary) {
  const std::string path = TempPath("kv file \xC3\xA9t\xC3\xA9.bin");  // non-ASCII name
  const std::string first(5000, 'a'), second = "short";
  WriteFileAtomic(path, first.data(), first.size());
  WriteFileAtomic(path, second.data(), second.size());
  const auto bytes = ReadFileBytes(path);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), second);
  EXPECT_FALSE(FileExists(path + ".kvtmp"));
  EXPECT_TRUE(FileExists(path));
  std::remove(path.c_str());
}

TEST(FileIo, FailuresNameTheFileAndLeaveTheOldOneAlone) {
  const std::string missing = TempPath("no such folder/x.bin");
  try {
    (void)ReadFileBytes(missing);
    FAIL() << "reading a missing file succeeded";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("no such folder/x.bin"), std::string::npos) << e.what();
  }
  EXPECT_THROW(WriteFileAtomic(missing, "x", 1), FileError);
  EXPECT_FALSE(FileExists(missing));
}

TEST(FileIo, DirectoriesAreNotFiles) {
  EXPECT_TRUE(DirectoryExists(::testing::TempDir()));
  EXPECT_FALSE(FileExists(::testing::TempDir()));
  EXPECT_THROW((void)ReadFileBytes(::testing::TempDir()), FileError);
}

}  // namespace
}  // namespace kv
