#include "list/manager_form_win.h"

#include <shellapi.h>

#include <algorithm>
#include <functional>

#include "base/error.h"
#include "base/program_dir_win.h"
#include "base/text_case.h"
#include "base/text_win.h"
#include "codecs/file_io.h"
#include "config/settings_schema.h"
#include "config/settings_store.h"
#include "list/manager_rules.h"
#include "list/preview_picture.h"
#include "list/shell_files.h"
#include "list/styles.h"
#include "skin/skin_controls_win.h"
#include "skin/skin_file.h"
#include "skin/speed_bitmap_win.h"
#include "wallpaper/kv_wallpaper_win.h"
#include "widgets/prompts.h"

namespace kv {
namespace {

using program::MainForm;
using program::OptionsForm;

constexpr char kOpenListFilter[] = "KV Wallpaper List (*.lst)|*.lst";
constexpr char kSaveListFilter[] = "KV WallpaperLists (*.lst)|*.lst";
constexpr char kDefaultListName[] = "wallpaperlist.lst";

// Shown when the rows cannot go back to a list file that failed to load.
std::string UnreadListText(const std::string& fileName) {
  return "The list file '" + fileName +
         "' could not be read when it was opened, so it is kept as it is and the entries "
         "shown now were not saved to it. \"Save Wallpaper List\" keeps them in another file.";
}

// The full name with its extension made ".lst" (only the name part's dot counts).
std::string WithListExtension(const std::string& fullName) {
  return std::string(PathPart(fullName)) + ChangeExtension(NamePart(fullName), ".lst");
}

// The name as a menu caption: lower-cased, first letter upper-cased, no
// extension.
std::string ListCaption(const std::string& fileName) { return skin::SkinMenuCaption(fileName); }

}  // namespace

TManagerForm::TManagerForm(Prompts& prompts, ShellDelete& shellDelete, SettingsStore& store)
    : prompts_(prompts),
      store_(store),
      Wallpaperlist_(prompts, shellDelete),
      addSite_(MakeAddSite(Wallpaperlist_)),
      adds_(*addSite_) {}

TManagerForm::~TManagerForm() {
  SaveBeforeLeaving();
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
  SetInvisibleColor(kManagerInvisibleColour);
  ui::Control::CreateArgs list;
  list.parent = hwnd_;
  list.left = 5;
  list.top = 16;
  list.width = 267;
  list.height = 137;
  list.exStyle = WS_EX_CLIENTEDGE;
  listView_.Create(list, true);
  // Each column is sized to its content whenever the rows change.
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
  listView_.onDropFiles = [this](HDROP drop) { AddDroppedNow(ui::DroppedNames(drop)); };
  listView_.onContextMenu = [this](int x, int y) {
    WallpaperListPopupMenuPopup();
    WallpaperListPopupMenu.Popup(hwnd_, x, y);
  };
  listView_.onKey = [this](WPARAM key) {
    if (key != VK_RETURN && key != VK_DELETE && key != VK_ESCAPE) return false;
    WallpaperlistKeyDown(key, (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0);
    return true;
  };
  listView_.onDoubleClick = [this](int) { WallpaperlistDblClick(); };
  Wallpaperlist_.onRowsChanged = [this] {
    // Rows that come or go move the indices: the selection they leave is the
    // one later selections are compared with.
    previewSelection_ = Wallpaperlist_.SelectedIndices();
    SyncViewRows();
  };
  Wallpaperlist_.onSelectionChanged = [this] {
    if (syncing_) return;
    SyncViewSelection();
    WallpaperlistSelectItem();
  };
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
  previewImage_.SetInvisibleColor(kManagerInvisibleColour);
  previewImage_.onMouseDown = [this](int button, int, int) {
    if (button != 1 || !MainForm) return;
    POINT at;
    GetCursorPos(&at);
    MainForm->PopupPreviewMenu(previewImage_, at.x, at.y);
  };
  previewImage_.onMouseMove = [](int, int) { program::IdleCounter = 0; };
  onMouseMove = [](int, int) { program::IdleCounter = 0; };
  onShow = [this](bool visible) {
    program::IdleCounter = 0;
    if (!MainForm) return;
    MainForm->SetManagerChecked(visible);
    if (!visible) MainForm->RefreshPreviews();
  };
  onContextMenu = [this](HWND, int x, int y) { ManagerPopupMenu.Popup(hwnd_, x, y); };
  onKeyDown = [this](WORD key) {
    if (key == VK_ESCAPE) CancelAdd();
    return false;
  };
  onDropFiles = [this](const std::vector<std::string>& names) { AddDroppedNow(names); };
  // Closing hides the manager, as its own close command does; the window
  // lives until the program ends.
  onClose = [this] {
    CloseManager1Click();
    return false;
  };
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
  // The program's "Cache\" folder whether or not caching is on now: turning it
  // on later, regenerating and clearing all work there.
  Wallpaperlist_.cacheDirectory = programDir + kCacheDirectoryName + "\\";
  try {
    Wallpaperlist_.removeOrphans =
        store_.RegReadBool(kKvOptionsKey, kRemoveOrphans).value_or(false);
  } catch (const Error&) {
  }
  // 4. The stored list, else the default list of the program directory.
  if (listFile.empty()) {
    try {
      listFile = store_.RegReadString(kRootKey, kCurrentWallpaperList).value_or("");
    } catch (const Error&) {
    }
  }
  if (listFile.empty() || !FileExists(listFile)) {
    listFile = AsciiLowerCopy(programDir + "Wallpaper.lst");
    store_.RegWriteString(kRootKey, kCurrentWallpaperList, listFile);
  }
  program::CurrentListFile = listFile;
  // 5. The rows; a file that cannot be read leaves what the list kept, and is
  // not overwritten with those rows later.
  try {
    Wallpaperlist_.LoadList(listFile);
  } catch (const std::exception& e) {
    unreadListFile_ = listFile;
    prompts_.Error(e.what());
  }
  // 6. The current wall number.
  const int n = static_cast<int>(Wallpaperlist_.Count());
  std::optional<int> stored;
  try {
    stored = store_.RegReadInteger(kRootKey, kCurrentWallNumber);
  } catch (const Error&) {
  }
  program::CurrentWallNumber = stored ? *stored : StartWallNumber(n);
  // 7. The skins folder, and the list files of the program directory.
  BuildMenus();
  MakeDirectory(programDir + "Skins");
  for (const DirectoryEntry& e : ListDirectory(programDir))
    if (!e.isDirectory && LowerExtension(e.name) == ".lst")
      AddListFileItem(ListCaption(e.name), programDir + e.name);
  SyncViewRows();
}

void TManagerForm::SyncViewRows() {
  listView_.SetItemCount(static_cast<int>(Wallpaperlist_.Count()));
  FitColumns();
  SyncViewSelection();
  listView_.Invalidate();
}

void TManagerForm::FitColumns() {
  listView_.FitColumns(static_cast<int>(Wallpaperlist_.Count()),
                       [this](int row, int column) -> const std::string& {
                         return Wallpaperlist_.Cell(static_cast<std::size_t>(row), column);
                       });
}

void TManagerForm::SyncViewSelection() {
  // An owner-data view keeps its own selection states; they follow the model's
  // after every change made there (a search pick, a removal, a load).
  syncing_ = true;
  LVITEMW clear{};
  clear.stateMask = LVIS_SELECTED;
  SendMessageW(listView_.hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
               reinterpret_cast<LPARAM>(&clear));
  if (Wallpaperlist_.SelectedCount() > 0)
    for (std::size_t i : Wallpaperlist_.SelectedIndices())
      listView_.Select(static_cast<int>(i), false);
  syncing_ = false;
}

bool TManagerListView::OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_MOUSEMOVE:
      program::IdleCounter = 0;  // the auto-hide counts from the last movement
      return false;
    case WM_DROPFILES:
      if (!onDropFiles) return false;
      onDropFiles(reinterpret_cast<HDROP>(wp));
      result = 0;
      return true;
    case WM_CONTEXTMENU: {
      if (!onContextMenu) return false;
      POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      if (lp == -1) GetCursorPos(&at);  // from the keyboard
      onContextMenu(at.x, at.y);
      result = 0;
      return true;
    }
    case WM_KEYDOWN:
      if (onKey && onKey(wp)) {
        result = 0;
        return true;
      }
      return false;
    case WM_GETDLGCODE:
      // Enter and Escape belong to the list, not to the dialog navigation of
      // the message loop.
      if (lp) {
        const MSG* m = reinterpret_cast<const MSG*>(lp);
        if (m->message == WM_KEYDOWN && (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE)) {
          result = DLGC_WANTALLKEYS;
          return true;
        }
      }
      return false;
    default:
      return false;
  }
}

// --- Menus -----------------------------------------------------------------

ui::MenuItem& TManagerForm::Item(const char* name) {
  if (ui::MenuItem* item = ManagerPopupMenu.root.Find(name)) return *item;
  if (ui::MenuItem* item = WallpaperListPopupMenu.root.Find(name)) return *item;
  throw std::logic_error(std::string("no menu item ") + name);
}

void TManagerForm::BuildMenus() {
  auto add = [](ui::MenuItem& parent, const char* caption, const char* name,
                auto handler) -> ui::MenuItem& {
    return parent.Add(
        caption, [handler](ui::MenuItem&) { handler(); }, name);
  };
  ui::MenuItem& m = ManagerPopupMenu.root;
  add(m, "Add Wallpaper(s)", "AddWallpaper1", [this] { AddWallpaper1Click(); });
  add(m, "Remove Selected Wallpaper(s)", "RemoveSelectedWallpaper1",
      [this] { RemoveSelectedWallpaper1Click(); });
  add(m, "Clear All Wallpapers", "ClearAllWallpapers1", [this] { ClearAllWallpapers1Click(); });
  m.AddSeparator();
  add(m, "Load WallPaper List", "LoadWallPaperList1", [this] { LoadWallPaperList1Click(); });
  add(m, "Save Wallpaper List", "SaveWallpaperList1", [this] { SaveWallpaperList1Click(); });
  ui::MenuItem& lists = m.Add("Wallpaper Lists", {}, "WallpaperLists1");
  add(lists, "Default Wallpaper List", "DefaultWallpaper1", [this] { DefaultWallpaper1Click(); });
  lists.AddSeparator();
  m.AddSeparator();
  add(m, "Add Directory To List", "AddDirectory1", [this] { AddDirectory1Click(); });
  add(m, "Add Directory Tree To List", "AddDirectoryTree1", [this] { AddDirectoryTree1Click(); });
  m.AddSeparator();
  add(m, "Close Manager", "CloseManager1", [this] { CloseManager1Click(); });

  ui::MenuItem& w = WallpaperListPopupMenu.root;
  auto style = [this](ui::MenuItem& parent, const char* caption, const char* name) {
    parent.Add(
        caption, [this](ui::MenuItem& item) { PopupStyleClick(item.caption); }, name);
  };
  style(w, "Center", "PopupCenter");
  style(w, "Stretch", "PopupStretch");
  style(w, "Tile", "PopupTile");
  style(w, "Scaled", "PopupScaled");
  ui::MenuItem& filters = w.Add("Filter", {}, "Scaled1");
  style(filters, "Box", "Box1");
  style(filters, "Triangle", "Triangle1");
  style(filters, "Hermite", "Hermite1");
  style(filters, "Bell", "Bell1");
  style(filters, "Spline", "Spline1");
  style(filters, "Lanczos3", "Lanczos31");
  style(filters, "Mitchell", "Mitchell1");
  w.AddSeparator();
  add(w, "Set Style Defaults", "SetwallpaperStyloedefaults1",
      [this] { SetwallpaperStyloedefaults1Click(); });
  add(w, "Edit Items Properties", "PropertyEditor1", [this] { PropertyEditor1Click(); }).visible =
      false;
  add(w, "Batch Style Change", "BatchStyleChange1", [this] { BatchStyleChange1Click(); });
  w.AddSeparator();
  add(w, "Preview Image", "PreviewImage1", [this] { PreviewImage1Click(); });
  add(w, "Apply Image", "PopupApplyImage", [this] { PopupApplyImageClick(); });
  w.AddSeparator();
  add(w, "Wallpaper List Actions", "WallpaperListActions1",
      [this] { WallpaperListActions1Click(); });
}

void TManagerForm::AddListFileItem(const std::string& caption, const std::string& fullName) {
  listFiles_.emplace_back(caption, fullName);
  Item("WallpaperLists1").Add(caption, [this, fullName](ui::MenuItem&) { SwitchToList(fullName); });
}

void TManagerForm::WallpaperListPopupMenuPopup() {
  if (Wallpaperlist_.SelectedCount() != 1) return;
  const std::string& style = Wallpaperlist_.Entry(Wallpaperlist_.SelectedIndices().front()).style;
  for (const char* name : {"PopupCenter", "PopupStretch", "PopupTile", "PopupScaled", "Box1",
                           "Triangle1", "Hermite1", "Bell1", "Spline1", "Lanczos31", "Mitchell1"}) {
    ui::MenuItem& item = Item(name);
    item.checked = EqualsIgnoringAsciiCase(item.caption, style);
  }
}

void TManagerForm::PopupStyleClick(const std::string& style) {
  if (Wallpaperlist_.SelectedCount() == 0) {
    prompts_.Warning(kStyleNothingSelectedText);
    return;
  }
  Wallpaperlist_.BeginUpdate();
  for (std::size_t i : Wallpaperlist_.SelectedIndices()) Wallpaperlist_.SetStyle(i, style);
  Wallpaperlist_.EndUpdate();
}

void TManagerForm::SetwallpaperStyloedefaults1Click() {
  // The page with the table of default styles, once the options window exists.
  if (OptionsForm) OptionsForm->ShowStyleDefaultsPage();
}

void TManagerForm::PropertyEditor1Click() {
  if (program::PropertyEditor) program::PropertyEditor->ShowEditor();
}

void TManagerForm::BatchStyleChange1Click() {
  if (Wallpaperlist_.Count() == 0) {
    prompts_.Warning(kBatchEmptyListText);
    return;
  }
  if (program::kvBatchChangeForm) program::kvBatchChangeForm->ShowBatch();
}

void TManagerForm::PreviewImage1Click() {
  if (Wallpaperlist_.SelectedCount() != 1) {
    prompts_.Warning(kPreviewOneText);
    return;
  }
  const WallpaperEntry& e = Wallpaperlist_.Entry(Wallpaperlist_.SelectedIndices().front());
  if (program::PreviewForm) program::PreviewForm->ShowPreview(e.FullName(), e.style);
}

void TManagerForm::PopupApplyImageClick() {
  if (Wallpaperlist_.SelectedCount() != 1) {
    prompts_.Warning(kApplyOneText);
    return;
  }
  const std::size_t index = Wallpaperlist_.SelectedIndices().front();
  const WallpaperEntry entry = Wallpaperlist_.Entry(index);
  if (MainForm) {
    program::CurrentWallNumber = static_cast<int>(index);
    store_.RegWriteInteger(kRootKey, kCurrentWallNumber, program::CurrentWallNumber);
    MainForm->ApplyFile(entry.FullName(), entry.style);
    MainForm->RefreshPreviews();
  }
  if (MainForm) MainForm->AnalyseIconColour(previewImage_.Picture());
}

void TManagerForm::WallpaperListActions1Click() {
  POINT at;
  GetCursorPos(&at);
  ManagerPopupMenu.Popup(hwnd_, at.x, at.y);
}

void TManagerForm::WallpaperlistKeyDown(WPARAM key, bool shift) {
  switch (key) {
    case VK_RETURN:
      PopupApplyImageClick();
      break;
    case VK_DELETE:
      if (shift)
        ClearAllWallpapers1Click();
      else
        RemoveSelectedWallpaper1Click();
      break;
    case VK_ESCAPE:
      CancelAdd();
      break;
    default:
      break;
  }
}

void TManagerForm::CloseManager1Click() { ShowFaded(false); }

// --- List files ------------------------------------------------------------

void TManagerForm::LoadWallPaperList1Click() {
  FileDialogArgs args;
  args.filter = kOpenListFilter;
  args.defaultExt = "lst";
  const std::vector<std::string> names = prompts_.OpenFiles(args);
  if (!names.empty()) SwitchToList(names.front());
}

void TManagerForm::SaveBeforeLeaving() {
  // The rows go back to their own file, so that edits are not lost by a switch
  // or at exit. A file that cannot take them (read-only, a folder that cannot be
  // written) is reported and does not hold the user on this list.
  const std::string& fileName = program::CurrentListFile;
  if (fileName.empty()) return;
  if (fileName == unreadListFile_) {
    // Its entries never reached the rows: writing these over them would lose
    // them. Rows added since are reported as not saved there.
    if (Wallpaperlist_.Count() > 0) prompts_.Error(UnreadListText(fileName));
    return;
  }
  try {
    Wallpaperlist_.SaveList(fileName);
  } catch (const std::exception& e) {
    prompts_.Error(e.what());
  }
}

void TManagerForm::LoadListFile(const std::string& fileName) {
  Wallpaperlist_.LoadList(fileName);
  if (fileName == unreadListFile_) unreadListFile_.clear();
}

void TManagerForm::SwitchToList(const std::string& fileName) {
  SaveBeforeLeaving();
  // A file that cannot be read raises here: the rows and the current list file
  // stay, so the unreadable file is never overwritten with other rows.
  LoadListFile(fileName);
  program::CurrentWallNumber = SwitchedWallNumber(static_cast<int>(Wallpaperlist_.Count()));
  if (MainForm) MainForm->RefreshPreviews();
  store_.RegWriteString(kRootKey, kCurrentWallpaperList, fileName);
  program::CurrentListFile = fileName;
  HidePreviewImage();
}

void TManagerForm::SaveWallpaperList1Click() {
  FileDialogArgs args;
  args.filter = kSaveListFilter;
  const std::optional<std::string> name = prompts_.SaveFile(args);
  if (!name) return;
  // The chosen file becomes current only once it holds the rows: a read-only
  // one raises and the list stays with its own file.
  const std::string fileName = WithListExtension(*name);
  Wallpaperlist_.SaveList(fileName);
  if (fileName == unreadListFile_) unreadListFile_.clear();  // replaced by the user's choice
  program::CurrentListFile = fileName;
  store_.RegWriteString(kRootKey, kCurrentWallpaperList, program::CurrentListFile);
}

void TManagerForm::DefaultWallpaper1Click() {
  SaveBeforeLeaving();
  // The default list becomes current only after it loaded: an unreadable one
  // raises here and is not overwritten by these rows at exit.
  const std::string fileName = ProgramDir() + kDefaultListName;
  LoadListFile(fileName);
  program::CurrentListFile = fileName;
  HidePreviewImage();
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
  // Only an entry that has become selected renews the preview: taking entries
  // out of the selection (Ctrl+click on a selected row, a click on empty
  // space) leaves it as it is.
  std::vector<std::size_t> selection = Wallpaperlist_.SelectedIndices();
  const bool entrySelected = !std::includes(previewSelection_.begin(), previewSelection_.end(),
                                            selection.begin(), selection.end());
  previewSelection_ = std::move(selection);
  if (suppress || !entrySelected) return;
  if (previewSelection_.size() != 1) {
    HidePreviewImage();
    return;
  }
  const std::size_t index = previewSelection_.front();
  const WallpaperEntry& entry = Wallpaperlist_.Entry(index);
  const std::string fullName = entry.FullName();
  previewImage_.DataString = entry.style + "|" + fullName;
  previewImage_.Tag = static_cast<int>(index);
  previewImage_.SetVisible(true);
  // A picture that cannot be read keeps the previous one.
  if (const std::optional<Bitmap> picture =
          LoadPreviewPicture(Wallpaperlist_.cacheDirectory, fullName, previewImage_.Width(),
                             previewImage_.Height(), program::Options.imageDisplayFilter))
    previewImage_.SetPicture(*picture);
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

}  // namespace kv
