#include <gtest/gtest.h>

#include <vector>

#include "fake_desktop_win.h"
#include "wallpaper/kv_wallpaper_win.h"

namespace kv {
namespace {

using test::FakeDesktop;
using test::ListMessage;

// The applier with the shell's Active Desktop report under the test's control.
class Applier : public TKVWallpaper {
 public:
  bool activeDesktop = false;
  [[nodiscard]] bool ActiveDesktopState() const override { return activeDesktop; }
};

constexpr Colour kFg = MakeColour(0x11, 0x22, 0x33);
constexpr Colour kBg = MakeColour(0x44, 0x55, 0x66);

ListMessage SetText(Colour c) { return {LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(c)}; }
ListMessage SetBack(COLORREF c) { return {LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(c)}; }
const ListMessage kCount{LVM_GETITEMCOUNT, 0, 0};
ListMessage Redraw(int count) { return {LVM_REDRAWITEMS, 0, count - 1}; }

TEST(DesktopIcons, WithoutTheShellsWindowsEverythingIsANoOp) {
  ASSERT_EQ(FindWindowW(L"Progman", nullptr), nullptr) << "this Wine has a desktop shell";
  Applier a;
  a.DtopActive = a.DtopForeground = a.DtopBackground = true;
  EXPECT_EQ(TKVWallpaper::DesktopListView(), nullptr);
  EXPECT_FALSE(TKVWallpaper::WebDesktopShown());
  a.ApplyIconColours();
  TKVWallpaper::ShowDesktopIcons(false);
  TKVWallpaper::ArrangeDesktopIcons(0);
  TKVWallpaper::SetDesktopIconSize(LVS_SMALLICON);
  EXPECT_TRUE(a.ChangeDesktopIconSize(true));
  a.HideTimerTimer();
}

TEST(DesktopIcons, FindsTheListAsFirstChildOfFirstChildOfProgman) {
  FakeDesktop desktop(true);
  EXPECT_EQ(TKVWallpaper::DesktopListView(), desktop.List());
  EXPECT_TRUE(TKVWallpaper::WebDesktopShown());
}

struct ColourCase {
  const char* name;
  bool active, fg, bg, transparent;
  std::vector<ListMessage> expected;
  COLORREF textColour, textBackground;  // what the list reports afterwards
};

class IconColours : public ::testing::TestWithParam<ColourCase> {};

TEST_P(IconColours, SendWhatTheSwitchesSay) {
  const ColourCase& c = GetParam();
  FakeDesktop desktop(false, 3);
  const COLORREF initialText = desktop.TextColour(), initialBack = desktop.TextBackground();
  Applier a;
  a.Setdeskicons_fg(kFg);
  a.Setdeskicons_bg(kBg);
  a.DtopActive = c.active;
  a.DtopForeground = c.fg;
  a.DtopBackground = c.bg;
  a.SetDtopTransparentBG(c.transparent);
  desktop.messages.clear();
  a.ApplyIconColours();
  EXPECT_EQ(desktop.messages, c.expected);
  EXPECT_EQ(desktop.TextColour(), c.textColour ? c.textColour : initialText);
  EXPECT_EQ(desktop.TextBackground(), c.textBackground ? c.textBackground : initialBack);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, IconColours,
    ::testing::Values(
        ColourCase{"Inactive", false, true, true, true, {}, 0, 0},
        ColourCase{"ActiveButNothingChosen", true, false, false, false, {}, 0, 0},
        ColourCase{
            "Foreground", true, true, false, false, {SetText(kFg), kCount, Redraw(3)}, kFg, 0},
        ColourCase{
            "Background", true, false, true, false, {SetBack(kBg), kCount, Redraw(3)}, 0, kBg},
        ColourCase{"TransparencyWinsOverBackground",
                   true,
                   true,
                   true,
                   true,
                   {SetText(kFg), SetBack(kBg), SetBack(CLR_NONE), kCount, Redraw(3)},
                   kFg,
                   CLR_NONE}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DesktopIcons, SettingAColourItAlreadyHasSendsNothing) {
  FakeDesktop desktop;
  Applier a;
  a.DtopActive = a.DtopForeground = true;
  a.Setdeskicons_fg(kFg);
  EXPECT_FALSE(desktop.messages.empty());
  desktop.messages.clear();
  a.Setdeskicons_fg(kFg);
  a.Setdeskicons_bg(a.deskicons_bg());
  a.SetDtopTransparentBG(a.DtopTransparentBG());
  EXPECT_TRUE(desktop.messages.empty());
  a.Setdeskicons_bg(kBg);  // a change re-applies, even of a colour not in use
  EXPECT_EQ(desktop.messages.front(), SetText(kFg));
}

TEST(DesktopIcons, ActiveDesktopShowingWebContentHidesAndShowsTheListInsteadOfRedrawing) {
  FakeDesktop desktop(true);
  Applier a;
  a.DtopActive = a.DtopForeground = true;
  a.Setdeskicons_fg(kFg);
  a.activeDesktop = true;
  desktop.messages.clear();
  a.ApplyIconColours();
  EXPECT_EQ(desktop.messages,
            (std::vector<ListMessage>{
                SetText(kFg), {WM_SHOWWINDOW, FALSE, 0}, {WM_SHOWWINDOW, TRUE, 0}}));
  // Web content alone (the shell not reporting Active Desktop) still redraws.
  a.activeDesktop = false;
  desktop.messages.clear();
  a.ApplyIconColours();
  EXPECT_EQ(desktop.messages, (std::vector<ListMessage>{SetText(kFg), kCount, Redraw(0)}));
}

TEST(DesktopIcons, ShowAndHide) {
  FakeDesktop desktop;
  TKVWallpaper::ShowDesktopIcons(false);
  EXPECT_FALSE(desktop.Style() & WS_VISIBLE);
  TKVWallpaper::ShowDesktopIcons(true);
  EXPECT_TRUE(desktop.Style() & WS_VISIBLE);
}

class Arrange : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(Arrange, SendsTheAlignmentsCode) {
  FakeDesktop desktop;
  TKVWallpaper::ArrangeDesktopIcons(GetParam().first);
  if (GetParam().second < 0)
    EXPECT_TRUE(desktop.messages.empty());
  else
    EXPECT_EQ(desktop.messages,
              (std::vector<ListMessage>{{LVM_ARRANGE, static_cast<WPARAM>(GetParam().second), 0}}));
}

INSTANTIATE_TEST_SUITE_P(Alignments, Arrange,
                         ::testing::Values(std::pair{0, LVA_ALIGNTOP},
                                           std::pair{1, 4 /* LVA_ALIGNBOTTOM */},
                                           std::pair{2, LVA_ALIGNLEFT},
                                           std::pair{3, 3 /* LVA_ALIGNRIGHT */},
                                           std::pair{4, LVA_DEFAULT}, std::pair{5, LVA_SNAPTOGRID},
                                           std::pair{6, -1}, std::pair{-1, -1}));

TEST(DesktopIcons, IconSizeChangesTheViewBitsAndTellsTheList) {
  FakeDesktop desktop;
  const DWORD before = desktop.Style();
  TKVWallpaper::SetDesktopIconSize(LVS_SMALLICON);
  EXPECT_EQ(desktop.Style() & LVS_TYPEMASK, static_cast<DWORD>(LVS_SMALLICON));
  EXPECT_EQ(desktop.Style() & ~LVS_TYPEMASK, before & ~LVS_TYPEMASK);
  EXPECT_EQ(desktop.lastStyles.styleOld, before);
  EXPECT_EQ(desktop.lastStyles.styleNew, desktop.Style());
  ASSERT_FALSE(desktop.messages.empty());
  EXPECT_EQ(desktop.messages.front(),
            (ListMessage{WM_STYLECHANGED, static_cast<WPARAM>(GWL_STYLE), 0}));
  TKVWallpaper::SetDesktopIconSize(LVS_ICON);
  EXPECT_EQ(desktop.Style() & LVS_TYPEMASK, static_cast<DWORD>(LVS_ICON));
}

TEST(DesktopIcons, IconSizeIsRefusedWhileTheDesktopShowsWebContent) {
  FakeDesktop desktop(true);
  Applier a;
  EXPECT_FALSE(a.ChangeDesktopIconSize(true));
  EXPECT_EQ(desktop.Style() & LVS_TYPEMASK, static_cast<DWORD>(LVS_ICON));
  EXPECT_TRUE(desktop.messages.empty());
}

TEST(DesktopIcons, KeepHiddenRunsTheHideTimerWhoseTickHidesAndRecolours) {
  FakeDesktop desktop;
  Applier a;
  EXPECT_EQ(a.HideTimer.Interval(), 30000u);
  EXPECT_FALSE(a.HideTimer.Enabled());
  a.DtopActive = a.DtopForeground = true;
  a.Setdeskicons_fg(kFg);
  a.SetKeepiconsHidden(true);
  EXPECT_TRUE(a.HideTimer.Enabled());
  desktop.messages.clear();
  a.HideTimerTimer();
  EXPECT_EQ(desktop.messages.front(), SetText(kFg));
  EXPECT_FALSE(desktop.Style() & WS_VISIBLE);
  a.SetKeepiconsHidden(false);
  EXPECT_FALSE(a.HideTimer.Enabled());
  a.HideTimerTimer();
  EXPECT_TRUE(desktop.Style() & WS_VISIBLE);
}

TEST(DesktopIcons, HideTimerTicksReachTheList) {
  FakeDesktop desktop;
  Applier a;
  a.HideTimer.SetInterval(5);  // "HiddenRefreshInterval" 1 would give 100 ms
  a.SetKeepiconsHidden(true);
  const DWORD start = GetTickCount();
  while ((desktop.Style() & WS_VISIBLE) && GetTickCount() - start < 20000) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  EXPECT_FALSE(desktop.Style() & WS_VISIBLE);
}

}  // namespace
}  // namespace kv
