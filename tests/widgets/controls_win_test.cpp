#include "widgets/controls_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/text_win.h"
#include "base/win32_failure_win.h"
#include "widgets/menu_win.h"
#include "widgets/process_counts_win.h"
#include "widgets/tray_icon_win.h"

namespace kv::ui {
namespace {

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override { form_.Create({"Controls", 0, 0, 500, 400}); }
  Control::CreateArgs At(int id, int top = 0) {
    Control::CreateArgs a;
    a.parent = form_.hwnd();
    a.top = top;
    a.width = 150;
    a.id = id;
    return a;
  }
  // What the control sends its parent when the user acts.
  void Notify(HwndOwner& c, WORD code) {
    SendMessageW(form_.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c.hwnd()), code),
                 reinterpret_cast<LPARAM>(c.hwnd()));
  }
  Form form_;
};

TEST_F(ControlsTest, ButtonAndCheckBoxRaiseTheirEvents) {
  Button b;
  b.Create(At(1));
  int clicks = 0;
  b.onClick = [&] { ++clicks; };
  SendMessageW(b.hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);

  CheckBox c;
  c.Create(At(2, 30));
  std::vector<bool> changes;
  c.onChanged = [&](bool on) { changes.push_back(on); };
  c.SetChecked(true);
  EXPECT_TRUE(c.Checked());
  EXPECT_TRUE(changes.empty()) << "setting by program raises nothing";
  SendMessageW(c.hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(changes, std::vector<bool>{false});
}

TEST_F(ControlsTest, SpinEditHoldsItsValueToTheRange) {
  SpinEdit s;
  s.Create(At(3), 1, 100, 10);
  EXPECT_EQ(s.Value(), 10);
  std::vector<int> values;
  s.onChanged = [&](int v) { values.push_back(v); };
  s.SetValue(500);
  EXPECT_EQ(s.Value(), 100);
  EXPECT_TRUE(values.empty());
  s.EditControl().SetText("42");  // as typed
  EXPECT_EQ(values, std::vector<int>{42});
  s.EditControl().SetText("");
  EXPECT_EQ(s.Value(), 1);
  s.SetRange(5, 6);
  s.SetValue(0);
  EXPECT_EQ(s.Value(), 5);
}

TEST_F(ControlsTest, ComboBoxListsItemsAndReportsTheUsersChoice) {
  ComboBox c;
  c.Create(At(4));
  c.SetItems({"Stretch (Default)", "Box", "Triangle"});
  EXPECT_EQ(c.Count(), 3);
  EXPECT_EQ(c.ItemText(1), "Box");
  int chosen = -5;
  c.onChanged = [&](int i) { chosen = i; };
  c.SetItemIndex(2);
  EXPECT_EQ(chosen, -5);
  EXPECT_EQ(c.ItemIndex(), 2);
  Notify(c, CBN_SELCHANGE);
  EXPECT_EQ(chosen, 2);
}

TEST_F(ControlsTest, VirtualListViewAsksForTheTextItShows) {
  ListView l;
  l.Create(At(5), true);
  l.AddColumn("Style", 60);
  l.AddColumn("File", 100);
  l.SetItemCount(100000);
  EXPECT_EQ(l.Count(), 100000);
  l.onGetText = [](int row, int column) { return (column == 0 ? "S" : "F") + std::to_string(row); };
  wchar_t buffer[64] = {};
  LVITEMW item{};
  item.iSubItem = 1;
  item.pszText = buffer;
  item.cchTextMax = 64;
  SendMessageW(l.hwnd(), LVM_GETITEMTEXTW, 99999, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(buffer, L"F99999");
  EXPECT_EQ(l.Cell(7, 0), "S7");
}

TEST_F(ControlsTest, ListViewRowsAndSelection) {
  ListView l;
  l.Create(At(6));
  l.AddColumn("A", 50);
  l.AddColumn("B", 50);
  l.AddRow({"a0", "b0"});
  l.AddRow({"a1", "b1"});
  l.AddRow({"a2", "b2"});
  EXPECT_EQ(l.Cell(1, 1), "b1");
  int selections = 0;
  l.onSelectionChanged = [&] { ++selections; };
  l.Select(2);
  EXPECT_EQ(l.Selected(), 2);
  EXPECT_GT(selections, 0);
  l.Select(0, false);
  EXPECT_EQ(l.SelectedRows(), (std::vector<int>{0, 2}));
  l.DeleteRow(1);
  EXPECT_EQ(l.Count(), 2);
  EXPECT_EQ(l.Cell(1, 0), "a2");
  l.Clear();
  EXPECT_EQ(l.Count(), 0);
}

TEST_F(ControlsTest, ListViewColumnsFitTheirTextsInTheCurrentFont) {
  ListView l;
  l.Create(At(8), true);
  l.AddColumn("Name", 30);
  std::vector<std::string> rows = {"ab", "a rather longer name of a picture.jpg"};
  const auto fit = [&] {
    l.FitColumns(static_cast<int>(rows.size()),
                 [&](int row, int) -> const std::string& { return rows[row]; });
    return l.ColumnWidth(0);
  };
  // The control's own measure of the widest text, and the room around it.
  const auto fits = [&](int width, const char* widest) {
    const int text = static_cast<int>(SendMessageW(
        l.hwnd(), LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(Widen(widest).c_str())));
    return width >= text + 12 && width <= text + 24;
  };
  const int wide = fit();
  EXPECT_TRUE(fits(wide, rows[1].c_str())) << wide;
  rows.pop_back();  // the long row gone: back to the caption
  EXPECT_TRUE(fits(fit(), "Name"));
  // A larger font is measured anew, whatever handle it has.
  rows.push_back("a rather longer name of a picture.jpg");
  HFONT big = CreateFontW(-24, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                          L"Tahoma");
  l.SetFont(big);
  EXPECT_GT(fit(), wide + 40);
  l.Destroy();
  DeleteObject(big);
}

TEST_F(ControlsTest, TabControlAndHotkeyEdit) {
  TabControl t;
  t.Create(At(7));
  t.AddTab("Wallpaper");
  t.AddTab("About");
  int changed = -1;
  t.onChanged = [&](int i) { changed = i; };
  t.SetTabIndex(1);
  NMHDR header{t.hwnd(), 7, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(form_.hwnd(), WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(changed, 1);

  HotkeyEdit h;
  h.Create(At(8, 40));
  h.SetHotkey('N', HOTKEYF_CONTROL | HOTKEYF_ALT);
  EXPECT_EQ(LOBYTE(h.Hotkey()), 'N');
  EXPECT_EQ(HIBYTE(h.Hotkey()), HOTKEYF_CONTROL | HOTKEYF_ALT);
}

// The captions and states of a built system menu, "-" for separators, submenus
// in brackets.
std::string Describe(HMENU menu) {
  std::string out;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = 128;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    if (info.fType & MFT_SEPARATOR) {
      out += "- ";
      continue;
    }
    std::wstring w = text;
    for (wchar_t& c : w)
      if (c == L'\t') c = L'|';
    out += std::string(w.begin(), w.end());
    if (info.fState & MFS_CHECKED) out += "*";
    if (info.fState & MFS_DISABLED) out += "~";
    if (info.hSubMenu) out += "[" + Describe(info.hSubMenu) + "]";
    out += " ";
  }
  return out;
}

TEST(PopupMenu, BuildsCaptionsShortcutsChecksSeparatorsSubmenusAndHidesHiddenItems) {
  PopupMenu m;
  MenuItem& browser = m.root.Add("Browser", {}, "SysBrowser");
  browser.shortcutText = "Ctrl+B";
  browser.checked = true;
  m.root.AddSeparator();
  m.root.Add("Hidden").visible = false;
  MenuItem& skins = m.root.Add("Skins");
  skins.Add("Load Skin...");
  skins.AddSeparator();
  skins.Add("Default Skin").enabled = false;
  std::vector<MenuItem*> order;
  std::vector<HBITMAP> bitmaps;
  HMENU menu = m.Build(order, bitmaps);
  EXPECT_EQ(Describe(menu), "Browser|Ctrl+B* - Skins[Load Skin... - Default Skin~ ] ");
  DestroyMenu(menu);
  EXPECT_EQ(m.root.Find("SysBrowser"), &browser);
}

TEST(PopupMenu, ItemsShowTheirImageFromTheImageList) {
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0);
  ImageList_AddIcon(images, LoadIconW(nullptr, IDI_APPLICATION));
  PopupMenu m;
  m.images = images;
  m.root.Add("With image").imageIndex = 0;
  m.root.Add("Index out of range").imageIndex = 5;
  std::vector<MenuItem*> order;
  std::vector<HBITMAP> bitmaps;
  HMENU menu = m.Build(order, bitmaps);
  ASSERT_EQ(bitmaps.size(), 1u);
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_BITMAP;
  GetMenuItemInfoW(menu, 0, TRUE, &info);
  EXPECT_EQ(info.hbmpItem, bitmaps[0]);
  DestroyMenu(menu);
  for (HBITMAP b : bitmaps) DeleteObject(b);
  ImageList_Destroy(images);
}

TEST(PopupMenu, ShortcutsRunTheirItemUnlessDisabledOrHidden) {
  PopupMenu m;
  int runs = 0;
  MenuItem& next = m.root.Add("Wallpapers").Add("Next", [&](MenuItem&) { ++runs; });
  next.shortcutKey = 'N';
  next.shortcutModifiers = HOTKEYF_CONTROL;
  EXPECT_TRUE(m.HandleShortcut('N', HOTKEYF_CONTROL));
  EXPECT_FALSE(m.HandleShortcut('N', 0));
  next.enabled = false;
  EXPECT_FALSE(m.HandleShortcut('N', HOTKEYF_CONTROL));
  EXPECT_EQ(runs, 1);
}

// The drawn menu style: every item drawn by the menu itself, sized for its
// captions, painted in the system's colours by state, and typed letters
// picking items.
TEST(PopupMenuDrawn, ItemsAreMeasuredPaintedAndPickedByLetter) {
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32, 1, 0);
  std::uint32_t* bits = nullptr;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = 16;
  bi.bmiHeader.biHeight = -16;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  HBITMAP red =
      CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
  std::fill(bits, bits + 256, 0xFFFF0000u);
  ImageList_Add(images, red, nullptr);
  DeleteObject(red);
  PopupMenu m;
  m.drawing = MenuDrawing::Drawn;
  m.images = images;
  MenuItem& browser = m.root.Add("Browser");
  browser.shortcutText = "Ctrl+B";
  browser.imageIndex = 0;
  m.root.AddSeparator();
  MenuItem& plain = m.root.Add("Browser");
  MenuItem& paused = m.root.Add("Pause Interval Switching");
  paused.checked = true;
  m.root.Add("Help").enabled = false;
  m.root.Add("Exit");
  std::vector<MenuItem*> order;
  std::vector<HBITMAP> bitmaps;
  HMENU menu = m.Build(order, bitmaps);
  EXPECT_TRUE(bitmaps.empty()) << "pictures are drawn, not handed to the system";
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << i;
    EXPECT_EQ(info.dwItemData == 0, i == 1) << "only the separator has no item";
  }

  // Sizes: a separator is a thin row; a shortcut widens its item.
  MEASUREITEMSTRUCT withShortcut{}, without{}, separator{};
  withShortcut.itemData = reinterpret_cast<ULONG_PTR>(&browser);
  without.itemData = reinterpret_cast<ULONG_PTR>(&plain);
  m.MeasureItem(withShortcut);
  m.MeasureItem(without);
  m.MeasureItem(separator);
  EXPECT_GT(withShortcut.itemWidth, without.itemWidth + 30);
  EXPECT_GE(without.itemHeight, 22u);
  EXPECT_LT(separator.itemHeight, without.itemHeight);

  // Painting by state: the background behind the caption, and the picture
  // column (the red picture, a check mark in the text colour).
  std::uint32_t* pixels = nullptr;
  bi.bmiHeader.biWidth = 200;
  bi.bmiHeader.biHeight = -24;
  HBITMAP canvas =
      CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels), nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, canvas);
  const auto rgb = [](COLORREF c) {
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
  };
  struct Case {
    const MenuItem* item;
    UINT state;
    int sysBackground;
    std::uint32_t inColumn;  // on the check mark's stroke, inside the picture
  };
  const Case cases[] = {
      {&browser, 0, COLOR_MENU, 0xFF0000u},
      {&browser, ODS_SELECTED, COLOR_HIGHLIGHT, 0xFF0000u},
      {&paused, 0, COLOR_MENU, rgb(GetSysColor(COLOR_MENUTEXT))},
      {&paused, ODS_SELECTED, COLOR_HIGHLIGHT, rgb(GetSysColor(COLOR_HIGHLIGHTTEXT))},
      {&plain, ODS_SELECTED | ODS_DISABLED, COLOR_MENU, rgb(GetSysColor(COLOR_MENU))},
  };
  for (const Case& c : cases) {
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_MENU;
    d.hDC = dc;
    d.rcItem = {0, 0, 200, 24};
    d.itemState = c.state;
    d.itemData = reinterpret_cast<ULONG_PTR>(c.item);
    m.DrawItem(d);
    GdiFlush();
    const auto at = [&](int x, int y) { return pixels[y * 200 + x] & 0xFFFFFFu; };
    EXPECT_EQ(at(190, 3), rgb(GetSysColor(c.sysBackground))) << c.item->caption << c.state;
    EXPECT_EQ(at(13, 15), c.inColumn) << c.item->caption << c.state;
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(canvas);

  // Letters: one enabled match is run, several are selected in turn from the
  // highlighted item on, a disabled item and an unknown letter are passed by.
  EXPECT_EQ(PopupMenu::MenuChar(L'p', menu), MAKELRESULT(3, MNC_EXECUTE));
  EXPECT_EQ(PopupMenu::MenuChar(L'B', menu), MAKELRESULT(0, MNC_SELECT));
  MENUITEMINFOW hilite{};
  hilite.cbSize = sizeof hilite;
  hilite.fMask = MIIM_STATE;
  hilite.fState = MFS_HILITE;
  SetMenuItemInfoW(menu, 0, TRUE, &hilite);
  EXPECT_EQ(PopupMenu::MenuChar(L'b', menu), MAKELRESULT(2, MNC_SELECT));
  EXPECT_EQ(HIWORD(PopupMenu::MenuChar(L'h', menu)), MNC_IGNORE);
  EXPECT_EQ(HIWORD(PopupMenu::MenuChar(L'z', menu)), MNC_IGNORE);
  DestroyMenu(menu);
  ImageList_Destroy(images);
}

struct NotifyCall {
  DWORD message;
  std::wstring tip;
  HICON icon;
};

class TrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tray_.notify = [this](DWORD message, NOTIFYICONDATAW* data) {
      calls_.push_back({message, data->szTip, data->hIcon});
      return TRUE;
    };
  }
  std::vector<NotifyCall> calls_;  // before the icon, whose destructor still calls the shell
  TrayIcon tray_;
};

TEST_F(TrayTest, AddsModifiesAndRemovesTheIcon) {
  tray_.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
  tray_.SetTip("Kestrova");
  EXPECT_TRUE(calls_.empty()) << "nothing is shown before it is active";
  tray_.SetActive(true);
  tray_.SetTip("Kestrova - paused");
  tray_.SetActive(false);
  ASSERT_EQ(calls_.size(), 3u);
  EXPECT_EQ(calls_[0].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(calls_[0].tip, L"Kestrova");
  EXPECT_NE(calls_[0].icon, nullptr);
  EXPECT_EQ(calls_[1].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(calls_[1].tip, L"Kestrova - paused");
  EXPECT_EQ(calls_[2].message, static_cast<DWORD>(NIM_DELETE));
}

TEST_F(TrayTest, MouseMessagesBecomeEventsWithButtonAndPosition) {
  std::vector<std::string> events;
  tray_.onMouseDown = [&](int button, int x, int y) {
    POINT p;
    GetCursorPos(&p);
    events.push_back("down" + std::to_string(button) + (x == p.x && y == p.y ? "@cursor" : ""));
  };
  tray_.onDblClick = [&](int button) { events.push_back("dbl" + std::to_string(button)); };
  for (UINT m : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDBLCLK, WM_MOUSEMOVE})
    SendMessageW(tray_.hwnd(), TrayIcon::kCallbackMessage, 1, m);
  // The double-click message is the second press too.
  EXPECT_EQ(events, (std::vector<std::string>{"down0@cursor", "down1@cursor", "down2@cursor",
                                              "down1@cursor", "dbl1"}));
}

TEST_F(TrayTest, ComesBackWhenTheTaskbarIsCreatedAgain) {
  tray_.SetActive(true);
  SendMessageW(tray_.hwnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  ASSERT_EQ(calls_.size(), 2u);
  EXPECT_EQ(calls_[1].message, static_cast<DWORD>(NIM_ADD));
  tray_.SetActive(false);
  calls_.clear();
  SendMessageW(tray_.hwnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(calls_.empty()) << "an inactive icon stays away";
}

// A shell that refuses the icon: the refusal is noted and the add is offered
// again on the retry timer until an add or a change goes through, or the tries
// run out; changes meanwhile wait for the add.
TEST(TrayRefused, IconIsOfferedAgainUntilTheShellTakesIt) {
  struct Case {
    const char* what;
    int refusedAdds;           // adds refused before one goes through
    bool modifyWorks;          // a change goes through (an add that timed out did happen)
    std::vector<DWORD> calls;  // after SetActive and three retry ticks
  };
  const Case cases[] = {
      {"second add taken", 1, false, {NIM_ADD, NIM_ADD}},
      {"third add taken", 2, false, {NIM_ADD, NIM_ADD, NIM_MODIFY, NIM_ADD}},
      {"timed-out add was there", 99, true, {NIM_ADD, NIM_ADD, NIM_MODIFY}},
      {"never taken",
       99,
       false,
       {NIM_ADD, NIM_ADD, NIM_MODIFY, NIM_ADD, NIM_MODIFY, NIM_ADD, NIM_MODIFY}},
  };
  for (const Case& c : cases) {
    // Declared before the icon: its destructor still tells the shell (NIM_DELETE).
    std::vector<DWORD> calls;
    int adds = 0;
    TrayIcon tray;
    tray.notify = [&](DWORD message, NOTIFYICONDATAW*) {
      calls.push_back(message);
      if (message == NIM_ADD) return ++adds > c.refusedAdds ? TRUE : FALSE;
      if (message == NIM_MODIFY) return c.modifyWorks ? TRUE : FALSE;
      return TRUE;
    };
    SetLastError(ERROR_TIMEOUT);
    tray.SetActive(true);
    EXPECT_NE(LastWin32Failure().find("Shell_NotifyIcon(NIM_ADD) failed"), std::string::npos);
    tray.SetTip("waits for the add");
    for (int tick = 0; tick < 3; ++tick) SendMessageW(tray.hwnd(), WM_TIMER, 2, 0);
    EXPECT_EQ(calls, c.calls) << c.what;
  }
  // The tries end: no timer is left offering an icon nobody takes.
  int offers = 0;
  TrayIcon tray;
  tray.notify = [&](DWORD message, NOTIFYICONDATAW*) {
    offers += message == NIM_ADD;
    return message == NIM_DELETE ? TRUE : FALSE;
  };
  tray.SetActive(true);
  for (int tick = 0; tick < TrayIcon::kAddTries + 5; ++tick)
    SendMessageW(tray.hwnd(), WM_TIMER, 2, 0);
  EXPECT_EQ(offers, 1 + TrayIcon::kAddTries);
}

TEST_F(TrayTest, AnimationShowsTheImagesInTurn) {
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0);
  for (int i = 0; i < 3; ++i) ImageList_AddIcon(images, LoadIconW(nullptr, IDI_APPLICATION));
  tray_.SetImages(images);
  tray_.SetActive(true);
  tray_.SetAnimate(true);
  for (int i = 0; i < 4; ++i) SendMessageW(tray_.hwnd(), WM_TIMER, 1, 0);
  // The add, then one change per frame: the first at once, one per tick.
  EXPECT_EQ(calls_.size(), 1u + 5u);
  EXPECT_NE(calls_.back().icon, nullptr);
  tray_.SetAnimate(false);
  tray_.SetActive(false);
  ImageList_Destroy(images);
}

TEST_F(ControlsTest, CreatingAndDestroyingControlsLeavesNoHandlesBehind) {
  const auto cycle = [&] {
    Form f;
    f.Create({"Leak", 0, 0, 300, 200});
    Button b;
    b.Create(At(1));
    SpinEdit s;
    s.Create(At(2), 0, 10, 5);
    ComboBox c;
    c.Create(At(3));
    c.SetItems({"a", "b"});
    ListView l;
    l.Create(At(4), true);
    l.AddColumn("x", 10);
    TabControl t;
    t.Create(At(5));
    HotkeyEdit h;
    h.Create(At(6));
    TrayIcon tray;
    tray.notify = [](DWORD, NOTIFYICONDATAW*) { return TRUE; };
    tray.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
    tray.SetActive(true);
    PopupMenu m;
    m.root.Add("x").Add("y");
    std::vector<MenuItem*> order;
    std::vector<HBITMAP> bitmaps;
    DestroyMenu(m.Build(order, bitmaps));
  };
  cycle();
  ProcessMessages();
  const int gdi = GdiObjectCount(), user = UserObjectCount();
  for (int i = 0; i < 20; ++i) cycle();
  ProcessMessages();
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(UserObjectCount(), user);
}

}  // namespace
}  // namespace kv::ui
