// Kestrova's start-up: the windows in their order, the start-up choices that the
// options window makes once it exists, the stored visibility, and the message
// loop until "Exit" or the end of the Windows session.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <objbase.h>

#include <memory>
#include <string>
#include <vector>

#include "app/browser_form_win.h"
#include "app/deferred_forms_win.h"
#include "app/start_options.h"
#include "base/text_win.h"
#include "config/options/options_form_win.h"
#include "config/settings_store_win.h"
#include "list/manager_form_win.h"
#include "list/shell_files.h"
#include "widgets/prompts_win.h"
#include "widgets/window_win.h"

namespace {

int Run() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  // The shell's "open" verb and the folder dialog want a single-threaded apartment.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

  kv::ui::Win32Prompts prompts;
  kv::ui::SetErrorPrompts(&prompts);
  kv::RegistrySettingsStore store;
  std::vector<std::string> arguments;
  for (int i = 1; i < __argc; ++i) arguments.push_back(kv::Narrow(__wargv[i]));

  auto mainForm = std::make_unique<kv::app::TMainForm>(prompts, kv::SystemShellDelete(), store);
  // The shell hears of the tray icon once the browser is shown: adding it can
  // wait on a busy taskbar, and the browser should not wait with it.
  mainForm->TheTrayIcon.Hold();
  mainForm->Create();
  auto managerForm = std::make_unique<kv::TManagerForm>(prompts, kv::SystemShellDelete(), store);
  managerForm->Create(arguments);
  // The options window loads every setting, the skin among them, registers
  // the hotkeys and makes the start-up switch.
  auto optionsForm = std::make_unique<kv::TOptionsForm>(prompts, store, kv::SystemShellDelete());
  optionsForm->Create();
  // After the options window: the search, preview, batch-change and property
  // windows, each made when it is first shown.
  auto searchForm = std::make_unique<kv::app::DeferredSearchForm>(store);
  searchForm->Prepare();
  auto previewForm = std::make_unique<kv::app::DeferredPreviewForm>();
  previewForm->Prepare();
  auto batchForm = std::make_unique<kv::app::DeferredBatchChangeForm>(prompts, store);
  batchForm->Prepare();
  auto propertyEditor = std::make_unique<kv::app::DeferredPropertyEditor>(store);
  propertyEditor->Prepare();

  mainForm->ApplyStayOnTop();
  mainForm->RefreshPreviews();

  // Handled at the first look at the message queue: inside the browser's fade
  // right after it appears, or in the message loop when it stays hidden.
  mainForm->TheTrayIcon.ReleaseQueued();
  if (kv::app::WasVisible(store, "Mainform", true)) mainForm->ShowFaded(true);
  if (kv::app::WasVisible(store, "ManagerForm", false)) managerForm->Form().ShowFaded(true);
  if (kv::app::WasVisible(store, "OptionsForm", false)) optionsForm->SetVisible(true);

  const int code = kv::ui::RunMessageLoop();
  // The options window writes its hotkeys and restores the taskbar; the
  // manager saves its list; the browser restores the desktop.
  propertyEditor.reset();
  batchForm.reset();
  previewForm.reset();
  searchForm.reset();
  optionsForm.reset();
  managerForm.reset();
  mainForm.reset();
  kv::ui::SetErrorPrompts(nullptr);
  CoUninitialize();
  return code;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  try {
    return Run();
  } catch (const std::exception& e) {
    MessageBoxW(nullptr, kv::Widen(e.what()).c_str(), L"Kestrova", MB_OK | MB_ICONERROR);
    return 1;
  }
}
