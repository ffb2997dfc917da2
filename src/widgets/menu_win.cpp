#include "widgets/menu_win.h"

#include "widgets/text_win.h"
#include "widgets/window_win.h"

namespace kv::ui {
namespace {

// Menu ids start above 0, which TrackPopupMenu returns for "nothing chosen".
constexpr UINT kFirstId = 1;

// An image list entry as a 32-bit bitmap with alpha, which menus draw as is.
HBITMAP ImageBitmap(HIMAGELIST list, int index) {
  int w = 0, h = 0;
  if (!list || index < 0 || index >= ImageList_GetImageCount(list) ||
      !ImageList_GetIconSize(list, &w, &h))
    return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  ImageList_Draw(list, index, dc, 0, 0, ILD_TRANSPARENT);
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
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
      HMENU sub = CreatePopupMenu();
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
  HMENU menu = CreatePopupMenu();
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
