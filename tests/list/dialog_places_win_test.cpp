// The search, batch change and property windows open where they were when they
// last closed: "Top" and "Left" under "Forms\" + the window's name, 1 for a
// value that is absent or not a number.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "config/settings_store.h"
#include "list/batch_change_form_win.h"
#include "list/property_editor_win.h"
#include "list/search_form_win.h"
#include "widgets/prompts.h"

namespace kv {
namespace {

struct Dialog {
  const char* name;
  std::function<std::unique_ptr<TKVForm>(SettingsStore&, Prompts&)> make;
};

const Dialog kDialogs[] = {
    {kSearchFormName,
     [](SettingsStore& store, Prompts&) {
       auto form = std::make_unique<TSearchForm>(store);
       form->Create();
       return std::unique_ptr<TKVForm>(std::move(form));
     }},
    {kBatchChangeFormName,
     [](SettingsStore& store, Prompts& prompts) {
       auto form = std::make_unique<TkvBatchChangeForm>(prompts, store);
       form->Create();
       return std::unique_ptr<TKVForm>(std::move(form));
     }},
    {kPropertyEditorName,
     [](SettingsStore& store, Prompts&) {
       auto form = std::make_unique<TPropertyEditor>(store);
       form->Create();
       return std::unique_ptr<TKVForm>(std::move(form));
     }},
};

POINT PlaceOf(const TKVForm& form) {
  const RECT r = form.Bounds();
  return {r.left, r.top};
}

std::string Key(const char* name) { return std::string("Forms\\") + name + "\\"; }

TEST(DialogPlaces, StoredValuesPlaceTheWindowAndOthersCountAsOne) {
  struct Case {
    std::optional<StoredValue> top, left;
    POINT expected;
  };
  const Case cases[] = {
      {std::nullopt, std::nullopt, {1, 1}},
      {StoredValue::Dword(150), StoredValue::Dword(200), {200, 150}},
      {StoredValue::Dword(0xFFFFFFF6u), StoredValue::Dword(40), {40, -10}},
      {StoredValue::String("150"), StoredValue::Dword(200), {200, 1}},
      {StoredValue::Dword(150), StoredValue{}, {1, 150}},  // neither number nor text
      {StoredValue::Dword(90), std::nullopt, {1, 90}},
  };
  for (const Dialog& dialog : kDialogs) {
    for (const Case& c : cases) {
      MemorySettingsStore store;
      ScriptedPrompts prompts;
      if (c.top) store.Put(Key(dialog.name), "Top", *c.top);
      if (c.left) store.Put(Key(dialog.name), "Left", *c.left);
      const auto form = dialog.make(store, prompts);
      const POINT at = PlaceOf(*form);
      EXPECT_EQ(at.x, c.expected.x) << dialog.name;
      EXPECT_EQ(at.y, c.expected.y) << dialog.name;
      EXPECT_FALSE(form->IsVisible()) << dialog.name;
    }
  }
}

TEST(DialogPlaces, AMovedWindowComesBackWhereItWasLeft) {
  for (const Dialog& dialog : kDialogs) {
    MemorySettingsStore store;
    ScriptedPrompts prompts;
    auto form = dialog.make(store, prompts);
    SetWindowPos(form->hwnd(), nullptr, 230, 170, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT before = form->Bounds();
    form.reset();
    EXPECT_EQ(store.Get(Key(dialog.name), "Top"), StoredValue::Dword(170)) << dialog.name;
    EXPECT_EQ(store.Get(Key(dialog.name), "Left"), StoredValue::Dword(230)) << dialog.name;
    // Made again, as at the next start: same place, same size.
    form = dialog.make(store, prompts);
    const RECT after = form->Bounds();
    EXPECT_EQ((std::array<LONG, 4>{after.left, after.top, after.right, after.bottom}),
              (std::array<LONG, 4>{before.left, before.top, before.right, before.bottom}))
        << dialog.name;
  }
}

}  // namespace
}  // namespace kv
