#include "widgets/window_win.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "widgets/prompts.h"
#include "widgets/prompts_win.h"

namespace kv::ui {
namespace {

constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kEcho = WM_APP + 2;

class Thrower : public Window {
 public:
  void Create() { Window::Create(WindowArgs{L"KvTestThrower", "t", WS_POPUP}); }
  int seen = 0;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == kThrow) throw std::runtime_error("TOrganicSkin.getRegion: CombineRgn failed.");
    if (msg == kEcho) return static_cast<LRESULT>(++seen + static_cast<int>(wp));
    return Window::WndProc(msg, wp, lp);
  }
};

class ErrorBoxTest : public ::testing::Test {
 protected:
  void SetUp() override { SetErrorPrompts(&prompts_); }
  void TearDown() override { SetErrorPrompts(nullptr); }
  ScriptedPrompts prompts_;
};

TEST_F(ErrorBoxTest, ExceptionAtTheWindowProcedureReachesTheErrorBoxAndTheWindowRunsOn) {
  Thrower w;
  w.Create();
  SendMessageW(w.hwnd(), kThrow, 0, 0);
  ASSERT_EQ(prompts_.Texts(ScriptedPrompts::Kind::Error),
            std::vector<std::string>{"TOrganicSkin.getRegion: CombineRgn failed."});
  EXPECT_EQ(SendMessageW(w.hwnd(), kEcho, 10, 0), 11) << "the object is still bound";
  EXPECT_EQ(HwndOwner::FromHwnd(w.hwnd()), &w);
}

TEST_F(ErrorBoxTest, ThrowingEventHandlerIsReportedToo) {
  Thrower w;
  w.Create();
  w.onMessage = [](UINT msg, WPARAM, LPARAM, LRESULT&) -> bool {
    if (msg == kEcho) throw std::logic_error("handler failed");
    return false;
  };
  SendMessageW(w.hwnd(), kEcho, 0, 0);
  EXPECT_EQ(prompts_.Texts(ScriptedPrompts::Kind::Error),
            std::vector<std::string>{"handler failed"});
}

TEST(Window, DestroyingTheObjectDestroysTheWindowAndUnbinds) {
  HWND hwnd;
  {
    Thrower w;
    w.Create();
    hwnd = w.hwnd();
    EXPECT_TRUE(IsWindow(hwnd));
  }
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(Window, DestroyKeepsTheObjectAndTellsIt) {
  Thrower w;
  w.Create();
  bool told = false;
  w.onDestroy = [&] { told = true; };
  w.Destroy();
  EXPECT_TRUE(told);
  EXPECT_EQ(w.hwnd(), nullptr);
}

TEST(Window, ProcessMessagesSeesTheEndOfTheLoop) {
  EXPECT_TRUE(ProcessMessages());
  PostQuitMessage(3);
  EXPECT_FALSE(ProcessMessages());
  EXPECT_TRUE(Terminated());
  // The quit message was posted again for the real loop; take it away.
  MSG msg;
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(Prompts, DialogFilterSeparatesPairsWithNuls) {
  const std::wstring f = DialogFilter("Kestrova Skins(*.ini)|*.ini|All|*.*");
  EXPECT_EQ(f, std::wstring(L"Kestrova Skins(*.ini)\0*.ini\0All\0*.*\0\0", 37));
}

TEST(Prompts, MultiSelectionIsDirectoryThenNames) {
  const wchar_t several[] = L"C:\\pics\0a.jpg\0b.png\0";
  EXPECT_EQ(SplitSelection(several),
            (std::vector<std::string>{"C:\\pics\\a.jpg", "C:\\pics\\b.png"}));
  const wchar_t one[] = L"C:\\pics\\a.jpg\0";
  EXPECT_EQ(SplitSelection(one), std::vector<std::string>{"C:\\pics\\a.jpg"});
  EXPECT_TRUE(SplitSelection(L"").empty());
}

}  // namespace
}  // namespace kv::ui
