#include "widgets/menu_win.h"

#include <algorithm>
#include <cstdint>

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

void BuildInto(HMENU menu, const MenuItem& parent, HIMAGELIST images, std::vector<MenuItem*>& order,
               std::vector<HBITMAP>& bitmaps) {
  for (const auto& child : parent.items) {
    MenuItem& item = *child;
    if (!item.visible) continue;
    if (item.IsSeparator()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::wstring text = Widen(item.caption);
    if (!item.shortcutText.empty()) text += L"\t" + Widen(item.shortcutText);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_STATE | MIIM_FTYPE | MIIM_ID;
    info.fType = item.radio ? MFT_RADIOCHECK : MFT_STRING;
    info.fState = (item.checked ? MFS_CHECKED : 0) | (item.enabled ? 0 : MFS_DISABLED) |
                  (item.isDefault ? MFS_DEFAULT : 0);
    info.dwTypeData = text.data();
    info.wID = kFirstId + static_cast<UINT>(order.size());
    order.push_back(&item);
    if (!item.items.empty()) {
      HMENU sub = NewPopup();
      BuildInto(sub, item, images, order, bitmaps);
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = sub;
    }
    if (HBITMAP bitmap = ImageBitmap(images, item.imageIndex)) {
      info.fMask |= MIIM_BITMAP;
      info.hbmpItem = bitmap;
      bitmaps.push_back(bitmap);
    }
    InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
  }
}

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
  BuildInto(menu, root, images, order, bitmaps);
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
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, owner, nullptr));
  DestroyMenu(menu);  // submenus go with it
  for (HBITMAP b : bitmaps) DeleteObject(b);
  // Lets the menu close properly when the owner was not in front (a known quirk
  // of menus opened from the notification area).
  if (owner) PostMessageW(owner, WM_NULL, 0, 0);
  if (chosen >= kFirstId && chosen - kFirstId < order.size()) Run(*order[chosen - kFirstId]);
}

bool PopupMenu::HandleShortcut(WORD key, BYTE modifiers) {
  MenuItem* item = FindShortcut(root, key, modifiers);
  if (!item) return false;
  Run(*item);
  return true;
}

}  // namespace kv::ui
