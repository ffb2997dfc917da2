#include "wallpaper/resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <ostream>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "codecs/image_error.h"
#include "wallpaper/resample_passes.h"
#include "wallpaper/resample_reference.h"

namespace kv {
namespace {

namespace rm = resample_math;

// A small generator of our own: the same numbers in every build.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<std::uint32_t>(state_ >> 11);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }

 private:
  std::uint64_t state_;
};

Bitmap Noise(int w, int h, std::uint64_t seed) {
  Random random(seed);
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, random.Next() & 0xFFFFFF);
  return b;
}

// Smooth areas and sharp edges, like a photograph, rather than pure noise.
Bitmap PhotoLike(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int band = (x / 7 + y / 11) % 3 == 0 ? 90 : 0;
      b.SetPixel(x, y,
                 MakeColour(static_cast<std::uint8_t>((x * 255) / w),
                            static_cast<std::uint8_t>((y * 255) / h),
                            static_cast<std::uint8_t>(band + ((x ^ y) & 63))));
    }
  return b;
}

std::uint64_t Fnv(const Bitmap& b) {
  std::uint64_t h = 0xcbf29ce484222325ull;
  const auto mix = [&h](std::uint64_t v) {
    h ^= v;
    h *= 0x100000001b3ull;
  };
  mix(static_cast<std::uint64_t>(b.Width()));
  mix(static_cast<std::uint64_t>(b.Height()));
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < 3 * b.Width(); ++x) mix(b.ScanLine(y)[x]);
  return h;
}

Bitmap Shipped(const Bitmap& src, int w, int h, int kind, float support, int threads = 1) {
  Bitmap out = src;
  ResampleBitmap(w, h, static_cast<ResampleFilter>(kind), support, out, threads);
  return out;
}

// Hands the resampler a picture row by row as a decoder would: each row in one
// buffer that the next row overwrites, with junk in the bytes after it, and
// only in increasing order.
class StreamedRows : public ResampleRowSource {
 public:
  explicit StreamedRows(const Bitmap& picture)
      : picture_(picture),
        buffer_(static_cast<std::size_t>(picture.Width()) * 3 + kResampleRowSlack) {}

  const std::uint8_t* Row(int r) override {
    EXPECT_GT(r, last_) << "rows asked for out of order";
    EXPECT_LT(r, picture_.Height());
    last_ = r;
    std::fill(buffer_.begin(), buffer_.end(), static_cast<std::uint8_t>(0xA5));
    std::memcpy(buffer_.data(), picture_.ScanLine(r),
                static_cast<std::size_t>(picture_.Width()) * 3);
    return buffer_.data();
  }

 private:
  const Bitmap& picture_;
  std::vector<std::uint8_t> buffer_;
  int last_ = -1;
};

Bitmap Streamed(const Bitmap& src, int w, int h, int kind, float support) {
  StreamedRows rows(src);
  Bitmap out = Noise(2, 2, 9);  // replaced whatever it held
  ResampleFromRows(w, h, static_cast<ResampleFilter>(kind), support, src.Width(), src.Height(),
                   rows, out);
  return out;
}

TEST(ResampleMath, RoundsHalfwayCasesToEven) {
  EXPECT_EQ(rm::RoundHalfEven(2.5), 2.0);
  EXPECT_EQ(rm::RoundHalfEven(3.5), 4.0);
  EXPECT_EQ(rm::RoundHalfEven(-2.5), -2.0);
  EXPECT_EQ(rm::RoundHalfEven(-0.5), 0.0);
  EXPECT_EQ(rm::RoundHalfEven(0.49999999999999994), 0.0);
  EXPECT_EQ(rm::RoundHalfEven(85.33333), 85.0);
  EXPECT_EQ(rm::RoundHalfEven(-34.7), -35.0);
}

TEST(ResampleMath, FloorAndCeilAroundZeroAndWholeNumbers) {
  EXPECT_EQ(rm::FloorToInt(-1.5), -2);
  EXPECT_EQ(rm::FloorToInt(-2.0), -2);
  EXPECT_EQ(rm::FloorToInt(1.9999), 1);
  EXPECT_EQ(rm::CeilToInt(1.5), 2);
  EXPECT_EQ(rm::CeilToInt(-1.5), -1);
  EXPECT_EQ(rm::CeilToInt(3.0), 3);
  EXPECT_EQ(rm::CeilToInt(-0.25), 0);
}

TEST(ResampleMath, SineAgreesWithTheLibraryToAFewUnitsInTheLastPlace) {
  // Every argument the Lanczos kernel can produce lies in [0, 3 pi].
  for (int i = 0; i <= 20000; ++i) {
    const double x = static_cast<float>(i * (9.5 / 20000.0));
    const double ours = rm::Sine(x), theirs = std::sin(x);
    EXPECT_NEAR(
        ours, theirs,
        4 * std::numeric_limits<double>::epsilon() * std::max(std::fabs(theirs), 1e-300) + 1e-300)
        << "x=" << x;
    EXPECT_EQ(rm::Sine(-x), -ours);
  }
}

TEST(ResampleKernels, ValuesAtTheirDefiningPoints) {
  using F = ResampleFilter;
  EXPECT_EQ(rm::Kernel(F::Box, 0.5f), 1.0f);
  EXPECT_EQ(rm::Kernel(F::Box, -0.5f), 0.0f);  // the box is not symmetric at its edges
  EXPECT_EQ(rm::Kernel(F::Triangle, 0.25f), 0.75f);
  EXPECT_EQ(rm::Kernel(F::Hermite, 0.5f), 0.5f);
  EXPECT_EQ(rm::Kernel(F::Bell, 0.0f), 0.75f);
  EXPECT_EQ(rm::Kernel(F::Bell, 1.0f), 0.125f);
  EXPECT_EQ(rm::Kernel(F::Spline, 0.0f), static_cast<float>(2.0 / 3.0));
  EXPECT_EQ(rm::Kernel(F::Spline, -1.0f), static_cast<float>(1.0 / 6.0));
  EXPECT_EQ(rm::Kernel(F::Lanczos3, 0.0f), 1.0f);
  EXPECT_NEAR(rm::Kernel(F::Lanczos3, 1.0f), 0.0f, 1e-7f);
  EXPECT_NEAR(rm::Kernel(F::Lanczos3, 1.5f), -0.1350949f, 1e-6f);
  EXPECT_EQ(rm::Kernel(F::Lanczos3, 3.0f), 0.0f);
  EXPECT_EQ(rm::Kernel(F::Mitchell, 0.0f), static_cast<float>(16.0 / 18.0));
  EXPECT_EQ(rm::Kernel(F::Mitchell, 2.0f), 0.0f);
}

TEST(ResampleFilters, NamesAndNumbers) {
  EXPECT_EQ(ParseResampleFilter("Lanczos3"), ResampleFilter::Lanczos3);
  EXPECT_EQ(ParseResampleFilter("6"), ResampleFilter::Mitchell);
  EXPECT_EQ(ParseResampleFilter("7"), std::nullopt);
  EXPECT_EQ(ParseResampleFilter("stretch"), std::nullopt);
  EXPECT_STREQ(ResampleFilterName(ResampleFilter::Bell), "bell");
  EXPECT_EQ(DefaultSupport(ResampleFilter::Bell), 1.5f);
  EXPECT_EQ(DefaultSupport(ResampleFilter::Lanczos3), 3.0f);
}

TEST(ResampleContributors, EnlargingTwoToThreeWithTheTriangle) {
  const float s = resample_detail::ScaleFactor(3, 2);
  EXPECT_EQ(s, 2.0f);
  const auto lists = resample_detail::BuildContributors(3, 2, 1.0f, ResampleFilter::Triangle);
  using C = std::vector<std::pair<int, int>>;
  const auto list = [&](int i) {
    C out;
    for (int k = lists.begin[i]; k < lists.begin[i + 1]; ++k)
      out.emplace_back(lists.items[k].index, lists.items[k].weight);
    return out;
  };
  EXPECT_EQ(list(0), (C{{0, 256}}));
  EXPECT_EQ(list(1), (C{{0, 128}, {1, 128}}));
  EXPECT_EQ(list(2), (C{{1, 256}}));
}

TEST(ResampleContributors, ShrinkingFourToTwoWithTheBoxMirrorsAtBothEdges) {
  const auto lists = resample_detail::BuildContributors(2, 4, 0.5f, ResampleFilter::Box);
  std::vector<std::pair<int, int>> items;
  for (const auto& c : lists.items) items.emplace_back(c.index, c.weight);
  // Column 0: j = -1, 0, 1; column 1: j = 2, 3, 4. The ends at +-2/3 weigh 0.
  EXPECT_EQ(items, (std::vector<std::pair<int, int>>{
                       {1, 85}, {0, 85}, {1, 85}, {2, 85}, {3, 85}, {3, 85}}));
  EXPECT_EQ(lists.total, (std::vector<std::int32_t>{255, 255}));
}

TEST(ResampleContributors, ReducedSupportNarrowsTheWindowWithoutRescalingTheKernel) {
  // Lanczos3 cut off at +-1 (times the shrink factor) while halving: the window
  // reaches at most one source pixel beyond, as it is rounded out to whole
  // pixels, so no argument comes near the kernel's own +-3.
  const float s = resample_detail::ScaleFactor(50, 100);
  const auto lists = resample_detail::BuildContributors(50, 100, 1.0f, ResampleFilter::Lanczos3);
  for (int i = 5; i < 45; ++i) {
    const float c = static_cast<float>(i / static_cast<double>(s));
    for (int k = lists.begin[i]; k < lists.begin[i + 1]; ++k)
      EXPECT_LT(std::fabs(c - lists.items[k].index) * s, 1.0f + s);
  }
  const auto wide = resample_detail::BuildContributors(50, 100, 3.0f, ResampleFilter::Lanczos3);
  EXPECT_GT(wide.items.size(), lists.items.size());
}

TEST(ResampleContributors, MirroringRepeatsUntilTheIndexIsInside) {
  // A one-pixel source with the bell filter reaches j = 2 and j = -2.
  EXPECT_EQ(resample_detail::MirrorIndex(2, 1), 0);
  EXPECT_EQ(resample_detail::MirrorIndex(-2, 1), 0);
  EXPECT_EQ(resample_detail::MirrorIndex(-1, 4), 1);
  EXPECT_EQ(resample_detail::MirrorIndex(4, 4), 3);
  EXPECT_EQ(resample_detail::MirrorIndex(5, 4), 2);
  EXPECT_EQ(resample_detail::MirrorIndex(9, 2), 0);
  for (int n = 1; n < 6; ++n)
    for (int j = -40; j < 40; ++j) {
      const int m = resample_detail::MirrorIndex(j, n);
      EXPECT_TRUE(m >= 0 && m < n) << j << " in " << n;
    }
}

TEST(ResampleScale, OnePixelTargetsUseTargetOverSourceInBothDirections) {
  EXPECT_EQ(resample_detail::ScaleFactor(1, 4), 0.25f);
  EXPECT_EQ(resample_detail::ScaleFactor(5, 1), 5.0f);
  EXPECT_EQ(resample_detail::ScaleFactor(3, 7), static_cast<float>(2.0 / 6.0));
  // A one-pixel-wide target of a wide row is the whole row's weighted mean,
  // not an unbounded window.
  Bitmap row(9, 1);
  row.Fill(MakeColour(40, 80, 120));
  const Bitmap out = Shipped(row, 1, 1, 1, 0.0f);
  EXPECT_EQ(out.Pixel(0, 0), MakeColour(40, 80, 120));
}

TEST(Resample, TwoByTwoToThreeByThreeTriangle) {
  Bitmap src(2, 2);
  src.SetPixel(0, 0, MakeColour(0, 0, 0));
  src.SetPixel(1, 0, MakeColour(200, 100, 50));
  src.SetPixel(0, 1, MakeColour(100, 100, 100));
  src.SetPixel(1, 1, MakeColour(255, 255, 255));
  const Bitmap out = Shipped(src, 3, 3, 1, 0.0f);
  EXPECT_EQ(out.Pixel(0, 0), src.Pixel(0, 0));
  EXPECT_EQ(out.Pixel(2, 2), src.Pixel(1, 1));
  EXPECT_EQ(out.Pixel(1, 0), MakeColour(100, 50, 25));
  // Horizontal first, truncated to bytes, then vertical.
  EXPECT_EQ(out.Pixel(1, 1), MakeColour((100 + 177) / 2, (50 + 177) / 2, (25 + 177) / 2));
}

TEST(Resample, FourPixelRowToTwoWithTheBox) {
  Bitmap src(4, 1);
  const int p[] = {10, 20, 200, 255};
  for (int x = 0; x < 4; ++x) src.SetPixel(x, 0, MakeColour(p[x], p[x], p[x]));
  const Bitmap out = Shipped(src, 2, 1, 0, 0.0f);
  EXPECT_EQ(RedOf(out.Pixel(0, 0)), (p[1] + p[0] + p[1]) * 85 / 255);
  EXPECT_EQ(RedOf(out.Pixel(1, 0)), (p[2] + p[3] + p[3]) * 85 / 255);
}

TEST(Resample, ZeroSizedSourceGivesABlankPictureOfTheNewSize) {
  Bitmap empty;
  ResampleBitmap(5, 4, ResampleFilter::Lanczos3, 0.0f, empty);
  EXPECT_EQ(empty.Width(), 5);
  EXPECT_EQ(empty.Height(), 4);
  EXPECT_EQ(empty.Pixel(4, 3), 0u);

  Bitmap target = Noise(3, 3, 1);
  ResampleInto(0, 7, ResampleFilter::Box, 0.0f, Noise(2, 2, 2), target);
  EXPECT_TRUE(target.Empty());
}

TEST(Resample, ResampleIntoAcceptsTheSourceAsTarget) {
  const Bitmap original = Noise(13, 7, 3);
  Bitmap b = original;
  ResampleInto(20, 9, ResampleFilter::Mitchell, 0.0f, b, b);
  EXPECT_EQ(b, reference::Resampled(original, 20, 9, 6, 0.0f));
}

TEST(Resample, RefusesBadArguments) {
  Bitmap b = Noise(4, 4, 4);
  EXPECT_THROW(ResampleBitmap(2, 2, static_cast<ResampleFilter>(7), 0.0f, b),
               std::invalid_argument);
  EXPECT_THROW(ResampleBitmap(2, 2, ResampleFilter::Box, -1.0f, b), std::invalid_argument);
  EXPECT_THROW(ResampleBitmap(2, 2, ResampleFilter::Box, std::nanf(""), b), std::invalid_argument);
  EXPECT_THROW(ResampleBitmap(2, 2, ResampleFilter::Box, 65.0f, b), std::invalid_argument);
  EXPECT_THROW(ResampleBitmap(-2, 2, ResampleFilter::Box, 0.0f, b), std::invalid_argument);
  EXPECT_THROW(ResampleBitmap(40000, 2, ResampleFilter::Box, 0.0f, b), ImageError);
  EXPECT_EQ(b, Noise(4, 4, 4));  // untouched
  Bitmap tall(1, 40000);         // beyond what any decoder gives
  EXPECT_THROW(ResampleBitmap(30000, 1, ResampleFilter::Box, 0.0f, tall), ImageError);
}

class EveryFilter : public ::testing::TestWithParam<int> {};

TEST_P(EveryFilter, ConstantPictureStaysConstant) {
  Bitmap src(37, 23);
  src.Fill(MakeColour(12, 200, 99));
  for (const auto& size :
       {std::pair{80, 50}, std::pair{10, 9}, std::pair{1, 1}, std::pair{37, 1}}) {
    Bitmap expected(size.first, size.second);
    expected.Fill(MakeColour(12, 200, 99));
    EXPECT_EQ(Shipped(src, size.first, size.second, GetParam(), 0.0f), expected);
  }
}

TEST_P(EveryFilter, ThreadsDoNotChangeTheBytes) {
  const Bitmap src = PhotoLike(301, 203);
  EXPECT_EQ(Shipped(src, 157, 311, GetParam(), 0.0f, 1),
            Shipped(src, 157, 311, GetParam(), 0.0f, 3));
}

TEST_P(EveryFilter, NegativeLobesAreClampedIntoRange) {
  // A hard black and white edge rings with Lanczos3 and Mitchell; whatever the
  // filter, the result must equal the plain reference.
  Bitmap src(16, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 16; ++x) src.SetPixel(x, y, x < 8 ? 0 : 0xFFFFFF);
  EXPECT_EQ(Shipped(src, 53, 9, GetParam(), 0.0f),
            reference::Resampled(src, 53, 9, GetParam(), 0.0f));
}

INSTANTIATE_TEST_SUITE_P(Kinds, EveryFilter, ::testing::Range(0, kResampleFilterCount),
                         [](const auto& info) {
                           return std::string(
                               ResampleFilterName(static_cast<ResampleFilter>(info.param)));
                         });

// Many random sizes, every filter, several supports: the shipped resampler and
// the plain reference give the same bytes.
class AgainstReference : public ::testing::TestWithParam<std::tuple<int, float>> {};

TEST_P(AgainstReference, RandomSizesGiveTheSameBytes) {
  const int kind = std::get<0>(GetParam());
  const float support = std::get<1>(GetParam());
  Random random(static_cast<std::uint64_t>(kind * 1000 + support * 10));
  for (int round = 0; round < 40; ++round) {
    // Mostly small pictures (every edge case), some wide enough for the vector
    // loops and their overlapping last block.
    const int limit = round % 4 == 0 ? 160 : 24;
    const int sw = 1 + random.Below(limit), sh = 1 + random.Below(limit);
    const int tw = 1 + random.Below(limit), th = 1 + random.Below(limit);
    const Bitmap src = round % 2 ? Noise(sw, sh, random.Next()) : PhotoLike(sw, sh);
    const Bitmap expected = reference::Resampled(src, tw, th, kind, support);
    // Every vector level this processor has.
    for (const auto level :
         {resample_detail::VectorLevel::Sse2, resample_detail::VectorLevel::Avx2}) {
      resample_detail::LimitVectorLevel(level);
      const Bitmap got = Shipped(src, tw, th, kind, support);
      const Bitmap streamed = Streamed(src, tw, th, kind, support);
      resample_detail::LimitVectorLevel(resample_detail::VectorLevel::Avx2);
      ASSERT_EQ(got, expected) << sw << "x" << sh << " -> " << tw << "x" << th << " kind " << kind
                               << " support " << support << " level " << static_cast<int>(level);
      ASSERT_EQ(streamed, expected) << "row by row: " << sw << "x" << sh << " -> " << tw << "x"
                                    << th << " kind " << kind << " support " << support;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(KindsAndSupports, AgainstReference,
                         ::testing::Combine(::testing::Range(0, kResampleFilterCount),
                                            ::testing::Values(0.0f, 0.3f, 1.0f, 2.5f, 7.0f)));

// Odd sizes and one-pixel sides, enlarged and reduced, in every filter and
// several supports: whole pictures on one and on several threads, and pictures
// fed row by row, give the reference's bytes.
struct SizeCase {
  int sw, sh, tw, th;
};

std::ostream& operator<<(std::ostream& os, const SizeCase& c) {
  return os << c.sw << "x" << c.sh << " to " << c.tw << "x" << c.th;
}

class OddSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(OddSizes, EveryWayOfFeedingGivesTheReferenceBytes) {
  const SizeCase& c = GetParam();
  const Bitmap src = PhotoLike(c.sw, c.sh);
  for (int kind = 0; kind < kResampleFilterCount; ++kind)
    for (const float support : {0.0f, 0.3f, 1.0f, 7.0f}) {
      const Bitmap expected = reference::Resampled(src, c.tw, c.th, kind, support);
      ASSERT_EQ(Shipped(src, c.tw, c.th, kind, support, 1), expected) << kind << " " << support;
      ASSERT_EQ(Shipped(src, c.tw, c.th, kind, support, 3), expected) << kind << " " << support;
      ASSERT_EQ(Streamed(src, c.tw, c.th, kind, support), expected) << kind << " " << support;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, OddSizes,
                         ::testing::Values(SizeCase{1, 1, 1, 1}, SizeCase{1, 1, 7, 5},
                                           SizeCase{1, 57, 13, 1}, SizeCase{57, 1, 1, 9},
                                           SizeCase{1, 301, 1, 47}, SizeCase{301, 1, 33, 1},
                                           SizeCase{3, 300, 1, 1}, SizeCase{2, 3, 211, 1},
                                           SizeCase{301, 203, 157, 311},
                                           SizeCase{399, 301, 191, 107}, SizeCase{33, 17, 1, 255}));

// Fixed inputs and the hashes of their results, the same in every build. A
// change here means the bytes changed: the wallpapers users already have would
// come out differently.
struct Golden {
  int sw, sh, tw, th, kind;
  float support;
  std::uint64_t hash;
};

class SameBytesInEveryBuild : public ::testing::TestWithParam<Golden> {};

TEST_P(SameBytesInEveryBuild, HashOfResultIsFixed) {
  const Golden& g = GetParam();
  const Bitmap src = PhotoLike(g.sw, g.sh);
  EXPECT_EQ(Fnv(Shipped(src, g.tw, g.th, g.kind, g.support, kAutoThreads)), g.hash)
      << std::hex << Fnv(Shipped(src, g.tw, g.th, g.kind, g.support));
}

INSTANTIATE_TEST_SUITE_P(
    Fixed, SameBytesInEveryBuild,
    ::testing::Values(Golden{640, 480, 1280, 1024, 0, 0.0f, 0x8f220365a701fb1d},
                      Golden{640, 480, 1280, 1024, 1, 0.0f, 0x3e29ecc44cf29a68},
                      Golden{640, 480, 1280, 1024, 2, 0.0f, 0xec28a6de5b75b2ac},
                      Golden{640, 480, 1280, 1024, 3, 0.0f, 0xc328bc0b4b4f6d37},
                      Golden{640, 480, 1280, 1024, 4, 0.0f, 0xc52368af62c99808},
                      Golden{640, 480, 1280, 1024, 5, 0.0f, 0xf86bccd8348cb086},
                      Golden{640, 480, 1280, 1024, 6, 0.0f, 0x0ebfe0222b6c6421},
                      Golden{1999, 1003, 317, 211, 5, 0.0f, 0x2f4bb71536ae091d},
                      Golden{1999, 1003, 317, 211, 6, 1.0f, 0x78563bbcdb285b7a},
                      Golden{1999, 1003, 317, 211, 3, 0.0f, 0x8594d32e9b144370},
                      Golden{77, 1, 1, 55, 4, 2.5f, 0x92d8f574c3753731}));

}  // namespace
}  // namespace kv
