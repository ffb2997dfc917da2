// The browser and the manager created as the program creates them, driven
// through their handlers with scripted prompts.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "app/browser_form_win.h"
#include "app/start_options.h"
#include "base/program_dir_win.h"
#include "base/text_win.h"
#include "codecs/encoders.h"
#include "codecs/file_io.h"
#include "codecs/image_file.h"
#include "config/settings_store_win.h"
#include "list/manager_form_win.h"
#include "list/shell_files.h"
#include "program_windows_win.h"
#include "skin/profile_ini_win.h"
#include "skin/skin_file.h"
#include "support/registry_win.h"
#include "widgets/prompts.h"

namespace kv {
namespace {

using Kind = ScriptedPrompts::Kind;

class ProgramWindows : public ::testing::Test {
 protected:
  void SetUp() override { test::FreshProgramState(); }
  void TearDown() override {
    manager.reset();
    browser.reset();
    test::FreshProgramState();
  }
  void Start(int entries) { test::CreateProgramWindows(prompts, store, browser, manager, entries); }
  // A skin file in the program directory's "Skins\" folder.
  std::string WriteSkin(const std::string& name, const std::string& text) {
    const std::string path = ProgramDir() + "Skins\\" + name;
    MakeDirectory(ProgramDir() + "Skins");
    std::ofstream(Widen(path).c_str()) << text;
    return path;
  }

  ScriptedPrompts prompts;
  RegistrySettingsStore store;
  std::unique_ptr<app::TMainForm> browser;
  std::unique_ptr<TManagerForm> manager;
};

TEST_F(ProgramWindows, NextStepsBackwardsAndIsRemembered) {
  Start(5);
  browser->Default1Click();
  ASSERT_EQ(browser->PreviewCount(), 3);
  browser->SysNextClick();
  EXPECT_EQ(program::CurrentWallNumber, 4);
  EXPECT_EQ(store.RegReadInteger("", "Current Wall Number"), 4);
  EXPECT_EQ(browser->Previews()[0]->Tag, 3);
  browser->SysPreviousClick();
  EXPECT_EQ(program::CurrentWallNumber, 0);
}

TEST_F(ProgramWindows, AnEmptyListSetsTheIndexAndAppliesNothing) {
  Start(0);
  browser->Default1Click();
  program::CurrentWallNumber = 3;
  browser->SysNextClick();
  EXPECT_EQ(program::CurrentWallNumber, 0);
  EXPECT_FALSE(store.RegReadInteger("", "Current Wall Number").has_value());
  for (const auto& p : browser->Previews()) EXPECT_FALSE(p->IsVisible());
}

TEST_F(ProgramWindows, TheDefaultSkinIsBuiltOnceAndRemembered) {
  Start(1);
  browser->Default1Click();
  EXPECT_EQ(browser->Buttons().size(), 6u);
  EXPECT_EQ(manager->Buttons().size(), 4u);
  EXPECT_EQ(browser->Buttons()[0]->Hint(), "Close Kestrova");
  const HWND first = browser->Buttons()[0]->hwnd();
  browser->Default1Click();
  EXPECT_EQ(browser->Buttons()[0]->hwnd(), first);
  EXPECT_EQ(store.RegReadString("", "CurrentSkinFile"), "%default%");
}

TEST_F(ProgramWindows, SkinFilesWithTheirFaults) {
  Start(2);
  WriteSkin("back.bmp", "");  // an unreadable picture
  const std::string gap = WriteSkin("gap.ini",
                                    "[misc]\nBrowserImage=$KVDir$\\Skins\\none.bmp\n"
                                    "ManagerImage=\\none.bmp\n");
  browser->LoadSkinFile(gap);  // the manager part fails first: asked, answered No
  EXPECT_EQ(prompts.Texts(Kind::AskError).size(), 1u);
  EXPECT_NE(prompts.Texts(Kind::AskError)[0].find("Manager window"), std::string::npos);

  const std::string noBrowser = WriteSkin("nobrowser.ini", "[misc]\n");
  manager.reset();  // the browser part alone
  browser->LoadSkinFile(noBrowser);
  EXPECT_EQ(prompts.Texts(Kind::Warning),
            std::vector<std::string>{"Skin file must contain BrowserImage in misc section"});
}

// The sample skins the build puts beside the program, in "Skins\<Name>\<Name>.ini",
// load into both windows without a single prompt: every picture is there and
// every command is known. Each button pops up its own label.
TEST_F(ProgramWindows, TheSampleSkinsLoadIntoBothWindows) {
  struct Sample {
    const char* name;
    int previews;
  };
  Start(6);
  browser->Show();  // a label counts as shown only on a shown window
  for (const Sample& sample : {Sample{"Steel", 5}, Sample{"Lagoon", 2}}) {
    SCOPED_TRACE(sample.name);
    const std::string file = ProgramDir() + "Skins\\" + sample.name + "\\" + sample.name + ".ini";
    ASSERT_TRUE(FileExists(file)) << file;
    browser->LoadSkinFile(file);
    for (const ScriptedPrompts::Shown& s : prompts.shown) ADD_FAILURE() << s.text;
    prompts.shown.clear();
    EXPECT_EQ(browser->PreviewCount(), sample.previews);
    EXPECT_EQ(store.RegReadString("", "CurrentSkinFile"), file);
    EXPECT_FALSE(browser->Item("Default1").checked);

    skin::ProfileIniFile ini(file);
    const skin::ManagerSkin desc =
        skin::ReadManagerSkin(ini, ProgramDir(), skin::DirectoryOf(file));
    ASSERT_FALSE(browser->Buttons().empty());
    EXPECT_EQ(browser->Labels().size(), browser->Buttons().size());
    for (std::size_t i = 0; i < browser->Buttons().size(); ++i) {
      const auto& button = browser->Buttons()[i];
      EXPECT_NE(button->Hint(), "Error in skin file") << button->Name();
      EXPECT_GT(button->Width(), 0) << button->Name();
      ASSERT_TRUE(button->onMouseEnter) << button->Name();
      button->onMouseEnter();
      EXPECT_TRUE(browser->Labels()[i]->IsVisible()) << button->Name();
      browser->Labels()[i]->SetVisible(false);
    }

    // The manager's part: its own picture, preview, list and buttons.
    Bitmap back;
    LoadImageFile(back, desc.managerImage.value_or(""));
    EXPECT_EQ((std::pair{manager->Skin().Width(), manager->Skin().Height()}),
              (std::pair{back.Width(), back.Height()}));
    EXPECT_EQ(
        (std::vector<int>{manager->PreviewImage().Left(), manager->PreviewImage().Top(),
                          manager->PreviewImage().Width(), manager->PreviewImage().Height()}),
        (std::vector<int>{desc.previewX, desc.previewY, desc.previewWidth, desc.previewHeight}));
    ASSERT_EQ(manager->Buttons().size(), desc.buttons.size());
    for (const auto& button : manager->Buttons()) {
      EXPECT_FALSE(button->Hint().empty()) << button->Name();
      EXPECT_GT(button->Width(), 0) << button->Name();
    }
  }
}

TEST_F(ProgramWindows, VisibleValuesAreWrittenAtExitAndReadAtStart) {
  Start(0);
  EXPECT_TRUE(app::WasVisible(store, "Mainform", true));
  EXPECT_FALSE(app::WasVisible(store, "ManagerForm", false));
  browser->Show();
  browser->SysExitClick();
  MSG msg;
  PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // the exit's quit message
  EXPECT_EQ(store.RegReadBool("Forms\\Mainform\\", "Visible"), true);
  EXPECT_EQ(store.RegReadBool("Forms\\ManagerForm\\", "Visible"), false);
  EXPECT_EQ(store.RegReadBool("Forms\\OptionsForm\\", "Visible"), false);
}

TEST_F(ProgramWindows, TheListIsSavedUnderTheDefaultNameAtExit) {
  Start(3);
  const std::string name = manager->CurrentListFile();
  EXPECT_EQ(store.RegReadString("", "Current Wallpaper List"), name);
  manager.reset();
  TKvlistview reread(prompts, SystemShellDelete());
  reread.LoadList(name);
  EXPECT_EQ(reread.Count(), 3u);
}

// The hidden "Save" and "Load": the window with its controls goes to
// "MyFile.dwf" and comes back whole; a damaged file or one that cannot be
// written is reported and changes nothing.
TEST_F(ProgramWindows, TheWindowIsSavedAndLoadedBackWithItsControls) {
  Start(4);
  browser->Default1Click();
  DeleteFileW(L"MyFile.dwf");
  struct Seen {
    std::string name, hint;
    int left, top, width, height;
    bool operator==(const Seen& o) const {
      return name == o.name && hint == o.hint && left == o.left && top == o.top &&
             width == o.width && height == o.height;
    }
  };
  const auto seen = [&] {
    std::vector<Seen> all;
    for (const auto& b : browser->Buttons())
      all.push_back({b->Name(), b->Hint(), b->Left(), b->Top(), b->Width(), b->Height()});
    for (const auto& p : browser->Previews())
      all.push_back({p->Name(), "", p->Left(), p->Top(), p->Width(), p->Height()});
    return all;
  };
  const std::vector<Seen> before = seen();
  const HWND firstButton = browser->Buttons()[0]->hwnd();

  std::ofstream("MyFile.dwf", std::ios::binary) << "KVDWF\x01 damaged";
  browser->Load1Click();
  EXPECT_EQ(prompts.Texts(Kind::Information),
            std::vector<std::string>{"Error: Can't load MyFile.dwf"});
  EXPECT_EQ(browser->Buttons()[0]->hwnd(), firstButton);  // nothing was taken off

  SetWindowPos(browser->hwnd(), nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  browser->Save1Click();
  SetWindowPos(browser->hwnd(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  browser->Load1Click();
  EXPECT_EQ(prompts.Texts(Kind::Information).size(), 1u);
  EXPECT_NE(browser->Buttons()[0]->hwnd(), firstButton);  // made anew
  EXPECT_TRUE(seen() == before);
  RECT r;
  GetWindowRect(browser->hwnd(), &r);
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.top, 50);
  EXPECT_FALSE(browser->Buttons()[0]->OverBmp().Empty());
  // The buttons run their commands again: "Sdown" scrolls the strip on.
  const int at = program::CurrentWallNumber;
  browser->Buttons()[4]->onClick();
  EXPECT_NE(program::CurrentWallNumber, at);

  DeleteFileW(L"MyFile.dwf");
  CreateDirectoryW(L"MyFile.dwf", nullptr);  // cannot be replaced by a file
  browser->Save1Click();
  EXPECT_EQ(prompts.Texts(Kind::Information).back(), "Error: Can't save MyFile.dwf");
  RemoveDirectoryW(L"MyFile.dwf");
}

// Every command of the tray menu, run as the menu runs it, in one session: the
// visible effect of each, or (for the windows that do not exist yet) nothing
// at all and no box.
TEST_F(ProgramWindows, EveryTrayMenuCommandDoesWhatItsCaptionSays) {
  Start(4);
  browser->Default1Click();
  const auto run = [&](const char* name) {
    ui::MenuItem& item = browser->Item(name);
    ASSERT_TRUE(item.onClick) << name;
    ui::PopupMenu::Run(item);
    test::PumpMessages();
  };
  const auto visible = [](HWND hwnd) { return IsWindowVisible(hwnd) != FALSE; };

  program::CurrentWallNumber = 1;
  run("SysNext");
  EXPECT_EQ(program::CurrentWallNumber, 0);
  run("SysNext");
  EXPECT_EQ(program::CurrentWallNumber, 3);  // wraps round
  run("SysPrevious");
  EXPECT_EQ(program::CurrentWallNumber, 0);
  for (int i = 0; i < 8; ++i) {
    run("SysRandom");
    EXPECT_GE(program::CurrentWallNumber, 0);
    EXPECT_LT(program::CurrentWallNumber, 4);
  }
  EXPECT_EQ(store.RegReadInteger("", "Current Wall Number"), program::CurrentWallNumber);

  const bool shown = visible(browser->hwnd());
  run("SysBrowser");
  EXPECT_NE(visible(browser->hwnd()), shown);
  run("SysBrowser");
  EXPECT_EQ(visible(browser->hwnd()), shown);
  run("SysManager");
  EXPECT_TRUE(visible(manager->hwnd()));
  run("Minimize1");  // both hidden
  EXPECT_FALSE(visible(manager->hwnd()));
  EXPECT_FALSE(visible(browser->hwnd()));
  SetWindowPos(manager->hwnd(), nullptr, GetSystemMetrics(SM_CXSCREEN) + 50, 20, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  run("LostKv");  // back on the screen and shown
  RECT r;
  GetWindowRect(manager->hwnd(), &r);
  EXPECT_EQ(r.left, 1);
  EXPECT_TRUE(visible(manager->hwnd()));
  EXPECT_TRUE(visible(browser->hwnd()));

  EXPECT_FALSE(program::PausedFlag);
  run("PauseIntervalSwitching1");
  EXPECT_TRUE(program::PausedFlag);
  EXPECT_EQ(store.RegReadBool("Wallpaper Changing\\", "Paused"), true);
  EXPECT_TRUE(browser->Item("PauseIntervalSwitching1").checked);

  // Neither icon size is marked at first; the clicked item takes the other's
  // mark, the other the opposite. Without a desktop list view nothing else
  // happens.
  struct IconStep {
    const char* item;
    bool smallChecked, normalChecked;
  };
  for (const IconStep& step :
       {IconStep{"NormalIcons1", true, false}, IconStep{"SmallIcons1", false, true},
        IconStep{"SmallIcons1", true, false}, IconStep{"NormalIcons1", false, true}}) {
    run(step.item);
    EXPECT_EQ(browser->Item("SmallIcons1").checked, step.smallChecked) << step.item;
    EXPECT_EQ(browser->Item("NormalIcons1").checked, step.normalChecked) << step.item;
    EXPECT_EQ(store.RegReadBool("Wallpaper Changing\\", "Small Icons"), step.smallChecked);
  }

  run("KeepIconsHidden1");
  EXPECT_TRUE(browser->Item("KeepIconsHidden1").checked);
  EXPECT_FALSE(browser->Item("HideDesktopIcons1").enabled);
  EXPECT_EQ(store.RegReadBool("Wallpaper Changing\\", "HideIconsAlways"), true);
  run("KeepIconsHidden1");
  EXPECT_FALSE(browser->Item("KeepIconsHidden1").checked);
  EXPECT_TRUE(browser->Item("HideDesktopIcons1").enabled);

  // The skin dialog is asked for and cancelled; the skin stays.
  run("LoadSkin1");
  EXPECT_EQ(prompts.Texts(Kind::OpenFiles).size(), 1u);
  EXPECT_EQ(browser->Buttons().size(), 6u);
  // The manager's adds ask for a folder; cancelled, the list stays.
  run("SysDirectory");
  run("AddDirectoryTreetolist1");
  EXPECT_EQ(prompts.Texts(Kind::BrowseFolder).size(), 2u);
  EXPECT_EQ(manager->Wallpaperlist().Count(), 4u);

  // Without the options and search windows, and without a desktop icon view,
  // these do nothing and show nothing.
  for (const char* name : {"SysAbout", "SysConfig", "SysSearch", "IconColour1", "LineUpIcons1",
                           "RefreshIcons1", "HideDesktopIcons1", "ShowDesktopIcons1"})
    run(name);
  EXPECT_TRUE(prompts.Texts(Kind::Warning).empty());
  EXPECT_TRUE(prompts.Texts(Kind::Error).empty());
}

// Entries whose file has vanished or does not decode: the switch and the strip
// go on past them, and the wallpaper stays the last good one.
TEST_F(ProgramWindows, BadEntriesLeaveTheWallpaperAsItWas) {
  const std::string dir = ProgramDir() + "badentries\\";
  MakeDirectory(dir);
  Bitmap good(40, 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) good.SetPixel(x, y, MakeColour(200, 60, 30));
  SaveBmp(good, dir + "good.bmp");
  std::ofstream(Widen(dir + "broken.jpg").c_str(), std::ios::binary)
      << "\xFF\xD8\xFF\xE0 not a JPEG";
  DeleteFileW(Widen(dir + "gone.bmp").c_str());
  Start(0);
  TKvlistview& list = manager->Wallpaperlist();
  list.Append({"Stretch", "good.bmp", dir});
  list.Append({"Stretch", "gone.bmp", dir});
  list.Append({"Lanczos3", "broken.jpg", dir});
  browser->Default1Click();
  const std::string wallpaper = ProgramDir() + "Wallpaper.bmp";

  program::CurrentWallNumber = 1;
  browser->SysNextClick();  // the good picture
  ASSERT_EQ(program::CurrentWallNumber, 0);
  const std::vector<std::uint8_t> applied = ReadFileBytes(wallpaper);
  for (int step = 0; step < 2; ++step) {
    browser->SysNextClick();  // the broken picture, then the vanished one
    EXPECT_EQ(program::CurrentWallNumber, 2 - step);
    EXPECT_EQ(store.RegReadInteger("", "Current Wall Number"), 2 - step);
    EXPECT_TRUE(ReadFileBytes(wallpaper) == applied) << "step " << step;
    // The strip is refilled around it: three previews, the bad ones empty.
    int shown = 0;
    for (const auto& p : browser->Previews())  // shown, in a window that is not
      shown += (GetWindowLongW(p->hwnd(), GWL_STYLE) & WS_VISIBLE) ? 1 : 0;
    EXPECT_EQ(shown, 3);
    EXPECT_TRUE(browser->Previews()[1]->Picture().Empty());
  }
  browser->SysNextClick();  // round to the good one again
  EXPECT_EQ(program::CurrentWallNumber, 0);
  EXPECT_FALSE(browser->Previews()[1]->Picture().Empty());
}

}  // namespace
}  // namespace kv
