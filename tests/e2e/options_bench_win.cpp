// Times the options window's settings load as start-up runs it: the browser and
// the manager created first, then the options window, whose creation builds
// its page frames and runs LoadSettings. Prints, for an empty settings key (a
// first run) and for the key that run left behind, the creation and the load
// alone (LoadSettings run once more on the created window), then the first
// show of each page and tab (its controls are made then). Used by
// scripts/bench-options.py; prints milliseconds, asserts nothing.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <memory>

#include "app/browser_form_win.h"
#include "config/options/options_form_win.h"
#include "config/settings_store_win.h"
#include "list/manager_form_win.h"
#include "list/shell_files.h"
#include "widgets/prompts.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

void Measure(const char* label, int rounds) {
  kv::ScriptedPrompts prompts;
  kv::RegistrySettingsStore store;
  double create = 0, load = 0;
  for (int i = 0; i < rounds; ++i) {
    auto browser = std::make_unique<kv::app::TMainForm>(prompts, kv::SystemShellDelete(), store);
    browser->Create();
    auto manager = std::make_unique<kv::TManagerForm>(prompts, kv::SystemShellDelete(), store);
    manager->Create({});
    auto options = std::make_unique<kv::TOptionsForm>(prompts, store, kv::SystemShellDelete());
    LARGE_INTEGER t0, t1, t2;
    QueryPerformanceCounter(&t0);
    options->Create();
    QueryPerformanceCounter(&t1);
    options->LoadSettings();
    QueryPerformanceCounter(&t2);
    create += Milliseconds(t0, t1);
    load += Milliseconds(t1, t2);
  }
  std::printf("%s: options window created in %.1f ms, LoadSettings alone %.1f ms (mean of %d)\n",
              label, create / rounds, load / rounds, rounds);
}

// The first show of every page and tab, each on a window just made.
void MeasurePages() {
  static const struct {
    int page, tab;
    const char* name;
  } kPanels[] = {{0, 0, "About"},          {1, 0, "General Options"},
                 {1, 1, "Transparency"},   {1, 2, "Shortcutting"},
                 {2, 0, "Desktop"},        {2, 1, "File Types"},
                 {3, 0, "Wallpaper List"}, {3, 1, "Wallpaper Switching"},
                 {3, 2, "Thumbnails"},     {3, 3, "Monitors"},
                 {4, 0, "Skins"}};
  kv::ScriptedPrompts prompts;
  kv::RegistrySettingsStore store;
  auto browser = std::make_unique<kv::app::TMainForm>(prompts, kv::SystemShellDelete(), store);
  browser->Create();
  auto manager = std::make_unique<kv::TManagerForm>(prompts, kv::SystemShellDelete(), store);
  manager->Create({});
  for (const auto& panel : kPanels) {
    auto options = std::make_unique<kv::TOptionsForm>(prompts, store, kv::SystemShellDelete());
    options->Create();
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    options->SelectPage(panel.page);
    options->SelectTab(panel.page, panel.tab);
    options->SetVisible(true);
    QueryPerformanceCounter(&t1);
    std::printf("first show of %s: %.1f ms\n", panel.name, Milliseconds(t0, t1));
  }
}

}  // namespace

int wmain() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tollvard\\Kestrova");
  Measure("empty key (first run)", 1);
  Measure("key after the first run", 5);
  MeasurePages();
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tollvard\\Kestrova");
  CoUninitialize();
  return 0;
}
