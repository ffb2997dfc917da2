#include "skin/effects.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kv::skin {

int RoundEven(double v) noexcept {
  // nearbyint rounds in the current mode, which the program never changes from
  // round-to-nearest-even.
  return static_cast<int>(std::nearbyint(v));
}

std::uint8_t AlphaFromTransparency(double fraction) noexcept {
  return static_cast<std::uint8_t>(std::clamp(RoundEven(255 - fraction * 255), 0, 255));
}

namespace {

double HueChannel(double m1, double m2, double x) {
  if (x < 0) x += 1;
  if (x > 1) x -= 1;
  if (6 * x < 1) return m1 + (m2 - m1) * 6 * x;
  if (2 * x < 1) return m2;
  if (3 * x < 2) return m1 + (m2 - m1) * (2.0 / 3.0 - x) * 6;
  return m1;
}

std::uint8_t ToByte(double v) {
  return static_cast<std::uint8_t>(std::clamp(RoundEven(255 * v), 0, 255));
}

}  // namespace

Colour ShiftHue(Colour c, int hue) noexcept {
  const double r = RedOf(c) / 255.0, g = GreenOf(c) / 255.0, b = BlueOf(c) / 255.0;
  const double max = std::max({r, g, b}), min = std::min({r, g, b});
  double l = (max + min) / 2, h = 0, s = 0;
  if (max != min) {
    const double d = max - min;
    s = l < 0.5 ? d / (max + min) : d / (2 - max - min);
    if (r == max)
      h = (g - b) / d;
    else if (g == max)
      h = 2 + (b - r) / d;
    else
      h = 4 + (r - g) / d;
    h /= 6;
    if (h < 0) h += 1;
  }
  // The integer form keeps the hue on a scale of 358 steps: the colours come
  // back exactly as the effect has always drawn them.
  int H = RoundEven(h * 358);
  const int S = RoundEven(s * 255), L = RoundEven(l * 255);
  H += hue;
  if (H > 359) H -= 359;
  if (H < 0) H += 359;
  h = H / 358.0;
  s = S / 255.0;
  l = L / 255.0;
  if (S == 0) {
    const std::uint8_t v = ToByte(l);
    return MakeColour(v, v, v);
  }
  const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
  const double m1 = 2 * l - m2;
  return MakeColour(ToByte(HueChannel(m1, m2, h + 1.0 / 3.0)), ToByte(HueChannel(m1, m2, h)),
                    ToByte(HueChannel(m1, m2, h - 1.0 / 3.0)));
}

void BlendTables::Build(double t, double redIntensity, double greenIntensity,
                        double blueIntensity) {
  const auto fill = [t](std::array<std::uint8_t, 65536>& table, double intensity) {
    for (int a = 0; a < 256; ++a)
      for (int b = 0; b < 256; ++b) {
        const double v = a * t + (1 - t) * b * intensity;
        table[Index(a, b)] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(v), 0, 255));
      }
  };
  fill(red, redIntensity);
  fill(green, greenIntensity);
  fill(blue, blueIntensity);
}

GlassEffects::GlassEffects(bool layered) : layered_(layered) { RebuildTables(); }

void GlassEffects::RebuildTables() {
  // With the system's alpha the tables only scale; the transparency is not theirs.
  tables_.Build(layered_ ? 0.0 : transparency_, red_, green_, blue_);
}

int GlassEffects::GetTransparency() const noexcept { return RoundEven(transparency_ * 100); }

bool GlassEffects::SetTransparency(int percent) {
  if (percent < 0 || percent > 100 || percent == GetTransparency()) return false;
  transparency_ = percent / 100.0;
  if (!layered_) RebuildTables();
  return true;
}

bool GlassEffects::SetIntensity(double& field, int percent) {
  if (percent < 0 || percent > 100 || percent == RoundEven(field * 100)) return false;
  field = percent / 100.0;
  RebuildTables();
  return true;
}

bool GlassEffects::SetRedIntensity(int percent) { return SetIntensity(red_, percent); }
bool GlassEffects::SetGreenIntensity(int percent) { return SetIntensity(green_, percent); }
bool GlassEffects::SetBlueIntensity(int percent) { return SetIntensity(blue_, percent); }

bool GlassEffects::SetHue(int value) {
  if (value < 0 || value > 360) return false;
  hue_ = value;
  return true;
}

void GlassEffects::Compose(ConstPixelRows face, PixelRows out, Point origin,
                           const Capture* capture) const {
  const int width = std::min(face.width, out.width), height = std::min(face.height, out.height);
  const std::size_t rowBytes = static_cast<std::size_t>(std::max(width, 0)) * 3;
  const bool emulating = Emulating();
  const bool identity = (emulating && capture == nullptr) ||
                        (!emulating && hue_ == 0 && red_ == 1.0 && green_ == 1.0 && blue_ == 1.0);
  if (identity) {
    // Unchanged (memmove: the face may be composed in place): without a capture
    // the emulated face is the plain picture, and
    // factors of 1 scale every value to itself.
    for (int y = 0; y < height; ++y) std::memmove(out.Row(y), face.Row(y), rowBytes);
    return;
  }
  // Pictures are mostly runs of few colours: remember the last hue shift.
  Colour lastIn = 0, lastOut = 0;
  bool haveLast = false;
  const auto shifted = [&](const std::uint8_t* p) {
    const Colour c = MakeColour(p[2], p[1], p[0]);
    if (!haveLast || c != lastIn) {
      lastIn = c;
      lastOut = ShiftHue(c, hue_);
      haveLast = true;
    }
    return lastOut;
  };
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* src = face.Row(y);
    std::uint8_t* dst = out.Row(y);
    const int sy = origin.y + y - (capture ? capture->screenPos.y : 0);
    for (int x = 0; x < width; ++x, src += 3, dst += 3) {
      std::uint8_t b = src[0], g = src[1], r = src[2];
      if (hue_ != 0) {
        const Colour c = shifted(src);
        r = RedOf(c);
        g = GreenOf(c);
        b = BlueOf(c);
      }
      int bgB = 255, bgG = 255, bgR = 255;
      if (emulating) {
        const int sx = origin.x + x - capture->screenPos.x;
        if (sx < 0 || sy < 0 || sx >= capture->rows.width || sy >= capture->rows.height) {
          dst[0] = b;
          dst[1] = g;
          dst[2] = r;
          continue;
        }
        const std::uint8_t* bg = capture->rows.At(sx, sy);
        bgB = bg[0];
        bgG = bg[1];
        bgR = bg[2];
      }
      dst[0] = tables_.blue[BlendTables::Index(bgB, b)];
      dst[1] = tables_.green[BlendTables::Index(bgG, g)];
      dst[2] = tables_.red[BlendTables::Index(bgR, r)];
    }
  }
}

void FadeOut(FadeTarget& window, FadeSettings& fade) {
  // A step of 0 would never arrive; it moves by 1 instead.
  const int step = std::max<int>(fade.step, 1);
  if (window.IsVisible() && fade.enabled) {
    fade.saved = window.GetTransparency();
    if (window.GetTransparency() == 100) window.SetTransparency(0);
    while (window.GetTransparency() < 100) {
      const int next = window.GetTransparency() + step;
      window.SetTransparency(next > 99 ? 100 : next);
      window.Wait(fade.delay);
    }
  }
  window.Hide();
}

void FadeIn(FadeTarget& window, FadeSettings& fade) {
  if (window.IsVisible() || !fade.enabled) return;
  const int step = std::max<int>(fade.step, 1);
  if (fade.saved == FadeSettings::kNoneSaved) {
    fade.saved = window.GetTransparency();
    window.SetTransparency(100);
  }
  window.Show();
  while (window.GetTransparency() > fade.saved) {
    const int next = window.GetTransparency() - step;
    window.SetTransparency(next > fade.saved ? next : fade.saved);
    window.Wait(fade.delay);
  }
}

void ShowFaded(FadeTarget& window, FadeSettings& fade, bool visible) {
  fade.targetVisible = visible;
  if (fade.enabled) {
    if (visible)
      FadeIn(window, fade);
    else
      FadeOut(window, fade);
  } else if (visible) {
    window.Show();
  } else {
    window.Hide();
  }
}

}  // namespace kv::skin
