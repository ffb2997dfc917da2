// The resampler's driver: argument checks, and the two passes run row by row.
// Target rows are made in order; each takes the horizontally filtered source
// rows it needs from a ring of recent ones, so the work picture of the
// algorithm (target width by source height) never exists as a whole and the
// rows are still in the cache when the vertical pass reads them. Bands of
// target rows go to threads; each band keeps its own ring. The passes
// themselves are in resample_passes.cpp.

#include "wallpaper/resample.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
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

void CheckArguments(int newWidth, int newHeight, ResampleFilter kind, float support,
                    const Bitmap& source) {
  if (!ResampleFilterFromIndex(static_cast<int>(kind)))
    throw std::invalid_argument("resampling filter kind out of range");
  if (!(support >= 0.0f && support <= kMaxResampleSupport))
    throw std::invalid_argument("resampling support out of range");
  if (newWidth < 0 || newHeight < 0) throw std::invalid_argument("negative resampling size");
  if (newWidth > 0 && newHeight > 0) CheckImageSize(newWidth, newHeight);
  // Decoded pictures are within these limits; they also bound the contributor
  // lists and the ring of rows.
  if (!source.Empty()) CheckImageSize(source.Width(), source.Height());
}

// Row y of `bitmap`, or a copy of it in `spare` when fewer than kRowOverread
// bytes of the picture's memory follow the row's pixels.
const std::uint8_t* ReadableRow(const Bitmap& bitmap, int y, std::vector<std::uint8_t>& spare) {
  const std::uint8_t* row = bitmap.ScanLine(y);
  const std::size_t used = static_cast<std::size_t>(bitmap.Width()) * 3;
  const std::uint8_t* end = bitmap.Bits() + bitmap.SizeBytes();
  if (static_cast<std::size_t>(end - row) >= used + resample_detail::kRowOverread) return row;
  spare.assign(used + resample_detail::kRowOverread, 0);
  std::memcpy(spare.data(), row, used);
  return spare.data();
}

// The most source rows one target row reads, from its lowest to its highest.
int WindowSpan(const ContributorLists& rows) {
  int span = 1;
  for (int j = 0; j < rows.Count(); ++j) {
    int lo = INT_MAX, hi = INT_MIN;
    for (int k = rows.begin[j]; k < rows.begin[j + 1]; ++k) {
      lo = std::min(lo, rows.items[k].index);
      hi = std::max(hi, rows.items[k].index);
    }
    if (hi >= lo) span = std::max(span, hi - lo + 1);
  }
  return span;
}

// Target rows [begin, end).
void ResampleBand(const ContributorLists& columns, const ContributorLists& rows, int span,
                  const Bitmap& source, Bitmap& target, int begin, int end,
                  resample_detail::VectorLevel level) {
  const auto filter = resample_detail::MakeRowFilter(columns, source.Width(), level);
  const int length = target.Width() * 3;
  // Source row r is kept in slot r % span: all rows of one target row fit
  // without evicting each other, and moving down evicts the rows left behind.
  std::vector<std::uint8_t> ring(static_cast<std::size_t>(span) * static_cast<std::size_t>(length));
  std::vector<int> held(static_cast<std::size_t>(span), -1);
  std::vector<std::uint8_t> spare;
  std::vector<const std::uint8_t*> lines;
  for (int j = begin; j < end; ++j) {
    lines.clear();
    for (int k = rows.begin[j]; k < rows.begin[j + 1]; ++k) {
      const int r = rows.items[k].index;
      const auto slot = static_cast<std::size_t>(r % span);
      std::uint8_t* line = ring.data() + slot * static_cast<std::size_t>(length);
      if (held[slot] != r) {
        filter->Run(ReadableRow(source, r, spare), line);
        held[slot] = r;
      }
      lines.push_back(line);
    }
    resample_detail::CombineRows(rows, j, lines.data(), length, target.ScanLine(j), level);
  }
}

// The core: `target` already has its final size and is blank.
void Core(ResampleFilter kind, float support, const Bitmap& source, Bitmap& target, int threads) {
  const int sw = source.Width(), sh = source.Height();
  const int tw = target.Width(), th = target.Height();
  if (sw == 0 || sh == 0 || tw == 0 || th == 0) return;
  if (support == 0.0f) support = DefaultSupport(kind);

  const ContributorLists columns = resample_detail::BuildContributors(tw, sw, support, kind);
  const ContributorLists rows = resample_detail::BuildContributors(th, sh, support, kind);
  const int span = WindowSpan(rows);
  const auto level = resample_detail::UsedVectorLevel();
  const std::int64_t work = static_cast<std::int64_t>(columns.items.size()) * sh +
                            static_cast<std::int64_t>(rows.items.size()) * tw * 3;
  ForBands(th, ThreadCount(threads, work), [&](int begin, int end) {
    ResampleBand(columns, rows, span, source, target, begin, end, level);
  });
}

}  // namespace

void ResampleBitmap(int newWidth, int newHeight, ResampleFilter kind, float support, Bitmap& bitmap,
                    int threads) {
  ResampleInto(newWidth, newHeight, kind, support, bitmap, bitmap, threads);
}

void ResampleInto(int newWidth, int newHeight, ResampleFilter kind, float support,
                  const Bitmap& source, Bitmap& target, int threads) {
  CheckArguments(newWidth, newHeight, kind, support, source);
  // A fresh picture, swapped in at the end, lets source and target be one.
  Bitmap result(newWidth, newHeight);
  Core(kind, support, source, result, threads);
  target.Swap(result);
}

}  // namespace kv
