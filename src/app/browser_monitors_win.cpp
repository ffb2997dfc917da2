// Every monitor its own wallpaper ("Monitors\"): which picture each monitor
// shows, "Next on this monitor", and the re-render after the display layout
// changes. Off until the user turns it on; off, the program behaves as it
// always did.
#include <windows.h>

#include <exception>
#include <string>

#include "app/browser_form_win.h"
#include "app/cycling.h"
#include "app/monitor_mark.h"
#include "codecs/file_io.h"
#include "config/settings_schema.h"
#include "config/settings_store.h"
#include "list/list_file.h"
#include "list/styles.h"
#include "list/wallpaper_list.h"
#include "wallpaper/monitor_entries.h"
#include "wallpaper/picture_size.h"

namespace kv::app {

using program::CurrentWallNumber;

bool TMainForm::EachMonitorOwn() {
  try {
    return store_.RegReadBool(kMonitorsKey, kEachMonitorOwnWallpaper).value_or(false);
  } catch (const std::exception&) {
    return false;  // a value of the wrong type counts as off
  }
}

std::vector<MonitorPicture> TMainForm::MonitorList(std::size_t monitor, bool& matchOrientation) {
  matchOrientation = false;
  std::vector<MonitorPicture> own;
  // The primary (0) always shows the current entry of the main list.
  if (monitor == 0 || monitor > static_cast<std::size_t>(kMonitorSettingsCount)) return own;
  try {
    // Monitor index 1 is the second monitor, whose settings are numbered 2.
    const int number = static_cast<int>(monitor) + 1;
    const SettingDef& match = SettingOf(MonitorMatchOption(number));
    const SettingDef& list = SettingOf(MonitorListOption(number));
    matchOrientation = store_.RegReadBool(match.subkey, match.name).value_or(false);
    const std::string file = store_.RegReadString(list.subkey, list.name).value_or("");
    if (file.empty()) return own;
    const std::vector<std::uint8_t> bytes = ReadFileBytes(file);
    for (const ListRecord& r : ParseListFile(bytes.data(), bytes.size()))
      if (const auto style = WpStyleFromName(StyleName(r.style)))
        own.push_back({r.path + r.fileName, *style});
  } catch (const std::exception&) {
    // A list that cannot be read: the monitor follows the main list.
    own.clear();
  }
  return own;
}

std::optional<PixelSize> TMainForm::CachedPictureSize(const std::string& fullName) {
  const auto known = pictureSizes_.find(fullName);
  if (known != pictureSizes_.end()) return known->second;
  return pictureSizes_[fullName] = PictureFileSize(fullName);
}

void TMainForm::PrepareMonitorPictures(const std::string& fullName, const std::string& style) {
  TKVWallpaper& applier = KVWallpaper1_;
  applier.EachMonitorOwn = EachMonitorOwn();
  applier.MonitorPictures.clear();
  if (!applier.EachMonitorOwn) {
    monitorShown_.clear();
    return;
  }
  const MonitorLayout layout = applier.Monitors();
  if (layout.size() < 2 || !program::ManagerForm) return;
  const TKvlistview& list = program::ManagerForm->Wallpaperlist();

  std::vector<std::vector<MonitorPicture>> lists(layout.size());
  std::vector<MonitorSource> sources(layout.size());
  for (std::size_t m = 0; m < layout.size(); ++m) {
    lists[m] = MonitorList(m, sources[m].matchOrientation);
    sources[m].ownList = !lists[m].empty();
    sources[m].count = sources[m].ownList ? static_cast<int>(lists[m].size()) : ListCount();
    sources[m].portrait = layout[m].Portrait();
  }
  const auto entryOf = [&](std::size_t m, int entry) -> MonitorPicture {
    if (sources[m].ownList) return lists[m][static_cast<std::size_t>(entry)];
    const WallpaperEntry& e = list.Entry(static_cast<std::size_t>(entry));
    return {e.FullName(), WpStyleFromName(e.style).value_or(Wpstretch)};
  };
  const MonitorEntries entries(sources, 0, [&](std::size_t m, int entry) {
    return CachedPictureSize(entryOf(m, entry).source);
  });

  // Each monitor moves the way the primary moved: one step either way moves
  // them all one step the same way; a draw draws for each; anything else
  // (a click on a preview, a picture from outside the list) starts afresh.
  const int count = ListCount();
  const int step = count > 0 ? ((CurrentWallNumber - monitorCurrent_) % count + count) % count : 0;
  std::vector<int> shown;
  if (monitorShown_.size() != layout.size()) {
    shown = entries.Assign(CurrentWallNumber);
  } else if (monitorOnly_) {
    shown = monitorShown_;
    shown[0] = CurrentWallNumber;
    if (*monitorOnly_ > 0) shown = entries.NextOn(monitorShown_, *monitorOnly_);
  } else if (monitorRandom_) {
    shown =
        entries.Step(monitorShown_, CurrentWallNumber, MonitorStep::Random, RandomWallpaperIndex);
  } else if (step == 1 || (step == count - 1 && count > 1)) {
    shown = entries.Step(monitorShown_, CurrentWallNumber,
                         step == 1 ? MonitorStep::Next : MonitorStep::Previous);
  } else {
    shown = entries.Assign(CurrentWallNumber);
  }
  monitorShown_ = shown;
  monitorCurrent_ = CurrentWallNumber;
  monitorOwnList_.clear();
  for (const MonitorSource& source : sources) monitorOwnList_.push_back(source.ownList);
  MarkMonitorPreviews();

  applier.MonitorPictures.push_back({fullName, WpStyleFromName(style).value_or(Wpstretch)});
  for (std::size_t m = 1; m < layout.size(); ++m) {
    // A monitor without an entry (an empty list) shows the primary's picture.
    applier.MonitorPictures.push_back(shown[m] >= 0 ? entryOf(m, shown[m])
                                                    : applier.MonitorPictures[0]);
  }
}

void TMainForm::MarkMonitorPreviews() {
  for (const auto& preview : previews_) {
    // The monitors that follow the main list and show this preview's entry.
    for (std::size_t m = 0; m < monitorShown_.size(); ++m) {
      if (monitorOwnList_[m] || monitorShown_[m] != preview->Tag) continue;
      Bitmap marked = preview->Picture();
      DrawMonitorMark(marked, static_cast<int>(m) + 1);
      preview->SetPicture(marked);
      const std::string& data = preview->DataString;
      const std::size_t bar = data.find('|');
      if (bar != std::string::npos)
        preview->SetHint(data.substr(bar + 1) + " [" + data.substr(0, bar) + "] - monitor " +
                         std::to_string(m + 1));
      break;
    }
  }
}

void TMainForm::NextOnMonitor(std::size_t monitor) {
  if (!EachMonitorOwn() || monitorShown_.empty()) {
    SysNextClick();
    return;
  }
  monitorOnly_ = monitor;
  if (monitor == 0) {
    SysNextClick();
  } else if (!lastApplied_.first.empty()) {
    RefreshPreviews();  // the marks are drawn anew
    ApplyFile(lastApplied_.first, lastApplied_.second);
  }
  monitorOnly_.reset();
}

void TMainForm::NextOnThisMonitor1Click() {
  POINT at{};
  GetCursorPos(&at);
  const MonitorLayout layout = KVWallpaper1_.Monitors();
  for (std::size_t m = 0; m < layout.size(); ++m) {
    const MonitorRect& r = layout[m];
    if (at.x >= r.x && at.x < r.Right() && at.y >= r.y && at.y < r.Bottom()) {
      NextOnMonitor(m);
      return;
    }
  }
  NextOnMonitor(0);
}

void TMainForm::ApplyMonitorSettings() {
  ApplyExtras();
  // One picture shown, and one to show: nothing changes on the desktop.
  const bool composing = EachMonitorOwn() && KVWallpaper1_.Monitors().size() >= 2;
  if (!composing && monitorShown_.empty()) return;
  // Each monitor's entry is chosen afresh: its list or its rule may be new.
  monitorShown_.clear();
  RefreshPreviews();  // the marks are drawn anew
  if (!lastApplied_.first.empty()) {
    ApplyFile(lastApplied_.first, lastApplied_.second);
  } else if (ListCount() > 0) {
    // Nothing applied yet in this run: the current entry, which the desktop
    // shows since the last run.
    const WallpaperEntry& e =
        program::ManagerForm->Wallpaperlist().Entry(static_cast<std::size_t>(CurrentWallNumber));
    ApplyFile(e.FullName(), e.style);
  }
}

void TMainForm::DisplayChanged() {
  // With the option off the system itself places the single picture anew.
  if (!EachMonitorOwn() || lastApplied_.first.empty()) return;
  const std::size_t before = monitorShown_.size();
  if (KVWallpaper1_.Monitors().size() != before) monitorShown_.clear();
  monitorOnly_ = 0;  // the same entries again, for the new sizes
  RefreshPreviews();
  ApplyFile(lastApplied_.first, lastApplied_.second);
  monitorOnly_.reset();
}

}  // namespace kv::app
