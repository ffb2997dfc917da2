#include "list/shell_files.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "codecs/file_io.h"
#include "list_support.h"

namespace kv {
namespace {

using test::TempDir;

TEST(ShellFiles, DeleteRemovesAFileAndAWholeTreeSilently) {
  TempDir dir;
  const std::string file = dir.Touch("thumb.jpg");
  ASSERT_TRUE(MakeDirectory(dir / "Cache"));
  ASSERT_TRUE(MakeDirectory(dir / "Cache" + "/deeper"));
  dir.Touch("Cache/a.jpg");
  dir.Touch("Cache/deeper/b.jpg");

  EXPECT_TRUE(SystemShellDelete().Delete(file));
  EXPECT_FALSE(FileExists(file));
  EXPECT_TRUE(SystemShellDelete().Delete(dir / "Cache" + "/"));
  EXPECT_FALSE(DirectoryExists(dir / "Cache"));
}

TEST(ShellFiles, MakeDirectoryMakesOneLevel) {
  TempDir dir;
  EXPECT_FALSE(MakeDirectory(dir / "a/b"));
  EXPECT_TRUE(MakeDirectory(dir / "a/"));
  EXPECT_TRUE(DirectoryExists(dir / "a"));
  EXPECT_FALSE(MakeDirectory(dir / "a"));  // already there
}

TEST(ShellFiles, ListDirectoryGivesNamesAndSizesWithoutDots) {
  TempDir dir;
  dir.Touch("one.jpg", std::string(1000, 'x'));
  dir.Touch("\xE2\x98\x80.jpg", "12");
  MakeDirectory(dir / "sub");
  auto entries = ListDirectory(dir.Dir());
  std::sort(entries.begin(), entries.end(),
            [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, "one.jpg");
  EXPECT_EQ(entries[0].size, 1000u);
  EXPECT_EQ(entries[1].name, "sub");
  EXPECT_TRUE(entries[1].isDirectory);
  EXPECT_EQ(entries[2].name, "\xE2\x98\x80.jpg");
  EXPECT_EQ(entries[2].size, 2u);
  EXPECT_TRUE(ListDirectory(dir / "missing").empty());
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

TEST(ShellFiles, UnflushedCacheWriteReplacesTheFileAndLeavesNoTemporary) {
  TempDir dir;
  const std::string file = dir.Touch("t.jpg", "old contents");
  WriteFileAtomic(file, "new", 3, Durability::Unflushed);
  const auto bytes = ReadFileBytes(file);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "new");
  EXPECT_EQ(ListDirectory(dir.Dir()).size(), 1u);
  EXPECT_THROW(WriteFileAtomic(dir / "missing" + "/t.jpg", "x", 1, Durability::Unflushed),
               FileError);
  EXPECT_EQ(ListDirectory(dir.Dir()).size(), 1u);
}

}  // namespace
}  // namespace kv
