// Times one wallpaper switch inside the program, as the tray's "Next
// Wallpaper" makes it, and its parts: decoding the picture, rendering it in its
// style for the screen, writing "Wallpaper.bmp" and the desktop call; then one
// refill of the browser's strip from cached thumbnails. Not a test: prints
// medians in milliseconds.
//
//   switch_timing STYLE ROUNDS PICTURE...
// The pictures make the list (added as the manager adds files, so with their
// thumbnails); the first is the one timed in parts.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../program_windows_win.h"
#include "app/browser_form_win.h"
#include "base/program_dir_win.h"
#include "base/text_win.h"
#include "codecs/encoders.h"
#include "codecs/file_io.h"
#include "codecs/image_file.h"
#include "config/settings_store_win.h"
#include "list/manager_form_win.h"
#include "list/shell_files.h"
#include "wallpaper/wallpaper_render.h"
#include "widgets/prompts.h"

namespace {

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

double Median(int rounds, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    const double t0 = Now();
    work();
    times.push_back(Now() - t0);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

std::string FullPath(const wchar_t* name) {
  wchar_t full[MAX_PATH];
  const DWORD n = GetFullPathNameW(name, MAX_PATH, full, nullptr);
  return n > 0 && n < MAX_PATH ? kv::Narrow(full) : kv::Narrow(name);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: switch_timing STYLE ROUNDS PICTURE...\n");
    return 2;
  }
  const std::string style = kv::Narrow(argv[1]);
  const int rounds = std::max(1, _wtoi(argv[2]));
  const std::string picture = FullPath(argv[3]);
  const auto wpStyle = kv::WpStyleFromName(style);
  if (!wpStyle) return 2;
  const kv::PixelSize screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const std::string target = kv::ProgramDir() + "Wallpaper.bmp";

  kv::Bitmap image, rendered;
  const double decode = Median(rounds, [&] { kv::LoadImageFile(image, picture); });
  const double render =
      Median(rounds, [&] { rendered = kv::RenderWallpaper(image, *wpStyle, 0, screen); });
  const double write = Median(rounds, [&] {
    const std::vector<std::uint8_t> bytes = kv::EncodeBmp(rendered);
    kv::WriteFileAtomic(target, bytes.data(), bytes.size());
  });
  std::wstring wide = kv::Widen(target);
  const double desktop = Median(rounds, [&] {
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, wide.data(),
                          SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
  });

  // The program's own switch, with the thumbnail cache on.
  // A fresh start: no settings and no list of an earlier run.
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tollvard\\Kestrova");
  DeleteFileW(kv::Widen(kv::ProgramDir() + "wallpaper.lst").c_str());
  kv::program::Options.cacheEnabled = true;
  kv::ScriptedPrompts prompts;
  kv::RegistrySettingsStore store;
  std::unique_ptr<kv::app::TMainForm> browser;
  std::unique_ptr<kv::TManagerForm> manager;
  kv::test::CreateProgramWindows(prompts, store, browser, manager);
  kv::TKvlistview& list = manager->Wallpaperlist();
  for (int i = 3; i < argc; ++i) list.AddWallpaper(FullPath(argv[i]), false);
  for (std::size_t i = 0; i < list.Count(); ++i) list.SetStyle(i, style);
  browser->Default1Click();
  kv::test::PumpMessages();
  const double next = Median(rounds, [&] {
    browser->SysNextClick();
    kv::test::PumpMessages();
  });
  const double refill = Median(rounds, [&] { browser->RefreshPreviews(); });
  manager.reset();
  browser.reset();
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tollvard\\Kestrova");

  std::printf("%s (%dx%d) in %s on %dx%d, medians of %d rounds:\n", picture.c_str(), image.Width(),
              image.Height(), style.c_str(), screen.width, screen.height, rounds);
  std::printf("  decode %.1f ms, render %.1f ms, write %.1f ms, desktop call %.1f ms (sum %.1f)\n",
              decode, render, write, desktop, decode + render + write + desktop);
  std::printf("  \"Next Wallpaper\" in the program: %.1f ms\n", next);
  std::printf("  strip refill from cached thumbnails: %.1f ms\n", refill);
  return 0;
}
