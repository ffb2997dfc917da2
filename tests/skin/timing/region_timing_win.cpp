// Times building a shaped window's region from a 1024 x 768 picture with many
// runs under the real system (or Wine): the rectangles of one scan made into a
// region in pieces joined pairwise, against one CombineRgn per run on the first
// rows, and against a single ExtCreateRegion call over all rectangles.
#include <windows.h>

#include <cstdio>

#include "skin/organic_skin_win.h"
#include "../pictures.h"
#include "skin/region_runs.h"

namespace {

using kv::test::kMagenta;
using kv::test::ManyRuns;

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
