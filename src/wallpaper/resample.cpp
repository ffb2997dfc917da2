// The resampler's driver: argument checks, and the two passes run row by row.
// Target rows are made in order; each takes the horizontally filtered source
// rows it needs from a ring of recent ones, so the work picture of the
// algorithm (target width by source height) never exists as a whole and the
// rows are still in the cache when the vertical pass reads them. Source rows
// enter the ring in increasing order, so they can also come straight from a
// decoder (ResampleFromRows). Bands of target rows of a whole picture go to
// threads; each band keeps its own ring. The passes themselves are in
// resample_passes.cpp.

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
                    int sourceWidth, int sourceHeight) {
  if (!ResampleFilterFromIndex(static_cast<int>(kind)))
    throw std::invalid_argument("resampling filter kind out of range");
  if (!(support >= 0.0f && support <= kMaxResampleSupport))
    throw std::invalid_argument("resampling support out of range");
  if (newWidth < 0 || newHeight < 0) throw std::invalid_argument("negative resampling size");
  if (newWidth > 0 && newHeight > 0) CheckImageSize(newWidth, newHeight);
  // Decoded pictures are within these limits; they also bound the contributor
  // lists and the ring of rows.
  if (sourceWidth > 0 && sourceHeight > 0) CheckImageSize(sourceWidth, sourceHeight);
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

// Everything the bands share, made once per resampling.
struct Plan {
  Plan(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight, ResampleFilter kind,
       float support);

  int sourceWidth;
  ContributorLists columns, rows;
  // Per target row, the lowest and highest source row it reads (INT_MAX and
  // -1 when it reads none); per source row, whether any target row reads it.
  std::vector<int> lowest, highest;
  std::vector<char> read;
  // Source row r is kept in ring slot r % ringRows. Rows enter the ring up to
  // the highest any target row so far reads, so target row j finds all of its
  // rows when the ring spans from its lowest to that highest.
  int ringRows = 1;
  resample_detail::VectorLevel level;
};

Plan::Plan(int sw, int sh, int tw, int th, ResampleFilter kind, float support)
    : sourceWidth(sw),
      columns(resample_detail::BuildContributors(tw, sw, support, kind)),
      rows(resample_detail::BuildContributors(th, sh, support, kind)),
      lowest(static_cast<std::size_t>(th), INT_MAX),
      highest(static_cast<std::size_t>(th), -1),
      read(static_cast<std::size_t>(sh), 0),
      level(resample_detail::UsedVectorLevel()) {
  int reached = -1;
  for (int j = 0; j < th; ++j) {
    const auto at = static_cast<std::size_t>(j);
    for (int k = rows.begin[at]; k < rows.begin[at + 1]; ++k) {
      const int r = rows.items[static_cast<std::size_t>(k)].index;
      lowest[at] = std::min(lowest[at], r);
      highest[at] = std::max(highest[at], r);
      read[static_cast<std::size_t>(r)] = 1;
    }
    if (highest[at] < 0) continue;
    reached = std::max(reached, highest[at]);
    ringRows = std::max(ringRows, reached - lowest[at] + 1);
  }
}

// Target rows [begin, end), from the source rows rowAt(r) gives, asked for in
// increasing order.
template <typename RowAt>
void ResampleBand(const Plan& plan, RowAt&& rowAt, Bitmap& target, int begin, int end) {
  const auto filter = resample_detail::MakeRowFilter(plan.columns, plan.sourceWidth, plan.level);
  const auto length = static_cast<std::size_t>(target.Width()) * 3;
  const auto ringRows = static_cast<std::size_t>(plan.ringRows);
  std::vector<std::uint8_t> ring(ringRows * length);
  const auto slot = [&](int r) {
    return ring.data() + static_cast<std::size_t>(r) % ringRows * length;
  };
  int next = INT_MAX;
  for (int j = begin; j < end; ++j) next = std::min(next, plan.lowest[static_cast<std::size_t>(j)]);
  std::vector<const std::uint8_t*> lines;
  for (int j = begin; j < end; ++j) {
    const auto at = static_cast<std::size_t>(j);
    for (; next <= plan.highest[at]; ++next)
      if (plan.read[static_cast<std::size_t>(next)]) filter->Run(rowAt(next), slot(next));
    lines.clear();
    for (int k = plan.rows.begin[at]; k < plan.rows.begin[at + 1]; ++k)
      lines.push_back(slot(plan.rows.items[static_cast<std::size_t>(k)].index));
    resample_detail::CombineRows(plan.rows, j, lines.data(), static_cast<int>(length),
                                 target.ScanLine(j), plan.level);
  }
}

float SupportOrDefault(ResampleFilter kind, float support) {
  return support == 0.0f ? DefaultSupport(kind) : support;
}

// The core: `target` already has its final size and is blank.
void Core(ResampleFilter kind, float support, const Bitmap& source, Bitmap& target, int threads) {
  const int sw = source.Width(), sh = source.Height();
  const int tw = target.Width(), th = target.Height();
  if (sw == 0 || sh == 0 || tw == 0 || th == 0) return;
  const Plan plan(sw, sh, tw, th, kind, SupportOrDefault(kind, support));
  const std::int64_t work = static_cast<std::int64_t>(plan.columns.items.size()) * sh +
                            static_cast<std::int64_t>(plan.rows.items.size()) * tw * 3;
  ForBands(th, ThreadCount(threads, work), [&](int begin, int end) {
    std::vector<std::uint8_t> spare;
    ResampleBand(
        plan, [&](int r) { return ReadableRow(source, r, spare); }, target, begin, end);
  });
}

}  // namespace

void ResampleBitmap(int newWidth, int newHeight, ResampleFilter kind, float support, Bitmap& bitmap,
                    int threads) {
  ResampleInto(newWidth, newHeight, kind, support, bitmap, bitmap, threads);
}

void ResampleInto(int newWidth, int newHeight, ResampleFilter kind, float support,
                  const Bitmap& source, Bitmap& target, int threads) {
  CheckArguments(newWidth, newHeight, kind, support, source.Width(), source.Height());
  // A fresh picture, swapped in at the end, lets source and target be one.
  Bitmap result(newWidth, newHeight);
  Core(kind, support, source, result, threads);
  target.Swap(result);
}

void ResampleFromRows(int newWidth, int newHeight, ResampleFilter kind, float support,
                      int sourceWidth, int sourceHeight, ResampleRowSource& rows, Bitmap& target) {
  CheckArguments(newWidth, newHeight, kind, support, sourceWidth, sourceHeight);
  Bitmap result(newWidth, newHeight);
  if (sourceWidth > 0 && sourceHeight > 0 && !result.Empty()) {
    const Plan plan(sourceWidth, sourceHeight, newWidth, newHeight, kind,
                    SupportOrDefault(kind, support));
    ResampleBand(
        plan, [&](int r) { return rows.Row(r); }, result, 0, newHeight);
  }
  target.Swap(result);
}

}  // namespace kv
