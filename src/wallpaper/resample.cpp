// The resampler's driver: argument checks, the work picture
// and the split of both passes over threads. The passes themselves are in
// resample_passes.cpp.

#include "wallpaper/resample.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <thread>
#include <vector>

#include "codecs/image_error.h"
#include "wallpaper/resample_passes.h"

namespace kv {

namespace {

using resample_detail::ContributorLists;

int ThreadCount(int requested, std::int64_t work) {
  if (requested > 0) return std::min(requested, 16);
  // Below a few million multiply-adds a thread costs more than it saves.
  if (work < 4'000'000) return 1;
  const unsigned hw = std::thread::hardware_concurrency();
  return static_cast<int>(std::clamp(hw, 1u, 8u));
}

// Runs fn(begin, end) over [0, count) in `threads` contiguous bands.
template <typename Fn>
void ForBands(int count, int threads, const Fn& fn) {
  threads = std::min(threads, count);
  if (threads <= 1) {
    fn(0, count);
    return;
  }
  std::vector<std::thread> workers;
  workers.reserve(static_cast<std::size_t>(threads) - 1);
  const auto bound = [&](int t) {
    return static_cast<int>(static_cast<std::int64_t>(count) * t / threads);
  };
  for (int t = 1; t < threads; ++t)
    workers.emplace_back([&fn, &bound, t] { fn(bound(t), bound(t + 1)); });
  fn(0, bound(1));
  for (std::thread& w : workers) w.join();
}

void CheckArguments(int newWidth, int newHeight, ResampleFilter kind, float support) {
  if (!ResampleFilterFromIndex(static_cast<int>(kind)))
    throw std::invalid_argument("resampling filter kind out of range");
  if (!(support >= 0.0f && support <= kMaxResampleSupport))
    throw std::invalid_argument("resampling support out of range");
  if (newWidth < 0 || newHeight < 0) throw std::invalid_argument("negative resampling size");
  if (newWidth > 0 && newHeight > 0) CheckImageSize(newWidth, newHeight);
}

// The core: `target` already has its final size and is blank.
void Core(ResampleFilter kind, float support, const Bitmap& source, Bitmap& target, int threads) {
  const int sw = source.Width(), sh = source.Height();
  const int tw = target.Width(), th = target.Height();
  if (sw == 0 || sh == 0 || tw == 0 || th == 0) return;
  if (support == 0.0f) support = DefaultSupport(kind);

  Bitmap work(tw, sh);
  const ContributorLists columns = resample_detail::BuildContributors(tw, sw, support, kind);
  const std::int64_t hWork = static_cast<std::int64_t>(columns.items.size()) * sh;
  ForBands(sh, ThreadCount(threads, hWork), [&](int begin, int end) {
    resample_detail::HorizontalPass(columns, source, work, begin, end);
  });

  const ContributorLists rows = resample_detail::BuildContributors(th, sh, support, kind);
  const std::int64_t vWork = static_cast<std::int64_t>(rows.items.size()) * tw;
  ForBands(th, ThreadCount(threads, vWork), [&](int begin, int end) {
    resample_detail::VerticalPass(rows, work, target, begin, end);
  });
}

}  // namespace

void ResampleBitmap(int newWidth, int newHeight, ResampleFilter kind, float support, Bitmap& bitmap,
                    int threads) {
  ResampleInto(newWidth, newHeight, kind, support, bitmap, bitmap, threads);
}

void ResampleInto(int newWidth, int newHeight, ResampleFilter kind, float support,
                  const Bitmap& source, Bitmap& target, int threads) {
  CheckArguments(newWidth, newHeight, kind, support);
  // A fresh picture, swapped in at the end, lets source and target be one.
  Bitmap result(newWidth, newHeight);
  Core(kind, support, source, result, threads);
  target.Swap(result);
}

}  // namespace kv
