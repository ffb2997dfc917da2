// The browser created as the program creates it, with the manager, driven
// through its handlers in one run per flow: skins that fail and what is left
// of them, a window that grows at the screen's edge; the tray's menu, its
// icon size actions and Minimize.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "app/browser_form_win.h"
#include "base/program_dir_win.h"
#include "base/text_win.h"
#include "codecs/encoders.h"
#include "codecs/file_io.h"
#include "config/settings_store_win.h"
#include "list/manager_form_win.h"
#include "program/program_windows_win.h"
#include "widgets/prompts.h"

namespace kv {
namespace {

using Kind = ScriptedPrompts::Kind;

class Browser : public ::testing::Test {
 protected:
  void SetUp() override {
    test::FreshProgramState();
    Start();
  }
  void TearDown() override {
    Stop();
    test::FreshProgramState();
    DropQuit();
  }
  void Start() { test::CreateProgramWindows(prompts, store, browser, manager, 2); }
  void Stop() {
    manager.reset();
    browser.reset();
  }
  // Takes an end of the program asked for (the test runs no message loop);
  // true when there was one.
  static bool DropQuit() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
  }
  // A file in a folder of its own under the program directory.
  static std::string WriteFile(const std::string& name, const std::string& text) {
    const std::string dir = ProgramDir() + "browser_test\\";
    MakeDirectory(dir);
    std::ofstream(Widen(dir + name).c_str(), std::ios::binary) << text;
    return dir + name;
  }
  void ExpectBuiltInSkin() {
    EXPECT_EQ(browser->Buttons().size(), 6u);
    EXPECT_EQ(browser->PreviewCount(), 3);
    EXPECT_EQ(manager->Buttons().size(), 4u);
    EXPECT_TRUE(browser->Item("Default1").checked);
    EXPECT_EQ(store.RegReadString("", "CurrentSkinFile"), "%default%");
  }

  ScriptedPrompts prompts;
  RegistrySettingsStore store;
  std::unique_ptr<app::TMainForm> browser;
  std::unique_ptr<TManagerForm> manager;
};

// One run through the skins a user may meet: files that fail, a lost file, a
// button without its picture, a wider skin at the screen's edge, and an ini
// file that is no skin at all, with the restart after it.
TEST_F(Browser, SkinsThatFailOrAreLostLeaveTheBuiltInSkin) {
  browser->Default1Click();
  WriteFile("empty.bmp", "");  // a picture that cannot be read
  const std::string broken =
      WriteFile("broken.ini", "[misc]\nBrowserImage=\\empty.bmp\nManagerImage=\\empty.bmp\n");

  // Answered No: the program is to end, and both windows have the built-in skin.
  browser->LoadSkinFile(broken);
  ASSERT_EQ(prompts.Texts(Kind::AskError).size(), 1u);
  EXPECT_NE(prompts.Texts(Kind::AskError)[0].find("Manager window"), std::string::npos);
  EXPECT_TRUE(DropQuit());
  ExpectBuiltInSkin();

  // Answered Yes, then the dialog cancelled: the built-in skin stays, and
  // nothing ends the program.
  prompts.confirmAnswers = {true};
  browser->LoadSkinFile(broken);
  EXPECT_EQ(prompts.Texts(Kind::AskError).size(), 2u);
  EXPECT_EQ(prompts.Texts(Kind::OpenFiles).size(), 1u);
  EXPECT_FALSE(DropQuit());
  ExpectBuiltInSkin();

  // The browser's part alone failing is the same.
  const std::string brokenBrowser =
      WriteFile("brokenbrowser.ini",
                "[misc]\nBrowserImage=\\empty.bmp\nManagerImage=$KVDir$\\browser_test\\back.bmp\n");
  SaveBmp(Bitmap(50, 40), ProgramDir() + "browser_test\\back.bmp");
  browser->LoadSkinFile(brokenBrowser);
  ASSERT_EQ(prompts.Texts(Kind::AskError).size(), 3u);
  EXPECT_NE(prompts.Texts(Kind::AskError)[2].find("Browser window"), std::string::npos);
  EXPECT_TRUE(DropQuit());
  ExpectBuiltInSkin();

  // "Default Skin" afterwards keeps the built-in skin whole.
  browser->Default1Click();
  ExpectBuiltInSkin();

  // A lost skin file with the dialog cancelled falls back to the built-in skin.
  prompts.shown.clear();
  store.RegWriteString("", "CurrentSkinFile", ProgramDir() + "browser_test\\gone.ini");
  browser->LoadCurrentSkin();
  EXPECT_EQ(prompts.Texts(Kind::Information).size(), 1u);
  EXPECT_EQ(prompts.Texts(Kind::OpenFiles).size(), 1u);
  ExpectBuiltInSkin();

  // A button without a normal picture has no size.
  prompts.shown.clear();
  SaveBmp(Bitmap(120, 90), ProgramDir() + "browser_test\\back.bmp");
  SaveBmp(Bitmap(20, 10), ProgramDir() + "browser_test\\face.bmp");
  const std::string buttons =
      WriteFile("buttons.ini",
                "[misc]\nBrowserImage=\\back.bmp\nManagerImage=\\back.bmp\n"
                "[Browserbuttons]\nbutton0=bare\nbareX=5\nbareClick=pause()\n"
                "button1=face\nfaceNormal=\\face.bmp\nfaceClick=pause()\n");
  browser->LoadSkinFile(buttons);
  EXPECT_TRUE(prompts.shown.empty());
  ASSERT_EQ(browser->Buttons().size(), 2u);
  EXPECT_EQ((std::pair{browser->Buttons()[0]->Width(), browser->Buttons()[0]->Height()}),
            (std::pair{0, 0}));
  EXPECT_EQ((std::pair{browser->Buttons()[1]->Width(), browser->Buttons()[1]->Height()}),
            (std::pair{20, 10}));

  // A wider skin loaded at the screen's right edge stays on the screen.
  browser->Default1Click();
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT r;
  GetWindowRect(browser->hwnd(), &r);
  SetWindowPos(browser->hwnd(), nullptr, work.right - (r.right - r.left), 100, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const std::string steel = ProgramDir() + "Skins\\Steel\\Steel.ini";
  ASSERT_TRUE(FileExists(steel));
  browser->LoadSkinFile(steel);
  GetWindowRect(browser->hwnd(), &r);
  EXPECT_GT(r.right - r.left, 112);  // the skin did make it wider
  EXPECT_GE(r.left, work.left);
  EXPECT_LE(r.right, work.right);
  EXPECT_LE(r.bottom, work.bottom);

  // An ini file that is no skin ends the program once, and the next start
  // loads the built-in skin of "CurrentSkinFile" without a word.
  prompts.shown.clear();
  const std::string other = WriteFile("settings.ini", "[Window]\nWidth=300\n");
  browser->LoadSkinFile(other);
  EXPECT_EQ(prompts.Texts(Kind::Warning),
            (std::vector<std::string>{"Skin file must contain ManagerImage in misc section",
                                      "Skin file must contain BrowserImage in misc section"}));
  EXPECT_TRUE(DropQuit());
  EXPECT_EQ(store.RegReadString("", "CurrentSkinFile"), "%default%");
  Stop();
  prompts.shown.clear();
  Start();
  browser->LoadCurrentSkin();
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_FALSE(DropQuit());
  ExpectBuiltInSkin();
}

// One run through the tray's menu and actions: without a tray icon Minimize
// takes every shown window to the taskbar and back; the icon size actions
// "Normal Icon Size" (13) and "Small Icon Size" (14) set their size whatever
// the marks were, the menu items exchanging the marks; and every command of
// the menu reaches the item of its caption, whose marks the other windows set
// through it.
TEST_F(Browser, TrayMenuAndActions) {
  browser->Default1Click();
  browser->TheTrayIcon.SetActive(false);
  browser->Show();
  manager->Form().SetVisible(true);
  browser->Minimize1Click();
  EXPECT_TRUE(IsIconic(browser->hwnd()));
  EXPECT_FALSE(manager->Form().IsVisible());
  // The taskbar button restores the application: every window that went comes back.
  SendMessageW(browser->hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsIconic(browser->hwnd()));
  EXPECT_TRUE(browser->IsVisible());
  EXPECT_TRUE(manager->Form().IsVisible());

  using C = program::MainCommand;
  struct IconSizeCase {
    int action;
    bool smallBefore;
    bool smallAfter;
  };
  const IconSizeCase sizes[] = {
      {13, true, false}, {13, false, false}, {14, false, true}, {14, true, true}};
  const program::MouseActions kept = program::MouseAction;
  for (const IconSizeCase& c : sizes) {
    // Written by the action even when the size stays.
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Tollvard\\Kestrova\\Wallpaper Changing",
                       L"Small Icons");
    browser->SetItemChecked(C::SmallIcons, c.smallBefore);
    browser->SetItemChecked(C::NormalIcons, !c.smallBefore);
    program::MouseAction.left = static_cast<std::uint8_t>(c.action);
    browser->TrayIconMouseDown(0, 0, 0);
    const std::string name = std::to_string(c.action) + (c.smallBefore ? " from small" : "");
    EXPECT_EQ(browser->ItemChecked(C::SmallIcons), c.smallAfter) << name;
    EXPECT_EQ(browser->ItemChecked(C::NormalIcons), !c.smallAfter) << name;
    EXPECT_EQ(store.RegReadBool("Wallpaper Changing\\", "Small Icons"), c.smallAfter) << name;
  }
  program::MouseAction = kept;

  const std::pair<C, const char*> items[] = {
      {C::About, "Kestrova..."},
      {C::Browser, "Browser"},
      {C::Manager, "Manager"},
      {C::Configuration, "Configuration"},
      {C::Search, "Search"},
      {C::LoadSkin, "Load Skin..."},
      {C::DefaultSkin, "Default Skin"},
      {C::Next, "Next Wallpaper"},
      {C::Previous, "Previous Wallpaper"},
      {C::Random, "Random Wallpaper"},
      {C::Back, "Back"},
      {C::AddDirectory, "Add Directory To List"},
      {C::AddDirectoryTree, "Add Directory Tree To List"},
      {C::PauseIntervalSwitching, "Pause Interval Switching"},
      {C::SmallIcons, "Small Icons"},
      {C::NormalIcons, "Normal Icons"},
      {C::LineUpIcons, "Line Up Icons"},
      {C::RefreshIcons, "Refresh Icons"},
      {C::HideDesktopIcons, "Hide Desktop Icons"},
      {C::ShowDesktopIcons, "Show Desktop Icons"},
      {C::KeepIconsHidden, "Keep Icons Hidden"},
      {C::IconColour, "Icon Colour"},
      {C::DisplayProperties, "Launch Display Properties"},
      {C::LostKv, "Lost Kv ?"},
      {C::Minimize, "Minimize"},
      {C::Save, "Save"},
      {C::Load, "Load"},
      {C::Exit, "Exit"},
  };
  ASSERT_EQ(std::size(items), static_cast<std::size_t>(program::kMainCommandCount));
  for (const auto& [command, caption] : items) {
    ui::MenuItem& item = browser->Item(command);
    EXPECT_EQ(item.caption, caption);
    EXPECT_TRUE(item.onClick) << caption;
    for (const bool checked : {true, false}) {
      browser->SetItemChecked(command, checked);
      EXPECT_EQ(item.checked, checked) << caption;
      EXPECT_EQ(browser->ItemChecked(command), checked) << caption;
    }
  }
}

}  // namespace
}  // namespace kv
