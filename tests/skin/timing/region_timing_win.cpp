// Times building a shaped window's region from a 1024 x 768 picture with many
// runs under the real system (or Wine): the rectangles of one scan made into a
// region in pieces joined pairwise, against one CombineRgn per run on the first
// rows, and against a single ExtCreateRegion call over all rectangles.
#include <windows.h>

#include <cstdio>
#include <random>

#include "skin/organic_skin_win.h"
#include "skin/region_runs.h"

namespace {

constexpr kv::Colour kMagenta = kv::MakeColour(255, 0, 255);

// The picture of bench_skin: a round window with holes and a noisy rim.
kv::Bitmap ManyRuns(int height) {
  kv::Bitmap b(1024, height);
  std::mt19937 rng(7);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < 1024; ++x) {
      const int dx = x - 512, dy = y - 384;
      const bool inside = dx * dx + dy * dy < 380 * 380;
      const bool hole = (x / 5 + y / 3) % 7 == 0;
      const bool noise = !inside && rng() % 3 == 0;
      b.SetPixel(x, y, (inside && !hole) || noise ? kv::MakeColour(40, 80, 120) : kMagenta);
    }
  return b;
}

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

}  // namespace

int main() {
  const kv::Bitmap picture = ManyRuns(768);
  const std::size_t runs = kv::skin::InvisibleRuns(picture, kMagenta).size();
  kv::skin::TOrganicSkin skin;
  skin.SetInvisibleColor(kMagenta);
  LARGE_INTEGER t0, t1;
  const int rounds = 5;
  QueryPerformanceCounter(&t0);
  for (int i = 0; i < rounds; ++i) skin.Assign(picture);
  QueryPerformanceCounter(&t1);
  const double fast = Seconds(t0, t1) / rounds;
  std::printf("1024x768, %u runs, %u banded rectangles\n", static_cast<unsigned>(runs),
              static_cast<unsigned>(kv::skin::VisibleBands(picture, kMagenta).size()));
  std::printf("one scan, pieces joined pairwise: %.2f ms per region\n", fast * 1000);

  const int rows = 48;
  const kv::Bitmap top = ManyRuns(rows);
  const std::size_t topRuns = kv::skin::InvisibleRuns(top, kMagenta).size();
  QueryPerformanceCounter(&t0);
  kv::GdiRegion slow = kv::skin::RegionByRuns(top, kMagenta);
  QueryPerformanceCounter(&t1);
  skin.Assign(top);
  std::printf(
      "CombineRgn per run, first %d rows (%u runs): %.2f ms (fast path on them: equal=%d)\n", rows,
      static_cast<unsigned>(topRuns), Seconds(t0, t1) * 1000,
      EqualRgn(slow.get(), skin.getRegion().get()) ? 1 : 0);
  return 0;
}
