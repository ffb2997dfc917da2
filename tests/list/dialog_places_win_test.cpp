// The search, batch change and property windows open where they were when they
// last closed: "Top" and "Left" under "Forms\" + the window's name, 1 for a
// value that is absent or not a number.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "config/settings_store.h"
#include "list/batch_change_form_win.h"
#include "list/property_editor_win.h"
#include "list/search_form_win.h"
#include "widgets/prompts.h"

namespace kv {
namespace {

template <typename Form, typename... Args>
std::unique_ptr<TKVForm> Made(Args&... args) {
  auto form = std::make_unique<Form>(args...);
  form->Create();
  return form;
}

struct Dialog {
  const char* name;
  std::unique_ptr<TKVForm> (*make)(SettingsStore&, Prompts&);
};
const Dialog kDialogs[] = {
    {kSearchFormName, [](SettingsStore& s, Prompts&) { return Made<TSearchForm>(s); }},
    {kBatchChangeFormName,
     [](SettingsStore& s, Prompts& p) { return Made<TkvBatchChangeForm>(p, s); }},
    {kPropertyEditorName, [](SettingsStore& s, Prompts&) { return Made<TPropertyEditor>(s); }},
};

std::string Key(const char* name) { return std::string("Forms\\") + name + "\\"; }

TEST(DialogPlaces, StoredNumbersPlaceTheWindowAndAnythingElseCountsAsOne) {
  struct Case {
    std::optional<StoredValue> top, left;
    POINT expected;
  };
  const Case cases[] = {
      {std::nullopt, std::nullopt, {1, 1}},
      {StoredValue::Dword(0xFFFFFFF6u), StoredValue::Dword(200), {200, -10}},
      {StoredValue::String("150"), StoredValue::Dword(200), {200, 1}},
      {StoredValue::Dword(150), StoredValue{}, {1, 150}},  // neither number nor text
  };
  for (const Dialog& dialog : kDialogs) {
    for (const Case& c : cases) {
      MemorySettingsStore store;
      ScriptedPrompts prompts;
      if (c.top) store.Put(Key(dialog.name), "Top", *c.top);
      if (c.left) store.Put(Key(dialog.name), "Left", *c.left);
      const RECT r = dialog.make(store, prompts)->Bounds();
      EXPECT_EQ(r.left, c.expected.x) << dialog.name;
      EXPECT_EQ(r.top, c.expected.y) << dialog.name;
    }
  }
}

TEST(DialogPlaces, AMovedWindowComesBackWhereItWasLeft) {
  for (const Dialog& dialog : kDialogs) {
    MemorySettingsStore store;
    ScriptedPrompts prompts;
    auto form = dialog.make(store, prompts);
    SetWindowPos(form->hwnd(), nullptr, 230, 170, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    form.reset();
    EXPECT_EQ(store.Get(Key(dialog.name), "Top"), StoredValue::Dword(170)) << dialog.name;
    EXPECT_EQ(store.Get(Key(dialog.name), "Left"), StoredValue::Dword(230)) << dialog.name;
    // Made again, as at the next start.
    const RECT r = dialog.make(store, prompts)->Bounds();
    EXPECT_EQ(r.left, 230) << dialog.name;
    EXPECT_EQ(r.top, 170) << dialog.name;
  }
}

}  // namespace
}  // namespace kv
