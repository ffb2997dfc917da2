// The real prompts open inside the work area, whatever the place of the window
// that owns them; windows that were there before a prompt are not moved.
#include "widgets/prompts_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "widgets/window_win.h"

namespace kv::ui {
namespace {

RECT WorkArea(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  return monitor.rcWork;
}

bool Inside(const RECT& r, const RECT& area) {
  return r.left >= area.left && r.top >= area.top && r.right <= area.right &&
         r.bottom <= area.bottom;
}

// A top-level window of this thread at a given place.
HWND Window(int left, int top, int width, int height, HWND owner = nullptr) {
  return CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_CAPTION, left, top, width,
                         height, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
}

RECT RectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

// What the timer below saw of the prompt before it closed it.
std::optional<RECT> promptRect;
HWND promptOwner = nullptr;

BOOL CALLBACK FindPrompt(HWND window, LPARAM found) {
  wchar_t name[16]{};
  GetClassNameW(window, name, 16);
  if (window == promptOwner || !IsWindowVisible(window) || std::wstring(name) != L"#32770")
    return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Runs inside the prompt's own message loop: notes where the prompt is, then
// closes it as Cancel (Escape) would.
void CALLBACK ClosePrompt(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND prompt = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindPrompt, reinterpret_cast<LPARAM>(&prompt));
  if (!prompt) return;
  KillTimer(nullptr, timer);
  promptRect = RectOf(prompt);
  PostMessageW(prompt, WM_COMMAND, IDCANCEL, 0);
}

TEST(PromptsOnScreen, EveryPromptOpensInsideTheWorkAreaFromAnOwnerAtItsCorner) {
  struct Case {
    const char* what;
    std::function<void(Win32Prompts&)> show;
  };
  FileDialogArgs preview;
  preview.filter = "All|*.*";
  preview.multiSelect = true;
  preview.preview = [](const std::string&, void*, int, int) {};
  const Case cases[] = {
      {"warning", [](Win32Prompts& p) { p.Warning("A precondition not met."); }},
      {"confirmation", [](Win32Prompts& p) { (void)p.Confirm("Remove it?"); }},
      {"open with preview", [&](Win32Prompts& p) { (void)p.OpenFiles(preview); }},
      {"save", [](Win32Prompts& p) { (void)p.SaveFile({}); }},
      {"folder", [](Win32Prompts& p) { (void)p.BrowseFolder("Select Directory"); }},
  };
  const RECT area = WorkArea(nullptr);
  // The owner in the lower right corner: a prompt placed by it alone would
  // reach past the bottom and right edges.
  promptOwner = Window(area.right - 120, area.bottom - 50, 120, 50);
  ShowWindow(promptOwner, SW_SHOW);
  for (const Case& c : cases) {
    promptRect.reset();
    Win32Prompts prompts(promptOwner);
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, ClosePrompt);
    c.show(prompts);
    KillTimer(nullptr, timer);
    ASSERT_TRUE(promptRect) << c.what;
    EXPECT_TRUE(Inside(*promptRect, area))
        << c.what << ": " << promptRect->left << "," << promptRect->top << " " << promptRect->right
        << "," << promptRect->bottom << " in " << area.right << "x" << area.bottom;
  }
  DestroyWindow(promptOwner);
  promptOwner = nullptr;
}

TEST(PromptsOnScreen, OnlyWindowsMadeWhileWatchedAreMovedAndOnlyOnce) {
  const RECT area = WorkArea(nullptr);
  const int low = area.bottom - 40;  // 160 of the 200 pixels below the edge
  const HWND before = Window(area.left + 10, low, 300, 200);
  HWND made = nullptr;
  {
    KeepPromptsOnScreen outer;
    KeepPromptsOnScreen inner;  // nested: the outer one keeps watching
    made = Window(area.left + 20, low, 300, 200, before);
    ShowWindow(made, SW_SHOW);  // shown: moved up
    EXPECT_EQ(RectOf(made).bottom, area.bottom);
    EXPECT_EQ(RectOf(made).left, area.left + 20);
    // Moved by the user afterwards, it stays where it is put.
    SetWindowPos(made, nullptr, area.left + 20, low, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(before, SW_SHOW);
    ShowWindow(made, SW_HIDE);
    ShowWindow(made, SW_SHOW);
    EXPECT_EQ(RectOf(made).top, low);
    EXPECT_EQ(RectOf(before).top, low);
  }
  // Unwatched again.
  const HWND after = Window(area.left + 30, low, 300, 200);
  ShowWindow(after, SW_SHOW);
  EXPECT_EQ(RectOf(after).top, low);
  for (HWND w : {after, made, before}) DestroyWindow(w);
}

}  // namespace
}  // namespace kv::ui
