// The dialogs' remembered place: what each kind of stored "Top" and "Left"
// puts the window at, and what it writes back when it goes.
#include "config/kv_form_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>

#include "config/settings_store.h"

namespace kv {
namespace {

class PlacedForm : public TKVForm {
 public:
  explicit PlacedForm(SettingsStore& store) : TKVForm(store, "PlacedForm") {}
  void Open() {
    CreateArgs args;
    args.title = "placed";
    args.style = WS_POPUP | WS_CAPTION;
    args.width = 120;
    args.height = 80;
    CreateForm(args);
  }
};

struct PlaceCase {
  const char* what;
  std::optional<StoredValue> top, left;
  bool failReads;
  int shownTop, shownLeft;
};

TEST(KVFormPlace, StoredPlacesAreTakenAndDamagedOnesCountAsAbsent) {
  const PlaceCase cases[] = {
      {"both stored", StoredValue::Dword(40), StoredValue::Dword(70), false, 40, 70},
      {"none stored", std::nullopt, std::nullopt, false, 1, 1},
      {"Top a string", StoredValue::String("40"), StoredValue::Dword(70), false, 1, 70},
      {"Left a string", StoredValue::Dword(40), StoredValue::String("x"), false, 40, 1},
      {"both strings", StoredValue::String(""), StoredValue::String("9"), false, 1, 1},
      {"unreadable key", StoredValue::Dword(40), StoredValue::Dword(70), true, 1, 1},
  };
  for (const PlaceCase& c : cases) {
    SCOPED_TRACE(c.what);
    MemorySettingsStore store;
    if (c.top) store.Put("Forms\\PlacedForm\\", "Top", *c.top);
    if (c.left) store.Put("Forms\\PlacedForm\\", "Left", *c.left);
    store.failReads = c.failReads;
    {
      PlacedForm form(store);
      ASSERT_NO_THROW(form.Open());
      ASSERT_NE(form.hwnd(), nullptr);
      RECT r{};
      GetWindowRect(form.hwnd(), &r);
      EXPECT_EQ(r.top, c.shownTop);
      EXPECT_EQ(r.left, c.shownLeft);
      SetWindowPos(form.hwnd(), nullptr, 33, 22, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    // The place it had when it went replaces whatever was stored.
    EXPECT_EQ(store.Get("Forms\\PlacedForm\\", "Top"), StoredValue::Dword(22));
    EXPECT_EQ(store.Get("Forms\\PlacedForm\\", "Left"), StoredValue::Dword(33));
  }
}

// A place remembered on a monitor that is gone, or on a larger screen, opens
// the window at the nearest edge of the work area; a window parked with a
// grip's worth still on the screen stays where it was put.
TEST(KVFormPlace, APlaceOffTheScreenIsPulledBackOntoIt) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor));
  const RECT area = monitor.rcWork;
  struct Case {
    const char* what;
    int storedLeft, storedTop;
    int shownLeft, shownTop;
  };
  const Case cases[] = {
      {"far right", 5000, 40, area.right - 120, 40},
      {"far up and left", -3000, -3000, area.left, area.top},
      {"below", 200, 9000, 200, area.bottom - 80},
      {"40 px left on the screen", area.right - 40, 30, area.right - 40, 30},
      {"10 px left on the screen", area.right - 10, 30, area.right - 120, 30},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemorySettingsStore store;
    store.Put("Forms\\PlacedForm\\", "Left", StoredValue::Dword(static_cast<unsigned>(c.storedLeft)));
    store.Put("Forms\\PlacedForm\\", "Top", StoredValue::Dword(static_cast<unsigned>(c.storedTop)));
    PlacedForm form(store);
    ASSERT_NO_THROW(form.Open());
    RECT r{};
    GetWindowRect(form.hwnd(), &r);
    EXPECT_EQ(r.left, c.shownLeft);
    EXPECT_EQ(r.top, c.shownTop);
  }
}

}  // namespace
}  // namespace kv
