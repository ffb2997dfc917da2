#include "config/kv_form_win.h"

#include "config/settings_store.h"
#include "widgets/window_win.h"

namespace kv {
namespace {

std::string FormKey(const std::string& name) { return "Forms\\" + name + "\\"; }

}  // namespace

void TKVForm::CreateForm(const CreateArgs& args) {
  CreateArgs placed = args;
  placed.top = store_.RegReadInteger(FormKey(name_), "Top").value_or(1);
  placed.left = store_.RegReadInteger(FormKey(name_), "Left").value_or(1);
  Create(placed);
}

TKVForm::~TKVForm() {
  if (!hwnd()) return;
  try {
    const RECT r = Bounds();
    store_.RegWriteInteger(FormKey(name_), "Top", r.top);
    store_.RegWriteInteger(FormKey(name_), "Left", r.left);
  } catch (...) {
    // A destructor reports nothing: the place is simply not remembered.
  }
}

}  // namespace kv
