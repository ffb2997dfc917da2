#pragma once
// The browser and the manager created as the program creates them (the browser
// first), for the tests of the program's windows.

#include <memory>
#include <string>

#include "app/browser_form_win.h"
#include "base/program_dir_win.h"
#include "base/text_win.h"
#include "list/manager_form_win.h"
#include "list/shell_files.h"
#include "program/remote_command.h"
#include "program/remote_send_win.h"

namespace kv::test {

// What a test of the program's windows starts from and leaves behind: no
// stored settings, no list file in the program directory (the manager saves
// its list there at exit), the first entry current.
inline void FreshProgramState() {
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tollvard\\Kestrova");
  for (const char* name : {"wallpaper.lst", "wallpaperlist.lst"})
    DeleteFileW(Widen(ProgramDir() + name).c_str());
  program::CurrentWallNumber = 0;
}

// Runs the messages waiting for this thread's windows.
inline void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// A command as kvtool send hands it to the browser; true when it was done.
inline bool SendToBrowser(HWND browser, const program::RemoteCommand& command) {
  DWORD_PTR result = 0;
  return program::SendCopyData(browser, nullptr, program::kRemoteCopyDataId,
                               program::EncodeRemoteCommand(command), 10000, result) &&
         result == static_cast<DWORD_PTR>(program::kRemoteDone);
}

// With `missing` list entries whose files do not exist.
inline void CreateProgramWindows(Prompts& prompts, SettingsStore& store,
                                 std::unique_ptr<app::TMainForm>& browser,
                                 std::unique_ptr<TManagerForm>& manager, int missing = 0) {
  browser = std::make_unique<app::TMainForm>(prompts, SystemShellDelete(), store);
  browser->Create();
  manager = std::make_unique<TManagerForm>(prompts, SystemShellDelete(), store);
  manager->Create({});
  for (int i = 0; i < missing; ++i)
    manager->Wallpaperlist().Append({"Center", "missing" + std::to_string(i) + ".bmp", "C:\\"});
}

}  // namespace kv::test
