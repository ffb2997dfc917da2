#pragma once
// TManagerForm, the manager window: a shaped glass window that shows the
// wallpaper list (an owner-data list view over the list model, so a list of any
// length costs only the rows on screen), a preview of the selected entry and the
// manager's skin controls. It owns the list and its file: it loads the current
// list file when created and saves it when destroyed.

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "list/add_walk.h"
#include "list/thumbnail_cache.h"
#include "list/wallpaper_list.h"
#include "program/forms.h"
#include "skin/organic_control_win.h"
#include "skin/organic_glass_form_win.h"
#include "widgets/controls_win.h"
#include "widgets/menu_win.h"

namespace kv {

class Prompts;
class ShellDelete;
class SettingsStore;

inline constexpr char kManagerFormName[] = "ManagerForm";
// Cut out of the window, the preview image and the skin buttons.
inline constexpr Colour kManagerInvisibleColour = MakeColour(255, 0, 255);

inline constexpr char kStyleNothingSelectedText[] = "Cannot apply Style, no wallpaper(s) selected.";
inline constexpr char kApplyOneText[] =
    "A wallpaper may only be set if only 1 wallpaper is selected.";
inline constexpr char kPreviewOneText[] =
    "A preview can Only be generated if only 1 item is selected.";
inline constexpr char kBatchEmptyListText[] =
    "There must be items in the wallpaper list to be able to change their Style.";

// The manager's list view: the owner-data view that also takes the drop
// message, the context menu request and the keys before the control sees them.
class TManagerListView : public ui::ListView {
 public:
  std::function<void(HDROP drop)> onDropFiles;
  std::function<void(int x, int y)> onContextMenu;  // screen position
  std::function<bool(WPARAM key)> onKey;            // true: handled

 protected:
  bool OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

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
  void PopupApplyImageClick() override;

  // ManagerPopupMenu.
  void AddWallpaper1Click();
  void RemoveSelectedWallpaper1Click();
  void ClearAllWallpapers1Click();
  void LoadWallPaperList1Click();
  void SaveWallpaperList1Click();
  void DefaultWallpaper1Click();
  void CloseManager1Click();
  // WallpaperListPopupMenu.
  void WallpaperListPopupMenuPopup();
  void PopupStyleClick(const std::string& style);
  void SetwallpaperStyloedefaults1Click();
  void PropertyEditor1Click();
  void BatchStyleChange1Click();
  void PreviewImage1Click();
  void WallpaperListActions1Click();
  // The list.
  void WallpaperlistKeyDown(WPARAM key, bool shift);
  void WallpaperlistDblClick() { PopupApplyImageClick(); }
  void WallpaperlistSelectItem();
  // Switching to a list file (the "Wallpaper Lists" items, "Load WallPaper List").
  void SwitchToList(const std::string& fileName);
  // Adding, as a drop does it: files with an accepted extension are added,
  // directories searched (recursively when `tree`).
  void AddDropped(const std::vector<std::string>& names, bool tree);
  // A directory, with or without its subdirectories.
  void AddFolder(const std::string& folder, bool recursive);
  // Cancels a running add between two files (Escape in the manager).
  void CancelAdd() { adds_.Cancel(); }
  [[nodiscard]] bool Adding() const noexcept { return adds_.Running(); }
  // The pictures the running adds have added so far.
  [[nodiscard]] int AddedCount() const noexcept { return adds_.Added(); }

  ui::PopupMenu ManagerPopupMenu;
  ui::PopupMenu WallpaperListPopupMenu;
  [[nodiscard]] ui::MenuItem& Item(const char* name);

  [[nodiscard]] const std::string& CurrentListFile() const { return program::CurrentListFile; }
  // The list files found in the program directory: caption and full name.
  [[nodiscard]] const std::vector<std::pair<std::string, std::string>>& ListFiles() const {
    return listFiles_;
  }
  [[nodiscard]] TManagerListView& ListControl() { return listView_; }
  [[nodiscard]] skin::TOrganicShapeImage& PreviewImage() { return previewImage_; }
  [[nodiscard]] const std::vector<std::unique_ptr<skin::TOrganicShapeButton>>& Buttons() const {
    return buttons_;
  }

 private:
  // The add machinery's site over this window's list.
  static std::unique_ptr<AddSite> MakeAddSite(TKvlistview& list);
  void BuildMenus();
  void AddListFileItem(const std::string& caption, const std::string& fullName);
  // Saves the rows to the current list file before another list is loaded and
  // at exit; a failure is shown and does not stop the change. A list file that
  // could not be read at the start is never written over.
  void SaveBeforeLeaving();
  // LoadList, noting that a file that failed to load before has now loaded.
  void LoadListFile(const std::string& fileName);
  void AddDroppedNow(const std::vector<std::string>& names);
  void SyncViewRows();
  void FitColumns();
  void SyncViewSelection();
  void BindButton(skin::TOrganicShapeButton& button, const std::string& command);
  // A button of the built-in skin, kept among the skin's buttons.
  skin::TOrganicShapeButton& AddButton(std::unique_ptr<skin::TOrganicShapeButton> button);
  void SetListColours(std::uint32_t background, std::uint32_t text);

  Prompts& prompts_;
  SettingsStore& store_;
  TKvlistview Wallpaperlist_;
  // The list file that could not be read at the start, while it is current.
  std::string unreadListFile_;
  TImageResizer ImageResizer1_;
  TManagerListView listView_;
  skin::TOrganicShapeImage previewImage_;
  std::vector<std::unique_ptr<skin::TOrganicShapeButton>> buttons_;
  std::vector<std::unique_ptr<skin::TOrganicShapeLabel>> labels_;
  std::vector<std::pair<std::string, std::string>> listFiles_;
  GdiFont listFont_;
  bool suppressPreview_ = false;
  // The selection when the preview last looked at it, in row order.
  std::vector<std::size_t> previewSelection_;
  bool syncing_ = false;
  // The add machinery, reaching the file system, the list and the tray
  // through the site.
  std::unique_ptr<AddSite> addSite_;
  AddWalk adds_;
};

}  // namespace kv
