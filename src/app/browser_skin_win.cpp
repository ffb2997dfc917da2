// The browser's skins: finding skin files, loading a skin file into both
// windows, the browser's part of a skin, the built-in skin, and the button
// labels that pop up.
#include <algorithm>
#include <functional>

#include "app/browser_form_win.h"
#include "base/error.h"
#include "base/program_dir_win.h"
#include "base/text_case.h"
#include "codecs/file_io.h"
#include "codecs/image_file.h"
#include "config/settings_schema.h"
#include "config/settings_store.h"
#include "list/shell_files.h"
#include "list/wallpaper_list.h"
#include "skin/profile_ini_win.h"
#include "skin/resource_bitmap_win.h"
#include "skin/skin_controls_win.h"
#include "skin/skin_file.h"
#include "widgets/prompts.h"

namespace kv::app {
namespace {

using program::ManagerForm;

constexpr Colour kMagenta = MakeColour(255, 0, 255);
constexpr char kMissingBrowserImage[] = "Skin file must contain BrowserImage in misc section";
constexpr char kManagerSkinFailed[] =
    "Something went wrong when trying to load skin components to do with the Manager window. "
    "Load Another Skin. (no to exit) ";
constexpr char kBrowserSkinFailed[] =
    "Something went wrong when trying to load skin components to do with the Browser window. "
    "Load Another Skin. (no to exit) ";
constexpr char kSkinLost[] =
    "The current Skin File can no longer be located, please select another.";
constexpr char kSkinFilter[] = "Kestrova Skins(*.ini)|*.ini";

Bitmap LoadPicture(const std::string& fileName) {
  Bitmap picture;
  LoadImageFile(picture, fileName);
  return picture;
}

// Every "*.ini" under `dir`, subdirectories included, in directory order.
void FindIniFiles(const std::string& dir, std::vector<std::string>& out) {
  for (const DirectoryEntry& e : ListDirectory(dir)) {
    const std::string full = dir + e.name;
    if (e.isDirectory)
      FindIniFiles(full + "\\", out);
    else if (AsciiLowerCopy(e.name).size() >= 4 &&
             AsciiLowerCopy(e.name).compare(e.name.size() - 4, 4, ".ini") == 0)
      out.push_back(full);
  }
}

}  // namespace

void TMainForm::SkinFileSearch() {
  std::vector<std::string> files;
  FindIniFiles(ProgramDir(), files);
  ui::MenuItem& skins = *skinsMenu_;
  for (const std::string& file : files)
    skins.Add(skin::SkinMenuCaption(file), [this, file](ui::MenuItem&) { LoadSkinFile(file); });
}

void TMainForm::ClearSkinLists() {
  buttons_.clear();
  buttonCommands_.clear();
  labels_.clear();
  previews_.clear();
}

// Buttons and labels may overlap a preview's corner (the built-in close and
// minimise buttons do); they stay above the previews so they can be seen and
// clicked.
void TMainForm::RaiseButtons() {
  const auto raise = [](HWND hwnd) {
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  };
  for (const auto& label : labels_) raise(label->hwnd());
  for (const auto& button : buttons_) raise(button->hwnd());
}

void TMainForm::LoadCurrentSkin() {
  std::string file = store_.RegReadString(kRootKey, kCurrentSkinFile).value_or("");
  if (file.empty()) file = kDefaultSkinFile;
  program::CurrentSkinFile = file;
  if (file == kDefaultSkinFile) {
    Default1Click();
  } else if (FileExists(file)) {
    SkinDir = skin::DirectoryOf(file);
    LoadSkinFile(file);
  } else {
    prompts_.Information(kSkinLost);
    // Both windows need a skin to be of use: without a choice the built-in
    // one stands in, and the next start no longer asks.
    if (!AskForSkin()) UseBuiltInSkin();
  }
}

void TMainForm::LoadSkin1Click() { (void)AskForSkin(); }

bool TMainForm::AskForSkin() {
  FileDialogArgs args;
  args.filter = kSkinFilter;
  const std::vector<std::string> chosen = prompts_.OpenFiles(args);
  if (chosen.empty()) return false;
  LoadSkinFile(chosen.front());
  return true;
}

bool TMainForm::LoadSkinNamed(const std::string& skin) {
  if (EqualsIgnoringAsciiCase(skin, "default")) {
    Default1Click();
    return true;
  }
  if (FileExists(skin)) {
    LoadSkinFile(skin);
    return true;
  }
  std::vector<std::string> files;
  FindIniFiles(ProgramDir(), files);
  for (const std::string& file : files) {
    if (EqualsIgnoringAsciiCase(skin::SkinMenuCaption(file), skin)) {
      LoadSkinFile(file);
      return true;
    }
  }
  return false;
}

void TMainForm::Default1Click() {
  store_.RegWriteString(kRootKey, kCurrentSkinFile, kDefaultSkinFile);
  program::CurrentSkinFile = kDefaultSkinFile;
  if (!Item(program::MainCommand::DefaultSkin).checked) {
    BuildDefaultBrowserSkin();
    if (ManagerForm) {
      ManagerForm->ClearSkin();
      ManagerForm->BuildDefaultManagerSkin();
      if (ManagerForm->Wallpaperlist().Count() > 0) RefreshPreviews();
    }
  }
  Item(program::MainCommand::DefaultSkin).checked = true;
}

// The windows lost whatever skin they had: the built-in one is built again
// whatever the "Default Skin" mark says.
void TMainForm::UseBuiltInSkin() {
  Item(program::MainCommand::DefaultSkin).checked = false;
  Default1Click();
}

void TMainForm::LoadSkinFile(const std::string& fileName) {
  program::CurrentSkinFile = fileName;
  SkinDir = skin::DirectoryOf(fileName);
  ClearSkinLists();
  // From here the built-in skin is gone, whatever becomes of this file.
  Item(program::MainCommand::DefaultSkin).checked = false;
  if (ManagerForm) {
    ManagerForm->ClearSkin();
    if (!ManagerForm->LoadManagerSkin(fileName)) {
      SkinFileFailed(kManagerSkinFailed);
      return;
    }
  }
  switch (LoadBrowserSkin(fileName)) {
    case BrowserSkinLoad::Failed:
      SkinFileFailed(kBrowserSkinFailed);
      return;
    case BrowserSkinLoad::NoBrowserImage:
      // The program ends; the file is not remembered, so the next start does
      // not end the same way.
      UseBuiltInSkin();
      PostQuitMessage(0);
      return;
    case BrowserSkinLoad::Loaded:
      break;
  }
  store_.RegWriteString(kRootKey, kCurrentSkinFile, fileName);
  RefreshPreviews();
  if (program::OptionsForm) program::OptionsForm->SetScrollMaximum(PreviewCount());
}

// A file that would not load leaves both windows with the built-in skin and
// "CurrentSkinFile" naming it, so the program stays usable whatever the answer
// and a later start does not meet the file again.
void TMainForm::SkinFileFailed(const char* question) {
  UseBuiltInSkin();
  if (prompts_.AskError(question))
    LoadSkin1Click();
  else
    PostQuitMessage(0);
}

skin::TOrganicShapeImage& TMainForm::AddPreview(const std::string& name, int x, int y, int w,
                                                int h) {
  auto preview = std::make_unique<skin::TOrganicShapeImage>();
  preview->Create({hwnd_, name, x, y, false});
  preview->Stretch = true;
  preview->SetInvisibleColor(kMagenta);
  preview->SetBoundsRect(x, y, w, h);
  preview->SetShowHint(true);
  const int index = static_cast<int>(previews_.size());
  preview->onClick = [this, index] { ApplyPreviewWallpaper(index); };
  skin::TOrganicShapeImage* self = preview.get();
  preview->onMouseDown = [this, self](int button, int, int) {
    if (button != 1) return;
    POINT at;
    GetCursorPos(&at);
    PopupPreviewMenu(*self, at.x, at.y);
  };
  preview->onMouseMove = [](int, int) { program::IdleCounter = 0; };
  previews_.push_back(std::move(preview));
  return *self;
}

TMainForm::BrowserSkinLoad TMainForm::LoadBrowserSkin(const std::string& fileName) {
  // Any error on the way (an unreadable picture) fails the loader, so the user
  // is asked for another skin instead of being left with half a window.
  try {
    skin::ProfileIniFile ini(fileName);
    const skin::BrowserSkin desc = skin::ReadBrowserSkin(ini, ProgramDir(), SkinDir);
    if (!desc.browserImage) {
      prompts_.Warning(kMissingBrowserImage);
      return BrowserSkinLoad::NoBrowserImage;  // the browser closes, which ends the program
    }
    Skin().Assign(LoadPicture(*desc.browserImage));
    for (const skin::SkinPreview& p : desc.previews) {
      skin::TOrganicShapeImage& preview = AddPreview(p.name, p.x, p.y, p.width, p.height);
      if (p.mask) preview.SetMask(LoadPicture(*p.mask));
      preview.SetBoundsRect(p.x, p.y, p.width, p.height);
    }
    for (const skin::SkinLabel& l : desc.labels) labels_.push_back(skin::MakeSkinLabel(hwnd_, l));
    for (const skin::SkinButton& b : desc.buttons)
      AddButton(skin::MakeSkinButton(hwnd_, b, labels_), b.click);
    RaiseButtons();
    return BrowserSkinLoad::Loaded;
  } catch (const std::exception& e) {
    prompts_.Error(e.what());
    return BrowserSkinLoad::Failed;
  }
}

void TMainForm::BindBrowserButton(skin::TOrganicShapeButton& button, const std::string& command) {
  const skin::BrowserCommand c = skin::ParseBrowserCommand(command);
  button.SetHint(skin::BrowserCommandHint(c));
  std::function<void()> action;
  switch (c) {
    case skin::BrowserCommand::Close:
      action = [this] { SysExitClick(); };
      break;
    case skin::BrowserCommand::Minimize:
      action = [this] { Minimize1Click(); };
      break;
    case skin::BrowserCommand::ToggleConfig:
      action = [this] { SysConfigClick(); };
      break;
    case skin::BrowserCommand::ToggleBrowser:
      action = [this] { SysBrowserClick(); };
      break;
    case skin::BrowserCommand::ToggleManager:
      action = [this] { SysManagerClick(); };
      break;
    case skin::BrowserCommand::SetRandom:
      action = [this] { SysRandomClick(); };
      break;
    case skin::BrowserCommand::ScrollForward:
      action = [this] { ScrollForward(); };
      break;
    case skin::BrowserCommand::ScrollBackward:
      action = [this] { ScrollBackward(); };
      break;
    case skin::BrowserCommand::MainMenu:
      action = [this] { PopupMainMenu(); };
      break;
    case skin::BrowserCommand::LoadSkin:
      action = [this] { LoadSkin1Click(); };
      break;
    case skin::BrowserCommand::Pause:
      action = [this] { PauseIntervalSwitching1Click(); };
      break;
    // A command the program does not know ends it, so a broken skin is noticed.
    case skin::BrowserCommand::Unknown:
      action = [this] { SysExitClick(); };
      break;
  }
  button.onClick = std::move(action);
}

void TMainForm::SetButtonHints(bool on) {
  for (auto& button : buttons_) button->SetShowHint(on);
}

void TMainForm::BuildDefaultBrowserSkin() {
  ClearSkinLists();
  // Each button runs the skin command whose hint is the one it shows.
  struct DefaultButton {
    const char* name;
    int left, top;
    const char* images[3];
    const char* command;
  };
  static const DefaultButton kButtons[] = {
      {"Close", 88, 13, {"Main_Close", "Main_Close_h", "Main_Close_d"}, "close()"},
      {"Config", 4, 259, {"Main_Conf", "Main_Conf_h", "Main_Conf_d"}, "toggle_config()"},
      {"Manager", 67, 259, {"Main_man", "Main_man_h", "Main_man_d"}, "toggle_manager()"},
      {"minimize", 98, 24, {"Main_min", "Main_min_h", "Main_min_d"}, "minimize()"},
      {"Sdown", 49, 266, {"Main_Sdown", "Main_Sdown_h", "Main_Sdown_d"}, "scroll_fwd()"},
      {"sUp", 49, 257, {"main_sup", "main_sup_h", "main_sup_d"}, "scroll_bwd()"},
  };
  // A missing built-in picture ends the building silently; what was made stays.
  try {
    static const char* const kPreviews[] = {"Previous", "Middle", "Next"};
    for (int i = 0; i < 3; ++i) AddPreview(kPreviews[i], 6, 17 + 81 * i, 100, 75);
    Skin().Assign(skin::LoadBitmapResource("main_back"));
    for (const DefaultButton& d : kButtons) {
      skin::ButtonPictures pictures;
      pictures.normal = skin::LoadBitmapResource(d.images[0]);
      pictures.over = skin::LoadBitmapResource(d.images[1]);
      pictures.down = skin::LoadBitmapResource(d.images[2]);
      skin::TOrganicShapeButton& button = AddButton(
          skin::MakeSkinButton(hwnd_, d.name, d.left, d.top, pictures, {}, labels_), d.command);
      button.onMouseMove = [](int, int) { program::IdleCounter = 0; };
    }
  } catch (const std::exception&) {
  }
  RaiseButtons();
}

skin::TOrganicShapeButton& TMainForm::AddButton(std::unique_ptr<skin::TOrganicShapeButton> button,
                                                const std::string& command) {
  BindBrowserButton(*button, command);
  buttons_.push_back(std::move(button));
  buttonCommands_.push_back(command);
  return *buttons_.back();
}

}  // namespace kv::app
