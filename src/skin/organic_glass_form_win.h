#pragma once
// TOrganicShapeGlassForm: a shaped form with whole-window effects. Transparency is
// the system's (a layered window's alpha) where user32 has
// SetLayeredWindowAttributes, and is otherwise emulated by blending the face with a
// capture of the screen behind the window. Colour intensities and the hue shift
// are applied to the face (and to the faces of the skin controls on it) through
// Compose. It fades in and out, and snaps to the edges of the monitor it is on.

#include <windows.h>

#include <functional>
#include <memory>

#include "skin/effects.h"
#include "skin/organic_shape_form_win.h"
#include "skin/speed_bitmap_win.h"

namespace kv::skin {

class TOrganicShapeGlassForm : public TOrganicShapeForm, private FadeTarget {
 public:
  // `allowLayered` false makes the form emulate transparency even where the
  // system could do it (as on systems without layered windows).
  explicit TOrganicShapeGlassForm(bool allowLayered = true);
  ~TOrganicShapeGlassForm() override;

  void Create(const CreateArgs& args);

  [[nodiscard]] bool LayeredAvailable() const noexcept { return effects_.Layered(); }
  [[nodiscard]] const GlassEffects& Effects() const noexcept { return effects_; }

  // Each is ignored when out of range (percent 0 to 100, hue 0 to 360) or, for
  // the percentages, unchanged.
  void SetTransparency(int percent) override;
  [[nodiscard]] int GetTransparency() const override { return effects_.GetTransparency(); }
  void SetRedIntensity(int percent);
  void SetGreenIntensity(int percent);
  void SetBlueIntensity(int percent);
  void SetHue(int value);

  // Fading, with its settings (enabled, delay, step) in Fade().
  [[nodiscard]] FadeSettings& Fade() noexcept { return fade_; }
  void ShowFaded(bool visible);
  void FadeIn();
  void FadeOut();
  [[nodiscard]] bool IsVisible() const override { return HwndOwner::IsVisible(); }
  void Show() override;
  void Hide() override;

  // Snapping to the edges of the monitor the window is on (Shift held: to the
  // screen less the taskbar) while it moves.
  bool snapToEdge = false;
  int snapThreshold = 30;
  // The window's own snapping (to another window), run on every proposed move
  // before the edges are looked at.
  std::function<void(int& x, int& y)> onSnap;

  // The face of `picture` placed with its top-left corner at screen position
  // `origin`, in `out` (resized to the picture). Controls on the form compose
  // with CompositionOrigin() plus their own left and top.
  void Compose(const Bitmap& picture, Point origin, TSpeedBitmap& out) const;
  void Compose(TSpeedBitmap& face, Point origin) const;  // in place
  [[nodiscard]] Point CompositionOrigin() const noexcept { return origin_; }

  // Copies the screen behind the window (moving the window away for the moment);
  // emulated transparency blends with it. Runs on activation while emulating.
  void CaptureBackground();
  [[nodiscard]] bool HasCapture() const noexcept { return !capture_.Empty(); }

 protected:
  // Emulated transparency takes a new capture of the screen behind the window
  // whenever it or the program becomes active, and recomposes when it moves.
  void Activated(bool active) override;
  void AppActivated(bool active) override;
  void PositionChanged(const WINDOWPOS& pos) override;
  void PaintFace(HDC dc) override;
  void PositionChanging(WINDOWPOS& pos) override;

 private:
  using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

  void Wait(int ms) override;
  void ApplyAlpha();
  void Repaint();  // the form and every skin control on it

  HMODULE user32_ = nullptr;
  SetLayeredWindowAttributesFn setLayered_ = nullptr;
  GlassEffects effects_;
  FadeSettings fade_;
  Point origin_;
  TSpeedBitmap capture_;
  Point captureAt_;
  mutable TSpeedBitmap face_;
  mutable bool faceValid_ = false;
  bool capturing_ = false;
};

// The glass form a window belongs to (itself or its top-level parent), if any.
[[nodiscard]] TOrganicShapeGlassForm* GlassFormOf(HWND hwnd) noexcept;

}  // namespace kv::skin
