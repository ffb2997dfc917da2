#pragma once
// The resampling algorithm written out plainly, step by step, as the yardstick
// for the shipped resampler (which is restructured for speed and must give the
// same bytes). Only the sine is borrowed from the shipped code: the C library's
// differs between builds in the last bit.
//
// Header-only so that the benchmark can time it too.

#include <cmath>
#include <cstdint>
#include <vector>

#include "codecs/bitmap.h"
#include "wallpaper/resample.h"

namespace kv::reference {

inline float Sinc(float u) {
  if (u == 0.0f) return 1.0f;
  const float v = static_cast<float>(3.14159265358979323846 * static_cast<double>(u));
  return static_cast<float>(resample_math::Sine(v) / static_cast<double>(v));
}

inline float Filter(int kind, float x) {
  const double t = std::fabs(static_cast<double>(x));
  switch (kind) {
    case 0:  // box
      return (x > -0.5f && x <= 0.5f) ? 1.0f : 0.0f;
    case 1:  // triangle
      return t < 1.0 ? static_cast<float>(1.0 - t) : 0.0f;
    case 2:  // Hermite: (2t - 3) t^2 + 1
      return t < 1.0 ? static_cast<float>((2.0 * t - 3.0) * (t * t) + 1.0) : 0.0f;
    case 3:  // bell
      if (t < 0.5) return static_cast<float>(0.75 - t * t);
      if (t < 1.5) return static_cast<float>(0.5 * ((t - 1.5) * (t - 1.5)));
      return 0.0f;
    case 4:  // cubic B-spline
      if (t < 1.0) return static_cast<float>(0.5 * (t * t * t) - t * t + 2.0 / 3.0);
      if (t < 2.0) return static_cast<float>(((2.0 - t) * (2.0 - t) * (2.0 - t)) / 6.0);
      return 0.0f;
    case 5:  // Lanczos3
      if (t < 3.0) {
        const float a = Sinc(static_cast<float>(t));
        const float b = Sinc(static_cast<float>(t / 3.0));
        return static_cast<float>(static_cast<double>(a) * static_cast<double>(b));
      }
      return 0.0f;
    case 6:  // Mitchell, B = C = 1/3
      if (t < 1.0)
        return static_cast<float>((7.0 * (t * t * t) - 12.0 * (t * t) + 16.0 / 3.0) / 6.0);
      if (t < 2.0)
        return static_cast<float>(
            (-(7.0 / 3.0) * (t * t * t) + 12.0 * (t * t) - 20.0 * t + 32.0 / 3.0) / 6.0);
      return 0.0f;
  }
  return 0.0f;
}

struct Pair {
  int index;
  int weight;
};
using List = std::vector<Pair>;

inline int Mirror(int j, int n) {
  while (j < 0 || j >= n) {
    if (j < 0)
      j = -j;
    else
      j = 2 * n - j - 1;
  }
  return j;
}

inline std::vector<List> MakeLists(int targetSize, int n, float s, float r, int kind) {
  std::vector<List> lists(static_cast<std::size_t>(targetSize));
  for (int i = 0; i < targetSize; ++i) {
    List& list = lists[static_cast<std::size_t>(i)];
    if (s < 1.0f) {
      const float w = static_cast<float>(static_cast<double>(r) / static_cast<double>(s));
      const float c = static_cast<float>(static_cast<double>(i) / static_cast<double>(s));
      const int left =
          static_cast<int>(std::floor(static_cast<double>(c) - static_cast<double>(w)));
      const int right =
          static_cast<int>(std::ceil(static_cast<double>(c) + static_cast<double>(w)));
      for (int j = left; j <= right; ++j) {
        const float x = static_cast<float>((static_cast<double>(c) - j) * static_cast<double>(s));
        const int weight = static_cast<int>(
            std::nearbyint(static_cast<double>(Filter(kind, x)) * static_cast<double>(s) * 256.0));
        if (weight != 0) list.push_back({Mirror(j, n), weight});
      }
    } else {
      const float c = static_cast<float>(static_cast<double>(i) / static_cast<double>(s));
      const int left =
          static_cast<int>(std::floor(static_cast<double>(c) - static_cast<double>(r)));
      const int right =
          static_cast<int>(std::ceil(static_cast<double>(c) + static_cast<double>(r)));
      for (int j = left; j <= right; ++j) {
        const float x = static_cast<float>(static_cast<double>(c) - j);
        const int weight =
            static_cast<int>(std::nearbyint(static_cast<double>(Filter(kind, x)) * 256.0));
        if (weight != 0) list.push_back({Mirror(j, n), weight});
      }
    }
  }
  return lists;
}

inline std::uint8_t Combine(const List& list, const std::vector<int>& channel) {
  std::int32_t total = 0, sum = 0;
  for (const Pair& p : list) {
    total += p.weight;
    sum += p.weight * channel[static_cast<std::size_t>(p.index)];
  }
  std::int32_t v;
  if (total != 0)
    v = sum / total;
  else
    v = static_cast<std::int32_t>(static_cast<std::uint32_t>(sum) >> 8);
  if (v < 0) v = 0;
  if (v > 255) v = 255;
  return static_cast<std::uint8_t>(v);
}

// The core: target already has its size.
inline void Resample(int kind, float r, const Bitmap& src, Bitmap& dst) {
  const int sw = src.Width(), sh = src.Height(), tw = dst.Width(), th = dst.Height();
  if (sw == 0 || sh == 0 || tw == 0 || th == 0) return;
  if (r == 0.0f) {
    const float defaults[] = {0.5f, 1.0f, 1.0f, 1.5f, 2.0f, 3.0f, 2.0f};
    r = defaults[kind];
  }
  Bitmap work(tw, sh);
  float sx, sy;
  if (sw == 1 || tw == 1)
    sx = static_cast<float>(static_cast<double>(tw) / sw);
  else
    sx = static_cast<float>(static_cast<double>(tw - 1) / (sw - 1));
  if (sh == 1 || th == 1)
    sy = static_cast<float>(static_cast<double>(th) / sh);
  else
    sy = static_cast<float>(static_cast<double>(th - 1) / (sh - 1));

  std::vector<int> red, green, blue;
  {
    const std::vector<List> lists = MakeLists(tw, sw, sx, r, kind);
    red.resize(static_cast<std::size_t>(sw));
    green.resize(static_cast<std::size_t>(sw));
    blue.resize(static_cast<std::size_t>(sw));
    for (int y = 0; y < sh; ++y) {
      const std::uint8_t* row = src.ScanLine(y);
      for (int x = 0; x < sw; ++x) {
        blue[static_cast<std::size_t>(x)] = row[3 * x];
        green[static_cast<std::size_t>(x)] = row[3 * x + 1];
        red[static_cast<std::size_t>(x)] = row[3 * x + 2];
      }
      std::uint8_t* out = work.ScanLine(y);
      for (int i = 0; i < tw; ++i) {
        out[3 * i] = Combine(lists[static_cast<std::size_t>(i)], blue);
        out[3 * i + 1] = Combine(lists[static_cast<std::size_t>(i)], green);
        out[3 * i + 2] = Combine(lists[static_cast<std::size_t>(i)], red);
      }
    }
  }
  const std::vector<List> lists = MakeLists(th, sh, sy, r, kind);
  red.resize(static_cast<std::size_t>(sh));
  green.resize(static_cast<std::size_t>(sh));
  blue.resize(static_cast<std::size_t>(sh));
  for (int x = 0; x < tw; ++x) {
    for (int y = 0; y < sh; ++y) {
      const std::uint8_t* p = work.ScanLine(y) + 3 * x;
      blue[static_cast<std::size_t>(y)] = p[0];
      green[static_cast<std::size_t>(y)] = p[1];
      red[static_cast<std::size_t>(y)] = p[2];
    }
    for (int j = 0; j < th; ++j) {
      std::uint8_t* p = dst.ScanLine(j) + 3 * x;
      p[0] = Combine(lists[static_cast<std::size_t>(j)], blue);
      p[1] = Combine(lists[static_cast<std::size_t>(j)], green);
      p[2] = Combine(lists[static_cast<std::size_t>(j)], red);
    }
  }
}

// ResampleBitmap's steps: a blank target of the new size, the core, take over.
inline Bitmap Resampled(const Bitmap& src, int tw, int th, int kind, float support) {
  Bitmap dst(tw, th);
  Resample(kind, support, src, dst);
  return dst;
}

}  // namespace kv::reference
