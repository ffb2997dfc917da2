#pragma once
// A popup menu as a tree of items: captions, shortcuts shown beside them, check
// marks, images from an image list, separators, submenus, hidden items, and a
// handler per item. The system menu is built afresh for each popup from the
// tree, so items can change at any time.

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/handle_win.h"

namespace kv::ui {

struct MenuItem {
  std::string name;          // component name, to find the item
  std::string caption;       // "-" makes a separator
  std::string shortcutText;  // shown right-aligned, e.g. "Ctrl+B"
  // The key that runs the item through PopupMenu::HandleShortcut: a virtual key
  // and HOTKEYF_SHIFT / HOTKEYF_CONTROL / HOTKEYF_ALT flags; 0: none.
  WORD shortcutKey = 0;
  BYTE shortcutModifiers = 0;
  bool checked = false;
  bool enabled = true;
  bool visible = true;
  bool radio = false;      // the check mark is a dot
  bool isDefault = false;  // drawn bold
  int imageIndex = -1;     // in the menu's image list
  int tag = 0;
  std::function<void(MenuItem& item)> onClick;
  std::vector<std::unique_ptr<MenuItem>> items;  // a submenu when not empty

  [[nodiscard]] bool IsSeparator() const noexcept { return caption == "-"; }
  // Appends an item and returns it.
  MenuItem& Add(std::string caption, std::function<void(MenuItem&)> onClick = {},
                std::string name = {});
  MenuItem& AddSeparator();
  // The item with this name, here or in any submenu; null when there is none.
  [[nodiscard]] MenuItem* Find(const std::string& itemName);
};

// How a menu is drawn: by the system (bitmaps beside the captions), or by the
// program in the system's colours, with a column for the pictures and check
// marks and a highlight bar across the item.
enum class MenuDrawing { System, Drawn };

class PopupMenu {
 public:
  // Each menu's own choice; the owner of a menu decides it.
  MenuDrawing drawing = MenuDrawing::System;

  MenuItem root;
  HIMAGELIST images = nullptr;    // not owned
  std::function<void()> onPopup;  // runs before the menu shows

  // Shows the menu at a screen position; the chosen item's handler runs after it
  // has closed. `owner` receives the menu's messages (it is made the foreground
  // window first, so the menu closes when the user clicks elsewhere).
  void Popup(HWND owner, int x, int y);
  // Runs the visible, enabled item (at any depth) with this shortcut; true when
  // there was one.
  bool HandleShortcut(WORD key, BYTE modifiers);
  // The command that Popup would run for an item, for tests and keyboard paths.
  static void Run(MenuItem& item);

  // Builds the system menu for the tree (ids are indices into `order`). The
  // caller destroys it; `bitmaps` collects the item images to delete after.
  HMENU Build(std::vector<MenuItem*>& order, std::vector<HBITMAP>& bitmaps) const;

  // The drawn style, for the owner window's messages while the menu shows
  // (Popup routes them here): an item's size, its picture, and the item a
  // typed letter picks. An item's data is its MenuItem; a separator's is null.
  void MeasureItem(MEASUREITEMSTRUCT& measure) const;
  void DrawItem(const DRAWITEMSTRUCT& draw) const;
  static LRESULT MenuChar(wchar_t typed, HMENU menu);

 private:
  // The system's menu font, plain and bold (the default item), made when
  // first needed and let go when the menu closes, so a changed system font is
  // taken up by the next menu.
  HFONT MenuFont(bool bold) const;
  mutable GdiFont fonts_[2];

  static LRESULT CALLBACK DrawingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                      DWORD_PTR self);
};

}  // namespace kv::ui
