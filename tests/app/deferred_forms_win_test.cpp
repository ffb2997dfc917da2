// The search, batch-change and property windows are made when first shown; at
// start-up their stand-ins read the stored places as making them did.
#include "app/deferred_forms_win.h"

#include <gtest/gtest.h>

#include <memory>

#include "config/settings_store.h"
#include "widgets/prompts.h"

namespace kv::app {
namespace {

std::string Key(const char* name) { return std::string("Forms\\") + name + "\\"; }

// One dialog through a run: made at its first show where the start found its
// place (a later change, by another instance, is not seen), once only; and
// never shown, it still writes back at the end the place it would have kept.
template <typename Deferred, typename Interface, typename Show, typename... Args>
void CheckDialog(const char* name, Interface*& global, Show show, Args&... args) {
  SCOPED_TRACE(name);
  MemorySettingsStore store;
  store.Put(Key(name), "Top", StoredValue::Dword(120));
  store.Put(Key(name), "Left", StoredValue::Dword(40));
  auto stand = std::make_unique<Deferred>(args..., store);
  stand->Prepare();
  EXPECT_EQ(global, stand.get());
  EXPECT_EQ(stand->Made(), nullptr);
  store.Put(Key(name), "Top", StoredValue::Dword(300));
  show(*global);
  auto* form = stand->Made();
  ASSERT_NE(form, nullptr);
  EXPECT_NE(global, stand.get()) << "the window answers from now on";
  EXPECT_TRUE(IsWindowVisible(form->hwnd()));
  EXPECT_EQ(form->Bounds().top, 120);
  EXPECT_EQ(form->Bounds().left, 40);
  show(*global);
  EXPECT_EQ(stand->Made(), form);
  SetWindowPos(form->hwnd(), nullptr, 70, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  stand.reset();
  EXPECT_EQ(global, nullptr);
  EXPECT_EQ(store.Get(Key(name), "Top"), StoredValue::Dword(90));
  EXPECT_EQ(store.Get(Key(name), "Left"), StoredValue::Dword(70));

  MemorySettingsStore firstRun;
  stand = std::make_unique<Deferred>(args..., firstRun);
  stand->Prepare();
  EXPECT_TRUE(firstRun.KeyExists(Key(name))) << "the read creates the key, as before";
  stand.reset();
  EXPECT_EQ(global, nullptr);
  EXPECT_EQ(firstRun.Get(Key(name), "Top"), StoredValue::Dword(1));
  EXPECT_EQ(firstRun.Get(Key(name), "Left"), StoredValue::Dword(1));
}

TEST(DeferredForms, ADialogIsMadeAtItsFirstShowAndKeepsThePlaceReadAtStartUp) {
  ScriptedPrompts prompts;
  CheckDialog<DeferredSearchForm>(kSearchFormName, program::SearchForm,
                                  [](program::ISearchForm& f) { f.ShowSearch(); });
  CheckDialog<DeferredBatchChangeForm>(
      kBatchChangeFormName, program::kvBatchChangeForm,
      [](program::IBatchChangeForm& f) { f.ShowBatch(); }, prompts);
  CheckDialog<DeferredPropertyEditor>(kPropertyEditorName, program::PropertyEditor,
                                      [](program::IPropertyEditor& f) { f.ShowEditor(); });
}

}  // namespace
}  // namespace kv::app
