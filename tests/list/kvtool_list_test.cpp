// kvtool's list commands end to end: the native kvtool beside this test,
// adding pictures to a list file and showing it again.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "list_support.h"

namespace kv {
namespace {

struct KvtoolRun {
  int exitCode;
  std::string output;
};

KvtoolRun Kvtool(const std::string& arguments) {
  KvtoolRun run{-1, {}};
  // kvtool is built beside this test, wherever it is run from.
  const std::string kvtool =
      (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "kvtool").string();
  FILE* pipe = ::popen(("'" + kvtool + "' " + arguments + " 2>/dev/null").c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    run.output.append(buffer, n);
  const int status = ::pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

TEST(KvtoolList, LongNamesAndDeepFoldersComeBackWholeAfterEveryAddAndShow) {
  test::TempDir dir;
  // 60 characters; a UTF-8 name of 40 three-byte characters; a folder deeper
  // than the record's path field.
  const std::string deep = dir.Dir() + std::string(120, 'd') + "/" + std::string(100, 'e') + "/";
  std::filesystem::create_directories(std::filesystem::u8path(deep));
  std::string cjk;
  for (int i = 0; i < 40; ++i) cjk += "\xE5\xA3\x81";
  const std::string names[] = {dir / (std::string(56, 'w') + ".jpg"), dir / (cjk + ".png"),
                               deep + "short.bmp"};
  for (const std::string& name : names) WriteFileAtomic(name, "x", 1);
  const std::string list = dir / "t.lst";

  // Added one by one: every run loads what the one before saved.
  for (const std::string& name : names)
    ASSERT_EQ(Kvtool("list add " + Quoted(list) + " " + Quoted(name)).exitCode, 0) << name;
  const KvtoolRun shown = Kvtool("list show " + Quoted(list));
  ASSERT_EQ(shown.exitCode, 0);
  std::string expected;
  for (const std::string& name : names) {
    const auto slash = name.find_last_of('/') + 1;
    expected += "Stretch\t" + name.substr(slash) + "\t" + name.substr(0, slash) + "\n";
  }
  EXPECT_EQ(shown.output, expected);
  // The list file itself is the fixed-record format with three records.
  EXPECT_EQ(ReadFileBytes(list).size(), 3u * 253);
  // Adding one of them again finds it listed: the names were not cut.
  EXPECT_EQ(Kvtool("list add " + Quoted(list) + " " + Quoted(names[1])).output,
            "0 added, 1 already listed\n");
}

}  // namespace
}  // namespace kv
#endif
