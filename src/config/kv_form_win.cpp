#include "config/kv_form_win.h"

#include "base/error.h"
#include "config/settings_schema.h"
#include "config/settings_store.h"
#include "widgets/screen_fit_win.h"
#include "widgets/window_win.h"

namespace kv {
namespace {

std::string FormKey(const std::string& name) { return "Forms\\" + name + "\\"; }

// A stored place, or 1 when there is none; a value of another type, or one
// that cannot be read, counts as none: a damaged place must not end the start.
int StoredPlace(SettingsStore& store, const std::string& name, const char* value) {
  try {
    return store.RegReadInteger(FormKey(name), value).value_or(1);
  } catch (const Error&) {
    return 1;
  }
}

}  // namespace

void TKVForm::ReadPlace() {
  const int top = StoredPlace(store_, name_, kFormTop);
  place_ = Place{top, StoredPlace(store_, name_, kFormLeft)};
}

void TKVForm::CreateForm(const CreateArgs& args) {
  if (!place_) ReadPlace();
  CreateArgs placed = args;
  placed.top = place_->top;
  placed.left = place_->left;
  place_.reset();  // from here the window keeps its place
  Create(placed);
  ui::KeepReachable(hwnd());
}

TKVForm::~TKVForm() {
  if (!hwnd() && !place_) return;
  try {
    const RECT r = hwnd() ? Bounds() : RECT{place_->left, place_->top, 0, 0};
    store_.RegWriteInteger(FormKey(name_), kFormTop, r.top);
    store_.RegWriteInteger(FormKey(name_), kFormLeft, r.left);
  } catch (...) {
    // A destructor reports nothing: the place is simply not remembered.
  }
}

}  // namespace kv
