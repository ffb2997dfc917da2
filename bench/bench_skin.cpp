// Region building from a picture: collecting the kept pixels' rectangles, the
// portable half of a shaped window's region (the Win32 half is one
// ExtCreateRegion call over these rectangles).
#include <benchmark/benchmark.h>

#include "codecs/bitmap.h"
#include "skin/effects.h"
#include "skin/region_runs.h"
// Shared with the Win32 timing program and the tests.
#include "../tests/skin/pictures.h"

namespace {

using kv::test::kMagenta;
using kv::test::ManyRuns;

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
