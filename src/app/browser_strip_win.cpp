// The browser's strip and cycling: refilling the previews around the current
// entry, scrolling, the preview popup, and the moves that apply the middle
// preview's entry.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdlib>

#include "app/browser_form_win.h"
#include "app/cycling.h"
#include "base/error.h"
#include "base/program_dir_win.h"
#include "base/text_win.h"
#include "codecs/file_io.h"
#include "codecs/image_file.h"
#include "config/settings_schema.h"
#include "config/settings_store.h"
#include "list/preview_picture.h"
#include "list/shell_files.h"
#include "list/styles.h"
#include "list/thumbnail_cache.h"
#include "list/wallpaper_list.h"
#include "wallpaper/resample.h"
#include "widgets/prompts.h"

namespace kv::app {
namespace {

using program::CurrentWallNumber;
using program::ManagerForm;

constexpr char kRemoveFromDiskQuestion[] =
    "This will permanently delete this wallpaper from your HardDrive. Do you wish to continue ?";

// A DataString's style and full path, split at its first bar.
struct PreviewEntry {
  std::string style;
  std::string fullName;
};
PreviewEntry SplitDataString(const std::string& data) {
  const auto bar = data.find('|');
  if (bar == std::string::npos) return {data, {}};
  return {data.substr(0, bar), data.substr(bar + 1)};
}

}  // namespace

int TMainForm::ListCount() const {
  return ManagerForm ? static_cast<int>(ManagerForm->Wallpaperlist().Count()) : 0;
}

// --- The strip -------------------------------------------------------------

void TMainForm::RefreshPreviews() {
  if (!ManagerForm) return;
  const int count = ListCount();
  CurrentWallNumber = NormaliseCurrent(CurrentWallNumber, count);
  if (count == 0) {
    for (auto& preview : previews_) {
      preview->SetVisible(false);
      preview->SetPicture(Bitmap());
      preview->DataString.clear();
      preview->SetHint("");
      preview->Tag = 0;
    }
    return;
  }
  const std::vector<int> entries = StripEntries(PreviewCount(), CurrentWallNumber, count);
  for (std::size_t i = 0; i < previews_.size(); ++i) FillPreview(*previews_[i], entries[i]);
}

void TMainForm::FillPreview(skin::TOrganicShapeImage& preview, int index) {
  preview.SetPicture(Bitmap());
  const TKvlistview& list = ManagerForm->Wallpaperlist();
  const int count = static_cast<int>(list.Count());
  const int e = WrapIndex(count - 1, 0, index);
  const WallpaperEntry& entry = list.Entry(static_cast<std::size_t>(e));
  const std::string fullName = entry.FullName();
  preview.DataString = entry.style + "|" + fullName;
  preview.SetHint(fullName + " [" + entry.style + "]");
  preview.Tag = e;

  // A picture that cannot be read leaves the preview empty; the refill goes on
  // with the next one.
  if (const std::optional<Bitmap> picture =
          LoadPreviewPicture(ProgramDir() + kCacheDirectoryName + "\\", fullName, preview.Width(),
                             preview.Height(), program::Options.imageDisplayFilter))
    preview.SetPicture(*picture);
  preview.SetVisible(true);
}

void TMainForm::ScrollForward() {
  if (!ManagerForm) return;
  CurrentWallNumber =
      WrapIndex(ListCount() - 1, 0, CurrentWallNumber + program::Options.wallpaperScroll);
  RefreshPreviews();
}

void TMainForm::ScrollBackward() {
  if (!ManagerForm) return;
  CurrentWallNumber =
      WrapIndex(ListCount() - 1, 0, CurrentWallNumber - program::Options.wallpaperScroll);
  RefreshPreviews();
}

void TMainForm::FormMouseWheel(int notches) {
  const bool reversed = program::Options.reversedMouseWheel;
  for (int i = 0; i < std::abs(notches); ++i) {
    if ((notches > 0) != reversed)
      ScrollForward();
    else
      ScrollBackward();
  }
}

// --- Cycling ---------------------------------------------------------------

void TMainForm::Move(int target) {
  CurrentWallNumber = WrapIndex(ListCount() - 1, 0, target);
  RefreshPreviews();
  // With an empty list or a skin without previews there is nothing to apply.
  if (ListCount() > 0 && !previews_.empty()) ApplyPreviewWallpaper(MiddlePreview(PreviewCount()));
}

void TMainForm::SysNextClick() { Move(CurrentWallNumber - 1); }
void TMainForm::SysPreviousClick() { Move(CurrentWallNumber + 1); }

void TMainForm::SysRandomClick() {
  const int count = ListCount();
  if (!ManagerForm || count == 0) return;
  monitorRandom_ = true;  // every other monitor draws too
  if (Extra(kRandomWithoutRepeats)) {
    if (const auto index = DrawFromRound()) Move(*index);
  } else {
    Move(RandomWallpaperIndex(count));
  }
  monitorRandom_ = false;
}

void TMainForm::SwitchWallpaper(program::SwitchMove move) {
  switch (move) {
    case program::SwitchMove::Next:
      SysNextClick();
      break;
    case program::SwitchMove::Previous:
      SysPreviousClick();
      break;
    case program::SwitchMove::Random:
      SysRandomClick();
      break;
  }
}

void TMainForm::StartupSwitch(program::SwitchMove move) {
  if (ManagerForm) SwitchWallpaper(move);
}

void TMainForm::ShutdownSwitch(program::SwitchMove move) {
  // Applied with the shell told, so that the wallpaper is in place at the next
  // logon as well as now.
  program::NotifyShell = true;
  SwitchWallpaper(move);
}

void TMainForm::ApplyPreviewWallpaper(int b) {
  if (b < 0 || b >= PreviewCount()) return;
  const int m = MiddlePreview(PreviewCount());
  if (b != m) CurrentWallNumber = IndexOfPreview(b, PreviewCount(), CurrentWallNumber, ListCount());
  skin::TOrganicShapeImage& preview = *previews_[static_cast<std::size_t>(b)];
  // A copy: with every monitor its own wallpaper the apply marks the preview's
  // picture, and the icon colour comes from the picture as it was.
  const Bitmap picture = preview.Picture();
  ApplyPreviewFrom(preview.DataString, picture);
}

void TMainForm::ApplyFile(const std::string& fullName, const std::string& style) {
  KVWallpaper1_.WpName = fullName;
  KVWallpaper1_.SetStyleByName(style);
  KVWallpaper1_.ScaledBarsFill =
      Extra(kFillTheBars) ? ScaledBars::Filled : ScaledBars::DesktopColour;
  program::NotifyShell = true;
  PrepareMonitorPictures(fullName, style);
  lastApplied_ = {fullName, style};
  if (KVWallpaper1_.ApplyWallpaper(true, program::NotifyShell)) RecordShown(fullName, style);
}

void TMainForm::ApplyPreviewFrom(const std::string& dataString, const Bitmap& picture) {
  const PreviewEntry entry = SplitDataString(dataString);
  if (!entry.fullName.empty()) ApplyFile(entry.fullName, entry.style);
  store_.RegWriteInteger(kRootKey, kCurrentWallNumber, CurrentWallNumber);
  AnalyseIconColour(picture);
}

void TMainForm::AnalyseIconColour(const Bitmap& picture) {
  if (!program::OptionsForm || !program::OptionsForm->AnalyseThumbnails()) return;
  KVWallpaper1_.Setdeskicons_fg(IconColourChooser1_.ChooseIconColour(picture));
  KVWallpaper1_.ApplyIconColours();
}

void TMainForm::SwitchWallpaperTimerTimer() {
  using program::OptionsForm;
  const int every = OptionsForm ? OptionsForm->IntervalSwitchEvery() : 0;
  const int unit = OptionsForm ? OptionsForm->IntervalSwitchTimeType() : 0;
  if (!IntervalTick(program::IntervalTicks, program::PausedFlag, OptionsForm != nullptr, every,
                    unit))
    return;
  const int type = OptionsForm->IntervalSwitchType();
  if (type >= 0 && type <= 2) SwitchWallpaper(static_cast<program::SwitchMove>(type));
}

void TMainForm::PauseIntervalSwitching1Click() {
  ui::MenuItem& item = Item(program::MainCommand::PauseIntervalSwitching);
  item.checked = !item.checked;
  store_.RegWriteBool(kWallpaperChangingKey, kPaused, item.checked);
  program::PausedFlag = item.checked;
}

// --- The preview popup -----------------------------------------------------

bool TMainForm::SelectListEntry(int index) {
  if (!ManagerForm) return false;
  TKvlistview& list = ManagerForm->Wallpaperlist();
  list.SelectAll(false);
  if (index >= 0 && static_cast<std::size_t>(index) < list.Count())
    list.SelectOnly(static_cast<std::size_t>(index));
  return true;
}

void TMainForm::PopupPreviewMenu(skin::TOrganicShapeControl& source, int x, int y) {
  popupSource_ = &source;
  PreviewPopup.Popup(hwnd_, x, y);
  popupSource_ = nullptr;
}

void TMainForm::BuildPreviewPopup() {
  ui::MenuItem& root = PreviewPopup.root;
  // Each command works on the control the menu was opened over; it is read
  // before the command runs, so a refill inside the command cannot change it.
  auto source = [this]() -> PreviewEntry {
    return popupSource_ ? SplitDataString(popupSource_->DataString) : PreviewEntry{};
  };
  auto sourceTag = [this] { return popupSource_ ? popupSource_->Tag : 0; };
  root.Add(
      "Full Screen Preview",
      [this, source](ui::MenuItem&) {
        const PreviewEntry e = source();
        if (program::PreviewForm) program::PreviewForm->ShowPreview(e.fullName, e.style);
      },
      "FullScreenPreview1");
  root.Add(
      "Open With Associated Program",
      [source](ui::MenuItem&) {
        const PreviewEntry e = source();
        if (!e.fullName.empty())
          ShellExecuteW(nullptr, L"open", Widen(e.fullName).c_str(), nullptr, nullptr,
                        SW_SHOWNORMAL);
      },
      "OpenWithAssociatedProgram");
  root.AddSeparator().visible = false;
  root.Add(
          "Edit Items Properties",
          [](ui::MenuItem&) {
            if (program::PropertyEditor) program::PropertyEditor->ShowEditor();
          },
          "EditItemsProperties1")
      .visible = false;
  root.AddSeparator().visible = false;
  ui::MenuItem& actions = root.Add("Actions", {}, "Actions1");
  actions.Add(
      "Goto Wallpaper",
      [this, sourceTag](ui::MenuItem&) {
        const int tag = sourceTag();
        if (!SelectListEntry(tag)) return;
        if (!ManagerForm->Form().IsVisible()) ManagerForm->Form().ShowFaded(true);
        ManagerForm->RevealEntry(tag);
      },
      "GotoWallpaper1");
  actions.AddSeparator();
  actions.Add(
      "Remove wallpaper from list",
      [this, sourceTag](ui::MenuItem&) {
        if (!SelectListEntry(sourceTag())) return;
        ManagerForm->SetSuppressPreview(true);
        ManagerForm->Wallpaperlist().RemoveSelectedRows();
        RefreshPreviews();
        ManagerForm->HidePreviewImage();
      },
      "Removewallpaperfromlist1");
  actions.Add(
      "Remove wallpaper from disk",
      [this, sourceTag](ui::MenuItem&) {
        if (!SelectListEntry(sourceTag()) || !prompts_.AskInformation(kRemoveFromDiskQuestion))
          return;
        ManagerForm->SetSuppressPreview(true);
        TKvlistview& list = ManagerForm->Wallpaperlist();
        for (std::size_t index : list.SelectedIndices()) {
          const std::string fullName = list.Entry(index).FullName();
          // A failed deletion is not reported; the entry goes all the same.
          if (FileExists(fullName)) shellDelete_.Delete(fullName);
        }
        list.RemoveSelectedRows();
        RefreshPreviews();
        ManagerForm->HidePreviewImage();
      },
      "Removewallpaperfromdisk1");
}

}  // namespace kv::app
