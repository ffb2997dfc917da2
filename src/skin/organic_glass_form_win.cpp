#include "skin/organic_glass_form_win.h"

#include <vector>

#include "skin/snapping.h"
#include "widgets/window_win.h"

namespace kv::skin {
namespace {

// The library stays loaded for the form's life, so the function stays valid.
HMODULE LoadUser32() { return LoadLibraryW(L"user32.dll"); }

template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT r, LPARAM data) {
  auto* list = reinterpret_cast<std::vector<Rect>*>(data);
  list->push_back({r->left, r->top, r->right, r->bottom});
  return list->size() < 10;
}

// Monitors 0 to 9 in the system's order.
std::vector<Rect> MonitorBounds() {
  std::vector<Rect> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

}  // namespace

TOrganicShapeGlassForm* GlassFormOf(HWND hwnd) noexcept {
  HWND root = hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr;
  return dynamic_cast<TOrganicShapeGlassForm*>(ui::HwndOwner::FromHwnd(root));
}

TOrganicShapeGlassForm::TOrganicShapeGlassForm(bool allowLayered)
    : user32_(LoadUser32()),
      setLayered_(allowLayered
                      ? Lookup<SetLayeredWindowAttributesFn>(user32_, "SetLayeredWindowAttributes")
                      : nullptr),
      effects_(setLayered_ != nullptr) {
  Skin().OnChange = [this] {
    faceValid_ = false;
    if (hwnd_) shapeIt();
  };
}

TOrganicShapeGlassForm::~TOrganicShapeGlassForm() {
  // The window goes first (in the base destructors) but the function it may
  // still call lives in user32, which this process never unloads for real.
  if (user32_) FreeLibrary(user32_);
}

void TOrganicShapeGlassForm::Create(const CreateArgs& args) {
  TOrganicShapeForm::Create(args);
  origin_ = ScreenPosition();
  if (effects_.Layered()) ApplyAlpha();
}

void TOrganicShapeGlassForm::ApplyAlpha() {
  if (!hwnd_ || !setLayered_) return;
  SetWindowLongW(hwnd_, GWL_EXSTYLE, GetWindowLongW(hwnd_, GWL_EXSTYLE) | WS_EX_LAYERED);
  setLayered_(hwnd_, 0, effects_.Alpha(), LWA_ALPHA);
}

void TOrganicShapeGlassForm::Repaint() {
  faceValid_ = false;
  if (hwnd_) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TOrganicShapeGlassForm::SetTransparency(int percent) {
  if (!effects_.SetTransparency(percent)) return;
  if (effects_.Layered())
    ApplyAlpha();
  else
    Repaint();
}

void TOrganicShapeGlassForm::SetRedIntensity(int percent) {
  if (effects_.SetRedIntensity(percent)) Repaint();
}
void TOrganicShapeGlassForm::SetGreenIntensity(int percent) {
  if (effects_.SetGreenIntensity(percent)) Repaint();
}
void TOrganicShapeGlassForm::SetBlueIntensity(int percent) {
  if (effects_.SetBlueIntensity(percent)) Repaint();
}
void TOrganicShapeGlassForm::SetHue(int value) {
  if (effects_.SetHue(value)) Repaint();
}

void TOrganicShapeGlassForm::Show() {
  if (hwnd_) ShowWindow(hwnd_, SW_SHOW);
}
void TOrganicShapeGlassForm::Hide() {
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void TOrganicShapeGlassForm::Wait(int ms) {
  const DWORD start = GetTickCount();
  do {
    Sleep(1);
    ui::ProcessMessages();
  } while (GetTickCount() - start < static_cast<DWORD>(ms) && !ui::Terminated());
}

void TOrganicShapeGlassForm::ShowFaded(bool visible) { skin::ShowFaded(*this, fade_, visible); }
void TOrganicShapeGlassForm::FadeIn() { skin::FadeIn(*this, fade_); }
void TOrganicShapeGlassForm::FadeOut() { skin::FadeOut(*this, fade_); }

void TOrganicShapeGlassForm::Compose(const Bitmap& picture, Point origin, TSpeedBitmap& out) const {
  out.Assign(picture);
  Compose(out, origin);
}

void TOrganicShapeGlassForm::Compose(TSpeedBitmap& face, Point origin) const {
  if (face.Empty()) return;
  GdiFlush();  // text drawn into the face must be in its bits first
  Capture capture{AsConst(capture_.Rows()), captureAt_};
  effects_.Compose(AsConst(face.Rows()), face.Rows(), origin,
                   capture_.Empty() ? nullptr : &capture);
}

void TOrganicShapeGlassForm::PaintFace(HDC dc) {
  if (Skin().Empty()) return;
  if (!faceValid_) {
    Compose(Skin().Picture(), origin_, face_);
    faceValid_ = true;
  }
  BitBlt(dc, 0, 0, face_.Width(), face_.Height(), face_.DC(), 0, 0, SRCCOPY);
}

void TOrganicShapeGlassForm::CaptureBackground() {
  if (!hwnd_ || capturing_) return;
  RECT r;
  GetWindowRect(hwnd_, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return;
  capturing_ = true;
  const bool snap = snapToEdge;
  snapToEdge = false;
  SetWindowPos(hwnd_, nullptr, -3000, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Sleep(10);  // the windows behind repaint what the form covered
  capture_.SetSize(width, height);
  HWND desktop = GetDesktopWindow();
  if (HDC screen = GetDC(desktop)) {
    BitBlt(capture_.DC(), 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(desktop, screen);
  }
  captureAt_ = {r.left, r.top};
  SetWindowPos(hwnd_, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  snapToEdge = snap;
  capturing_ = false;
  Repaint();
}

void TOrganicShapeGlassForm::PositionChanging(WINDOWPOS& pos) {
  if (capturing_) return;
  if (onSnap) onSnap(pos.x, pos.y);
  if (!snapToEdge) return;
  const auto work =
      MonitorWorkRect({pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy}, MonitorBounds());
  if (!work) return;
  // With Shift held the taskbar is left free.
  const bool shift = (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
  SnapWindowPos(pos, shift ? WithoutScreenTaskbar(*work) : *work, snapThreshold);
}

void TOrganicShapeGlassForm::Activated(bool active) {
  if (active && effects_.Emulating()) CaptureBackground();
  TOrganicShapeForm::Activated(active);
}

void TOrganicShapeGlassForm::AppActivated(bool active) {
  if (active && effects_.Emulating()) CaptureBackground();
  TOrganicShapeForm::AppActivated(active);
}

void TOrganicShapeGlassForm::PositionChanged(const WINDOWPOS& pos) {
  if (!capturing_ && effects_.Emulating() && !(pos.flags & SWP_NOMOVE) &&
      !(origin_ == Point{pos.x, pos.y})) {
    origin_ = {pos.x, pos.y};
    Repaint();
  }
  TOrganicShapeForm::PositionChanged(pos);
}

}  // namespace kv::skin
