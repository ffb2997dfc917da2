// Commands from other processes (kvtool send): each runs the handler its tray
// menu item runs, so a scheduled task or a launcher changes exactly what a
// click would.
#include <windows.h>

#include "app/browser_form_win.h"
#include "codecs/file_io.h"
#include "list/list_text.h"
#include "list/styles.h"
#include "list/wallpaper_list.h"
#include "program/remote_send_win.h"
#include "widgets/process_counts_win.h"

namespace kv::app {
namespace {

// The answer to "stats", sent back to the asking window while its
// WM_COPYDATA is still being handled.
bool AnswerResourceCounts(HWND sender) {
  if (!IsWindow(sender)) return false;
  program::ResourceCounts counts;
  counts.gdiObjects = GdiObjectCount();
  counts.userObjects = UserObjectCount();
  counts.handles = KernelHandleCount();
  counts.privateKb = static_cast<long long>(PrivateMemoryBytes() / 1024);
  DWORD_PTR result = 0;
  return program::SendCopyData(sender, nullptr, program::kRemoteAnswerId,
                               program::FormatResourceCounts(counts), 10000, result);
}

}  // namespace

bool TMainForm::RunRemoteCommand(const program::RemoteCommand& command, HWND sender) {
  using program::RemoteVerb;
  switch (command.verb) {
    case RemoteVerb::Next:
      if (command.monitor == 0) {
        SysNextClick();
        return true;
      }
      // A monitor that is not there, or the option off: refused.
      if (!EachMonitorOwn() ||
          static_cast<std::size_t>(command.monitor) > KVWallpaper1_.Monitors().size())
        return false;
      NextOnMonitor(static_cast<std::size_t>(command.monitor - 1));
      return true;
    case RemoteVerb::Previous:
      SysPreviousClick();
      return true;
    case RemoteVerb::Random:
      SysRandomClick();
      return true;
    case RemoteVerb::Pause:
      PauseIntervalSwitching1Click();
      return true;
    case RemoteVerb::Show:
      if (!IsVisible()) SysBrowserClick();
      SetForegroundWindow(hwnd_);
      return true;
    case RemoteVerb::Skin:
      return LoadSkinNamed(command.file);
    case RemoteVerb::Manager:
      SysManagerClick();
      return true;
    case RemoteVerb::Options:
      SysConfigClick();
      return true;
    case RemoteVerb::Stats:
      return AnswerResourceCounts(sender);
    case RemoteVerb::Back:
      return SysBackClick();
    case RemoteVerb::Apply:
      break;
  }
  if (!FileExists(command.file)) return false;
  if (!command.style.empty() && !FindStyle(command.style)) return false;
  // A picture of the list becomes the current entry, through the strip as a
  // switch makes it; with a style of its own, or outside the list, it is
  // applied as it is and the index stays.
  if (command.style.empty()) {
    if (const auto index = ListIndexOf(command.file)) {
      Move(*index);
      return true;
    }
  }
  std::string style = command.style;
  if (style.empty())
    style =
        program::ManagerForm
            ? program::ManagerForm->Wallpaperlist().DefaultStyleFor(LowerExtension(command.file))
            : StyleName(0);
  ApplyFile(command.file, style);
  return true;
}

}  // namespace kv::app
