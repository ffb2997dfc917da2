#include "widgets/menu_win.h"

#include <algorithm>
#include <cstdint>
#include <cwctype>

#include "base/text_win.h"
#include "widgets/window_win.h"

namespace kv::ui {
namespace {

// Menu ids start above 0, which TrackPopupMenu returns for "nothing chosen".
constexpr UINT kFirstId = 1;

// A 32-bit top-down DIB section of w x h pixels, all zero.
HBITMAP MakeDib(int w, int h, std::uint32_t*& pixels) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  pixels = static_cast<std::uint32_t*>(bits);
  return bitmap;
}

void DrawInto(HBITMAP bitmap, HIMAGELIST list, int index, UINT style) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  ImageList_Draw(list, index, dc, 0, 0, style);
  GdiFlush();
  SelectObject(dc, old);
  DeleteDC(dc);
}

// An image list entry as an opaque 32-bit bitmap for a menu item: the
// picture where it is, the menu's own colour around it. Menus draw such
// bitmaps as they are; a bitmap relying on per-pixel alpha instead is drawn
// with a black square round the picture by some menu implementations
// (Wine's). The entry is drawn transparently over black and over white: a
// pixel that differs between the two is one the picture leaves uncovered.
HBITMAP ImageBitmap(HIMAGELIST list, int index) {
  int w = 0, h = 0;
  if (!list || index < 0 || index >= ImageList_GetImageCount(list) ||
      !ImageList_GetIconSize(list, &w, &h))
    return nullptr;
  std::uint32_t* overBlack = nullptr;
  std::uint32_t* overWhite = nullptr;
  HBITMAP bitmap = MakeDib(w, h, overBlack);
  HBITMAP white = MakeDib(w, h, overWhite);
  if (!bitmap || !white) {
    if (bitmap) DeleteObject(bitmap);
    if (white) DeleteObject(white);
    return nullptr;
  }
  std::fill(overWhite, overWhite + w * h, 0xFFFFFFu);
  DrawInto(bitmap, list, index, ILD_TRANSPARENT);
  DrawInto(white, list, index, ILD_TRANSPARENT);
  const COLORREF face = GetSysColor(COLOR_MENU);
  const std::uint32_t background =
      0xFF000000u | (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
  for (int i = 0; i < w * h; ++i)
    overBlack[i] = ((overBlack[i] ^ overWhite[i]) & 0xFFFFFFu) != 0 ? background
                                                                    : (overBlack[i] | 0xFF000000u);
  DeleteObject(white);
  return bitmap;
}

// A popup whose item pictures share the check mark's column, so pictures do
// not push the captions to the right of those without one.
HMENU NewPopup() {
  HMENU menu = CreatePopupMenu();
  MENUINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIM_STYLE;
  info.dwStyle = MNS_CHECKORBMP;
  SetMenuInfo(menu, &info);
  return menu;
}

void BuildInto(HMENU menu, const MenuItem& parent, HIMAGELIST images, bool drawn,
               std::vector<MenuItem*>& order, std::vector<HBITMAP>& bitmaps) {
  for (const auto& child : parent.items) {
    MenuItem& item = *child;
    if (!item.visible) continue;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    if (item.IsSeparator()) {
      info.fMask = MIIM_FTYPE | MIIM_DATA;
      info.fType = MFT_SEPARATOR | (drawn ? MFT_OWNERDRAW : 0);
      InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
      continue;
    }
    std::wstring text = Widen(item.caption);
    if (!item.shortcutText.empty()) text += L"\t" + Widen(item.shortcutText);
    info.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_ID | MIIM_DATA;
    info.fType = drawn ? MFT_OWNERDRAW : item.radio ? MFT_RADIOCHECK : MFT_STRING;
    info.fState = (item.checked ? MFS_CHECKED : 0) | (item.enabled ? 0 : MFS_DISABLED) |
                  (item.isDefault ? MFS_DEFAULT : 0);
    info.dwItemData = reinterpret_cast<ULONG_PTR>(&item);
    if (!drawn) {
      info.fMask |= MIIM_STRING;
      info.dwTypeData = text.data();
    }
    info.wID = kFirstId + static_cast<UINT>(order.size());
    order.push_back(&item);
    if (!item.items.empty()) {
      HMENU sub = NewPopup();
      BuildInto(sub, item, images, drawn, order, bitmaps);
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = sub;
    }
    if (HBITMAP bitmap = drawn ? nullptr : ImageBitmap(images, item.imageIndex)) {
      info.fMask |= MIIM_BITMAP;
      info.hbmpItem = bitmap;
      bitmaps.push_back(bitmap);
    }
    InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
  }
}

// --- The drawn style ---------------------------------------------------------

// The column of pictures and check marks, the room for the submenu arrow, and
// the row heights.
constexpr int kGutter = 26;
constexpr int kTextGap = 8;
constexpr int kArrowRoom = 20;
constexpr int kShortcutGap = 28;
constexpr int kMinRow = 22;
constexpr int kSeparatorRow = 9;
constexpr UINT_PTR kDrawingSubclass = 0x4B564D44;  // "KVMD"

SIZE TextSize(HDC dc, const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

void Fill(HDC dc, const RECT& r, int sysColour) { FillRect(dc, &r, GetSysColorBrush(sysColour)); }

// A check mark (or the dot of a radio item) in the text colour, centred at
// (x, y).
void DrawCheck(HDC dc, int x, int y, bool radio, COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, 2, colour);
  HBRUSH brush = CreateSolidBrush(colour);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  if (radio) {
    Ellipse(dc, x - 3, y - 3, x + 4, y + 4);
  } else {
    const POINT tick[] = {{x - 4, y}, {x - 1, y + 3}, {x + 4, y - 3}};
    Polyline(dc, tick, 3);
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

MenuItem* ItemOf(ULONG_PTR data) { return reinterpret_cast<MenuItem*>(data); }

MenuItem* FindShortcut(MenuItem& parent, WORD key, BYTE modifiers) {
  for (auto& child : parent.items) {
    if (!child->visible || !child->enabled) continue;
    if (child->shortcutKey == key && child->shortcutModifiers == modifiers && key != 0)
      return child.get();
    if (MenuItem* found = FindShortcut(*child, key, modifiers)) return found;
  }
  return nullptr;
}

}  // namespace

MenuItem& MenuItem::Add(std::string itemCaption, std::function<void(MenuItem&)> handler,
                        std::string itemName) {
  auto item = std::make_unique<MenuItem>();
  item->caption = std::move(itemCaption);
  item->onClick = std::move(handler);
  item->name = std::move(itemName);
  items.push_back(std::move(item));
  return *items.back();
}

MenuItem& MenuItem::AddSeparator() { return Add("-"); }

MenuItem* MenuItem::Find(const std::string& itemName) {
  for (auto& child : items) {
    if (child->name == itemName) return child.get();
    if (MenuItem* found = child->Find(itemName)) return found;
  }
  return nullptr;
}

HMENU PopupMenu::Build(std::vector<MenuItem*>& order, std::vector<HBITMAP>& bitmaps) const {
  HMENU menu = NewPopup();
  BuildInto(menu, root, images, drawing == MenuDrawing::Drawn, order, bitmaps);
  return menu;
}

void PopupMenu::Run(MenuItem& item) {
  if (item.enabled && item.onClick) item.onClick(item);
}

void PopupMenu::Popup(HWND owner, int x, int y) {
  if (onPopup) onPopup();
  std::vector<MenuItem*> order;
  std::vector<HBITMAP> bitmaps;
  HMENU menu = Build(order, bitmaps);
  if (owner) SetForegroundWindow(owner);
  // The drawn style's messages go to the owner: they are taken on their way
  // there for as long as the menu shows.
  const bool drawn =
      drawing == MenuDrawing::Drawn && owner &&
      SetWindowSubclass(owner, DrawingProc, kDrawingSubclass, reinterpret_cast<DWORD_PTR>(this));
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, owner, nullptr));
  if (drawn) RemoveWindowSubclass(owner, DrawingProc, kDrawingSubclass);
  for (GdiFont& font : fonts_) font.reset();
  DestroyMenu(menu);  // submenus go with it
  for (HBITMAP b : bitmaps) DeleteObject(b);
  // Lets the menu close properly when the owner was not in front (a known quirk
  // of menus opened from the notification area).
  if (owner) PostMessageW(owner, WM_NULL, 0, 0);
  if (chosen >= kFirstId && chosen - kFirstId < order.size()) Run(*order[chosen - kFirstId]);
}

LRESULT CALLBACK PopupMenu::DrawingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                        DWORD_PTR self) {
  switch (msg) {
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (measure->CtlType != ODT_MENU) break;
      reinterpret_cast<const PopupMenu*>(self)->MeasureItem(*measure);
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (draw->CtlType != ODT_MENU) break;
      reinterpret_cast<const PopupMenu*>(self)->DrawItem(*draw);
      return TRUE;
    }
    case WM_MENUCHAR:
      if (HIWORD(wp) & MF_POPUP)
        return MenuChar(static_cast<wchar_t>(LOWORD(wp)), reinterpret_cast<HMENU>(lp));
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

HFONT PopupMenu::MenuFont(bool bold) const {
  GdiFont& font = fonts_[bold ? 1 : 0];
  if (!font) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTW face{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
      face = metrics.lfMenuFont;
    else
      GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face);
    if (bold) face.lfWeight = FW_BOLD;
    font.reset(CreateFontIndirectW(&face));
  }
  return font.get();
}

void PopupMenu::MeasureItem(MEASUREITEMSTRUCT& measure) const {
  const MenuItem* item = ItemOf(measure.itemData);
  if (!item) {
    measure.itemWidth = kGutter;
    measure.itemHeight = kSeparatorRow;
    return;
  }
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, MenuFont(item->isDefault));
  const SIZE caption = TextSize(dc, Widen(item->caption));
  const SIZE shortcut =
      item->shortcutText.empty() ? SIZE{} : TextSize(dc, Widen(item->shortcutText));
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  measure.itemWidth =
      static_cast<UINT>(kGutter + kTextGap + caption.cx +
                        (shortcut.cx ? kShortcutGap + shortcut.cx : 0) + kArrowRoom);
  measure.itemHeight = static_cast<UINT>(std::max<LONG>(kMinRow, caption.cy + 8));
}

void PopupMenu::DrawItem(const DRAWITEMSTRUCT& draw) const {
  HDC dc = draw.hDC;
  const RECT& r = draw.rcItem;
  Fill(dc, r, COLOR_MENU);
  const MenuItem* item = ItemOf(draw.itemData);
  if (!item) {  // a separator: an etched line right of the picture column
    const int y = (r.top + r.bottom) / 2;
    Fill(dc, RECT{r.left + kGutter + 2, y - 1, r.right - 4, y}, COLOR_3DSHADOW);
    Fill(dc, RECT{r.left + kGutter + 2, y, r.right - 4, y + 1}, COLOR_3DHILIGHT);
    return;
  }
  const bool disabled = (draw.itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
  const bool selected = (draw.itemState & ODS_SELECTED) != 0 && !disabled;
  if (selected) Fill(dc, RECT{r.left + 2, r.top + 1, r.right - 2, r.bottom - 1}, COLOR_HIGHLIGHT);
  const COLORREF text = GetSysColor(disabled   ? COLOR_GRAYTEXT
                                    : selected ? COLOR_HIGHLIGHTTEXT
                                               : COLOR_MENUTEXT);
  const int midY = (r.top + r.bottom) / 2;
  const int midX = r.left + kGutter / 2 + 1;
  int w = 0, h = 0;
  const bool picture = images && item->imageIndex >= 0 &&
                       item->imageIndex < ImageList_GetImageCount(images) &&
                       ImageList_GetIconSize(images, &w, &h);
  if (picture) {
    if (item->checked) {  // a checked item with a picture: the picture in a sunken box
      RECT box{midX - w / 2 - 2, midY - h / 2 - 2, midX - w / 2 + w + 2, midY - h / 2 + h + 2};
      DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
    }
    ImageList_Draw(images, item->imageIndex, dc, midX - w / 2, midY - h / 2,
                   disabled ? ILD_TRANSPARENT | ILD_BLEND50 : ILD_TRANSPARENT);
  } else if (item->checked) {
    DrawCheck(dc, midX, midY, item->radio, text);
  }
  HGDIOBJ old = SelectObject(dc, MenuFont(item->isDefault));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text);
  RECT area{r.left + kGutter + kTextGap, r.top, r.right - kArrowRoom, r.bottom};
  const UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  std::wstring caption = Widen(item->caption);
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &area, flags | DT_LEFT);
  if (!item->shortcutText.empty()) {
    std::wstring shortcut = Widen(item->shortcutText);
    DrawTextW(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &area, flags | DT_RIGHT);
  }
  SelectObject(dc, old);
}

// The system leaves typed letters of drawn menus to the owner: the next
// enabled item after the highlighted one whose caption begins with the
// letter is selected, or run when it is the only one.
LRESULT PopupMenu::MenuChar(wchar_t typed, HMENU menu) {
  const int count = GetMenuItemCount(menu);
  int highlighted = -1;
  for (int i = 0; i < count; ++i)
    if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) highlighted = i;
  const wchar_t wanted = static_cast<wchar_t>(towupper(typed));
  int first = -1, matches = 0;
  for (int step = 1; step <= count; ++step) {
    const int i = (highlighted + step + count) % count;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_STATE;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    const MenuItem* item = ItemOf(info.dwItemData);
    if (!item || (info.fState & MFS_DISABLED)) continue;
    const std::wstring caption = Widen(item->caption);
    if (caption.empty() || static_cast<wchar_t>(towupper(caption[0])) != wanted) continue;
    if (first < 0) first = i;
    ++matches;
  }
  if (first < 0) return MAKELRESULT(0, MNC_IGNORE);
  return MAKELRESULT(first, matches == 1 ? MNC_EXECUTE : MNC_SELECT);
}

bool PopupMenu::HandleShortcut(WORD key, BYTE modifiers) {
  MenuItem* item = FindShortcut(root, key, modifiers);
  if (!item) return false;
  Run(*item);
  return true;
}

}  // namespace kv::ui
