// The manager's commands and the search, preview and batch windows, created as
// the program creates them and driven through their handlers with scripted
// prompts.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <functional>
#include <memory>

#include "app/browser_form_win.h"
#include "base/program_dir_win.h"
#include "base/text_win.h"
#include "codecs/encoders.h"
#include "codecs/file_io.h"
#include "codecs/image_file.h"
#include "config/settings_store_win.h"
#include "list/batch_change_form_win.h"
#include "list/manager_form_win.h"
#include "list/preview_form_win.h"
#include "list/search_form_win.h"
#include "list/shell_files.h"
#include "program_windows_win.h"
#include "support/desktop_values_win.h"
#include "wallpaper/kv_wallpaper_win.h"
#include "widgets/prompts.h"

namespace kv {
namespace {

using Kind = ScriptedPrompts::Kind;
using Texts = std::vector<std::string>;

constexpr UINT kStartSecondAdd = WM_APP + 5;

class ManagerCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    // Applying changes the desktop; it is put back as found.
    for (const wchar_t* name : test::kDesktopValueNames)
      desktopValues.push_back(test::ReadDesktopValue(name));
    systemWallpaper.assign(MAX_PATH, L'\0');
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, systemWallpaper.data(), 0);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tollvard\\Kestrova");
    dir = ProgramDir() + "managertest\\";
    SystemShellDelete().Delete(dir);
    MakeDirectory(dir);
    DeleteFileW(Widen(ProgramDir() + "wallpaper.lst").c_str());
    program::CurrentWallNumber = 0;
    program::Options.cacheEnabled = false;
  }
  void TearDown() override {
    batch.reset();
    preview.reset();
    search.reset();
    manager.reset();
    browser.reset();
    program::Options.cacheEnabled = true;
    SystemShellDelete().Delete(dir);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tollvard\\Kestrova");
    for (std::size_t i = 0; i < std::size(test::kDesktopValueNames); ++i)
      test::WriteDesktopValue(test::kDesktopValueNames[i], desktopValues[i]);
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, systemWallpaper.data(), 0);
    DeleteFileW(Widen(ProgramDir() + kWallpaperFileName).c_str());
  }
  void Start() {
    test::CreateProgramWindows(prompts, store, browser, manager);
    browser->Default1Click();
    search = std::make_unique<TSearchForm>(store);
    search->Create();
    preview = std::make_unique<TPreviewForm>();
    preview->Create();
    batch = std::make_unique<TkvBatchChangeForm>(prompts, store);
    batch->Create();
  }
  TKvlistview& List() { return manager->Wallpaperlist(); }
  void Rows(const std::vector<WallpaperEntry>& entries) {
    for (const WallpaperEntry& e : entries) List().Append(e);
  }
  std::string Picture(const std::string& relative, int w = 8, int h = 6) {
    Bitmap b(w, h);
    b.Fill(MakeColour(10, 120, 200));
    SaveBmp(b, dir + relative);
    return dir + relative;
  }
  std::string Junk(const std::string& relative) {
    std::ofstream(Widen(dir + relative).c_str()) << "not a picture";
    return dir + relative;
  }
  Texts Names() {
    Texts out;
    for (std::size_t i = 0; i < List().Count(); ++i) out.push_back(List().Entry(i).fileName);
    return out;
  }

  ScriptedPrompts prompts;
  RegistrySettingsStore store;
  std::vector<std::optional<std::wstring>> desktopValues;
  std::wstring systemWallpaper;
  std::string dir;
  std::unique_ptr<app::TMainForm> browser;
  std::unique_ptr<TManagerForm> manager;
  std::unique_ptr<TSearchForm> search;
  std::unique_ptr<TPreviewForm> preview;
  std::unique_ptr<TkvBatchChangeForm> batch;
};

TEST_F(ManagerCommands, SelectionRulesWarnAndChangeNothing) {
  Start();
  struct Case {
    std::vector<std::size_t> selected;
    void (TManagerForm::*command)();
    Texts warnings;
  };
  const std::vector<Case> cases = {
      {{}, &TManagerForm::PopupApplyImageClick, {kApplyOneText}},
      {{0, 1}, &TManagerForm::PopupApplyImageClick, {kApplyOneText}},
      {{}, &TManagerForm::PreviewImage1Click, {kPreviewOneText}},
      {{1, 2}, &TManagerForm::PreviewImage1Click, {kPreviewOneText}},
      {{}, &TManagerForm::RemoveSelectedWallpaper1Click, {kRemoveNothingSelectedText}},
      {{0}, &TManagerForm::PopupApplyImageClick, {}},
      {{}, &TManagerForm::BatchStyleChange1Click, {}},
      {{}, &TManagerForm::SetwallpaperStyloedefaults1Click, {}},  // no options window yet
  };
  Rows({{"Center", "a.bmp", dir}, {"Tile", "b.bmp", dir}, {"Stretch", "c.bmp", dir}});
  for (const Case& c : cases) {
    prompts.shown.clear();
    List().SelectAll(false);
    for (std::size_t i : c.selected) List().Select(i, true);
    (manager.get()->*c.command)();
    EXPECT_EQ(prompts.Texts(Kind::Warning), c.warnings) << c.selected.size();
    EXPECT_EQ(List().Count(), 3u);
  }
  // The one apply that passed made its entry the current one; the batch
  // dialog opened over the list.
  EXPECT_EQ(store.RegReadInteger("", "Current Wall Number"), 0);
  EXPECT_TRUE(IsWindowVisible(batch->hwnd()));
  batch->CancelButtonClick();

  // Styles with nothing selected, and the batch change with an empty list.
  prompts.shown.clear();
  List().SelectAll(false);
  manager->PopupStyleClick("Tile");
  manager->WallpaperlistKeyDown(VK_DELETE, true);  // Shift+Delete, answered No
  List().DeleteAll();
  manager->BatchStyleChange1Click();
  manager->WallpaperlistKeyDown(VK_DELETE, true);
  EXPECT_EQ(prompts.Texts(Kind::Warning),
            (Texts{kStyleNothingSelectedText, kBatchEmptyListText, kClearEmptyListText}));
  EXPECT_EQ(prompts.Texts(Kind::Confirm), Texts{kClearConfirmText});
  EXPECT_FALSE(IsWindowVisible(batch->hwnd()));
}

TEST_F(ManagerCommands, ApplyMakesTheEntryCurrentAndPreviewOpensTheFullScreenWindow) {
  Start();
  Rows({{"Center", "a.bmp", dir}, {"Tile", "wide.bmp", dir}});
  Picture("wide.bmp", 300, 200);
  List().SelectOnly(1);
  manager->WallpaperlistKeyDown(VK_RETURN, false);
  EXPECT_EQ(program::CurrentWallNumber, 1);
  EXPECT_EQ(store.RegReadInteger("", "Current Wall Number"), 1);
  EXPECT_EQ(browser->KVWallpaper1().Wpstyle, WPtiled);
  manager->PreviewImage1Click();
  EXPECT_TRUE(IsWindowVisible(preview->hwnd()));
  EXPECT_EQ(preview->Layout().kind, PreviewKind::Tile);
  EXPECT_EQ(preview->previewImage().Picture().Width(), GetSystemMetrics(SM_CXSCREEN));
  preview->PreviewImageClick();
  EXPECT_FALSE(IsWindowVisible(preview->hwnd()));
  EXPECT_TRUE(preview->previewImage().Picture().Empty());
}

TEST_F(ManagerCommands, StylesFromThePopupAndItsCheckMarks) {
  Start();
  Rows({{"tile", "a.bmp", dir}, {"Lanczos3", "b.bmp", dir}, {"", "c.bmp", dir}});
  List().SelectOnly(0);
  manager->WallpaperListPopupMenuPopup();
  EXPECT_TRUE(manager->Item("PopupTile").checked);  // compared without regard to case
  EXPECT_FALSE(manager->Item("PopupCenter").checked);
  List().SelectOnly(1);
  manager->WallpaperListPopupMenuPopup();
  EXPECT_FALSE(manager->Item("PopupTile").checked);
  EXPECT_TRUE(manager->Item("Lanczos31").checked);
  // Two selected: the marks stay as they were.
  List().Select(2, true);
  manager->WallpaperListPopupMenuPopup();
  EXPECT_TRUE(manager->Item("Lanczos31").checked);
  ui::PopupMenu::Run(*manager->Item("Scaled1").Find("Mitchell1"));
  EXPECT_EQ(List().Entry(0).style, "tile");
  EXPECT_EQ(List().Entry(1).style, "Mitchell");
  EXPECT_EQ(List().Entry(2).style, "Mitchell");
  EXPECT_FALSE(manager->Item("PropertyEditor1").visible);
}

TEST_F(ManagerCommands, ThePreviewFollowsEntriesThatBecomeSelectedNotDeselections) {
  Start();
  Rows({{"Center", "a.bmp", dir}, {"Tile", "b.bmp", dir}, {"Stretch", "c.bmp", dir}});
  for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) Picture(name);
  const HWND view = manager->ListControl().hwnd();
  // What a click does to the view's rows (-1: all of them).
  const auto setRow = [view](int row, bool selected) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageW(view, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  };
  const auto click = [&](int row) {
    setRow(-1, false);
    setRow(row, true);
  };
  struct Step {
    const char* what;
    std::function<void()> act;
    bool shown;
    int entry;  // the entry the preview shows, when shown
  };
  const Step steps[] = {
      {"click on b", [&] { click(1); }, true, 1},
      {"Ctrl+click on c", [&] { setRow(2, true); }, false, 0},
      {"Ctrl+click off b: one left, none newly selected", [&] { setRow(1, false); }, false, 0},
      {"click on a", [&] { click(0); }, true, 0},
      {"click on empty space", [&] { setRow(-1, false); }, true, 0},
      {"Ctrl+click on c", [&] { setRow(2, true); }, true, 2},
      {"Ctrl+click off c", [&] { setRow(2, false); }, true, 2},
      {"a search pick: all off, then b on",
       [&] {
         List().SelectAll(false);
         List().Select(1, true);
       },
       true, 1},
      {"a second pick beside it", [&] { List().Select(2, true); }, false, 0},
      {"rows removed with the preview held back, then a click",
       [&] {
         manager->SetSuppressPreview(true);
         List().RemoveSelectedRows();
         click(0);
       },
       true, 0},
  };
  const char* const names[] = {"a.bmp", "b.bmp", "c.bmp"};
  for (const Step& step : steps) {
    step.act();
    const skin::TOrganicShapeImage& image = manager->PreviewImage();
    const bool shown = (GetWindowLongW(image.hwnd(), GWL_STYLE) & WS_VISIBLE) != 0;
    EXPECT_EQ(shown, step.shown) << step.what;
    if (!step.shown || !shown) continue;
    EXPECT_EQ(image.Tag, step.entry) << step.what;
    EXPECT_EQ(image.DataString, List().Entry(static_cast<std::size_t>(step.entry)).style + "|" +
                                    dir + names[step.entry])
        << step.what;
    EXPECT_FALSE(image.Picture().Empty()) << step.what;
  }
}

TEST_F(ManagerCommands, ColumnsFollowTheLongestTextsAsRowsComeAndGo) {
  Start();
  const TManagerListView& view = manager->ListControl();
  const auto widths = [&] {
    return std::array<int, 3>{view.ColumnWidth(0), view.ColumnWidth(1), view.ColumnWidth(2)};
  };
  const std::array<int, 3> empty = widths();
  Rows({{"Lanczos3", std::string(70, 'M') + ".jpg", dir + std::string(120, 'w') + "\\"}});
  const std::array<int, 3> filled = widths();
  for (int column = 0; column < 3; ++column) EXPECT_GT(filled[column], empty[column]) << column;
  EXPECT_GT(filled[2], 120 * 5);  // the whole path, not 80 pixels of it
  List().DeleteAll();
  EXPECT_EQ(widths(), empty);
}

TEST_F(ManagerCommands, DroppedNamesAddFilesAndFoldersWithOrWithoutTheirTrees) {
  Start();
  MakeDirectory(dir + "top");
  MakeDirectory(dir + "top\\sub");
  MakeDirectory(dir + "top\\sub\\deeper");
  MakeDirectory(dir + "empty");
  MakeDirectory(dir + "folder.png");  // a folder whose name ends like a picture's
  Picture("top\\one.bmp");
  Picture("top\\sub\\two.bmp");
  Picture("top\\sub\\deeper\\three.bmp");
  Junk("top\\notes.txt");
  Picture("top\\odd.jpegx");  // cut to ".jpeg" when dropped, skipped when searched
  Picture("dropped.jpegx");
  Picture("Äpfel ünd Łódź.bmp");  // outside the ANSI code page
  const std::string loose = Picture("loose.bmp");

  manager->AddDropped({dir + "top", loose, Junk("readme.txt"), dir + "empty", dir + "missing"},
                      false);
  EXPECT_EQ(Names(), (Texts{"one.bmp", "loose.bmp"}));
  List().DeleteAll();
  manager->AddDropped(
      {dir + "top", dir + "dropped.jpegx", dir + "Äpfel ünd Łódź.bmp", dir + "folder.png"}, true);
  EXPECT_EQ(Names(),
            (Texts{"one.bmp", "two.bmp", "three.bmp", "dropped.jpegx", "Äpfel ünd Łódź.bmp"}));
  EXPECT_EQ(List().Entry(3).style, "");  // no file-type group of its own
  EXPECT_EQ(List().Entry(0).style, "Stretch");
  // The view shows every row once the add is over.
  EXPECT_EQ(manager->ListControl().Count(), 5);
  EXPECT_FALSE(manager->Adding());
}

TEST_F(ManagerCommands, UnreadablePicturesAreSkippedWhileThumbnailsAreMade) {
  program::Options.cacheEnabled = true;
  Start();
  Picture("good.bmp");
  Junk("bad.png");
  Junk("bad2.jpg");
  manager->AddDropped({dir + "bad.png", dir + "good.bmp", dir + "bad2.jpg"}, false);
  EXPECT_EQ(Names(), Texts{"good.bmp"});
  EXPECT_EQ(browser->TheTrayIcon.Tip(), "Kestrova");
  EXPECT_FALSE(browser->TheTrayIcon.Animate());
}

TEST_F(ManagerCommands, ASecondAddDuringTheFirstAndEscapeKeepTheListWhole) {
  program::Options.cacheEnabled = true;
  Start();
  MakeDirectory(dir + "first");
  MakeDirectory(dir + "second");
  for (int i = 0; i < 6; ++i) Picture("first\\f" + std::to_string(i) + ".bmp");
  for (int i = 0; i < 3; ++i) Picture("second\\s" + std::to_string(i) + ".bmp");
  // The second add starts from a message handled between two files of the
  // first, as a menu command would.
  std::vector<std::string> tips;
  manager->onMessage = [&](UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg != kStartSecondAdd) return false;
    tips.push_back(browser->TheTrayIcon.Tip());
    manager->AddFolder(dir + "second", false);
    result = 0;
    return true;
  };
  PostMessageW(manager->hwnd(), kStartSecondAdd, 0, 0);
  manager->AddFolder(dir + "first", false);
  EXPECT_EQ(List().Count(), 9u);
  EXPECT_EQ(tips, Texts{"Adding wallpapers: 1"});
  EXPECT_EQ(manager->ListControl().Count(), 9);
  EXPECT_EQ(browser->TheTrayIcon.Tip(), "Kestrova");
  EXPECT_FALSE(browser->TheTrayIcon.Animate());
  // Updating is balanced: a row appended now shows at once.
  List().Append({"Center", "x.bmp", dir});
  EXPECT_EQ(manager->ListControl().Count(), 10);

  // Escape in the list, handled after the first file, stops the add there.
  List().DeleteAll();
  PostMessageW(manager->ListControl().hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  manager->AddFolder(dir + "first", false);
  EXPECT_EQ(List().Count(), 1u);
  // And the next add runs whole again.
  manager->AddFolder(dir + "second", false);
  EXPECT_EQ(List().Count(), 4u);
}

TEST_F(ManagerCommands, SwitchingSavingAndTheDefaultList) {
  Start();
  const std::string seven = dir + "seven.lst";
  {
    TKvlistview other(prompts, SystemShellDelete());
    for (int i = 0; i < 7; ++i) other.Append({"Center", "p" + std::to_string(i) + ".bmp", dir});
    other.SaveList(seven);
  }
  Rows({{"Tile", "mine.bmp", dir}});
  const std::string first = manager->CurrentListFile();
  manager->SwitchToList(seven);
  EXPECT_EQ(List().Count(), 7u);
  EXPECT_EQ(program::CurrentWallNumber, 4);
  EXPECT_EQ(store.RegReadString("", "Current Wallpaper List"), seven);
  EXPECT_EQ(manager->CurrentListFile(), seven);
  // The rows of the list left behind were written to their file first.
  TKvlistview reread(prompts, SystemShellDelete());
  reread.LoadList(first);
  EXPECT_EQ(reread.Count(), 1u);

  // An unreadable list file: the error box, and nothing switched.
  std::ofstream(Widen(dir + "locked.lst").c_str()) << "x";
  const HANDLE lock = CreateFileW(Widen(dir + "locked.lst").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  prompts.openAnswers.push_back({dir + "locked.lst"});
  EXPECT_THROW(manager->LoadWallPaperList1Click(), std::exception);
  CloseHandle(lock);
  EXPECT_EQ(List().Count(), 7u);
  EXPECT_EQ(manager->CurrentListFile(), seven);

  // Saving under a name makes its extension ".lst".
  prompts.saveAnswers.push_back(dir + "my.list.txt");
  manager->SaveWallpaperList1Click();
  EXPECT_EQ(manager->CurrentListFile(), dir + "my.list.lst");
  EXPECT_TRUE(FileExists(dir + "my.list.lst"));
  EXPECT_EQ(store.RegReadString("", "Current Wallpaper List"), dir + "my.list.lst");

  // "Default Wallpaper List" saves, then loads the program directory's list.
  DeleteFileW(Widen(ProgramDir() + "wallpaperlist.lst").c_str());
  manager->DefaultWallpaper1Click();
  EXPECT_EQ(manager->CurrentListFile(), ProgramDir() + "wallpaperlist.lst");
  EXPECT_EQ(store.RegReadString("", "Current Wallpaper List"), dir + "my.list.lst");
  DeleteFileW(Widen(ProgramDir() + "wallpaperlist.lst").c_str());
}

TEST_F(ManagerCommands, SearchFiltersNavigatesAndPicksBySharedName) {
  Start();
  Rows({{"Center", "Sunset.jpg", dir},
        {"Center", "beach.png", dir},
        {"Center", "SUNRISE.bmp", dir},
        {"Tile", "beach.png", dir + "other\\"}});
  search->ShowSearch();
  EXPECT_TRUE(IsWindowVisible(search->hwnd()));
  EXPECT_EQ(search->ResultTexts().size(), 4u);
  search->SearchString().SetText("sun");
  search->SearchStringKeyUp('N');
  EXPECT_EQ(search->ResultTexts(), (Texts{"Sunset.jpg", "SUNRISE.bmp"}));
  EXPECT_EQ(search->SearchResults().ItemIndex(), 0);
  EXPECT_TRUE(search->SearchStringKeyDown(VK_UP));
  EXPECT_EQ(search->SearchResults().ItemIndex(), 1);
  EXPECT_TRUE(search->SearchStringKeyDown(VK_DOWN));
  EXPECT_EQ(search->SearchResults().ItemIndex(), 0);
  search->SearchString().SetText("sun.");
  search->SearchStringKeyUp(VK_OEM_PERIOD);  // a dot does not refilter
  EXPECT_EQ(search->ResultTexts().size(), 2u);
  search->SearchString().SetText("");
  search->SearchStringKeyUp(VK_BACK);
  EXPECT_EQ(search->ResultTexts().size(), 4u);

  // "beach.png" is the name of two entries: the first is applied, the second
  // meets the selection warning.
  search->SearchString().SetText("beach");
  search->SearchStringKeyUp('H');
  EXPECT_TRUE(search->SearchStringKeyPress(VK_RETURN));
  EXPECT_FALSE(IsWindowVisible(search->hwnd()));
  EXPECT_EQ(search->SearchString().Text(), "");
  EXPECT_EQ(program::CurrentWallNumber, 1);
  EXPECT_EQ(prompts.Texts(Kind::Warning), Texts{kApplyOneText});
  EXPECT_EQ(List().SelectedIndices(), (std::vector<std::size_t>{1, 3}));
  // Shown again after a search that left two results: all four names.
  search->ShowSearch();
  EXPECT_EQ(search->ResultTexts().size(), 4u);
  EXPECT_TRUE(search->SearchStringKeyPress(VK_ESCAPE));
  EXPECT_FALSE(IsWindowVisible(search->hwnd()));
}

TEST_F(ManagerCommands, BatchChangeByFileTypeAfterConfirmation) {
  Start();
  Rows({{"Center", "a.JPG", dir},
        {"Tile", "b.jpg", dir},
        {"Center", "c.png", dir},
        {"Box", "d.rle", dir}});
  List().SelectOnly(1);
  batch->ShowBatch();
  EXPECT_EQ(batch->FileTypeCbox.ItemText(batch->FileTypeCbox.ItemIndex()), "*.jpg");
  EXPECT_EQ(batch->WallStyleCbox.ItemText(batch->WallStyleCbox.ItemIndex()), "Tile");
  batch->WallStyleCbox.SetItemIndex(9);  // Lanczos3
  batch->ChangeWallStyleButtonClick();   // answered No: nothing, still open
  EXPECT_TRUE(IsWindowVisible(batch->hwnd()));
  EXPECT_EQ(List().Entry(0).style, "Center");
  prompts.confirmAnswers.push_back(true);
  batch->ChangeWallStyleButtonClick();
  EXPECT_FALSE(IsWindowVisible(batch->hwnd()));
  EXPECT_EQ(prompts.Texts(Kind::Confirm), (Texts{kBatchConfirmText, kBatchConfirmText}));
  EXPECT_EQ(List().Entry(0).style, "Lanczos3");
  EXPECT_EQ(List().Entry(1).style, "Lanczos3");
  EXPECT_EQ(List().Entry(2).style, "Center");
  // An entry of a type the box does not offer leaves it without a choice, and
  // the change does nothing.
  List().SelectOnly(3);
  batch->ShowBatch();
  EXPECT_EQ(batch->FileTypeCbox.ItemIndex(), -1);
  prompts.confirmAnswers.push_back(true);
  batch->ChangeWallStyleButtonClick();
  EXPECT_EQ(prompts.Texts(Kind::Confirm).size(), 2u);
  EXPECT_EQ(List().Entry(3).style, "Box");
}

TEST_F(ManagerCommands, PreviewPlacesEachStyleAndAppliesWhatItShows) {
  Start();
  const std::string small = Picture("small.bmp", 300, 200);
  const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  preview->ShowPreview(small, "Tile");
  RECT r{};
  GetWindowRect(preview->previewImage().hwnd(), &r);
  EXPECT_EQ(r.right - r.left, screenW);
  // "Center" right after "Tile": placed by coordinates, not stretched.
  preview->ShowPreview(small, "Center");
  GetWindowRect(preview->previewImage().hwnd(), &r);
  EXPECT_EQ((std::array<LONG, 4>{r.left, r.top, r.right - r.left, r.bottom - r.top}),
            (std::array<LONG, 4>{(screenW - 300) / 2, (screenH - 200) / 2, 300, 200}));
  EXPECT_EQ(preview->Background(), GetSysColor(COLOR_DESKTOP));
  // The tiled preview applied: the screen-sized tiled picture is the wallpaper.
  preview->ShowPreview(small, "Tile");
  preview->ApplyImage1Click();
  EXPECT_FALSE(IsWindowVisible(preview->hwnd()));
  Bitmap written;
  LoadImageFile(written, ProgramDir() + kWallpaperFileName);
  EXPECT_EQ(written.Width(), screenW);
  EXPECT_EQ(written.Height(), screenH);
  EXPECT_EQ(written.Pixel(305, 205), MakeColour(10, 120, 200));
  // A picture that cannot be read: an empty picture on the background, and
  // applying it leaves the wallpaper as it was and the window hidden.
  preview->ShowPreview(Junk("bad.bmp"), "Stretch");
  EXPECT_TRUE(preview->previewImage().Picture().Empty());
  EXPECT_TRUE(IsWindowVisible(preview->hwnd()));
  preview->ApplyImage1Click();
  EXPECT_FALSE(IsWindowVisible(preview->hwnd()));
  LoadImageFile(written, ProgramDir() + kWallpaperFileName);
  EXPECT_EQ(written.Width(), screenW);
  EXPECT_EQ(written.Pixel(305, 205), MakeColour(10, 120, 200));
  // "Exit" leaves without applying.
  preview->ShowPreview(small, "Stretch");
  preview->Exit1Click();
  EXPECT_FALSE(IsWindowVisible(preview->hwnd()));
}

}  // namespace
}  // namespace kv
