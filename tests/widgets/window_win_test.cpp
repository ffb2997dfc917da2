#include "widgets/window_win.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "widgets/controls_win.h"
#include "widgets/gradient_panel_win.h"
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

// Each message a form gets reaches its typed event with the values it carries,
// and a handled one is answered by the form, not passed on.
TEST(Form, MessagesRaiseTheirTypedEvents) {
  Form f;
  f.Create({});
  std::string seen;
  f.onShow = [&](bool v) { seen += v ? "show " : "hide "; };
  f.onMouseDown = [&](int b, int x, int y) {
    seen += "down" + std::to_string(b) + "@" + std::to_string(x) + "," + std::to_string(y) + " ";
  };
  f.onMouseMove = [&](int x, int y) { seen += "move" + std::to_string(x + y) + " "; };
  f.onMouseWheel = [&](int d) { seen += "wheel" + std::to_string(d) + " "; };
  f.onKeyDown = [&](WORD k) {
    seen += "key" + std::to_string(k) + " ";
    return k == VK_ESCAPE;
  };
  f.onContextMenu = [&](HWND from, int x, int y) {
    seen += std::string(from == f.hwnd() ? "menu" : "other") + std::to_string(x) + " ";
    (void)y;
  };
  f.onActivateApp = [&](bool a) { seen += a ? "app " : "noapp "; };
  f.onCopyData = [&](ULONG_PTR kind, std::string_view data, HWND) -> std::optional<LRESULT> {
    if (kind != 7) return std::nullopt;
    seen += "data:" + std::string(data) + " ";
    return 42;
  };
  struct Step {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    const char* expected;
  };
  char text[] = "next";
  COPYDATASTRUCT copy{7, 4, text};
  COPYDATASTRUCT other{8, 4, text};
  const Step steps[] = {
      {WM_SHOWWINDOW, TRUE, 0, "show "},
      {WM_SHOWWINDOW, FALSE, 0, "hide "},
      {WM_LBUTTONDOWN, 0, MAKELPARAM(3, 4), "down0@3,4 "},
      {WM_RBUTTONDOWN, 0, MAKELPARAM(-2, 5), "down1@-2,5 "},
      {WM_MBUTTONDOWN, 0, MAKELPARAM(0, 0), "down2@0,0 "},
      {WM_MOUSEMOVE, 0, MAKELPARAM(10, 20), "move30 "},
      {WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0, "wheel-120 "},
      {WM_KEYDOWN, 'A', 0, "key65 "},
      {WM_CONTEXTMENU, 0, MAKELPARAM(77, 9), "other77 "},
      {WM_ACTIVATEAPP, FALSE, 0, "noapp "},
      {WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), "data:next "},
      {WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&other), ""},
  };
  for (const Step& step : steps) {
    seen.clear();
    SendMessageW(f.hwnd(), step.msg, step.wp, step.lp);
    EXPECT_EQ(seen, step.expected) << step.msg;
  }
  EXPECT_EQ(SendMessageW(f.hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy)), 42);
  seen.clear();
  SendMessageW(f.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(f.hwnd()), MAKELPARAM(5, 5));
  EXPECT_EQ(seen, "menu5 ");
}

// A child window of our own that follows the mouse and logs what it hears.
class Child : public Window {
 public:
  void Create(HWND parent) {
    WindowArgs a{L"KvTestChild", "", WS_CHILD | WS_VISIBLE};
    a.parent = parent;
    a.left = a.top = 0;
    a.width = a.height = 50;
    followsMouse_ = true;
    Window::Create(a);
  }
};

std::string At(const char* what, int b, int x, int y) {
  return what + std::to_string(b) + "@" + std::to_string(x) + "," + std::to_string(y) + " ";
}

// A control of ours hears the same typed events as a form: every button's
// release and double click, entering and leaving, its timers; a context menu
// it does not take goes to its parent as coming from it.
TEST(Window, ChildWindowsRaiseTheTypedEvents) {
  Form f;
  f.Create({});
  Child c;
  c.Create(f.hwnd());
  std::string seen;
  c.onMouseUp = [&](int b, int x, int y) { seen += At("up", b, x, y); };
  c.onDoubleClick = [&](int b, int x, int y) { seen += At("dbl", b, x, y); };
  c.onMouseMove = [&](int x, int y) { seen += "move" + std::to_string(x + y) + " "; };
  c.onMouseEnter = [&] { seen += "enter "; };
  c.onMouseLeave = [&] { seen += "leave "; };
  c.onTimer = [&](UINT_PTR id) { seen += "timer" + std::to_string(id) + " "; };
  f.onContextMenu = [&](HWND from, int x, int) {
    seen += std::string(from == c.hwnd() ? "menu-from-child" : "menu") + std::to_string(x) + " ";
  };
  struct Step {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    std::string expected;
  };
  // A released right button asks for the context menu at its screen position.
  POINT right{-1, 2};
  ClientToScreen(c.hwnd(), &right);
  const Step steps[] = {
      {WM_LBUTTONUP, 0, MAKELPARAM(1, 2), "up0@1,2 "},
      {WM_RBUTTONUP, 0, MAKELPARAM(-1, 2),
       "up1@-1,2 menu-from-child" + std::to_string(right.x) + " "},
      {WM_MBUTTONUP, 0, MAKELPARAM(3, 4), "up2@3,4 "},
      {WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 6), "dbl0@5,6 "},
      {WM_RBUTTONDBLCLK, 0, MAKELPARAM(7, 8), "dbl1@7,8 "},
      {WM_MBUTTONDBLCLK, 0, MAKELPARAM(9, 1), "dbl2@9,1 "},
      {WM_MOUSEMOVE, 0, MAKELPARAM(4, 4), "enter move8 "},
      {WM_MOUSEMOVE, 0, MAKELPARAM(6, 4), "move10 "},
      {WM_MOUSELEAVE, 0, 0, "leave "},
      {WM_MOUSEMOVE, 0, MAKELPARAM(8, 5), "enter move13 "},
      {WM_TIMER, 7, 0, "timer7 "},
      {WM_CONTEXTMENU, reinterpret_cast<WPARAM>(c.hwnd()), MAKELPARAM(33, 1), "menu-from-child33 "},
  };
  for (const Step& step : steps) {
    seen.clear();
    SendMessageW(c.hwnd(), step.msg, step.wp, step.lp);
    EXPECT_EQ(seen, step.expected) << step.msg;
  }
  // A form does not follow the mouse unless it asks to.
  seen.clear();
  f.onMouseLeave = [&] { seen += "form-leave "; };
  SendMessageW(f.hwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(seen, "");
}

// The options window's panel and link: the panel gives its labels its gradient
// as background but leaves edits their own; the link is clicked by the left
// button only and shows the active colour while the mouse is over it.
TEST(Window, GradientPanelAndLinkLabel) {
  Form f;
  f.Create({});
  GradientPanel panel;
  panel.Create(f.hwnd(), RECT{0, 0, 200, 100}, RGB(255, 0, 0), RGB(0, 0, 255));
  Label label;
  label.Create(ChildAt(panel.hwnd(), 5, 5, 50, 20, "label"));
  Edit edit;
  edit.Create(ChildAt(panel.hwnd(), 5, 30, 50, 20));
  HDC dc = GetDC(panel.hwnd());
  const auto background = [&](HWND child, bool system) {
    const auto ask = system ? DefWindowProcW : SendMessageW;
    return ask(panel.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(child));
  };
  EXPECT_NE(background(label.hwnd(), false), background(label.hwnd(), true));
  EXPECT_EQ(background(edit.hwnd(), false), background(edit.hwnd(), true));
  EXPECT_EQ(SendMessageW(panel.hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
  ReleaseDC(panel.hwnd(), dc);

  LinkLabel link;
  link.Create(panel.hwnd(), RECT{5, 60, 100, 80}, "link", DefaultGuiFont());
  int clicks = 0;
  link.onClick = [&](LinkLabel& sender) { clicks += &sender == &link; };
  SendMessageW(link.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  SendMessageW(link.hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(link.ShownColour(), link.normalColour);
  SendMessageW(link.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(link.ShownColour(), link.activeColour);
  SendMessageW(link.hwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(link.ShownColour(), link.normalColour);
  link.SetSelected(true);
  EXPECT_EQ(link.ShownColour(), link.activeColour);
}

TEST(Form, ClosingAsksTheHandlerAndHidesWithoutOne) {
  Form f;
  f.Create({});
  ShowWindow(f.hwnd(), SW_SHOWNA);
  SendMessageW(f.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(f.hwnd()));
  EXPECT_FALSE(f.IsVisible());
  int asked = 0;
  f.onClose = [&] {
    ++asked;
    return false;
  };
  ShowWindow(f.hwnd(), SW_SHOWNA);
  SendMessageW(f.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(f.IsVisible());
}

}  // namespace
}  // namespace kv::ui
