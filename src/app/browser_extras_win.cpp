// The browser's extras: Random without repeats, the wallpaper history with its
// "Back" command and hotkey, and the switches that turn them on ("Kv Extras\").
// Each is off until the user turns it on; off, the program behaves as it
// always did.
#include <windows.h>

#include <ctime>

#include "app/browser_form_win.h"
#include "app/shuffle_round.h"
#include "base/program_dir_win.h"
#include "codecs/file_io.h"
#include "config/settings_schema.h"
#include "config/settings_store.h"
#include "list/list_text.h"
#include "list/wallpaper_list.h"

namespace kv::app {

bool TMainForm::Extra(const char* name) {
  // A value of the wrong type counts as off, as a missing one does.
  try {
    return store_.RegReadBool(kKvExtrasKey, name).value_or(false);
  } catch (const std::exception&) {
    return false;
  }
}

void TMainForm::ApplyExtras() {
  Item(program::MainCommand::Back).visible = Extra(kKeepHistory);
  Item("NextOnThisMonitor1").visible = EachMonitorOwn();
  Shortcut key = kDefaultHotkey;
  try {
    key = store_.RegReadShortcut(kKvExtrasKey, kBackHotkey).value_or(kDefaultHotkey);
  } catch (const std::exception&) {
  }
  // Enabled first, then the key: a changed key registers anew (see the other
  // four hotkeys).
  BackHotKey.SetEnabled(Extra(kEnableBackHotkey));
  BackHotKey.SetKey(key);
}

std::optional<int> TMainForm::ListIndexOf(const std::string& fullName, const std::string* style) {
  if (!program::ManagerForm) return std::nullopt;
  const TKvlistview& list = program::ManagerForm->Wallpaperlist();
  const std::string folded = FoldFileNameCase(fullName);
  for (std::size_t i = 0; i < list.Count(); ++i) {
    const WallpaperEntry& entry = list.Entry(i);
    if ((!style || entry.style == *style) && FoldFileNameCase(entry.FullName()) == folded)
      return static_cast<int>(i);
  }
  return std::nullopt;
}

std::optional<int> TMainForm::DrawFromRound() {
  const TKvlistview& list = program::ManagerForm->Wallpaperlist();
  std::vector<std::string> entries;
  entries.reserve(list.Count());
  for (std::size_t i = 0; i < list.Count(); ++i) entries.push_back(list.Entry(i).FullName());
  // The round of another list (or of none yet) is read from beside the list.
  const std::string& listFile = program::CurrentListFile;
  if (!round_ || FoldFileNameCase(round_->listFile) != FoldFileNameCase(listFile))
    round_ = listFile.empty() ? ShuffleRound{} : LoadShuffleRound(listFile);
  const auto index = DrawWithoutRepeats(*round_, entries, shuffleRandom_);
  // A list in a folder the program may not write to keeps its round for this
  // run only.
  if (index && !listFile.empty()) {
    try {
      SaveShuffleRound(*round_);
    } catch (const std::exception&) {
    }
  }
  if (!index) return std::nullopt;
  return static_cast<int>(*index);
}

WallpaperHistory& TMainForm::History() {
  if (!history_) history_ = WallpaperHistory::Load(ProgramDir() + kHistoryFileName);
  return *history_;
}

void TMainForm::SaveHistory() {
  // A history that cannot be written is kept for this run.
  try {
    History().Save(ProgramDir() + kHistoryFileName);
  } catch (const std::exception&) {
  }
}

void TMainForm::RecordShown(const std::string& fullName, const std::string& style) {
  if (goingBack_ || !Extra(kKeepHistory)) return;
  History().Shown({fullName, style});
  SaveHistory();
}

bool TMainForm::SysBackClick() {
  if (!Extra(kKeepHistory)) return false;
  const auto entry = History().Back([](const std::string& f) { return FileExists(f); });
  if (!entry) return false;
  goingBack_ = true;
  // A picture of the list, in the style it has there, becomes the current
  // entry through the strip, so Next and Previous go on from it.
  const auto index = ListIndexOf(entry->fullName, &entry->style);
  try {
    if (index && PreviewCount() > 0)
      Move(*index);
    else
      ApplyFile(entry->fullName, entry->style);
  } catch (...) {
    goingBack_ = false;
    throw;
  }
  goingBack_ = false;
  SaveHistory();
  return true;
}

void TMainForm::SeedShuffle() {
  shuffleRandom_.seed(static_cast<unsigned>(std::time(nullptr)) ^ GetTickCount());
}

}  // namespace kv::app
