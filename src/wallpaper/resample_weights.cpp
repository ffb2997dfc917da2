// The filter kernels, the few arithmetic primitives they rest on, and the
// contributor lists built from them. Nothing here calls the C library's rounding
// or trigonometry: those differ between the 32-bit Windows runtime and the
// native one (some still use the x87 unit), and the weights must come out the
// same everywhere.
//
// Everything the lists are built from is inlined into BuildContributors: the
// 32-bit calling convention returns floating-point values on the x87 stack, and
// the list building is to stay on the SSE2 unit from start to end. The exported
// resample_math functions are for tests.

#include <cctype>
#include <cstdint>
#include <string>

#include "wallpaper/resample.h"
#include "wallpaper/resample_passes.h"

namespace kv {

namespace {

#define KV_ALWAYS_INLINE __attribute__((always_inline)) inline

constexpr const char* kNames[kResampleFilterCount] = {"box",    "triangle", "hermite", "bell",
                                                      "spline", "lanczos3", "mitchell"};

constexpr double kTwoToThe52 = 0x1p52;
constexpr double kPi = 0x1.921fb54442d18p+1;
constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
// pi/2 in three parts; the first two have 33 significant bits, so k times
// either is exact for |k| < 2^20.
constexpr double kHalfPi1 = 0x1.921fb54400000p+0;
constexpr double kHalfPi2 = 0x1.0b4611a600000p-34;
constexpr double kHalfPi3 = 0x1.3198a2e037073p-69;

// Taylor coefficients (-1)^n / (2n+1)! and (-1)^n / (2n)!; on |r| <= pi/4 the
// first omitted terms are below 1e-17.
constexpr double kSin[] = {-0x1.5555555555555p-3,  0x1.1111111111111p-7,   -0x1.a01a01a01a01ap-13,
                           0x1.71de3a556c734p-19,  -0x1.ae64567f544e4p-26, 0x1.6124613a86d09p-33,
                           -0x1.ae7f3e733b81fp-41, 0x1.952c77030ad4ap-49};
constexpr double kCos[] = {-0x1.0000000000000p-1,  0x1.5555555555555p-5,   -0x1.6c16c16c16c17p-10,
                           0x1.a01a01a01a01ap-16,  -0x1.27e4fb7789f5cp-22, 0x1.1eed8eff8d898p-29,
                           -0x1.93974a8c07c9dp-37, 0x1.ae7f3e733b81fp-45};

KV_ALWAYS_INLINE double RoundHalfEven(double x) {
  // Adding and taking away 2^52 leaves no fraction bits, and the addition rounds
  // in the default mode: to nearest, ties to even.
  if (x >= 0.0) return (x + kTwoToThe52) - kTwoToThe52;
  return -((-x + kTwoToThe52) - kTwoToThe52);
}

KV_ALWAYS_INLINE int FloorToInt(double x) {
  const int i = static_cast<int>(x);  // truncates toward zero
  return static_cast<double>(i) > x ? i - 1 : i;
}

KV_ALWAYS_INLINE int CeilToInt(double x) {
  const int i = static_cast<int>(x);
  return static_cast<double>(i) < x ? i + 1 : i;
}

KV_ALWAYS_INLINE double SinNear0(double r) {
  const double z = r * r;
  double p = kSin[7];
  for (int i = 6; i >= 0; --i) p = kSin[i] + z * p;
  return r + (r * z) * p;
}

KV_ALWAYS_INLINE double CosNear0(double r) {
  const double z = r * r;
  double p = kCos[7];
  for (int i = 6; i >= 0; --i) p = kCos[i] + z * p;
  return 1.0 + z * p;
}

KV_ALWAYS_INLINE double Sine(double x) {
  const double kd = RoundHalfEven(x * kTwoOverPi);
  const double r = ((x - kd * kHalfPi1) - kd * kHalfPi2) - kd * kHalfPi3;
  switch (static_cast<int>(kd) & 3) {
    case 0:
      return SinNear0(r);
    case 1:
      return CosNear0(r);
    case 2:
      return -SinNear0(r);
    default:
      return -CosNear0(r);
  }
}

KV_ALWAYS_INLINE float Sinc(float u) {
  if (u == 0.0f) return 1.0f;
  // The argument of sin is rounded to single precision first.
  const float v = static_cast<float>(kPi * static_cast<double>(u));
  return static_cast<float>(Sine(v) / static_cast<double>(v));
}

// The polynomials are evaluated in double precision in the order written here
// (t^2 and t^3 as t*t and t*t*t) and rounded to single precision once.
KV_ALWAYS_INLINE float Kernel(ResampleFilter kind, float x) {
  const double t = x < 0.0f ? -static_cast<double>(x) : static_cast<double>(x);
  const double t2 = t * t;
  switch (kind) {
    case ResampleFilter::Box:
      // Not symmetric: the right edge belongs to the box, the left one does not.
      return x > -0.5f && x <= 0.5f ? 1.0f : 0.0f;
    case ResampleFilter::Triangle:
      return t < 1.0 ? static_cast<float>(1.0 - t) : 0.0f;
    case ResampleFilter::Hermite:
      return t < 1.0 ? static_cast<float>((2.0 * t - 3.0) * t2 + 1.0) : 0.0f;
    case ResampleFilter::Bell:
      if (t < 0.5) return static_cast<float>(0.75 - t2);
      if (t < 1.5) {
        const double d = t - 1.5;
        return static_cast<float>(0.5 * (d * d));
      }
      return 0.0f;
    case ResampleFilter::Spline:
      if (t < 1.0) return static_cast<float>(0.5 * (t2 * t) - t2 + 2.0 / 3.0);
      if (t < 2.0) {
        const double d = 2.0 - t;
        return static_cast<float>((d * d * d) / 6.0);
      }
      return 0.0f;
    case ResampleFilter::Lanczos3:
      if (t < 3.0) {
        const float whole = Sinc(static_cast<float>(t));
        const float third = Sinc(static_cast<float>(t / 3.0));
        return static_cast<float>(static_cast<double>(whole) * static_cast<double>(third));
      }
      return 0.0f;
    case ResampleFilter::Mitchell:
      if (t < 1.0) return static_cast<float>((7.0 * (t2 * t) - 12.0 * t2 + 16.0 / 3.0) / 6.0);
      if (t < 2.0)
        return static_cast<float>((-(7.0 / 3.0) * (t2 * t) + 12.0 * t2 - 20.0 * t + 32.0 / 3.0) /
                                  6.0);
      return 0.0f;
  }
  return 0.0f;
}

KV_ALWAYS_INLINE float Scale(int target, int source) {
  // The first and last source pixels land on the first and last target pixels,
  // except where that would divide by zero. A one-pixel target is special in
  // both directions: (1 - 1) / (SW - 1) = 0 would make the window infinitely
  // wide.
  if (source == 1 || target == 1)
    return static_cast<float>(static_cast<double>(target) / static_cast<double>(source));
  return static_cast<float>(static_cast<double>(target - 1) / static_cast<double>(source - 1));
}

}  // namespace

const char* ResampleFilterName(ResampleFilter kind) noexcept {
  const int k = static_cast<int>(kind);
  return k >= 0 && k < kResampleFilterCount ? kNames[k] : "";
}

std::optional<ResampleFilter> ResampleFilterFromIndex(int index) noexcept {
  if (index < 0 || index >= kResampleFilterCount) return std::nullopt;
  return static_cast<ResampleFilter>(index);
}

std::optional<ResampleFilter> ParseResampleFilter(std::string_view text) {
  if (text.size() == 1 && text[0] >= '0' && text[0] <= '9')
    return ResampleFilterFromIndex(text[0] - '0');
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (int k = 0; k < kResampleFilterCount; ++k)
    if (lower == kNames[k]) return static_cast<ResampleFilter>(k);
  return std::nullopt;
}

namespace resample_math {
double RoundHalfEven(double x) noexcept { return kv::RoundHalfEven(x); }
int FloorToInt(double x) noexcept { return kv::FloorToInt(x); }
int CeilToInt(double x) noexcept { return kv::CeilToInt(x); }
double Sine(double x) noexcept { return kv::Sine(x); }
float Kernel(ResampleFilter kind, float x) noexcept { return kv::Kernel(kind, x); }
}  // namespace resample_math

namespace resample_detail {

float ScaleFactor(int target, int source) { return Scale(target, source); }

int MirrorIndex(int j, int n) {
  // -1 reads pixel 1, n reads pixel n - 1, n + 1 reads n - 2. A window wider
  // than the picture can still land outside after one reflection (a one-pixel
  // source with a wide kernel), so reflect until inside: each pair of
  // reflections brings the index closer by 2n - 1.
  while (j < 0 || j >= n) j = j < 0 ? -j : 2 * n - j - 1;
  return j;
}

ContributorLists BuildContributors(int targetSize, int sourceSize, float support,
                                   ResampleFilter kind) {
  ContributorLists lists;
  const auto n = static_cast<std::size_t>(targetSize);
  lists.begin.reserve(n + 1);
  lists.total.reserve(n);
  lists.denseStart.reserve(n);
  lists.denseLength.reserve(n);
  const float scale = Scale(targetSize, sourceSize);
  const double s = scale;
  const bool shrinking = scale < 1.0f;
  for (int i = 0; i < targetSize; ++i) {
    lists.begin.push_back(static_cast<int>(lists.items.size()));
    const float centre = static_cast<float>(static_cast<double>(i) / s);
    // When shrinking, the kernel is stretched by 1 / s and its values scaled by s.
    const float width = shrinking ? static_cast<float>(static_cast<double>(support) / s) : support;
    const int left = FloorToInt(static_cast<double>(centre) - static_cast<double>(width));
    const int right = CeilToInt(static_cast<double>(centre) + static_cast<double>(width));
    std::int32_t total = 0;
    int firstJ = 0, lastJ = -1;
    for (int j = left; j <= right; ++j) {
      double w;
      if (shrinking) {
        const float x =
            static_cast<float>((static_cast<double>(centre) - static_cast<double>(j)) * s);
        w = static_cast<double>(Kernel(kind, x)) * s * 256.0;
      } else {
        const float x = static_cast<float>(static_cast<double>(centre) - static_cast<double>(j));
        w = static_cast<double>(Kernel(kind, x)) * 256.0;
      }
      const int weight = static_cast<int>(RoundHalfEven(w));
      if (weight == 0) continue;
      if (lastJ < firstJ) firstJ = j;
      lastJ = j;
      lists.items.push_back({MirrorIndex(j, sourceSize), weight});
      total += weight;
    }
    lists.total.push_back(total);
    // Zero weights inside the run add nothing, so a list whose stored indices
    // all lie inside the picture can be read as one unbroken run.
    const bool inside = lastJ >= firstJ && firstJ >= 0 && lastJ < sourceSize;
    lists.denseStart.push_back(inside ? firstJ : -1);
    lists.denseLength.push_back(inside ? lastJ - firstJ + 1 : 0);
  }
  lists.begin.push_back(static_cast<int>(lists.items.size()));
  return lists;
}

}  // namespace resample_detail

}  // namespace kv
