// The real prompts open inside the work area, whatever the place of the window
// that owns them; windows that were there before a prompt are not moved.
#include "widgets/prompts_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace kv::ui {
namespace {

RECT WorkArea() {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  return monitor.rcWork;
}

// A top-level window of this thread at a given place, 300 x 200 unless told.
HWND Window(int left, int top, int width = 300, int height = 200) {
  return CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_CAPTION, left, top, width,
                         height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

RECT RectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

// Where the prompt was when the timer below closed it, as Cancel (Escape) would.
std::optional<RECT> promptRect;

void CALLBACK ClosePrompt(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND prompt = FindWindowW(L"#32770", nullptr);
  if (!prompt || !IsWindowVisible(prompt) ||
      GetWindowThreadProcessId(prompt, nullptr) != GetCurrentThreadId())
    return;
  KillTimer(nullptr, timer);
  promptRect = RectOf(prompt);
  PostMessageW(prompt, WM_COMMAND, IDCANCEL, 0);
}

TEST(PromptsOnScreen, EveryPromptOpensInsideTheWorkAreaFromAnOwnerAtItsCorner) {
  FileDialogArgs preview;
  preview.multiSelect = true;
  preview.preview = [](const std::string&, void*, int, int) {};
  const std::pair<const char*, std::function<void(Win32Prompts&)>> cases[] = {
      {"warning", [](Win32Prompts& p) { p.Warning("A precondition not met."); }},
      {"open with preview", [&](Win32Prompts& p) { (void)p.OpenFiles(preview); }},
      {"save", [](Win32Prompts& p) { (void)p.SaveFile({}); }},
      {"folder", [](Win32Prompts& p) { (void)p.BrowseFolder("Select Directory"); }},
  };
  const RECT area = WorkArea();
  // A prompt placed by this owner alone would reach past the bottom and right.
  const HWND owner = Window(area.right - 120, area.bottom - 50, 120, 50);
  ShowWindow(owner, SW_SHOW);
  for (const auto& [what, show] : cases) {
    promptRect.reset();
    Win32Prompts prompts(owner);
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, ClosePrompt);
    show(prompts);
    KillTimer(nullptr, timer);
    ASSERT_TRUE(promptRect) << what;
    const RECT& r = *promptRect;
    EXPECT_TRUE(r.left >= area.left && r.top >= area.top && r.right <= area.right &&
                r.bottom <= area.bottom)
        << what << ": " << r.left << "," << r.top << " " << r.right << "," << r.bottom;
  }
  DestroyWindow(owner);
}

TEST(PromptsOnScreen, OnlyWindowsMadeWhileWatchedAreMovedAndOnlyOnce) {
  const RECT area = WorkArea();
  const int low = area.bottom - 40;  // 160 of the 200 pixels below the edge
  const HWND before = Window(area.left + 10, low);
  HWND made = nullptr;
  {
    KeepPromptsOnScreen outer;
    KeepPromptsOnScreen inner;  // nested: the outer one keeps watching
    made = Window(area.left + 20, low);
    ShowWindow(made, SW_SHOW);
    EXPECT_EQ(RectOf(made).bottom, area.bottom);
    // Moved back by the user and shown again, it stays where it is put.
    SetWindowPos(made, nullptr, area.left + 20, low, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(made, SW_HIDE);
    ShowWindow(made, SW_SHOW);
    ShowWindow(before, SW_SHOW);
    EXPECT_EQ(RectOf(made).top, low);
    EXPECT_EQ(RectOf(before).top, low);
  }
  const HWND after = Window(area.left + 30, low);
  ShowWindow(after, SW_SHOW);
  EXPECT_EQ(RectOf(after).top, low);
  for (HWND w : {after, made, before}) DestroyWindow(w);
}

}  // namespace
}  // namespace kv::ui
