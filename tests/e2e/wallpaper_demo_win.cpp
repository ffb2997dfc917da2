// A small demonstration (not shipped): applies a picture as the wallpaper the
// way the program does, through TKVWallpaper, then waits with a hidden window
// of class "KvWallpaperDemo" until it is closed. On closing it puts the
// desktop's registry values and the system's wallpaper back as they were.
//
//   wallpaper_demo.exe PICTURE STYLE [SCALED-FILTER]
//
// PICTURE is a file name in the program's folder (or a full path), STYLE a
// style name as list entries give it ("lanczos3", "scaled", ...).
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "../support/desktop_values_win.h"
#include "base/program_dir_win.h"
#include "base/text_win.h"
#include "wallpaper/kv_wallpaper_win.h"

namespace {

LRESULT CALLBACK DemoProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) {
    DestroyWindow(hwnd);
    return 0;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  if (__argc < 3) return 2;
  std::vector<std::optional<std::wstring>> saved;
  for (const wchar_t* name : kv::test::kDesktopValueNames)
    saved.push_back(kv::test::ReadDesktopValue(name));
  wchar_t systemWallpaper[MAX_PATH + 1] = {};
  SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, systemWallpaper, 0);

  std::string picture = kv::Narrow(__wargv[1]);
  if (picture.find(':') == std::string::npos) picture = kv::ProgramDir() + picture;
  int code = 0;
  {
    kv::TKVWallpaper applier;
    applier.WpName = picture;
    applier.SetStyleByName(kv::Narrow(__wargv[2]));
    if (__argc > 3) applier.ScaledFilter = _wtoi(__wargv[3]);
    try {
      applier.ApplyWallpaper(true, true);
    } catch (...) {
      code = 1;
    }
  }

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DemoProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"KvWallpaperDemo";
  RegisterClassExW(&wc);
  // Hidden: the desktop stays uncovered for the screenshot.
  CreateWindowExW(0, L"KvWallpaperDemo", L"Kestrova wallpaper demo", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                  100, nullptr, nullptr, instance, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);

  for (std::size_t i = 0; i < saved.size(); ++i)
    kv::test::WriteDesktopValue(kv::test::kDesktopValueNames[i], saved[i]);
  SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, systemWallpaper, SPIF_SENDWININICHANGE);
  return code;
}
