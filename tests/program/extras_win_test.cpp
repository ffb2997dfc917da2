// The extras of the browser, each turned on in the store as its option would:
// Back through the history (by the remote command, across a restart), Random
// without repeats with its round beside the list, and filled bars.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "app/browser_form_win.h"
#include "app/history.h"
#include "app/shuffle_round.h"
#include "base/program_dir_win.h"
#include "base/text_win.h"
#include "codecs/encoders.h"
#include "codecs/file_io.h"
#include "codecs/image_file.h"
#include "config/settings_schema.h"
#include "config/settings_store_win.h"
#include "list/manager_form_win.h"
#include "program/remote_send_win.h"
#include "program_windows_win.h"
#include "widgets/prompts.h"

namespace kv {
namespace {

class Extras : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tollvard\\Kestrova");
    DeleteFileW(Widen(ProgramDir() + app::kHistoryFileName).c_str());
    program::CurrentWallNumber = 0;
    MakeDirectory(dir_);
    // Four pictures in colours of their own; the wallpaper tells which is up.
    for (int i = 0; i < 4; ++i) {
      Bitmap b(40 + i, 30);
      b.Fill(MakeColour(static_cast<std::uint8_t>(60 * i), 90, 200));
      SaveBmp(b, Picture(i));
    }
  }
  void TearDown() override {
    // The manager saves its list on closing: leave none of these pictures in
    // it for the tests that run after this one in the same folder.
    if (manager) manager->Wallpaperlist().DeleteAll();
    manager.reset();
    browser.reset();
    DeleteFileW(Widen(ProgramDir() + app::kHistoryFileName).c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tollvard\\Kestrova");
  }
  std::string Picture(int i) const { return dir_ + "pic" + std::to_string(i) + ".bmp"; }
  // The program started with the four pictures in its list, as Stretch.
  void Start() {
    test::CreateProgramWindows(prompts, store, browser, manager);
    // Only this test's pictures, whatever list the manager found in the folder.
    manager->Wallpaperlist().DeleteAll();
    for (int i = 0; i < 4; ++i)
      manager->Wallpaperlist().Append({"Stretch", "pic" + std::to_string(i) + ".bmp", dir_});
    browser->Default1Click();
  }
  // The width of the picture on the desktop names it (40 + i).
  int Shown() const {
    Bitmap b;
    LoadImageFile(b, ProgramDir() + kWallpaperFileName);
    return b.Width() - 40;
  }
  // "kvtool send back", as the message it sends.
  bool SendBack() {
    return test::SendToBrowser(browser->hwnd(), {program::RemoteVerb::Back, {}, {}});
  }

  const std::string dir_ = ProgramDir() + "extras\\";
  ScriptedPrompts prompts;
  RegistrySettingsStore store;
  std::unique_ptr<app::TMainForm> browser;
  std::unique_ptr<TManagerForm> manager;
};

TEST_F(Extras, BackReturnsThroughWhatWasShownAndAcrossARestart) {
  Start();
  // Off, nothing is kept and Back has nowhere to go.
  browser->SysNextClick();
  EXPECT_FALSE(SendBack());
  EXPECT_FALSE(FileExists(ProgramDir() + app::kHistoryFileName));
  EXPECT_FALSE(browser->Item("SysBack").visible);

  store.RegWriteBool(kKvExtrasKey, kKeepHistory, true);
  browser->ApplyExtras();
  EXPECT_TRUE(browser->Item("SysBack").visible);
  program::CurrentWallNumber = 0;
  browser->SysPreviousClick();  // 1
  program::CurrentWallNumber = 0;
  browser->SysNextClick();  // 3
  browser->SysNextClick();  // 2
  ASSERT_TRUE(browser->RunRemoteCommand({program::RemoteVerb::Apply, Picture(0), "Center"}, nullptr));
  browser->SysPreviousClick();  // 3 again
  ASSERT_EQ(Shown(), 3);

  ASSERT_TRUE(SendBack());
  EXPECT_EQ(Shown(), 0);
  ASSERT_TRUE(SendBack());
  EXPECT_EQ(Shown(), 2);
  EXPECT_EQ(program::CurrentWallNumber, 2);  // a list entry becomes current again

  // A restart keeps the history and where Back stood. A picture that is gone
  // is passed over; at the oldest Back refuses.
  manager.reset();
  browser.reset();
  Start();
  DeleteFileW(Widen(Picture(3)).c_str());
  browser->Item("SysBack").onClick(browser->Item("SysBack"));  // the tray's "Back"
  EXPECT_EQ(Shown(), 1);
  EXPECT_FALSE(SendBack());
  EXPECT_EQ(Shown(), 1);
}

TEST_F(Extras, RandomWithoutRepeatsShowsEachEntryOncePerRound) {
  program::CurrentListFile = dir_ + "extras.lst";
  const std::string state = app::ShuffleStateFileFor(program::CurrentListFile);
  DeleteFileW(Widen(state).c_str());
  Start();
  browser->SysRandomClick();  // off: drawn as always, nothing kept
  EXPECT_FALSE(FileExists(state));

  store.RegWriteBool(kKvExtrasKey, kRandomWithoutRepeats, true);
  for (int round = 0; round < 2; ++round) {
    std::set<int> shown;
    for (int n = 0; n < 4; ++n) {
      browser->SysRandomClick();
      shown.insert(Shown());
      EXPECT_EQ(Shown(), program::CurrentWallNumber);
    }
    EXPECT_EQ(shown, (std::set<int>{0, 1, 2, 3})) << "round " << round;
  }
  EXPECT_EQ(app::LoadShuffleRound(program::CurrentListFile).shown.size(), 4u);
  DeleteFileW(Widen(state).c_str());
  program::CurrentListFile.clear();
}

TEST_F(Extras, FilledBarsMakeAScaledWallpaperScreenSized) {
  Start();
  Bitmap portrait(30, 90);
  portrait.Fill(MakeColour(250, 200, 40));
  SaveBmp(portrait, dir_ + "portrait.bmp");
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  for (const bool fill : {false, true}) {
    store.RegWriteBool(kKvExtrasKey, kFillTheBars, fill);
    browser->ApplyFile(dir_ + "portrait.bmp", "Scaled");
    Bitmap b;
    LoadImageFile(b, ProgramDir() + kWallpaperFileName);
    EXPECT_EQ(b.Width() == screenWidth, fill);
    EXPECT_EQ(b.Height(), GetSystemMetrics(SM_CYSCREEN));
    // The bars are the picture's colour, darkened, not black.
    if (fill) {
      EXPECT_GT(RedOf(b.Pixel(0, b.Height() / 2)), 80);
    }
  }
}

}  // namespace
}  // namespace kv
