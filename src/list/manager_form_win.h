#pragma once
// TManagerForm, the manager window: a shaped glass window that shows the
// wallpaper list (an owner-data list view over the list model, so a list of any
// length costs only the rows on screen), a preview of the selected entry and the
// manager's skin controls. It owns the list and its file: it loads the current
// list file when created and saves it when destroyed.

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "list/thumbnail_cache.h"
#include "list/wallpaper_list.h"
#include "program/forms.h"
#include "skin/organic_control_win.h"
#include "skin/organic_glass_form_win.h"
#include "widgets/controls_win.h"

namespace kv {

class Prompts;
class ShellDelete;
class SettingsStore;

inline constexpr char kManagerFormName[] = "ManagerForm";

class TManagerForm : public skin::TOrganicShapeGlassForm, public program::IManagerForm {
 public:
  TManagerForm(Prompts& prompts, ShellDelete& shellDelete, SettingsStore& store);
  // Saves the rows to the current list file, then the window goes.
  ~TManagerForm() override;

  // The creation steps: the list view, the current list file (a ".lst" among
  // `arguments`, else "Current Wallpaper List", else the program directory's
  // "wallpaper.lst"), the list, the current wall number, the list files found.
  void Create(const std::vector<std::string>& arguments);

  // --- IManagerForm
  skin::TOrganicShapeGlassForm& Form() override { return *this; }
  TKvlistview& Wallpaperlist() override { return Wallpaperlist_; }
  TImageResizer& ImageResizer1() override { return ImageResizer1_; }
  void ClearSkin() override;
  [[nodiscard]] bool LoadManagerSkin(const std::string& fileName) override;
  void BuildDefaultManagerSkin() override;
  void SetButtonHints(bool on) override;
  void SetSuppressPreview(bool on) override { suppressPreview_ = on; }
  void HidePreviewImage() override;
  void RevealEntry(int index) override;
  void AddDirectory1Click() override;
  void AddDirectoryTree1Click() override;

  // Commands of the built-in skin buttons.
  void AddWallpaper1Click();
  void RemoveSelectedWallpaper1Click();
  void ClearAllWallpapers1Click();
  void WallpaperlistSelectItem();

  [[nodiscard]] const std::string& CurrentListFile() const { return program::CurrentListFile; }
  // The list files found in the program directory: caption and full name.
  [[nodiscard]] const std::vector<std::pair<std::string, std::string>>& ListFiles() const {
    return listFiles_;
  }
  [[nodiscard]] ui::ListView& ListControl() { return listView_; }
  [[nodiscard]] skin::TOrganicShapeImage& PreviewImage() { return previewImage_; }
  [[nodiscard]] const std::vector<std::unique_ptr<skin::TOrganicShapeButton>>& Buttons() const {
    return buttons_;
  }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void AddFolder(const std::string& folder, bool recursive);
  void SyncViewRows();
  void BindButton(skin::TOrganicShapeButton& button, const std::string& command);
  skin::TOrganicShapeButton& AddButton(const std::string& name, int x, int y);
  void SetListColours(std::uint32_t background, std::uint32_t text);

  Prompts& prompts_;
  SettingsStore& store_;
  TKvlistview Wallpaperlist_;
  TImageResizer ImageResizer1_;
  ui::ListView listView_;
  skin::TOrganicShapeImage previewImage_;
  std::vector<std::unique_ptr<skin::TOrganicShapeButton>> buttons_;
  std::vector<std::unique_ptr<skin::TOrganicShapeLabel>> labels_;
  std::vector<std::pair<std::string, std::string>> listFiles_;
  GdiFont listFont_;
  bool suppressPreview_ = false;
  bool syncing_ = false;
};

}  // namespace kv
