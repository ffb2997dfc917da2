// The shipped resampler against the plain reference, on a photograph-sized
// picture reduced to a common screen size, for every filter: single-threaded
// both, and the shipped one also with the threads it would use by itself.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "../tests/wallpaper/resample_reference.h"
#include "codecs/bitmap.h"
#include "wallpaper/fill_bars.h"
#include "wallpaper/resample.h"
#include "wallpaper/resample_passes.h"

namespace {

// Smooth gradients, some texture and sharp edges, like a photograph.
const kv::Bitmap& Photo() {
  static const kv::Bitmap photo = [] {
    kv::Bitmap b(4000, 3000);
    std::uint32_t noise = 12345;
    for (int y = 0; y < b.Height(); ++y) {
      std::uint8_t* p = b.ScanLine(y);
      for (int x = 0; x < b.Width(); ++x, p += 3) {
        noise = noise * 1664525u + 1013904223u;
        const int grain = static_cast<int>(noise >> 28);
        const bool edge = ((x / 250) + (y / 180)) % 2 == 0;
        p[0] = static_cast<std::uint8_t>((x * 200) / 4000 + grain);
        p[1] = static_cast<std::uint8_t>((y * 220) / 3000 + (edge ? 20 : 0));
        p[2] = static_cast<std::uint8_t>(edge ? 230 - grain : 40 + grain);
      }
    }
    return b;
  }();
  return photo;
}

void Shipped(benchmark::State& state) {
  const auto kind = static_cast<kv::ResampleFilter>(state.range(0));
  const int threads = static_cast<int>(state.range(1));
  kv::Bitmap out;
  for (auto _ : state) {
    kv::ResampleInto(1920, 1080, kind, 0.0f, Photo(), out, threads);
    benchmark::DoNotOptimize(out.Bits());
  }
  state.SetLabel(kv::ResampleFilterName(kind));
}

// The SSE2 passes that processors without AVX2 use.
void ShippedSse2(benchmark::State& state) {
  kv::resample_detail::LimitVectorLevel(kv::resample_detail::VectorLevel::Sse2);
  Shipped(state);
  kv::resample_detail::LimitVectorLevel(kv::resample_detail::VectorLevel::Avx2);
}

void Reference(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  for (auto _ : state) {
    kv::Bitmap out = kv::reference::Resampled(Photo(), 1920, 1080, kind, 0.0f);
    benchmark::DoNotOptimize(out.Bits());
  }
  state.SetLabel(kv::ResampleFilterName(static_cast<kv::ResampleFilter>(kind)));
}

void Kinds(benchmark::internal::Benchmark* b, bool withThreads) {
  for (int k = 0; k < kv::kResampleFilterCount; ++k) {
    b->Args({k, 1});
    if (withThreads) b->Args({k, kv::kAutoThreads});
  }
  b->Unit(benchmark::kMillisecond)->UseRealTime();
}

// What "Fill the bars" adds to a Scaled wallpaper on a 3840 x 2160 screen, on
// one core: the picture as Scaled renders it is given (a 2:3 portrait, 1440 x
// 2160, or a 4:1 panorama, 3840 x 960), and the bars are made around it.
void FillBars(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  kv::Bitmap scaled;
  kv::ResampleInto(width, height, kv::ResampleFilter::Box, 0.0f, Photo(), scaled, 1);
  for (auto _ : state) {
    kv::Bitmap screen = kv::FillTheBars(scaled, 3840, 2160, 1);
    benchmark::DoNotOptimize(screen.Bits());
  }
}
BENCHMARK(FillBars)
    ->ArgNames({"w", "h"})
    ->Args({1440, 2160})
    ->Args({3840, 960})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK(Shipped)->ArgNames({"kind", "threads"})->Apply([](auto* b) { Kinds(b, true); });
BENCHMARK(ShippedSse2)->ArgNames({"kind", "threads"})->Apply([](auto* b) { Kinds(b, false); });
BENCHMARK(Reference)->ArgNames({"kind", "threads"})->Apply([](auto* b) { Kinds(b, false); });

}  // namespace
