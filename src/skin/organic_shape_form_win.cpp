#include "skin/organic_shape_form_win.h"

#include "base/error.h"
#include "base/text_win.h"
#include "config/settings_schema.h"
#include "config/settings_store_win.h"
#include "skin/organic_shape_error.h"
#include "skin/snapping.h"
#include "skin/speed_bitmap_win.h"
#include "widgets/screen_fit_win.h"

namespace kv::skin {
namespace {

// A drag by the body is the system's own move loop, started as if the caption
// had been pressed (SC_MOVE with HTCAPTION).
constexpr WPARAM kMoveByCaption = 0xF012;
constexpr int kShapedSnapDistance = 30;

std::string FormSubkey(const std::string& form) { return std::string(kFormsSubkey) + form + "\\"; }

}  // namespace

std::optional<int> ReadFormValue(const std::string& form, const char* value) {
  try {
    return RegistrySettingsStore().RegReadInteger(FormSubkey(form), value);
  } catch (const Error&) {
    return std::nullopt;  // a value of another type counts as absent
  }
}

void WriteFormValue(const std::string& form, const char* value, int data) noexcept {
  try {
    RegistrySettingsStore().RegWriteInteger(FormSubkey(form), value, data);
  } catch (...) {
    // A position that cannot be remembered is not worth an error box.
  }
}

bool TaskbarRect(Rect& out) {
  HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  RECT r;
  if (!taskbar || !GetWindowRect(taskbar, &r)) return false;
  out = {r.left, r.top, r.right, r.bottom};
  return true;
}

Rect WithoutScreenTaskbar(const Rect& work) {
  Rect taskbar;
  if (!TaskbarRect(taskbar)) return work;
  return WithoutTaskbar(work, taskbar, GetSystemMetrics(SM_CXSCREEN),
                        GetSystemMetrics(SM_CYSCREEN));
}

void SnapWindowPos(WINDOWPOS& pos, const Rect& work, int threshold) {
  const Point p = SnapToEdges({pos.x, pos.y}, pos.cx, pos.cy, work, threshold);
  pos.x = p.x;
  pos.y = p.y;
}

TOrganicShapeForm::TOrganicShapeForm() {
  paintsWholeFace_ = true;  // the skin covers the whole window
  skin_.OnChange = [this] {
    if (hwnd_) shapeIt();
  };
}

TOrganicShapeForm::~TOrganicShapeForm() { SavePosition(); }

void TOrganicShapeForm::SavePosition() noexcept {
  if (!hwnd_ || name_.empty()) return;
  RECT r;
  if (!GetWindowRect(hwnd_, &r)) return;
  WriteFormValue(name_, kFormTop, r.top);
  WriteFormValue(name_, kFormLeft, r.left);
}

void TOrganicShapeForm::Create(const CreateArgs& args) {
  name_ = args.name;
  int left = 1, top = 1;
  if (!name_.empty()) {
    left = ReadFormValue(name_, kFormLeft).value_or(1);
    top = ReadFormValue(name_, kFormTop).value_or(1);
  }
  ui::WindowArgs w;
  w.className = L"TOrganicShapeForm";
  w.title = args.title;
  w.style = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX;
  w.exStyle = args.exStyle;
  w.parent = args.owner;
  w.left = left;
  w.top = top;
  w.width = std::max(skin_.Width(), 1);
  w.height = std::max(skin_.Height(), 1);
  Window::Create(w);
  if (!skin_.Empty()) {
    GdiRegion region = skin_.getRegion();
    if (!SetWindowRgn(hwnd_, region.get(), TRUE))
      throw OrganicShapeException::Failed("TOrganicShapeControl", "CreateWnd", "SetWindowRgn");
    region.release();  // the window owns it now
  }
  ui::KeepReachable(hwnd_);
}

void TOrganicShapeForm::SetInvisibleColor(Colour c) {
  if (c == invisible_) return;
  invisible_ = c;
  if (hwnd_) shapeIt();
}

void TOrganicShapeForm::shapeIt() {
  if (!hwnd_) return;
  if (skin_.Empty()) {
    if (!SetWindowRgn(hwnd_, nullptr, TRUE))
      throw OrganicShapeException::Failed("TOrganicShapeForm", "shapeIt", "SetWindowRgn");
    return;
  }
  if (skin_.InvisibleColor() != invisible_) {
    skin_.SetInvisibleColor(invisible_);
    skin_.calculateRegion();
  }
  // A new size keeps the window inside the work area: a wider skin chosen while
  // the window sits at the screen's right edge would otherwise put its right
  // part, buttons and all, off the screen.
  RECT now{};
  GetWindowRect(hwnd_, &now);
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  Rect placed{now.left, now.top, now.left + skin_.Width(), now.top + skin_.Height()};
  if (placed.Width() != now.right - now.left || placed.Height() != now.bottom - now.top)
    placed = ui::FitInside(placed, ui::WorkAreaNear(placed), false);
  else
    flags |= SWP_NOMOVE;
  SetWindowPos(hwnd_, nullptr, placed.left, placed.top, placed.Width(), placed.Height(), flags);
  GdiRegion region = skin_.getRegion();
  if (!SetWindowRgn(hwnd_, region.get(), TRUE))
    throw OrganicShapeException::Failed("TOrganicShapeForm", "shapeIt", "SetWindowRgn");
  region.release();
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

Point TOrganicShapeForm::ScreenPosition() const noexcept {
  RECT r{};
  if (hwnd_) GetWindowRect(hwnd_, &r);
  return {r.left, r.top};
}

void TOrganicShapeForm::PaintFace(HDC dc) { DrawBitmap(dc, 0, 0, skin_.Picture()); }

void TOrganicShapeForm::PositionChanging(WINDOWPOS& pos) {
  const Rect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SnapWindowPos(pos, WithoutScreenTaskbar(screen), kShapedSnapDistance);
}

void TOrganicShapeForm::MouseDown(int button, int x, int y) {
  Form::MouseDown(button, x, y);
  if (button != 0 || !dragByBody) return;
  ReleaseCapture();
  SendMessageW(hwnd_, WM_SYSCOMMAND, kMoveByCaption, 0);
}

}  // namespace kv::skin
