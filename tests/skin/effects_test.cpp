#include "skin/effects.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace kv::skin {
namespace {

// The hue of a colour on the effects' 358-step scale.
int Hue358(Colour c) {
  const double r = RedOf(c) / 255.0, g = GreenOf(c) / 255.0, b = BlueOf(c) / 255.0;
  const double max = std::max({r, g, b}), min = std::min({r, g, b}), d = max - min;
  if (d == 0) return 0;
  double h = r == max ? (g - b) / d : g == max ? 2 + (b - r) / d : 4 + (r - g) / d;
  h /= 6;
  if (h < 0) h += 1;
  return RoundEven(h * 358);
}

TEST(Alpha, ComesFromTheTransparencyFraction) {
  EXPECT_EQ(AlphaFromTransparency(0.25), 191);
  EXPECT_EQ(AlphaFromTransparency(0.0), 255);
  EXPECT_EQ(AlphaFromTransparency(1.0), 0);
}

TEST(Alpha, LayeredFormStartsAt191AndFollowsItsTransparency) {
  GlassEffects e(true);
  EXPECT_EQ(e.Alpha(), 191);
  EXPECT_TRUE(e.SetTransparency(0));
  EXPECT_EQ(e.Alpha(), 255);
  EXPECT_TRUE(e.SetTransparency(100));
  EXPECT_EQ(e.Alpha(), 0);
}

TEST(HueShift, PureRedByHundredLandsOnHue100) {
  const Colour shifted = ShiftHue(MakeColour(255, 0, 0), 100);
  // Lightness 0.5 comes back as 128/255, so the weakest channel ends at 1.
  EXPECT_EQ(shifted, MakeColour(83, 255, 1));
  EXPECT_EQ(Hue358(shifted), 100);
}

TEST(HueShift, WrapsPast359BySubtracting359) {
  // Red is at 0; 0 + 360 = 360 > 359 comes back as 1, not 0.
  EXPECT_EQ(Hue358(ShiftHue(MakeColour(255, 0, 0), 360)), 1);
}

TEST(HueShift, GreysStayGreyWhateverTheShift) {
  for (int v : {0, 1, 127, 128, 200, 255})
    for (int hue : {1, 100, 180, 360})
      EXPECT_EQ(ShiftHue(MakeColour(v, v, v), hue), MakeColour(v, v, v)) << v << " " << hue;
}

TEST(HueShift, KeepsLightnessAndSaturationOfSaturatedColours) {
  const Colour c = ShiftHue(MakeColour(0, 0, 255), 120);
  EXPECT_EQ(std::max({RedOf(c), GreenOf(c), BlueOf(c)}), 255);
  EXPECT_LE(std::min({RedOf(c), GreenOf(c), BlueOf(c)}), 1);
}

TEST(BlendTables, FollowTheFormula) {
  BlendTables t;
  t.Build(0.25, 1.0, 0.5, 0.0);
  // trunc(a × 0.25 + 0.75 × b × intensity)
  EXPECT_EQ(t.red[BlendTables::Index(100, 200)], 175);
  EXPECT_EQ(t.green[BlendTables::Index(100, 201)], 100);  // 25 + 75.375
  EXPECT_EQ(t.blue[BlendTables::Index(255, 255)], 63);
  EXPECT_EQ(t.red[BlendTables::Index(255, 255)], 255);
  t.Build(0.0, 1.0, 0.3, 1.0);
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(t.red[BlendTables::Index(255, b)], b);
    EXPECT_EQ(t.green[BlendTables::Index(7, b)], static_cast<int>(b * 0.3));
  }
}

TEST(GlassEffects, SettersIgnoreOutOfRangeAndUnchangedValues) {
  GlassEffects e(true);
  EXPECT_FALSE(e.SetTransparency(25));  // the initial 0.25
  EXPECT_FALSE(e.SetTransparency(-1));
  EXPECT_FALSE(e.SetTransparency(101));
  EXPECT_EQ(e.GetTransparency(), 25);
  EXPECT_FALSE(e.SetRedIntensity(100));
  EXPECT_FALSE(e.SetGreenIntensity(101));
  EXPECT_TRUE(e.SetBlueIntensity(40));
  EXPECT_DOUBLE_EQ(e.BlueIntensity(), 0.4);
  EXPECT_FALSE(e.SetHue(361));
  EXPECT_FALSE(e.SetHue(-1));
  EXPECT_TRUE(e.SetHue(360));
  EXPECT_TRUE(e.SetHue(360)) << "the hue is stored (and repainted) even when unchanged";
  EXPECT_EQ(e.Hue(), 360);
}

Bitmap Face() {
  Bitmap b(4, 2);
  const Colour colours[] = {MakeColour(255, 0, 0), MakeColour(10, 20, 30), MakeColour(200, 100, 50),
                            MakeColour(255, 255, 255)};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) b.SetPixel(x, y, colours[(x + y) % 4]);
  return b;
}

TEST(Compose, LayeredWithoutEffectsShowsThePictureUnchanged) {
  GlassEffects e(true);
  const Bitmap face = Face();
  Bitmap out(4, 2);
  e.Compose(RowsOf(face), RowsOf(out), {100, 100}, nullptr);
  EXPECT_EQ(out, face);
}

TEST(Compose, IntensitiesScaleEachChannelAfterTheHueShift) {
  GlassEffects e(true);
  e.SetRedIntensity(50);
  e.SetGreenIntensity(30);
  e.SetHue(100);
  const Bitmap face = Face();
  Bitmap out(4, 2);
  e.Compose(RowsOf(face), RowsOf(out), {}, nullptr);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) {
      const Colour s = ShiftHue(face.Pixel(x, y), 100);
      EXPECT_EQ(out.Pixel(x, y),
                MakeColour(static_cast<std::uint8_t>(RedOf(s) * 0.5),
                           static_cast<std::uint8_t>(GreenOf(s) * 0.3), BlueOf(s)));
    }
}

TEST(Compose, EmulatedTransparencyBlendsWithTheCaptureAtTheSameScreenPosition) {
  GlassEffects e(false);  // transparency 0.25, emulated
  ASSERT_TRUE(e.Emulating());
  const Bitmap face = Face();
  Bitmap screen(3, 2);
  screen.Fill(MakeColour(0, 100, 200));
  // The capture starts at screen x 11; the face is placed at x 10, so its first
  // column has no background and stays as it is.
  const Capture capture{AsConst(RowsOf(screen)), {11, 50}};
  Bitmap out(4, 2);
  e.Compose(RowsOf(face), RowsOf(out), {10, 50}, &capture);
  for (int y = 0; y < 2; ++y) {
    EXPECT_EQ(out.Pixel(0, y), face.Pixel(0, y));
    for (int x = 1; x < 4; ++x) {
      const Colour f = face.Pixel(x, y);
      const auto mix = [](int a, int b) { return static_cast<std::uint8_t>(a * 0.25 + 0.75 * b); };
      EXPECT_EQ(out.Pixel(x, y),
                MakeColour(mix(0, RedOf(f)), mix(100, GreenOf(f)), mix(200, BlueOf(f))));
    }
  }
}

TEST(Compose, EmulationWithoutCaptureShowsThePictureUnchanged) {
  GlassEffects e(false);
  e.SetRedIntensity(10);
  const Bitmap face = Face();
  Bitmap out(4, 2);
  e.Compose(RowsOf(face), RowsOf(out), {}, nullptr);
  EXPECT_EQ(out, face);
}

TEST(Compose, OpaqueEmulatedFormOnlyScales) {
  GlassEffects e(false);
  e.SetTransparency(0);
  EXPECT_FALSE(e.Emulating());
  e.SetBlueIntensity(0);
  const Bitmap face = Face();
  Bitmap out(4, 2);
  e.Compose(RowsOf(face), RowsOf(out), {}, nullptr);
  EXPECT_EQ(out.Pixel(2, 0), MakeColour(200, 100, 0));
}

// A window that records what a fade does to it.
class RecordingWindow : public FadeTarget {
 public:
  bool visible = true;
  int transparency = 0;
  std::vector<int> set;
  std::vector<std::string> events;

  bool IsVisible() const override { return visible; }
  void Show() override {
    visible = true;
    events.push_back("show");
  }
  void Hide() override {
    visible = false;
    events.push_back("hide");
  }
  int GetTransparency() const override { return transparency; }
  void SetTransparency(int percent) override {
    if (percent < 0 || percent > 100 || percent == transparency) return;
    transparency = percent;
    set.push_back(percent);
    events.push_back("set");
  }
  void Wait(int ms) override { events.push_back("wait " + std::to_string(ms)); }
};

TEST(Fade, OutStepsUpToHundredThenHides) {
  RecordingWindow w;
  FadeSettings f;
  f.enabled = true;
  f.step = 15;
  f.delay = 1;
  FadeOut(w, f);
  EXPECT_THAT(w.set, ::testing::ElementsAre(15, 30, 45, 60, 75, 90, 100));
  EXPECT_EQ(w.events.back(), "hide");
  EXPECT_EQ(w.events[1], "wait 1");
  EXPECT_EQ(f.saved, 0);

  w.set.clear();
  FadeIn(w, f);
  EXPECT_THAT(w.set, ::testing::ElementsAre(85, 70, 55, 40, 25, 10, 0));
  EXPECT_TRUE(w.visible);
}

TEST(Fade, InWithoutSavedValueStartsFullyTransparent) {
  RecordingWindow w;
  w.visible = false;
  w.transparency = 25;
  FadeSettings f;
  f.enabled = true;
  f.step = 40;
  FadeIn(w, f);
  EXPECT_EQ(f.saved, 25);
  EXPECT_THAT(w.set, ::testing::ElementsAre(100, 60, 25));
  EXPECT_EQ(w.events[1], "show") << "shown after going fully transparent";
}

TEST(Fade, OutFromFullyTransparentStartsAtZero) {
  RecordingWindow w;
  w.transparency = 100;
  FadeSettings f;
  f.enabled = true;
  f.step = 50;
  FadeOut(w, f);
  EXPECT_THAT(w.set, ::testing::ElementsAre(0, 50, 100));
  EXPECT_EQ(f.saved, 100);
}

TEST(Fade, DisabledOrHiddenOnlyHides) {
  RecordingWindow w;
  FadeSettings f;
  FadeOut(w, f);
  EXPECT_THAT(w.events, ::testing::ElementsAre("hide"));
  w.events.clear();
  f.enabled = true;
  FadeOut(w, f);  // already hidden
  EXPECT_THAT(w.events, ::testing::ElementsAre("hide"));
  EXPECT_EQ(f.saved, FadeSettings::kNoneSaved);
}

TEST(Fade, InDoesNothingWhenOffOrAlreadyVisible) {
  RecordingWindow w;
  FadeSettings f;
  f.enabled = true;
  FadeIn(w, f);
  w.visible = false;
  f.enabled = false;
  FadeIn(w, f);
  EXPECT_TRUE(w.events.empty());
}

TEST(Fade, StepOfZeroStillArrives) {
  RecordingWindow w;
  w.transparency = 97;
  FadeSettings f;
  f.enabled = true;
  f.step = 0;
  FadeOut(w, f);
  EXPECT_THAT(w.set, ::testing::ElementsAre(98, 99, 100));
}

TEST(Fade, ShowFadedRemembersTheWishAndShowsPlainlyWhenFadingIsOff) {
  RecordingWindow w;
  w.visible = false;
  FadeSettings f;
  ShowFaded(w, f, true);
  EXPECT_TRUE(f.targetVisible);
  EXPECT_THAT(w.events, ::testing::ElementsAre("show"));
  ShowFaded(w, f, false);
  EXPECT_FALSE(f.targetVisible);
  EXPECT_FALSE(w.visible);
}

}  // namespace
}  // namespace kv::skin
