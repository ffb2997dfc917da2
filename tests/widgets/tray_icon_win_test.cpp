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

}  // namespace
}  // namespace kv::ui
