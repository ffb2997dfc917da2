#include "widgets/tray_icon_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv::ui {
namespace {

struct ClickCase {
  const char* name;
  std::vector<UINT> shellEvents;  // what the shell reports about the icon, in order
  std::string expected;           // the events raised: "d<button>" down, "D<button>" double
};

class TrayClicks : public ::testing::TestWithParam<ClickCase> {};

TEST_P(TrayClicks, EveryPressIsAMouseDownAndADoubleClickFollowsTheSecond) {
  TrayIcon tray;
  tray.notify = [](DWORD, NOTIFYICONDATAW*) { return TRUE; };
  std::string seen;
  tray.onMouseDown = [&](int button, int, int) { seen += "d" + std::to_string(button) + " "; };
  tray.onDblClick = [&](int button) { seen += "D" + std::to_string(button) + " "; };
  tray.SetActive(true);
  for (UINT event : GetParam().shellEvents)
    SendMessageW(tray.hwnd(), TrayIcon::kCallbackMessage, 1, static_cast<LPARAM>(event));
  EXPECT_EQ(seen, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, TrayClicks,
    ::testing::Values(ClickCase{"leftClick", {WM_LBUTTONDOWN, WM_LBUTTONUP}, "d0 "},
                      // The system reports the second press of a double click as the
                      // double-click message only.
                      ClickCase{"leftDouble",
                                {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP},
                                "d0 d0 D0 "},
                      ClickCase{"rightDouble",
                                {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_RBUTTONUP},
                                "d1 d1 D1 "},
                      ClickCase{"middleDouble",
                                {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, WM_MBUTTONUP},
                                "d2 d2 D2 "},
                      ClickCase{
                          "moveAndReleasesOnly", {WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONUP}, ""}),
    [](const auto& info) { return info.param.name; });

// What the shell hears while the icon is held and once it is released: steps
// are "h" hold, "a"/"d" activate/deactivate, "t" a new tip, "r" release, "q"
// release through the message queue (then the queue is emptied).
struct HoldCase {
  const char* name;
  const char* steps;
  const char* expected;  // shell calls in order: "+tip" add, "~tip" modify, "-" delete
};

class TrayHold : public ::testing::TestWithParam<HoldCase> {};

TEST_P(TrayHold, TheShellHearsOnlyWhatIsInForceAtTheRelease) {
  // Declared before the icon: its destructor still tells the shell (NIM_DELETE).
  std::string calls;
  TrayIcon tray;
  tray.notify = [&](DWORD message, NOTIFYICONDATAW* data) {
    calls += message == NIM_ADD ? "+" : message == NIM_MODIFY ? "~" : "-";
    if (message != NIM_DELETE) calls += std::string(data->szTip, data->szTip + wcslen(data->szTip));
    calls += " ";
    return TRUE;
  };
  int tips = 0;
  for (const char* step = GetParam().steps; *step; ++step) {
    switch (*step) {
      case 'h':
        tray.Hold();
        break;
      case 'a':
        tray.SetActive(true);
        break;
      case 'd':
        tray.SetActive(false);
        break;
      case 't':
        tray.SetTip("t" + std::to_string(++tips));
        break;
      case 'r':
        tray.Release();
        break;
      case 'q': {
        tray.ReleaseQueued();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        break;
      }
    }
  }
  EXPECT_EQ(calls, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Sequences, TrayHold,
                         ::testing::Values(HoldCase{"notHeld", "tatd", "+t1 ~t2 - "},
                                           HoldCase{"addedAtRelease", "htatr", "+t2 "},
                                           HoldCase{"releasedThroughTheQueue", "htaq", "+t1 "},
                                           HoldCase{"goneBeforeRelease", "htadr", ""},
                                           HoldCase{"activatedAfterRelease", "hrta", "+t1 "},
                                           HoldCase{"releaseOnceOnly", "htarrtd", "+t1 ~t2 - "}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kv::ui
