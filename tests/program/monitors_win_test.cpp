// Every monitor its own wallpaper, driven as the user drives it: the option
// turned on in the store, a two-monitor layout injected in place of Wine's one
// monitor, then Next, "next --monitor 2" from another process, a monitor's own
// list, a display change to three monitors and the option turned off again.
#include <gtest/gtest.h>

#include <memory>

#include "app/browser_form_win.h"
#include "base/program_dir_win.h"
#include "base/text_win.h"
#include "codecs/encoders.h"
#include "codecs/file_io.h"
#include "codecs/image_file.h"
#include "config/options/options_form_win.h"
#include "config/settings_schema.h"
#include "config/settings_store_win.h"
#include "list/list_file.h"
#include "list/manager_form_win.h"
#include "list/shell_files.h"
#include "program/remote_send_win.h"
#include "program_windows_win.h"
#include "support/desktop_values_win.h"
#include "widgets/prompts.h"

namespace kv {
namespace {

constexpr int kPictures = 6;

Colour ColourOf(int picture) {
  return MakeColour(static_cast<std::uint8_t>(40 * picture), 90, 200);
}

class Monitors : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tollvard\\Kestrova");
    for (const wchar_t* name : test::kDesktopValueNames)
      saved_.push_back(test::ReadDesktopValue(name));
    program::CurrentWallNumber = 0;
    MakeDirectory(dir_);
    for (int i = 0; i < kPictures; ++i) {
      Bitmap b(40 + i, 30);
      b.Fill(ColourOf(i));
      SaveBmp(b, Picture(i));
    }
    test::CreateProgramWindows(prompts, store, browser, manager);
    // Only this test's pictures, whatever list the manager found in the folder.
    manager->Wallpaperlist().DeleteAll();
    for (int i = 0; i < kPictures; ++i)
      manager->Wallpaperlist().Append({"Box", "pic" + std::to_string(i) + ".bmp", dir_});
    browser->Default1Click();
    // Whatever the skin's load applied, the browser starts at the first entry.
    program::CurrentWallNumber = 0;
  }
  void TearDown() override {
    // The manager saves its list on closing: leave none of these pictures in
    // it for the next test.
    manager->Wallpaperlist().DeleteAll();
    manager.reset();
    browser.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tollvard\\Kestrova");
    for (std::size_t i = 0; i < std::size(test::kDesktopValueNames); ++i)
      test::WriteDesktopValue(test::kDesktopValueNames[i], saved_[i]);
  }
  std::string Picture(int i) const { return dir_ + "pic" + std::to_string(i) + ".bmp"; }

  // The picture each monitor of `layout` shows in "Wallpaper.bmp" laid out
  // tiled from the primary's corner (-1 for a colour of no picture).
  std::vector<int> Shown(const MonitorLayout& layout) const {
    Bitmap b;
    LoadImageFile(b, ProgramDir() + kWallpaperFileName);
    const MonitorRect v = VirtualBounds(layout);
    EXPECT_EQ(b.Width(), v.width);
    EXPECT_EQ(b.Height(), v.height);
    std::vector<int> out;
    for (const MonitorRect& m : layout) {
      const int x = ((m.x + m.width / 2) % v.width + v.width) % v.width;
      const int y = ((m.y + m.height / 2) % v.height + v.height) % v.height;
      int found = -1;
      if (x < b.Width() && y < b.Height())
        for (int i = 0; i < kPictures; ++i)
          if (b.Pixel(x, y) == ColourOf(i)) found = i;
      out.push_back(found);
    }
    return out;
  }
  // The entries of the previews that carry a monitor's mark (a light box in
  // the corner), in strip order.
  std::vector<int> MarkedPreviews() const {
    std::vector<int> out;
    for (const auto& preview : browser->Previews())
      if (!preview->Picture().Empty() &&
          preview->Picture().Pixel(3, 3) == MakeColour(255, 255, 224))
        out.push_back(preview->Tag);
    return out;
  }
  bool Send(const program::RemoteCommand& command) {
    return test::SendToBrowser(browser->hwnd(), command);
  }

  const std::string dir_ = ProgramDir() + "monitors\\";
  ScriptedPrompts prompts;
  RegistrySettingsStore store;
  std::unique_ptr<app::TMainForm> browser;
  std::unique_ptr<TManagerForm> manager;

 private:
  std::vector<std::optional<std::wstring>> saved_;
};

TEST_F(Monitors, EachMonitorShowsItsOwnEntryThroughNextRemoteOwnListsAndDisplayChanges) {
  const MonitorLayout two = *ParseMonitorLayout("320x240+0+0,200x300+320-30");
  browser->KVWallpaper1().InjectedMonitors = two;
  store.RegWriteBool(kMonitorsKey, kEachMonitorOwnWallpaper, true);

  // Next makes entry 5 current (the browser counts down); the second monitor
  // shows the entry after it in list order.
  browser->SysNextClick();
  EXPECT_EQ(Shown(two), (std::vector<int>{5, 0}));
  EXPECT_EQ(MarkedPreviews(), (std::vector<int>{5, 0}));
  EXPECT_EQ(test::ReadDesktopValue(L"Tilewallpaper"), L"1");
  EXPECT_EQ(test::ReadDesktopValue(L"WallpaperStyle"), L"0");
  // Every monitor moves on the same way.
  browser->SysNextClick();
  EXPECT_EQ(Shown(two), (std::vector<int>{4, 5}));
  browser->SysPreviousClick();
  EXPECT_EQ(Shown(two), (std::vector<int>{5, 0}));

  // Only the second monitor moves; a monitor that is not there is refused.
  EXPECT_TRUE(Send({program::RemoteVerb::Next, "", "", 2}));
  EXPECT_EQ(Shown(two), (std::vector<int>{5, 1}));
  EXPECT_FALSE(Send({program::RemoteVerb::Next, "", "", 3}));

  // A list of its own for monitor 2 (pictures 3 and 2, in that order); a
  // missing list file for monitor 3 leaves it on the main list.
  const std::string own = dir_ + "own.lst";
  const std::vector<std::uint8_t> bytes =
      FormatListFile({{"pic3.bmp", dir_, 4}, {"pic2.bmp", dir_, 4}});
  WriteFileAtomic(own, bytes.data(), bytes.size());
  store.RegWriteString(kMonitorsKey, "Monitor 2 List", own);
  store.RegWriteString(kMonitorsKey, "Monitor 3 List", dir_ + "missing.lst");

  // The layout changes to three monitors, one left of and above the primary:
  // the display change re-renders for it, the primary keeps its entry.
  const MonitorLayout three = *ParseMonitorLayout("320x240+0+0,200x300+320-30,256x192-256-192");
  browser->KVWallpaper1().InjectedMonitors = three;
  SendMessageW(browser->hwnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(320, 240));
  EXPECT_EQ(Shown(three), (std::vector<int>{5, 3, 0}));
  EXPECT_TRUE(Send({program::RemoteVerb::Next, "", "", 2}));
  EXPECT_EQ(Shown(three), (std::vector<int>{5, 2, 0}));
  browser->SysNextClick();
  EXPECT_EQ(Shown(three), (std::vector<int>{4, 3, 5}));

  // Off again: the single picture as always, at the primary screen's size.
  store.RegWriteBool(kMonitorsKey, kEachMonitorOwnWallpaper, false);
  browser->SysNextClick();
  Bitmap single;
  LoadImageFile(single, ProgramDir() + kWallpaperFileName);
  EXPECT_EQ(single.Width(), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(single.Pixel(single.Width() / 2, single.Height() / 2), ColourOf(3));
  EXPECT_EQ(test::ReadDesktopValue(L"Tilewallpaper"), L"0");
  EXPECT_EQ(MarkedPreviews(), std::vector<int>{});
  EXPECT_FALSE(Send({program::RemoteVerb::Next, "", "", 2}));
}

// A layout the composition refuses (a strip of one pixel) gives the single
// picture, as the option off would.
TEST_F(Monitors, ADegenerateLayoutFallsBackToTheSinglePicture) {
  browser->KVWallpaper1().InjectedMonitors = *ParseMonitorLayout("320x240+0+0,1x240+320+0");
  store.RegWriteBool(kMonitorsKey, kEachMonitorOwnWallpaper, true);
  browser->SysNextClick();
  Bitmap single;
  LoadImageFile(single, ProgramDir() + kWallpaperFileName);
  EXPECT_EQ(single.Width(), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(single.Pixel(0, 0), ColourOf(5));
  EXPECT_EQ(test::ReadDesktopValue(L"Tilewallpaper"), L"0");
  EXPECT_FALSE(browser->KVWallpaper1().MonitorNote.empty());
}

// The options window's "Monitors" tab as a user drives it: the tab chosen,
// the option ticked, monitor 2's own list typed in and left. The registry
// values and the composed wallpaper follow at once, and the tab's drawing and
// rows follow a display change.
TEST_F(Monitors, TheOptionsTabTurnsTheOptionOnAndGivesAMonitorItsOwnList) {
  const MonitorLayout two = *ParseMonitorLayout("320x240+0+0,200x300+320-30");
  browser->KVWallpaper1().InjectedMonitors = two;
  browser->SysNextClick();  // entry 5, the single picture
  TOptionsForm options(prompts, store, SystemShellDelete());
  options.Create();
  options.SelectPage(3);  // "Wallpapers"
  options.SetVisible(true);
  HWND tabs = nullptr;
  while ((tabs = FindWindowExW(options.hwnd(), tabs, WC_TABCONTROLW, nullptr)))
    if (IsWindowVisible(tabs)) break;
  ASSERT_NE(tabs, nullptr);
  SendMessageW(tabs, TCM_SETCURSEL, 3, 0);
  NMHDR changed{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), TCN_SELCHANGE};
  SendMessageW(options.hwnd(), WM_NOTIFY, changed.idFrom, reinterpret_cast<LPARAM>(&changed));
  EXPECT_EQ(store.RegReadInteger("", "CurrentWTab"), 3);
  EXPECT_EQ(options.MonitorsShown(), two);

  // Off, the rows wait for the option; ticked, the monitors show their own.
  const HWND own2 = options.ControlFor("Monitor 2 List");
  ASSERT_NE(own2, nullptr);
  EXPECT_FALSE(IsWindowEnabled(own2));
  const HWND box = options.ControlFor(kEachMonitorOwnWallpaper);
  SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), BN_CLICKED),
               reinterpret_cast<LPARAM>(box));
  EXPECT_EQ(store.RegReadBool(kMonitorsKey, kEachMonitorOwnWallpaper), true);
  EXPECT_TRUE(IsWindowEnabled(own2));
  EXPECT_TRUE(browser->Item("NextOnThisMonitor1").visible);
  EXPECT_EQ(Shown(two), (std::vector<int>{5, 0}));

  // Monitor 2's own list (pictures 3 and 2), typed in and left.
  const std::string own = dir_ + "own.lst";
  const std::vector<std::uint8_t> bytes =
      FormatListFile({{"pic3.bmp", dir_, 4}, {"pic2.bmp", dir_, 4}});
  WriteFileAtomic(own, bytes.data(), bytes.size());
  SetWindowTextW(own2, Widen(own).c_str());
  SendMessageW(own2, WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(store.RegReadString(kMonitorsKey, "Monitor 2 List"), own);
  EXPECT_EQ(Shown(two), (std::vector<int>{5, 3}));
  EXPECT_TRUE(prompts.shown.empty());
  // A list that is not there is kept and named; its monitor follows the main list.
  const HWND own3 = options.ControlFor("Monitor 3 List");
  SetWindowTextW(own3, Widen(dir_ + "gone.lst").c_str());
  SendMessageW(own3, WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(store.RegReadString(kMonitorsKey, "Monitor 3 List"), dir_ + "gone.lst");
  ASSERT_EQ(prompts.Texts(ScriptedPrompts::Kind::Warning).size(), 1u);

  // A third monitor plugged in: the tab draws it, the wallpaper covers it.
  const MonitorLayout three = *ParseMonitorLayout("320x240+0+0,200x300+320-30,256x192-256-192");
  browser->KVWallpaper1().InjectedMonitors = three;
  for (HWND window : {options.hwnd(), browser->hwnd()})
    SendMessageW(window, WM_DISPLAYCHANGE, 32, MAKELPARAM(320, 240));
  EXPECT_EQ(options.MonitorsShown(), three);
  EXPECT_EQ(Shown(three), (std::vector<int>{5, 3, 0}));

  // Unticked: the single picture again.
  SendMessageW(box, BM_SETCHECK, BST_UNCHECKED, 0);
  SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), BN_CLICKED),
               reinterpret_cast<LPARAM>(box));
  EXPECT_EQ(test::ReadDesktopValue(L"Tilewallpaper"), L"0");
  EXPECT_FALSE(IsWindowEnabled(own2));
  EXPECT_EQ(MarkedPreviews(), std::vector<int>{});
}

}  // namespace
}  // namespace kv
