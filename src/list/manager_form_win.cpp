#include "list/manager_form_win.h"

#include <shellapi.h>

#include <algorithm>
#include <functional>

#include "codecs/file_io.h"
#include "codecs/image_file.h"
#include "config/error.h"
#include "config/settings_schema.h"
#include "config/settings_store.h"
#include "config/text_case.h"
#include "list/shell_files.h"
#include "list/styles.h"
#include "skin/profile_ini_win.h"
#include "skin/resource_bitmap_win.h"
#include "skin/skin_controls_win.h"
#include "skin/skin_file.h"
#include "wallpaper/resample.h"
#include "wallpaper/wallpaper_render.h"
#include "widgets/program_dir_win.h"
#include "widgets/prompts.h"
#include "widgets/text_win.h"

namespace kv {
namespace {

using program::MainForm;

constexpr Colour kMagenta = MakeColour(255, 0, 255);
constexpr char kMissingManagerImage[] = "Skin file must contain ManagerImage in misc section";
constexpr char kAddDirectoryTitle[] = "Select Directory to add to Wallpaper list";
constexpr char kAddTreeTitle[] =
    "Select Directory to add to Wallpaper list (traverse through sub directories)";
constexpr char kOpenPreviewFilter[] =
    "All Supported images (*.bmp;*.gif;*.jpeg;*.jpg;*.rle;*.dib;*.psd;*.pdd;*.tif;*.tiff;*.tga;"
    "*.vst;*.icb;*.vda;*.win;*.pcx;*.pcc;*.psp;*.png)|*.bmp;*.gif;*.jpeg;*.jpg;*.rle;*.dib;*.psd;"
    "*.pdd;*.tif;*.tiff;*.tga;*.vst;*.icb;*.vda;*.win;*.pcx;*.pcc;*.psp;*.png";

Bitmap LoadPicture(const std::string& fileName) {
  Bitmap picture;
  LoadImageFile(picture, fileName);
  return picture;
}

COLORREF ToColorRef(std::uint32_t colour) {
  // System colours are stored as 0x80000000 plus the index.
  if (colour & 0x80000000u) return GetSysColor(static_cast<int>(colour & 0xFF));
  return static_cast<COLORREF>(colour & 0xFFFFFF);
}

std::uint32_t ParseColour(const std::string& text) {
  if (const auto c = skin::SkinColour(text)) return *c;
  throw Error("Invalid colour value '" + text + "' in the skin file");
}

// The name as a menu caption: lower-cased, first letter upper-cased, no
// extension.
std::string ListCaption(const std::string& fileName) { return skin::SkinMenuCaption(fileName); }

}  // namespace

TManagerForm::TManagerForm(Prompts& prompts, ShellDelete& shellDelete, SettingsStore& store)
    : prompts_(prompts), store_(store), Wallpaperlist_(prompts, shellDelete) {}

TManagerForm::~TManagerForm() {
  try {
    if (!program::CurrentListFile.empty()) Wallpaperlist_.SaveList(program::CurrentListFile);
  } catch (const std::exception& e) {
    prompts_.Error(e.what());
  }
  buttons_.clear();
  labels_.clear();
  if (program::ManagerForm == this) program::ManagerForm = nullptr;
}

void TManagerForm::Create(const std::vector<std::string>& arguments) {
  CreateArgs args;
  args.name = kManagerFormName;
  args.title = "Kestrova Manager";
  TOrganicShapeGlassForm::Create(args);
  program::ManagerForm = this;
  // 1. Magenta cut out; the list view, accepting dropped files.
  SetInvisibleColor(kMagenta);
  ui::Control::CreateArgs list;
  list.parent = hwnd_;
  list.left = 5;
  list.top = 16;
  list.width = 267;
  list.height = 137;
  list.exStyle = WS_EX_CLIENTEDGE;
  listView_.Create(list, true);
  for (const char* caption : kWallpaperListColumns) listView_.AddColumn(caption, 80);
  listView_.onGetText = [this](int row, int column) -> std::string {
    if (row < 0 || static_cast<std::size_t>(row) >= Wallpaperlist_.Count()) return {};
    return Wallpaperlist_.Cell(static_cast<std::size_t>(row), column);
  };
  listView_.onSelectionChanged = [this] {
    if (syncing_) return;
    syncing_ = true;
    Wallpaperlist_.BeginUpdate();
    Wallpaperlist_.SelectAll(false);
    for (int row : listView_.SelectedRows())
      if (static_cast<std::size_t>(row) < Wallpaperlist_.Count())
        Wallpaperlist_.Select(static_cast<std::size_t>(row), true);
    Wallpaperlist_.EndUpdate();
    syncing_ = false;
    WallpaperlistSelectItem();
  };
  DragAcceptFiles(listView_.hwnd(), TRUE);
  Wallpaperlist_.onRowsChanged = [this] { SyncViewRows(); };
  Wallpaperlist_.processMessages = [] { ui::ProcessMessages(); };

  skin::TOrganicShapeControl::CreateArgs preview;
  preview.parent = hwnd_;
  preview.name = "PreviewImage";
  preview.left = 6;
  preview.top = 158;
  preview.visible = false;
  previewImage_.Create(preview);
  previewImage_.Stretch = true;
  previewImage_.SetBoundsRect(6, 158, 150, 113);
  previewImage_.SetInvisibleColor(kMagenta);
  previewImage_.onMouseDown = [this](int button, int, int) {
    if (button != 1 || !MainForm) return;
    POINT at;
    GetCursorPos(&at);
    MainForm->PopupPreviewMenu(previewImage_, at.x, at.y);
  };
  previewImage_.onMouseMove = [](int, int) { program::IdleCounter = 0; };
  onMouseMove = [](int, int) { program::IdleCounter = 0; };
  onSnap = [this](int& x, int& y) {
    if (MainForm && MainForm->Form().IsVisible())
      skin::SnapBesideWindow(hwnd_, MainForm->Form().hwnd(), program::SnapDistance, x, y);
  };

  // 2. A list file named on the command line.
  std::string listFile;
  for (const std::string& a : arguments)
    if (LowerExtension(a) == ".lst") {
      listFile = a;
      break;
    }
  // 3. Thumbnails, and whether entries whose file is gone are dropped.
  const std::string programDir = ProgramDir();
  Wallpaperlist_.thumbnailMaker = &ImageResizer1_;
  ImageResizer1_.cacheEnabled = program::Options.cacheEnabled;
  Wallpaperlist_.cacheDirectory =
      program::Options.cacheEnabled ? programDir + kCacheDirectoryName + "\\" : std::string();
  try {
    Wallpaperlist_.removeOrphans =
        store_.RegReadBool(kKvOptionsKey, "Remove Orphans").value_or(false);
  } catch (const Error&) {
  }
  // 4. The stored list, else the default list of the program directory.
  if (listFile.empty()) {
    try {
      listFile = store_.RegReadString(kRootKey, "Current Wallpaper List").value_or("");
    } catch (const Error&) {
    }
  }
  if (listFile.empty() || !FileExists(listFile)) {
    listFile = AsciiLowerCopy(programDir + "Wallpaper.lst");
    store_.RegWriteString(kRootKey, "Current Wallpaper List", listFile);
  }
  program::CurrentListFile = listFile;
  // 5. The rows; a file that cannot be read leaves what the list kept.
  try {
    Wallpaperlist_.LoadList(listFile);
  } catch (const std::exception& e) {
    prompts_.Error(e.what());
  }
  // 6. The current wall number.
  const int n = static_cast<int>(Wallpaperlist_.Count());
  std::optional<int> stored;
  try {
    stored = store_.RegReadInteger(kRootKey, "Current Wall Number");
  } catch (const Error&) {
  }
  program::CurrentWallNumber = stored ? *stored : (n > 3 ? (n - 1) / 2 : (n + 1) / 2);
  // 7. The skins folder, and the list files of the program directory.
  MakeDirectory(programDir + "Skins");
  for (const DirectoryEntry& e : ListDirectory(programDir))
    if (!e.isDirectory && LowerExtension(e.name) == ".lst")
      listFiles_.emplace_back(ListCaption(e.name), programDir + e.name);
  SyncViewRows();
}

void TManagerForm::SyncViewRows() {
  listView_.SetItemCount(static_cast<int>(Wallpaperlist_.Count()));
  listView_.Invalidate();
}

// --- Skin ------------------------------------------------------------------

void TManagerForm::ClearSkin() {
  buttons_.clear();
  labels_.clear();
}

void TManagerForm::SetButtonHints(bool on) {
  for (auto& b : buttons_) b->SetShowHint(on);
}

skin::TOrganicShapeButton& TManagerForm::AddButton(const std::string& name, int x, int y) {
  auto button = std::make_unique<skin::TOrganicShapeButton>();
  skin::TOrganicShapeControl::CreateArgs args;
  args.parent = hwnd_;
  args.name = name;
  args.left = x;
  args.top = y;
  button->Create(args);
  button->SetInvisibleColor(kMagenta);
  button->SetShowHint(true);
  button->onMouseMove = [](int, int) { program::IdleCounter = 0; };
  SetWindowPos(button->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  buttons_.push_back(std::move(button));
  return *buttons_.back();
}

void TManagerForm::BindButton(skin::TOrganicShapeButton& button, const std::string& command) {
  const skin::ManagerCommand c = skin::ParseManagerCommand(command);
  button.SetHint(skin::ManagerCommandHint(c));
  std::function<void()> action;
  switch (c) {
    case skin::ManagerCommand::Close:
      if (!MainForm) {
        prompts_.Information("mainform not assigned");
        return;
      }
      action = [] {
        if (MainForm) MainForm->SysManagerClick();
      };
      break;
    case skin::ManagerCommand::AddWall:
      action = [this] { AddWallpaper1Click(); };
      break;
    case skin::ManagerCommand::AddDir:
      action = [this] { AddDirectory1Click(); };
      break;
    case skin::ManagerCommand::DelWall:
      action = [this] { RemoveSelectedWallpaper1Click(); };
      break;
    case skin::ManagerCommand::ClearList:
      action = [this] { ClearAllWallpapers1Click(); };
      break;
    // The list commands, the menu, the batch change, apply and preview arrive
    // with the manager's menus; until then their buttons show only their hints.
    default:
      break;
  }
  button.onClick = std::move(action);
}

void TManagerForm::SetListColours(std::uint32_t background, std::uint32_t text) {
  const COLORREF bk = ToColorRef(background);
  SendMessageW(listView_.hwnd(), LVM_SETBKCOLOR, 0, static_cast<LPARAM>(bk));
  SendMessageW(listView_.hwnd(), LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(bk));
  SendMessageW(listView_.hwnd(), LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ToColorRef(text)));
  listView_.Invalidate();
}

bool TManagerForm::LoadManagerSkin(const std::string& fileName) {
  // Any error on the way (an unreadable picture, a colour text that is none)
  // fails the loader, and the user is asked for another skin.
  try {
    skin::ProfileIniFile ini(fileName);
    const skin::ManagerSkin desc = skin::ReadManagerSkin(ini, ProgramDir(), SkinDir);
    if (!desc.managerImage) {
      prompts_.Warning(kMissingManagerImage);
      ShowFaded(false);
      return true;
    }
    Skin().Assign(LoadPicture(*desc.managerImage));
    previewImage_.SetBoundsRect(desc.previewX, desc.previewY, desc.previewWidth,
                                desc.previewHeight);
    previewImage_.SetInvisibleColor(kMagenta);
    if (desc.previewMask) previewImage_.SetMask(LoadPicture(*desc.previewMask));
    listView_.SetBounds(desc.listX, desc.listY, desc.listWidth, desc.listHeight);
    SetListColours(ParseColour(desc.foregroundColor), ParseColour(desc.fontColor));
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(desc.fontSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    listFont_.reset(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH, Widen(desc.fontName).c_str()));
    if (listFont_) listView_.SetFont(listFont_.get());
    for (const skin::SkinLabel& l : desc.labels) labels_.push_back(skin::MakeSkinLabel(hwnd_, l));
    for (const skin::SkinButton& b : desc.buttons) {
      buttons_.push_back(skin::MakeSkinButton(hwnd_, b, labels_));
      skin::TOrganicShapeButton& button = *buttons_.back();
      button.onMouseMove = [](int, int) { program::IdleCounter = 0; };
      // Brought to the front, over the list and the preview.
      SetWindowPos(button.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      BindButton(button, b.click);
    }
    return true;
  } catch (const std::exception& e) {
    prompts_.Error(e.what());
    return false;
  }
}

void TManagerForm::BuildDefaultManagerSkin() {
  ClearSkin();
  struct DefaultButton {
    const char* name;
    const char* images[3];
    int x, y;
    const char* command;
  };
  static const DefaultButton kButtons[] = {
      {"MClearButton",
       {"manager_clear", "manager_clear_h", "manager_clear_d"},
       160,
       174,
       "clear_list()"},
      {"MCloseButton", {"manager_close", "manager_close_h", "manager_close_d"}, 261, 0, "close()"},
      {"MremoveButton", {"manager_rem", "manager_rem_h", "manager_rem_d"}, 204, 157, "del_wall()"},
      {"MAddButton", {"manager_add", "manager_add_h", "manager_add_d"}, 160, 157, "add_wall()"},
  };
  // A missing built-in picture ends the building silently; what was made stays.
  try {
    Skin().Assign(skin::LoadBitmapResource("manager_back"));
    previewImage_.SetBoundsRect(6, 158, 150, 113);
    listView_.SetBounds(5, 16, 267, 137);
    SetListColours(0x80000000u | COLOR_WINDOW, 0x80000000u | COLOR_WINDOWTEXT);
    for (const DefaultButton& d : kButtons) {
      skin::TOrganicShapeButton& button = AddButton(d.name, d.x, d.y);
      BindButton(button, d.command);
      button.SetMask(skin::LoadBitmapResource(d.images[0]));
      button.SetOverBmp(skin::LoadBitmapResource(d.images[1]));
      button.SetPressedBmp(skin::LoadBitmapResource(d.images[2]));
    }
  } catch (const std::exception&) {
  }
}

// --- The list --------------------------------------------------------------

void TManagerForm::HidePreviewImage() {
  previewImage_.SetPicture(Bitmap());
  previewImage_.SetVisible(false);
}

void TManagerForm::RevealEntry(int index) {
  syncing_ = true;
  if (index >= 0 && static_cast<std::size_t>(index) < Wallpaperlist_.Count()) {
    listView_.Select(index, true);
    listView_.EnsureVisible(index);
  }
  syncing_ = false;
  SetFocus(listView_.hwnd());
}

void TManagerForm::WallpaperlistSelectItem() {
  const bool suppress = suppressPreview_;
  suppressPreview_ = false;
  if (suppress) return;
  if (Wallpaperlist_.SelectedCount() != 1) {
    HidePreviewImage();
    return;
  }
  const std::size_t index = Wallpaperlist_.SelectedIndices().front();
  const WallpaperEntry& entry = Wallpaperlist_.Entry(index);
  const std::string fullName = entry.FullName();
  previewImage_.DataString = entry.style + "|" + fullName;
  previewImage_.Tag = static_cast<int>(index);
  previewImage_.SetVisible(true);
  const int w = previewImage_.Width(), h = previewImage_.Height();
  const int filter = program::Options.imageDisplayFilter;
  // A picture that cannot be read keeps the previous one.
  try {
    const std::string thumbnail =
        ThumbnailName(ProgramDir() + kCacheDirectoryName + "\\", fullName);
    Bitmap picture;
    if (FileExists(thumbnail)) {
      picture = LoadPicture(thumbnail);
    } else if (FileExists(fullName)) {
      LoadOptions options;
      options.minWidth = w;
      LoadImageFile(picture, fullName, options);
      if (filter == 0 && !picture.Empty()) picture = StretchPlain(picture, w, h);
    } else {
      return;
    }
    if (filter >= 1 && filter <= kResampleFilterCount && !picture.Empty())
      ResampleBitmap(w, h, static_cast<ResampleFilter>(filter - 1), 0.0f, picture);
    previewImage_.SetPicture(picture);
  } catch (const std::exception&) {
  }
}

void TManagerForm::AddWallpaper1Click() {
  FileDialogArgs args;
  args.filter = kOpenPreviewFilter;
  args.multiSelect = true;
  const std::vector<std::string> names = prompts_.OpenFiles(args);
  if (names.empty()) return;
  Wallpaperlist_.BeginUpdate();
  Wallpaperlist_.AddWallpapers(names, true);
  Wallpaperlist_.EndUpdate();
}

void TManagerForm::RemoveSelectedWallpaper1Click() {
  Wallpaperlist_.RemoveSelected();
  HidePreviewImage();
}

void TManagerForm::ClearAllWallpapers1Click() {
  Wallpaperlist_.ClearList();
  HidePreviewImage();
  if (MainForm) MainForm->RefreshPreviews();
}

void TManagerForm::AddDirectory1Click() {
  if (const auto folder = prompts_.BrowseFolder(kAddDirectoryTitle)) AddFolder(*folder, false);
}

void TManagerForm::AddDirectoryTree1Click() {
  if (const auto folder = prompts_.BrowseFolder(kAddTreeTitle)) AddFolder(*folder, true);
}

void TManagerForm::AddFolder(const std::string& folder, bool recursive) {
  if (folder.empty()) return;
  Wallpaperlist_.BeginUpdate();
  std::vector<std::string> pending{folder.back() == '\\' ? folder : folder + "\\"};
  while (!pending.empty() && !ui::Terminated()) {
    const std::string dir = pending.back();
    pending.pop_back();
    for (const DirectoryEntry& e : ListDirectory(dir)) {
      if (e.isDirectory) {
        if (recursive) pending.push_back(dir + e.name + "\\");
        continue;
      }
      std::string extension = LowerExtension(e.name);
      if (extension.size() > 10) extension.resize(10);
      if (IsAcceptedExtension(extension)) Wallpaperlist_.AddWallpaper(dir + e.name, true);
      ui::ProcessMessages();
    }
  }
  Wallpaperlist_.EndUpdate();
}

LRESULT TManagerForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SHOWWINDOW) {
    program::IdleCounter = 0;
    if (MainForm) {
      MainForm->SetManagerChecked(wp != 0);
      if (!wp) MainForm->RefreshPreviews();
    }
  }
  return TOrganicShapeGlassForm::WndProc(msg, wp, lp);
}

}  // namespace kv
