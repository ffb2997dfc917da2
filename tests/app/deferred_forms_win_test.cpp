// The search, batch-change and property windows are made when first shown; at
// start-up their stand-ins read the stored places as making them did.
#include "app/deferred_forms_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "config/settings_store.h"
#include "widgets/prompts.h"

namespace kv::app {
namespace {

std::string Key(const char* name) { return std::string("Forms\\") + name + "\\"; }

// One dialog as the start-up makes it: its stand-in, the window once made, and
// its one call.
struct Stand {
  std::shared_ptr<void> owner;
  std::function<TKVForm*()> made;
  std::function<void*()> global;  // the dialog's global reference
  std::function<void*()> self;    // the stand-in, as that reference holds it
  std::function<void()> show;
};

template <typename Deferred, typename Interface>
Stand Make(Deferred* d, Interface*& global, std::function<void(Interface&)> show) {
  d->Prepare();
  return {std::shared_ptr<void>(d, [](void* p) { delete static_cast<Deferred*>(p); }),
          [d] { return static_cast<TKVForm*>(d->Made()); },
          [&global] { return static_cast<void*>(global); },
          [d] { return static_cast<void*>(static_cast<Interface*>(d)); },
          [&global, show] { show(*global); }};
}

struct Dialog {
  const char* name;
  Stand (*make)(SettingsStore&, Prompts&);
};
const Dialog kDialogs[] = {
    {kSearchFormName,
     [](SettingsStore& s, Prompts&) {
       return Make<DeferredSearchForm, program::ISearchForm>(
           new DeferredSearchForm(s), program::SearchForm,
           [](program::ISearchForm& f) { f.ShowSearch(); });
     }},
    {kBatchChangeFormName,
     [](SettingsStore& s, Prompts& p) {
       return Make<DeferredBatchChangeForm, program::IBatchChangeForm>(
           new DeferredBatchChangeForm(p, s), program::kvBatchChangeForm,
           [](program::IBatchChangeForm& f) { f.ShowBatch(); });
     }},
    {kPropertyEditorName,
     [](SettingsStore& s, Prompts&) {
       return Make<DeferredPropertyEditor, program::IPropertyEditor>(
           new DeferredPropertyEditor(s), program::PropertyEditor,
           [](program::IPropertyEditor& f) { f.ShowEditor(); });
     }},
};

TEST(DeferredForms, AWindowIsMadeAtItsFirstShowWhereTheStartFoundItsPlace) {
  for (const Dialog& dialog : kDialogs) {
    MemorySettingsStore store;
    ScriptedPrompts prompts;
    store.Put(Key(dialog.name), "Top", StoredValue::Dword(120));
    store.Put(Key(dialog.name), "Left", StoredValue::Dword(40));
    Stand stand = dialog.make(store, prompts);
    EXPECT_EQ(stand.made(), nullptr) << dialog.name;
    EXPECT_EQ(stand.global(), stand.self()) << dialog.name;
    // Read once, at start-up: a later change (another instance) is not seen.
    store.Put(Key(dialog.name), "Top", StoredValue::Dword(300));

    stand.show();
    TKVForm* form = stand.made();
    ASSERT_NE(form, nullptr) << dialog.name;
    EXPECT_TRUE(IsWindowVisible(form->hwnd())) << dialog.name;
    EXPECT_NE(stand.global(), stand.self()) << "the window answers from now on";
    const RECT r = form->Bounds();
    EXPECT_EQ(r.top, 120) << dialog.name;
    EXPECT_EQ(r.left, 40) << dialog.name;
    stand.show();  // a second show makes no second window
    EXPECT_EQ(stand.made(), form) << dialog.name;

    SetWindowPos(form->hwnd(), nullptr, 70, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    stand.owner.reset();
    EXPECT_EQ(stand.global(), nullptr) << dialog.name;
    EXPECT_EQ(store.Get(Key(dialog.name), "Top"), StoredValue::Dword(90)) << dialog.name;
    EXPECT_EQ(store.Get(Key(dialog.name), "Left"), StoredValue::Dword(70)) << dialog.name;
  }
}

// Never shown, a dialog still leaves at the end the place it would have kept:
// the stored one, or 1 and 1 on a first run, as a hidden window wrote it.
TEST(DeferredForms, ADialogNeverShownWritesBackThePlaceItWouldHaveHad) {
  for (const Dialog& dialog : kDialogs) {
    for (const bool firstRun : {true, false}) {
      MemorySettingsStore store;
      ScriptedPrompts prompts;
      if (!firstRun) {
        store.Put(Key(dialog.name), "Top", StoredValue::Dword(0xFFFFFFF6u));
        store.Put(Key(dialog.name), "Left", StoredValue::String("150"));
      }
      Stand stand = dialog.make(store, prompts);
      EXPECT_TRUE(store.KeyExists(Key(dialog.name))) << dialog.name;
      stand.owner.reset();
      EXPECT_EQ(stand.global(), nullptr) << dialog.name;
      EXPECT_EQ(store.Get(Key(dialog.name), "Top"), StoredValue::Dword(firstRun ? 1 : 0xFFFFFFF6u))
          << dialog.name;
      EXPECT_EQ(store.Get(Key(dialog.name), "Left"), StoredValue::Dword(1)) << dialog.name;
    }
  }
}

}  // namespace
}  // namespace kv::app
