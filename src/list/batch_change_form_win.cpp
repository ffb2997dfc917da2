#include "list/batch_change_form_win.h"

#include <optional>

#include "list/dialog_layout_win.h"
#include "list/manager_rules.h"
#include "list/wallpaper_list.h"
#include "widgets/prompts.h"

namespace kv {
namespace {

using program::ManagerForm;

constexpr int kWidth = 300, kHeight = 170;

}  // namespace

TkvBatchChangeForm::~TkvBatchChangeForm() {
  if (program::kvBatchChangeForm == this) program::kvBatchChangeForm = nullptr;
}

void TkvBatchChangeForm::Create() {
  CreateForm(DialogFrame("Batch Style Changer", kWidth, kHeight));
  fileTypeLabel_.Create(ChildAt(hwnd_, 12, 18, 100, 18, "File type :"));
  ui::Control::CreateArgs box = ChildAt(hwnd_, 120, 14, 160, 200);
  box.style = WS_VSCROLL | WS_TABSTOP;
  FileTypeCbox.Create(box);
  for (const char* type : kBatchFileTypes) FileTypeCbox.AddItem(type);
  styleLabel_.Create(ChildAt(hwnd_, 12, 52, 100, 18, "Wallpaper Style :"));
  box.top = 48;
  WallStyleCbox.Create(box);
  for (const char* style : kStyleNames) WallStyleCbox.AddItem(style);
  ChangeWallStyleButton.Create(ChildAt(hwnd_, 12, 92, 170, 26, "Change Wallpaper Styles"));
  ChangeWallStyleButton.onClick = [this] { ChangeWallStyleButtonClick(); };
  CancelButton.Create(ChildAt(hwnd_, 196, 92, 84, 26, "Cancel"));
  CancelButton.onClick = [this] { CancelButtonClick(); };
  program::kvBatchChangeForm = this;
}

void TkvBatchChangeForm::ShowBatch() {
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  std::optional<std::string> fileName;
  std::string style;
  if (ManagerForm) {
    const TKvlistview& list = ManagerForm->Wallpaperlist();
    if (list.SelectedCount() > 0) {
      const WallpaperEntry& e = list.Entry(list.SelectedIndices().front());
      fileName = e.fileName;
      style = e.style;
    }
  }
  const BatchChoice choice = BatchPreselect(fileName, style);
  FileTypeCbox.SetItemIndex(choice.fileType);
  WallStyleCbox.SetItemIndex(choice.style);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void TkvBatchChangeForm::ChangeWallStyleButtonClick() {
  if (!ManagerForm) return;
  TKvlistview& list = ManagerForm->Wallpaperlist();
  if (list.Count() == 0) return;
  // An entry of a type that is not among the items leaves a box without a
  // choice; nothing is changed then.
  const int type = FileTypeCbox.ItemIndex(), style = WallStyleCbox.ItemIndex();
  if (type < 0 || style < 0) return;
  if (!prompts_.Confirm(kBatchConfirmText)) return;
  const std::string chosenType = FileTypeCbox.ItemText(type);
  const std::string chosenStyle = WallStyleCbox.ItemText(style);
  list.BeginUpdate();
  for (std::size_t i = 0; i < list.Count(); ++i)
    if (BatchFileType(list.Entry(i).fileName) == chosenType) list.SetStyle(i, chosenStyle);
  list.EndUpdate();
  ShowWindow(hwnd_, SW_HIDE);
}

void TkvBatchChangeForm::CancelButtonClick() { ShowWindow(hwnd_, SW_HIDE); }

}  // namespace kv
