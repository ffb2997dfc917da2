#include "codecs/file_io.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace kv {
namespace {

std::string TempPath(const std::string& name) { return ::testing::TempDir() + name; }

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

TEST(FileIo, AWriterLeftWithoutCommitLeavesTheOldFileAndNoTemporary) {
  const std::string path = TempPath("kv writer.bin");
  WriteFileAtomic(path, "old", 3);
  {
    AtomicFileWriter file(path);
    const std::string big(200 * 1024, 'x');  // past the writer's buffer: on the disk already
    file.Write(big.data(), big.size());
    file.Write("tail", 4);
  }
  auto bytes = ReadFileBytes(path);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "old");
  EXPECT_FALSE(FileExists(path + ".kvtmp"));
  // Small and large pieces in any mix arrive in order.
  std::string expected;
  {
    AtomicFileWriter file(path);
    for (int i = 0; i < 40; ++i) {
      const std::string piece(static_cast<std::size_t>(i * i * 97 % 70000),
                              static_cast<char>('a' + i % 26));
      file.Write(piece.data(), piece.size());
      expected += piece;
    }
    file.Commit();
  }
  bytes = ReadFileBytes(path);
  EXPECT_TRUE(std::string(bytes.begin(), bytes.end()) == expected);
  std::remove(path.c_str());
}

TEST(FileIo, AReadOnlyTargetIsRefusedOrReplacedAsTheWriterSays) {
  namespace fs = std::filesystem;
  const std::string path = TempPath("kv read-only.bin");
  WriteFileAtomic(path, "old", 3);
  fs::permissions(fs::u8path(path), fs::perms::owner_read);
  ASSERT_TRUE(IsReadOnlyFile(path));
  // A user's file: refused before anything is written, mark and bytes kept.
  EXPECT_THROW(WriteFileAtomic(path, "new", 3, Durability::Flushed, ReadOnlyTarget::Refuse),
               FileError);
  EXPECT_THROW(AtomicFileWriter(path, Durability::Unflushed, ReadOnlyTarget::Refuse), FileError);
  auto bytes = ReadFileBytes(path);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "old");
  EXPECT_TRUE(IsReadOnlyFile(path));
  EXPECT_FALSE(FileExists(path + ".kvtmp"));
  // A file the program owns (the rendered wallpaper): replaced all the same.
  WriteFileAtomic(path, "new", 3);
  bytes = ReadFileBytes(path);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "new");
  EXPECT_FALSE(IsReadOnlyFile(TempPath("kv no such file.bin")));
  fs::permissions(fs::u8path(path), fs::perms::all);
  EXPECT_TRUE(RemoveFile(path));
  EXPECT_FALSE(RemoveFile(path));
}

}  // namespace
}  // namespace kv
