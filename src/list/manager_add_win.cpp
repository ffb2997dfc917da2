// The manager's adds as the window sees them: the commands and the drop hand
// their names to the add machinery (list/add_walk.h), which reaches the file
// system, the list and the tray icon through the site below.
#include <windows.h>

#include <memory>

#include "codecs/file_io.h"
#include "list/manager_form_win.h"
#include "list/preview_picture.h"
#include "skin/speed_bitmap_win.h"
#include "widgets/prompts.h"

namespace kv {
namespace {

using program::MainForm;

constexpr char kAddDirectoryTitle[] = "Select Directory to add to Wallpaper list";
constexpr char kAddTreeTitle[] =
    "Select Directory to add to Wallpaper list (traverse through sub directories)";
constexpr char kOpenPreviewFilter[] =
    "All Supported images (*.bmp;*.gif;*.jpeg;*.jpg;*.rle;*.dib;*.psd;*.pdd;*.tif;*.tiff;*.tga;"
    "*.vst;*.icb;*.vda;*.win;*.pcx;*.pcc;*.psp;*.png;*.webp;*.heic;*.heif;*.avif)|*.bmp;*.gif;"
    "*.jpeg;*.jpg;*.rle;*.dib;*.psd;*.pdd;*.tif;*.tiff;*.tga;*.vst;*.icb;*.vda;*.win;*.pcx;*.pcc;"
    "*.psp;*.png;*.webp;*.heic;*.heif;*.avif";
// The tray icon's tip when no add runs.
constexpr char kIdleTip[] = "Kestrova";

// What an add reaches outside the walk: the file system, the manager's list,
// the browser's tray icon and the message loop.
class ListAddSite final : public AddSite {
 public:
  explicit ListAddSite(TKvlistview& list) : list_(list) {}
  std::vector<DirectoryEntry> List(const std::string& directory) override {
    return ListDirectory(directory);
  }
  bool IsDirectory(const std::string& name) override { return DirectoryExists(name); }
  bool Add(const std::string& fullName) override { return list_.AddWallpaper(fullName, true); }
  void ProcessMessages() override { ui::ProcessMessages(); }
  bool Ending() override { return ui::Terminated(); }
  void Adding(bool on) override {
    if (on) list_.BeginUpdate();
    // The icon animates while thumbnails are made; the tip counts in any case.
    if (MainForm) {
      MainForm->SetTrayAnimate(on && program::Options.cacheEnabled);
      if (!on) MainForm->SetTrayTip(kIdleTip);
    }
    if (!on) list_.EndUpdate();
  }
  void Progress(const std::string& tip) override {
    if (MainForm) MainForm->SetTrayTip(tip);
  }

 private:
  TKvlistview& list_;
};

// OpenPreviewDialog's preview: the selected picture fitted into the box,
// decoded once per selection.
std::function<void(const std::string&, void*, int, int)> PicturePreview() {
  struct Shown {
    std::string name;
    Bitmap picture;
  };
  auto shown = std::make_shared<Shown>();
  return [shown](const std::string& name, void* dc, int width, int height) {
    if (name.empty() || width <= 0 || height <= 0) return;
    if (name != shown->name) {
      shown->name = name;
      shown->picture = LoadFittedPicture(name, width, height);
    }
    const Bitmap& p = shown->picture;
    if (!p.Empty())
      skin::DrawBitmap(static_cast<HDC>(dc), (width - p.Width()) / 2, (height - p.Height()) / 2, p);
  };
}

}  // namespace

std::unique_ptr<AddSite> TManagerForm::MakeAddSite(TKvlistview& list) {
  return std::make_unique<ListAddSite>(list);
}

void TManagerForm::AddWallpaper1Click() {
  FileDialogArgs args;
  args.filter = kOpenPreviewFilter;
  args.multiSelect = true;
  args.preview = PicturePreview();
  adds_.AddFiles(prompts_.OpenFiles(args));
}

void TManagerForm::AddDirectory1Click() {
  if (const auto folder = prompts_.BrowseFolder(kAddDirectoryTitle)) AddFolder(*folder, false);
}

void TManagerForm::AddDirectoryTree1Click() {
  if (const auto folder = prompts_.BrowseFolder(kAddTreeTitle)) AddFolder(*folder, true);
}

void TManagerForm::AddFolder(const std::string& folder, bool recursive) {
  adds_.AddFolder(folder, recursive);
}

void TManagerForm::AddDropped(const std::vector<std::string>& names, bool tree) {
  adds_.AddDropped(names, tree);
}

void TManagerForm::AddDroppedNow(const std::vector<std::string>& names) {
  // Shift is read as the drop arrives: held, every directory's whole tree.
  AddDropped(names, (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0);
}

}  // namespace kv
