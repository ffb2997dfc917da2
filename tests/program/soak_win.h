#pragma once
// A long run of the program's windows in one process: wallpaper switches over
// pictures in several formats and styles, the skin changed and the manager and
// the options window shown and hidden at intervals, and the process's GDI and USER objects,
// handles and private memory sampled as it goes. The soak test runs it short;
// tests/program/timing/soak_win.cpp runs it as long as asked.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/browser_form_win.h"
#include "base/program_dir_win.h"
#include "codecs/encoders.h"
#include "config/options/options_form_win.h"
#include "config/settings_store_win.h"
#include "list/manager_form_win.h"
#include "list/shell_files.h"
#include "program_windows_win.h"
#include "widgets/process_counts_win.h"
#include "widgets/prompts.h"

namespace kv::test {

struct SoakSample {
  int switches = 0;
  int gdi = 0, user = 0;
  int handles = 0;
  std::size_t privateKb = 0;
};

inline SoakSample TakeSample(int switches) {
  SoakSample s;
  s.switches = switches;
  s.gdi = GdiObjectCount();
  s.user = UserObjectCount();
  s.handles = KernelHandleCount();
  s.privateKb = PrivateMemoryBytes() / 1024;
  return s;
}

class ProgramSoak {
 public:
  ProgramSoak() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tollvard\\Kestrova");
    const std::string dir = ProgramDir() + "soak\\";
    MakeDirectory(dir);
    CreateProgramWindows(prompts, store_, browser_, manager_);
    options_ = std::make_unique<TOptionsForm>(prompts, store_, SystemShellDelete());
    options_->Create();
    // Every path of the applier (copy, centre, tile, scale, filters) over BMP
    // and JPEG pictures of several sizes.
    const char* const styles[] = {"Stretch", "Center", "Tile", "Scaled", "Box", "Lanczos3"};
    for (int i = 0; i < 6; ++i) {
      Bitmap picture(96 + 16 * i, 72 + 8 * i);
      for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
          picture.SetPixel(x, y,
                           MakeColour(static_cast<std::uint8_t>(x * 2), 40 * i,
                                      static_cast<std::uint8_t>(y * 3)));
      const std::string name = "picture" + std::to_string(i) + (i % 2 ? ".jpg" : ".bmp");
      if (i % 2)
        SaveJpeg(picture, 90, dir + name);
      else
        SaveBmp(picture, dir + name);
      manager_->Wallpaperlist().Append({styles[i], name, dir});
    }
    browser_->Default1Click();
  }
  ~ProgramSoak() {
    options_.reset();
    manager_.reset();
    browser_.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tollvard\\Kestrova");
  }

  // Runs `switches` more switches; every `changeEvery` the skin moves on
  // (built-in, then the sample skins in turn) and the manager and the options
  // window are shown and hidden; every `sampleEvery` a sample goes to `sample`.
  void Run(int switches, int changeEvery, int sampleEvery,
           const std::function<void(const SoakSample&)>& sample = {}) {
    for (int i = 0; i < switches; ++i) {
      switch (done_ % 3) {
        case 2:
          browser_->SysPreviousClick();
          break;
        case 1:
          browser_->SysRandomClick();
          break;
        default:
          browser_->SysNextClick();
      }
      ++done_;
      PumpMessages();
      if (changeEvery > 0 && done_ % changeEvery == 0) ChangeSkinAndWindows();
      if (sample && sampleEvery > 0 && done_ % sampleEvery == 0) sample(TakeSample(done_));
    }
  }

  ScriptedPrompts prompts;

 private:
  void ChangeSkinAndWindows() {
    static const char* const kSkins[] = {"", "Skins\\Steel\\Steel.ini",
                                         "Skins\\Lagoon\\Lagoon.ini"};
    const char* skin = kSkins[(++changes_) % 3];
    if (*skin)
      browser_->LoadSkinFile(ProgramDir() + skin);
    else
      browser_->Default1Click();
    for (int twice = 0; twice < 2; ++twice) {
      browser_->SysManagerClick();
      browser_->SysConfigClick();
      PumpMessages();
    }
  }

  RegistrySettingsStore store_;
  std::unique_ptr<app::TMainForm> browser_;
  std::unique_ptr<TManagerForm> manager_;
  std::unique_ptr<TOptionsForm> options_;
  int done_ = 0;
  int changes_ = 0;
};

}  // namespace kv::test
