// The manager's list files as the user meets them: names too long for a list
// record through "Save Wallpaper List" and the save at exit, read-only lists,
// and switching away from a list that cannot be saved.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "app/browser_form_win.h"
#include "base/error.h"
#include "base/program_dir_win.h"
#include "base/text_win.h"
#include "codecs/file_io.h"
#include "config/settings_store_win.h"
#include "list/list_file.h"
#include "list/manager_form_win.h"
#include "list/shell_files.h"
#include "program_windows_win.h"
#include "widgets/prompts.h"

namespace kv {
namespace {

using Kind = ScriptedPrompts::Kind;

class ManagerLists : public ::testing::Test {
 protected:
  void SetUp() override {
    test::FreshProgramState();
    dir = ProgramDir() + "managerlists\\";
    SystemShellDelete().Delete(dir);
    MakeDirectory(dir);
    program::Options.cacheEnabled = false;
  }
  void TearDown() override {
    manager.reset();
    browser.reset();
    program::Options.cacheEnabled = true;
    for (const char* name : {"ro.lst", "ro.lst.names"})
      SetFileAttributesW(Widen(dir + name).c_str(), FILE_ATTRIBUTE_NORMAL);
    SystemShellDelete().Delete(dir);
    test::FreshProgramState();
  }
  void Start() { test::CreateProgramWindows(prompts, store, browser, manager); }
  TKvlistview& List() { return manager->Wallpaperlist(); }
  std::vector<WallpaperEntry> Entries(const TKvlistview& list) {
    std::vector<WallpaperEntry> out;
    for (std::size_t i = 0; i < list.Count(); ++i) out.push_back(list.Entry(i));
    return out;
  }
  std::vector<WallpaperEntry> Load(const std::string& file) {
    TKvlistview list(prompts, SystemShellDelete());
    list.LoadList(file);
    return Entries(list);
  }
  void Rows(const std::vector<WallpaperEntry>& entries) {
    for (const WallpaperEntry& e : entries) List().Append(e);
  }
  std::vector<std::string> Errors() { return prompts.Texts(Kind::Error); }

  ScriptedPrompts prompts;
  RegistrySettingsStore store;
  std::string dir;
  std::unique_ptr<app::TMainForm> browser;
  std::unique_ptr<TManagerForm> manager;
};

// One run through a user's list files, across starts and exits: long names
// through "Save Wallpaper List", the save at exit and the next start; a
// read-only list; a list that could not be read at the start.
TEST_F(ManagerLists, ListFilesAcrossSavesSwitchesAndStarts) {
  Start();
  // With caching off at creation the list still works in the program's folder.
  EXPECT_EQ(List().cacheDirectory, ProgramDir() + "Cache\\");
  std::string wide;  // 40 characters of three bytes each
  for (int i = 0; i < 40; ++i) wide += "\xE5\xA3\x81";
  const std::string deep = "C:\\" + std::string(150, 'd') + "\\" + std::string(90, 'e') + "\\";
  std::vector<WallpaperEntry> rows = {{"Tile", std::string(60, 'w') + ".jpg", "C:\\walls\\"},
                                      {"Box", wide + ".png", "D:\\"},
                                      {"Center", "short.bmp", deep},
                                      {"Stretch", "plain.bmp", "C:\\"}};
  Rows(rows);
  prompts.saveAnswers.push_back(dir + "long");
  manager->SaveWallpaperList1Click();
  const std::string file = dir + "long.lst";
  ASSERT_EQ(manager->CurrentListFile(), file);
  EXPECT_EQ(ReadFileBytes(file).size(), 4u * kListRecordSize);
  EXPECT_EQ(Load(file), rows);

  // One more at exit: the manager saves its rows when it is destroyed.
  rows.push_back({"Scaled", std::string(80, 'x') + ".gif", "E:\\"});
  List().Append(rows.back());
  manager.reset();
  browser.reset();
  EXPECT_EQ(Load(file), rows);
  // The next start loads the stored current list, every entry whole.
  Start();
  EXPECT_EQ(Entries(List()), rows);
  EXPECT_TRUE(Errors().empty());

  // A read-only list is reported, kept, and never holds the user on it. It
  // starts from rows of its own.
  List().DeleteAll();
  const std::string ro = dir + "ro.lst", other = dir + "other.lst";
  {
    TKvlistview list(prompts, SystemShellDelete());
    list.Append({"Center", "o1.bmp", dir});
    list.Append({"Center", "o2.bmp", dir});
    list.SaveList(other);
  }
  Rows({{"Tile", std::string(55, 'r') + ".bmp", dir}});
  prompts.saveAnswers.push_back(ro);
  manager->SaveWallpaperList1Click();
  SetFileAttributesW(Widen(ro).c_str(), FILE_ATTRIBUTE_READONLY);
  const auto saved = ReadFileBytes(ro);

  // Edited, then switched away: the failed save is shown, the switch happens.
  Rows({{"Tile", "added.bmp", dir}});
  manager->SwitchToList(other);
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_NE(Errors()[0].find("read-only"), std::string::npos) << Errors()[0];
  EXPECT_EQ(manager->CurrentListFile(), other);
  EXPECT_EQ(List().Count(), 2u);
  EXPECT_EQ(ReadFileBytes(ro), saved);
  EXPECT_TRUE(GetFileAttributesW(Widen(ro).c_str()) & FILE_ATTRIBUTE_READONLY);

  // "Save Wallpaper List" onto it raises and leaves the current list as it was.
  prompts.saveAnswers.push_back(ro);
  EXPECT_THROW(manager->SaveWallpaperList1Click(), Error);
  EXPECT_EQ(manager->CurrentListFile(), other);
  EXPECT_EQ(ReadFileBytes(ro), saved);

  // "Default Wallpaper List" whose file cannot be read: nothing switches, and
  // the file is not overwritten at exit.
  const std::string fallback = ProgramDir() + "wallpaperlist.lst";
  std::ofstream(Widen(fallback).c_str()) << "x";
  const HANDLE lock =
      CreateFileW(Widen(fallback).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_THROW(manager->DefaultWallpaper1Click(), std::exception);
  CloseHandle(lock);
  EXPECT_EQ(manager->CurrentListFile(), other);

  // Loaded read-only, the list shows whole; leaving it for the default list
  // reports the failed save and still goes there.
  manager->SwitchToList(ro);
  EXPECT_EQ(List().Entry(0).fileName, std::string(55, 'r') + ".bmp");
  List().Append({"Tile", "again.bmp", dir});
  DeleteFileW(Widen(fallback).c_str());
  manager->DefaultWallpaper1Click();
  EXPECT_EQ(Errors().size(), 2u);
  EXPECT_EQ(manager->CurrentListFile(), fallback);

  // At exit a read-only current list is reported and kept.
  manager->SwitchToList(ro);
  List().Append({"Tile", "at exit.bmp", dir});
  manager.reset();
  EXPECT_EQ(Errors().size(), 3u);
  EXPECT_EQ(ReadFileBytes(ro), saved);

  // A list that could not be read at the start is never written over.
  browser.reset();
  prompts.shown.clear();
  const std::string locked = dir + "locked.lst";
  {
    TKvlistview list(prompts, SystemShellDelete());
    list.Append({"Center", "kept.bmp", dir});
    list.SaveList(locked);
  }
  const auto before = ReadFileBytes(locked);
  store.RegWriteString("", "Current Wallpaper List", locked);
  const HANDLE held =
      CreateFileW(Widen(locked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  Start();
  CloseHandle(held);
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_EQ(List().Count(), 0u);
  EXPECT_EQ(manager->CurrentListFile(), locked);
  // An exit with nothing added writes nothing and says nothing.
  manager.reset();
  EXPECT_EQ(ReadFileBytes(locked), before);
  EXPECT_EQ(Errors().size(), 1u);

  // Entries added meanwhile are reported at the switch, and the file is kept;
  // once it loads, it is the list's own file again.
  const HANDLE again =
      CreateFileW(Widen(locked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  browser.reset();
  Start();
  CloseHandle(again);
  List().Append({"Tile", "new.bmp", dir});
  manager->SwitchToList(locked);
  EXPECT_EQ(Errors().size(), 3u);
  EXPECT_NE(Errors()[2].find("could not be read"), std::string::npos);
  EXPECT_EQ(Entries(List()), (std::vector<WallpaperEntry>{{"Center", "kept.bmp", dir}}));
  List().Append({"Tile", "more.bmp", dir});
  manager.reset();
  EXPECT_EQ(Load(locked).size(), 2u);
}

}  // namespace
}  // namespace kv
