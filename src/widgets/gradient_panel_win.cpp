#include "widgets/gradient_panel_win.h"

#include <vector>

#include "base/text_win.h"

namespace kv::ui {
namespace {

BYTE Mix(int a, int b, int i, int n) {
  return static_cast<BYTE>(n <= 1 ? a : a + (b - a) * i / (n - 1));
}

}  // namespace

void GradientPanel::Create(HWND parent, RECT bounds, COLORREF top, COLORREF bottom) {
  top_ = top;
  bottom_ = bottom;
  WindowArgs args;
  args.className = L"KvGradientPanel";
  args.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  args.exStyle = WS_EX_CONTROLPARENT;
  args.parent = parent;
  args.left = bounds.left;
  args.top = bounds.top;
  args.width = bounds.right - bounds.left;
  args.height = bounds.bottom - bounds.top;
  Window::Create(args);
  Rebuild(args.width, args.height);
}

void GradientPanel::Rebuild(int width, int height) {
  if (width <= 0 || height <= 0) return;
  // One column of the gradient is enough for a vertical one, but a pattern
  // brush repeats its bitmap: the picture covers the whole panel so that the
  // controls' backgrounds line up with it wherever they sit.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  picture_.reset(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  ReleaseDC(nullptr, screen);
  if (!picture_ || !bits) return;
  auto* pixels = static_cast<DWORD*>(bits);
  for (int y = 0; y < height; ++y) {
    const DWORD c = RGB(Mix(GetBValue(top_), GetBValue(bottom_), y, height),
                        Mix(GetGValue(top_), GetGValue(bottom_), y, height),
                        Mix(GetRValue(top_), GetRValue(bottom_), y, height));
    for (int x = 0; x < width; ++x) pixels[y * width + x] = c;
  }
  brush_.reset(CreatePatternBrush(picture_.get()));
}

bool GradientPanel::EraseBackground(HDC dc) {
  if (!brush_) return false;
  RECT r;
  GetClientRect(hwnd_, &r);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  FillRect(dc, &r, brush_.get());
  return true;
}

HBRUSH GradientPanel::ChildBackground(HDC dc, HWND child) {
  if (!brush_) return nullptr;
  // A read-only edit asks with WM_CTLCOLORSTATIC too; it keeps its own
  // window colour so that its text stays readable.
  wchar_t cls[16] = {};
  GetClassNameW(child, cls, 16);
  if (lstrcmpiW(cls, L"Edit") == 0) return nullptr;
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
  SetBkMode(dc, TRANSPARENT);
  // The brush's origin moves with the control, so its background continues
  // the panel's gradient.
  SetBrushOrgEx(dc, -r.left, -r.top, nullptr);
  return brush_.get();
}

void LinkLabel::Create(HWND parent, RECT bounds, const std::string& caption, HFONT font) {
  font_ = font;
  LOGFONTW lf{};
  if (font && GetObjectW(font, sizeof lf, &lf)) {
    lf.lfUnderline = TRUE;
    underlined_.reset(CreateFontIndirectW(&lf));
  }
  WindowArgs args;
  args.className = L"KvLinkLabel";
  args.title = caption;
  args.style = WS_CHILD | WS_VISIBLE;
  args.parent = parent;
  args.left = bounds.left;
  args.top = bounds.top;
  args.width = bounds.right - bounds.left;
  args.height = bounds.bottom - bounds.top;
  args.cursor = LoadCursorW(nullptr, IDC_HAND);
  paintsWholeFace_ = true;
  followsMouse_ = true;
  Window::Create(args);
}

void LinkLabel::SetIcon(HICON icon, int size) {
  icon_ = icon;
  iconSize_ = size;
  Invalidate();
}

void LinkLabel::SetSelected(bool selected) {
  selected_ = selected;
  Invalidate();
}

COLORREF LinkLabel::ShownColour() const noexcept {
  return hover_ || selected_ ? activeColour : normalColour;
}

void LinkLabel::PaintFace(HDC dc) {
  RECT r;
  GetClientRect(hwnd_, &r);
  // The parent paints what lies behind (a white strip or a gradient).
  const HBRUSH back = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(hwnd_), WM_CTLCOLORSTATIC,
                                                            reinterpret_cast<WPARAM>(dc),
                                                            reinterpret_cast<LPARAM>(hwnd_)));
  FillRect(dc, &r, back ? back : GetSysColorBrush(COLOR_WINDOW));
  if (icon_) {
    DrawIconEx(dc, 0, 0, icon_, iconSize_, iconSize_, 0, nullptr, DI_NORMAL);
    return;
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ShownColour());
  const HGDIOBJ old = SelectObject(dc, underlined_ ? underlined_.get() : font_);
  const std::wstring text = Widen(Text());
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
}

void LinkLabel::MouseUp(int button, int x, int y) {
  Window::MouseUp(button, x, y);
  if (button == 0 && onClick) onClick(*this);
}

void LinkLabel::MouseEnter() {
  hover_ = true;
  Invalidate();
  Window::MouseEnter();
}

void LinkLabel::MouseLeave() {
  hover_ = false;
  Invalidate();
  Window::MouseLeave();
}

}  // namespace kv::ui
