#pragma once
// TkvBatchChangeForm, "Batch Style Changer": gives every entry of one file type
// one style. Shown without being modal; the choices and the matching are the
// portable ones of list/manager_rules.h.

#include "config/kv_form_win.h"
#include "program/forms.h"
#include "widgets/controls_win.h"
#include "widgets/window_win.h"

namespace kv {

class Prompts;

inline constexpr char kBatchConfirmText[] =
    "This will permanently affect all entries in the wallpaper list. Do you want to continue ?";

inline constexpr char kBatchChangeFormName[] = "kvBatchChangeForm";

class TkvBatchChangeForm : public TKVForm, public program::IBatchChangeForm {
 public:
  TkvBatchChangeForm(Prompts& prompts, SettingsStore& store)
      : TKVForm(store, kBatchChangeFormName), prompts_(prompts) {}
  ~TkvBatchChangeForm() override;
  // Creates the dialog hidden at its kept place and sets program::kvBatchChangeForm.
  void Create();

  // --- IBatchChangeForm: FormShow (topmost, the preselection), then shown.
  void ShowBatch() override;

  void ChangeWallStyleButtonClick();
  void CancelButtonClick();

  ui::ComboBox FileTypeCbox;
  ui::ComboBox WallStyleCbox;

 private:
  Prompts& prompts_;
  ui::Label fileTypeLabel_;
  ui::Label styleLabel_;
  ui::Button ChangeWallStyleButton;
  ui::Button CancelButton;
};

}  // namespace kv
