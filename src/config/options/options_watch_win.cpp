// The options window's long-lived work: the watch of the wallpaper directory
// and its scans, and the thumbnail cache's buttons and statistics.
#include "base/program_dir_win.h"
#include "base/text_win.h"
#include "config/options/options_form_win.h"
#include "config/options/options_texts.h"
#include "config/options/watch_scan.h"
#include "config/settings_schema.h"
#include "config/settings_store.h"
#include "list/thumbnail_cache.h"
#include "list/wallpaper_list.h"
#include "widgets/prompts.h"

namespace kv {
namespace {

using program::ManagerForm;

constexpr UINT_PTR kCacheTimerId = 1;
constexpr UINT kCacheTimerAgain = 600000;
constexpr DWORD kStopCheckMs = 1000;

}  // namespace

// --- The watch thread ---------------------------------------------------------------

void DirectoryWatch::Start(const std::string& directory, HWND notify, UINT message) {
  Stop();
  directory_ = directory;
  stop_ = false;
  failed_ = false;
  thread_ = std::thread([this, wide = Widen(directory), notify, message] {
    const HANDLE change = FindFirstChangeNotificationW(
        wide.c_str(), FALSE,
        FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_ATTRIBUTES |
            FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
    if (change == INVALID_HANDLE_VALUE) {
      failed_ = true;
      return;
    }
    while (!stop_) {
      // Waits at most a second, so that a stop request is seen in time.
      const DWORD woke = WaitForSingleObject(change, kStopCheckMs);
      if (stop_) break;
      if (woke == WAIT_TIMEOUT) continue;
      if (woke != WAIT_OBJECT_0) {
        failed_ = true;
        break;
      }
      // Handed to the user-interface thread, waiting until it has been
      // handled; the wait gives up each second to look at the stop request
      // (the window's thread may be waiting for this one to end).
      DWORD_PTR result = 0;
      while (!stop_ &&
             !SendMessageTimeoutW(notify, message, 0, 0, SMTO_NORMAL, kStopCheckMs, &result)) {
        if (GetLastError() != ERROR_TIMEOUT) break;  // the window is gone
      }
      if (!FindNextChangeNotification(change)) {
        failed_ = true;
        break;
      }
    }
    FindCloseChangeNotification(change);
  });
}

void DirectoryWatch::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  directory_.clear();
}

// --- The options window's side --------------------------------------------------------

void TOptionsForm::WatchButtonClick() {
  const std::optional<std::string> folder = prompts_.BrowseFolder(options::kWatchFolderTitle);
  if (!folder || !DirectoryExists(*folder)) return;
  SetWatchedDirectory(*folder);
  const SettingDef& def = SettingOf(Option::WatchedDirectory);
  store_.RegWriteString(def.subkey, def.name, *folder);
  ScanWatchedDirectory();
}

void TOptionsForm::SetWatchedDirectory(const std::string& directory) {
  watched_ = directory;
  WatchEditChange();
}

void TOptionsForm::WatchEditChange() {
  // A directory that is not there empties the edit and stops the watch.
  if (DirectoryExists(watched_)) {
    if (!watch_.Active() || watch_.Directory() != watched_)
      watch_.Start(watched_, hwnd(), kWatchMessage);
  } else {
    watch_.Stop();
    watched_.clear();
  }
  if (WatchEdit.hwnd() && WatchEdit.Text() != watched_) WatchEdit.SetText(watched_);
}

void TOptionsForm::ScanWatchedDirectory() {
  scanned_ = WatchedPictures(watched_);
  // Files already in the list are passed over without a question.
  if (ManagerForm && !scanned_.empty()) ManagerForm->Wallpaperlist().AddWallpapers(scanned_, false);
}

// --- The thumbnail cache -------------------------------------------------------------------

namespace {

// The program's "Cache\" folder, whether or not caching is on.
std::string CacheDirectory() { return ProgramDir() + kCacheDirectoryName + "\\"; }

void PumpMessages() { ui::ProcessMessages(); }

}  // namespace

void TOptionsForm::ShowCacheStatistics(const std::string& count, const std::string& size) {
  cacheCountText_ = count;
  cacheSizeText_ = size;
  if (!cacheCount_.hwnd()) return;  // shown when the page is made
  cacheCount_.SetText(count);
  cacheSize_.SetText(size);
}

void TOptionsForm::RegenerateCacheClick() {
  if (!ManagerForm) return;
  KillTimer(hwnd(), kCacheTimerId);
  try {
    // The figures follow the cache at once, not at the timer's next run.
    RegenerateCacheCommand(ManagerForm->Wallpaperlist(), ManagerForm->ImageResizer1(),
                           CacheDirectory(), model_.Value(Option::CacheRegeneration), shellDelete_,
                           PumpMessages, [this](const CacheStatistics& stats) {
                             ShowCacheStatistics(stats.countText, stats.sizeText);
                           });
  } catch (...) {
    SetTimer(hwnd(), kCacheTimerId, kCacheTimerAgain, nullptr);
    throw;
  }
  SetTimer(hwnd(), kCacheTimerId, kCacheTimerAgain, nullptr);
}

void TOptionsForm::ClearImageCacheClick() {
  const CacheStatistics stats = ClearCache(CacheDirectory(), shellDelete_);
  ShowCacheStatistics(stats.countText, stats.sizeText);
}

void TOptionsForm::CacheTimerTimer() {
  if (cacheTimerFirst_) {
    cacheTimerFirst_ = false;
    SetTimer(hwnd(), kCacheTimerId, kCacheTimerAgain, nullptr);
  }
  const CacheStatistics stats = UpdateCacheStatistics(CacheDirectory(), PumpMessages);
  ShowCacheStatistics(stats.countText, stats.sizeText);
}

}  // namespace kv
