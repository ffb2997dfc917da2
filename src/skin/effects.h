#pragma once
// The arithmetic of a glass form's effects: whole-window transparency (the
// system's alpha, or blending with a capture of the screen behind the window),
// per-channel intensities, a hue shift, and the fading steps. Pure and portable;
// the Win32 form only applies the results.

#include <array>
#include <cstdint>
#include <optional>

#include "codecs/bitmap.h"
#include "skin/geometry.h"
#include "skin/pixel_rows.h"

namespace kv::skin {

// Rounds to the nearest integer, ties to the even one. Every "round" of the
// effects arithmetic uses it.
[[nodiscard]] int RoundEven(double v) noexcept;

// The system alpha for a transparency fraction: round(255 − fraction × 255).
[[nodiscard]] std::uint8_t AlphaFromTransparency(double fraction) noexcept;

// Adds `hue` to the pixel's hue on the effects' 358-step hue circle (see the
// definition for why not 360). A hue of 0 is not passed through here at all.
[[nodiscard]] Colour ShiftHue(Colour c, int hue) noexcept;

// Per channel, entry [a][b] combines the background value a with the face value
// b: trunc(a × t + (1 − t) × b × intensity).
struct BlendTables {
  std::array<std::uint8_t, 65536> red{};
  std::array<std::uint8_t, 65536> green{};
  std::array<std::uint8_t, 65536> blue{};

  void Build(double t, double redIntensity, double greenIntensity, double blueIntensity);
  [[nodiscard]] static std::size_t Index(int background, int face) noexcept {
    return static_cast<std::size_t>(background) * 256 + static_cast<std::size_t>(face);
  }
};

// A capture of the screen behind the window: its rows and where it was taken.
struct Capture {
  ConstPixelRows rows;
  Point screenPos;
};

// The effect state of one glass form, with its values on creation.
class GlassEffects {
 public:
  // `layered`: the system does transparency itself (alpha); otherwise it is
  // emulated by blending with a capture.
  explicit GlassEffects(bool layered);

  [[nodiscard]] bool Layered() const noexcept { return layered_; }
  [[nodiscard]] double Transparency() const noexcept { return transparency_; }
  [[nodiscard]] double RedIntensity() const noexcept { return red_; }
  [[nodiscard]] double GreenIntensity() const noexcept { return green_; }
  [[nodiscard]] double BlueIntensity() const noexcept { return blue_; }
  [[nodiscard]] int Hue() const noexcept { return hue_; }

  // Each setter returns whether the state changed; values out of range (0 to
  // 100 percent, hue 0 to 360) and unchanged percentages are ignored. The blend
  // tables follow at once.
  bool SetTransparency(int percent);
  bool SetRedIntensity(int percent);
  bool SetGreenIntensity(int percent);
  bool SetBlueIntensity(int percent);
  bool SetHue(int value);
  // The fraction times 100, rounded.
  [[nodiscard]] int GetTransparency() const noexcept;
  [[nodiscard]] std::uint8_t Alpha() const noexcept { return AlphaFromTransparency(transparency_); }
  // Transparency is emulated (blended with a capture) rather than done by the
  // system.
  [[nodiscard]] bool Emulating() const noexcept { return !layered_ && transparency_ != 0.0; }

  // The face actually shown for `face` placed with its top-left corner at screen
  // position `origin`, written to `out` (same size as `face`). While emulating,
  // pixels are blended with the capture at the same screen position (pixels the
  // capture does not cover, and every pixel when there is no capture, are shown
  // unblended); otherwise each channel is scaled by its intensity. The hue shift
  // comes first, when the hue is not 0.
  void Compose(ConstPixelRows face, PixelRows out, Point origin, const Capture* capture) const;

  [[nodiscard]] const BlendTables& Tables() const noexcept { return tables_; }

 private:
  void RebuildTables();
  bool SetIntensity(double& field, int percent);

  bool layered_;
  double transparency_ = 0.25;
  double red_ = 1.0, green_ = 1.0, blue_ = 1.0;
  int hue_ = 0;
  BlendTables tables_;
};

// Fading. The window being faded, as the fade sees it.
class FadeTarget {
 public:
  virtual ~FadeTarget() = default;
  [[nodiscard]] virtual bool IsVisible() const = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  [[nodiscard]] virtual int GetTransparency() const = 0;  // percent
  virtual void SetTransparency(int percent) = 0;
  // Waits `ms` milliseconds while handling the window messages that arrive.
  virtual void Wait(int ms) = 0;
};

struct FadeSettings {
  static constexpr int kNoneSaved = 101;
  bool enabled = false;
  std::uint8_t delay = 10;  // ms between steps
  std::uint8_t step = 10;   // percent per step
  int saved = kNoneSaved;   // transparency to return to when fading in
  bool targetVisible = false;
};

// Hides the window, fading it out first when it is visible and fading is on.
void FadeOut(FadeTarget& window, FadeSettings& fade);
// Shows a hidden window fading in, when fading is on; otherwise does nothing.
void FadeIn(FadeTarget& window, FadeSettings& fade);
// Remembers the wish, then fades (when on) or simply shows or hides.
void ShowFaded(FadeTarget& window, FadeSettings& fade, bool visible);

}  // namespace kv::skin
