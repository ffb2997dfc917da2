// Five hundred wallpaper switches in one run, over pictures in several styles:
// the process's GDI and USER objects and its private memory stay flat.
#include <windows.h>
// After windows.h, which it needs.
#include <gtest/gtest.h>
#include <psapi.h>

#include <cstdio>
#include <memory>

#include "app/browser_form_win.h"
#include "codecs/encoders.h"
#include "codecs/file_io.h"
#include "config/settings_store_win.h"
#include "list/manager_form_win.h"
#include "list/shell_files.h"
#include "support/gui_resources_win.h"
#include "widgets/program_dir_win.h"
#include "widgets/prompts.h"

namespace kv {
namespace {

std::size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof counters);
  // Wine leaves PrivateUsage at zero and reports the same in PagefileUsage.
  return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

TEST(ProgramSoak, FiveHundredSwitchesLeaveObjectsAndMemoryFlat) {
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tollvard\\Kestrova");
  const std::string dir = ProgramDir() + "soak\\";
  MakeDirectory(dir);
  // Entries in the cheap styles and one resampled, so that every path of the
  // applier (copy, centre, tile, scale, filter) runs a hundred times.
  const char* const styles[] = {"Stretch", "Center", "Tile", "Scaled", "Box"};
  for (int i = 0; i < 5; ++i) {
    Bitmap picture(96 + 16 * i, 72 + 8 * i);
    for (int y = 0; y < picture.Height(); ++y)
      for (int x = 0; x < picture.Width(); ++x)
        picture.SetPixel(
            x, y,
            MakeColour(static_cast<std::uint8_t>(x * 2), 40 * i, static_cast<std::uint8_t>(y * 3)));
    SaveBmp(picture, dir + "picture" + std::to_string(i) + ".bmp");
  }

  ScriptedPrompts prompts;
  RegistrySettingsStore store;
  auto browser = std::make_unique<app::TMainForm>(prompts, SystemShellDelete(), store);
  browser->Create();
  auto manager = std::make_unique<TManagerForm>(prompts, SystemShellDelete(), store);
  manager->Create({});
  for (int i = 0; i < 5; ++i)
    manager->Wallpaperlist().Append({styles[i], "picture" + std::to_string(i) + ".bmp", dir});
  browser->Default1Click();

  const auto run = [&](int switches) {
    for (int i = 0; i < switches; ++i) {
      if (i % 3 == 2)
        browser->SysPreviousClick();
      else
        browser->SysNextClick();
      Pump();
    }
  };
  run(50);  // caches and pools settle
  const int gdi = test::GdiObjectCount(), user = test::UserObjectCount();
  const std::size_t memory = PrivateBytes();
  run(450);
  const std::size_t after = PrivateBytes();
  std::printf("after 50 switches: %d GDI, %d USER objects, %zu KB private; after 500: %zu KB\n",
              gdi, user, memory / 1024, after / 1024);
  EXPECT_GT(memory, 0u);
  EXPECT_EQ(test::GdiObjectCount(), gdi);
  EXPECT_EQ(test::UserObjectCount(), user);
  // A leak of one wallpaper-sized bitmap per switch would be over a gigabyte.
  EXPECT_LT(after, memory + 2 * 1024 * 1024);
  EXPECT_TRUE(FileExists(ProgramDir() + "Wallpaper.bmp"));
  EXPECT_TRUE(prompts.Texts(ScriptedPrompts::Kind::Error).empty());

  manager.reset();
  browser.reset();
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tollvard\\Kestrova");
}

}  // namespace
}  // namespace kv
