#pragma once
// Two small windows of the options dialog: a panel painted with a vertical
// gradient, on which labels and check boxes show the gradient through their
// backgrounds, and a text link (underlined, its colour changing under the
// mouse) that may show an icon instead of text.

#include <windows.h>

#include <functional>
#include <string>

#include "base/handle_win.h"
#include "widgets/window_win.h"

namespace kv::ui {

class GradientPanel : public Window {
 public:
  void Create(HWND parent, RECT bounds, COLORREF top, COLORREF bottom);

 protected:
  bool EraseBackground(HDC dc) override;
  HBRUSH ChildBackground(HDC dc, HWND child) override;

 private:
  void Rebuild(int width, int height);
  COLORREF top_ = RGB(255, 255, 255), bottom_ = RGB(255, 255, 255);
  GdiBitmap picture_;
  GdiBrush brush_;  // a pattern brush of picture_
};

class LinkLabel : public Window {
 public:
  void Create(HWND parent, RECT bounds, const std::string& caption, HFONT font);
  // An icon shown instead of the caption (not owned).
  void SetIcon(HICON icon, int size);
  COLORREF normalColour = RGB(27, 87, 228);
  COLORREF activeColour = RGB(105, 0, 0);
  // The link is shown in the active colour also when the mouse is not over it.
  void SetSelected(bool selected);
  [[nodiscard]] bool Selected() const noexcept { return selected_; }
  [[nodiscard]] COLORREF ShownColour() const noexcept;
  int Tag = 0;
  // A left click (the button released over the link).
  std::function<void(LinkLabel&)> onClick;

 protected:
  // Painted whole, over what the parent gives its children as background.
  void PaintFace(HDC dc) override;
  void MouseUp(int button, int x, int y) override;
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  HFONT font_ = nullptr;
  GdiFont underlined_;
  HICON icon_ = nullptr;
  int iconSize_ = 32;
  bool hover_ = false;
  bool selected_ = false;
};

}  // namespace kv::ui
