// Region building from a picture: collecting the kept pixels' rectangles, the
// portable half of a shaped window's region (the Win32 half is one
// ExtCreateRegion call over these rectangles).
#include <benchmark/benchmark.h>

#include <random>

#include "codecs/bitmap.h"
#include "skin/effects.h"
#include "skin/region_runs.h"

namespace {

constexpr kv::Colour kMagenta = kv::MakeColour(255, 0, 255);

// A 1024 x 768 picture with many runs: a round window whose rim is cut into
// teeth, holes on every row, and noise in the corners.
kv::Bitmap ManyRuns() {
  kv::Bitmap b(1024, 768);
  std::mt19937 rng(7);
  for (int y = 0; y < 768; ++y)
    for (int x = 0; x < 1024; ++x) {
      const int dx = x - 512, dy = y - 384;
      const bool inside = dx * dx + dy * dy < 380 * 380;
      const bool hole = (x / 5 + y / 3) % 7 == 0;
      const bool noise = !inside && rng() % 3 == 0;
      b.SetPixel(x, y, (inside && !hole) || noise ? kv::MakeColour(40, 80, 120) : kMagenta);
    }
  return b;
}

void BM_VisibleBands(benchmark::State& state) {
  const kv::Bitmap picture = ManyRuns();
  std::size_t rects = 0;
  for (auto _ : state) {
    auto bands = kv::skin::VisibleBands(picture, kMagenta);
    rects = bands.size();
    benchmark::DoNotOptimize(bands.data());
  }
  state.counters["rects"] = static_cast<double>(rects);
  state.counters["runs"] = static_cast<double>(kv::skin::InvisibleRuns(picture, kMagenta).size());
}
BENCHMARK(BM_VisibleBands)->Unit(benchmark::kMillisecond);

void BM_VisibleBandsPlainPicture(benchmark::State& state) {
  kv::Bitmap picture(1024, 768);
  picture.Fill(kv::MakeColour(1, 2, 3));
  for (auto _ : state) benchmark::DoNotOptimize(kv::skin::VisibleBands(picture, kMagenta));
}
BENCHMARK(BM_VisibleBandsPlainPicture)->Unit(benchmark::kMillisecond);

void BM_ComposeWithIntensitiesAndHue(benchmark::State& state) {
  const kv::Bitmap picture = ManyRuns();
  kv::Bitmap out(1024, 768);
  kv::skin::GlassEffects effects(true);
  effects.SetRedIntensity(80);
  effects.SetHue(static_cast<int>(state.range(0)));
  for (auto _ : state)
    effects.Compose(kv::skin::RowsOf(picture), kv::skin::RowsOf(out), {}, nullptr);
}
BENCHMARK(BM_ComposeWithIntensitiesAndHue)->Arg(0)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
