#include "list/existing_files.h"

#include <gtest/gtest.h>

#include "codecs/file_io.h"
#include "list/shell_files.h"
#include "list_support.h"

namespace kv {
namespace {

using test::TempDir;

struct Case {
  std::string name;  // under the folder "many\" or "few\" of the temporary directory
  bool exists;       // where the answer does not depend on the file system's letter case
};

// One folder holds enough of the names to be listed, the other is asked about
// file by file; both answer every kind of name as FileExists does.
TEST(ExistingFiles, AnswersAsFileExistsWhetherTheFolderIsListedOrNot) {
  TempDir dir;
  MakeDirectory(dir / "many");
  MakeDirectory(dir / "few");
  MakeDirectory(dir / "many" + "/sub.jpg");
  MakeDirectory(dir / "few" + "/sub.jpg");
  for (std::size_t i = 0; i < kListFolderFrom; ++i)
    dir.Touch("many/p" + std::to_string(i) + ".jpg");
  dir.Touch("few/p0.jpg");
  dir.Touch("few/p1.jpg");
  dir.Touch("many/Mixed.JPG");
  dir.Touch("few/Mixed.JPG");

  const std::vector<Case> cases = {
      {"p0.jpg", true},    {"p1.jpg", true},         {"gone.jpg", false},       {"sub.jpg", false},
      {"Mixed.JPG", true}, {"sub.jpg/x.jpg", false}, {"nothere/p0.jpg", false},
  };
  std::vector<std::string> names;
  std::vector<bool> expected;
  for (const char* folder : {"many", "few"}) {
    for (const Case& c : cases) {
      names.push_back(dir / folder + "/" + c.name);
      expected.push_back(c.exists);
    }
    // Another letter case: the file system decides (found on Windows, not on Linux).
    names.push_back(dir / folder + "/MIXED.jpg");
    expected.push_back(FileExists(names.back()));
  }
  // Enough names in one folder to have it listed.
  for (std::size_t i = 0; i < kListFolderFrom; ++i) {
    names.push_back(dir / "many/p" + std::to_string(i) + ".jpg");
    expected.push_back(true);
  }
  // A folder part of its own only, and no folder part at all.
  names.push_back(dir / "many/");
  expected.push_back(false);
  names.push_back("no-folder-here.jpg");
  expected.push_back(FileExists("no-folder-here.jpg"));

  const std::vector<bool> answers = ExistingFiles(names);
  ASSERT_EQ(answers.size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(answers[i], expected[i]) << names[i];
    EXPECT_EQ(answers[i], FileExists(names[i])) << names[i];
  }
}

// A folder that is named often enough to be listed but cannot be read: every
// name in it is asked about by itself and found missing.
TEST(ExistingFiles, AFolderThatCannotBeListedLeavesItsNamesMissing) {
  TempDir dir;
  std::vector<std::string> names;
  for (std::size_t i = 0; i < kListFolderFrom + 1; ++i)
    names.push_back(dir / "absent/p" + std::to_string(i) + ".jpg");
  EXPECT_EQ(ExistingFiles(names), std::vector<bool>(names.size(), false));
}

}  // namespace
}  // namespace kv
