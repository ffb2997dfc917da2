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

}  // namespace
}  // namespace kv
