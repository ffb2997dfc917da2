#include "wallpaper/wallpaper_render.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "codecs/encoders.h"
#include "codecs/image_error.h"
#include "codecs/image_file.h"
#include "codecs/jpeg_reader.h"
#include "wallpaper/fill_bars.h"
#include "wallpaper/jpeg_resample.h"
#include "wallpaper/resample.h"

namespace kv {

namespace {

constexpr const char* kStyleNames[kWpStyleCount] = {"stretch", "center",   "tile",    "scaled",
                                                    "box",     "triangle", "hermite", "bell",
                                                    "spline",  "lanczos3", "mitchell"};

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Every occurrence of `pattern` (any case) replaced by `by`, scanning left to
// right; replaced text is not scanned again.
std::string ReplaceAllIgnoringCase(const std::string& text, std::string_view pattern,
                                   std::string_view by) {
  const std::string lowerText = Lower(text);
  const std::string lowerPattern = Lower(pattern);
  std::string out;
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = lowerText.find(lowerPattern, from);
    if (at == std::string::npos) break;
    out.append(text, from, at - from);
    out.append(by);
    from = at + pattern.size();
  }
  out.append(text, from, std::string::npos);
  return out;
}

int RoundToEven(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

const char* WpStyleName(WpStyle style) noexcept {
  const int s = static_cast<int>(style);
  return s >= 0 && s < kWpStyleCount ? kStyleNames[s] : "";
}

std::optional<WpStyle> WpStyleFromName(std::string_view name) {
  const std::string lower = Lower(name);
  for (int s = 0; s < kWpStyleCount; ++s)
    if (lower == kStyleNames[s]) return static_cast<WpStyle>(s);
  return std::nullopt;
}

PixelSize ScaledSize(int width, int height, int screenWidth, int screenHeight) {
  const double rw = static_cast<double>(screenWidth) / width;
  const double rh = static_cast<double>(screenHeight) / height;
  const double s = width * rh <= screenWidth ? rh : rw;
  // A very long and thin image could round one side to nothing; it keeps one
  // pixel instead of becoming an empty wallpaper.
  return {std::max(1, RoundToEven(width * s)), std::max(1, RoundToEven(height * s))};
}

Bitmap StretchPlain(const Bitmap& source, int width, int height) {
  Bitmap out(width, height);
  if (source.Empty() || out.Empty()) return out;
  const std::int64_t sw = source.Width(), sh = source.Height();
  std::vector<int> column(static_cast<std::size_t>(width));
  for (int x = 0; x < width; ++x)
    column[static_cast<std::size_t>(x)] = static_cast<int>((2 * x + 1) * sw / (2 * width));
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* in = source.ScanLine(static_cast<int>((2 * y + 1) * sh / (2 * height)));
    std::uint8_t* o = out.ScanLine(y);
    for (int x = 0; x < width; ++x, o += 3)
      std::memcpy(o, in + 3 * static_cast<std::size_t>(column[static_cast<std::size_t>(x)]), 3);
  }
  return out;
}

bool StyleResamples(WpStyle style, int scaledFilter) noexcept {
  if (style == wpScaled) return scaledFilter >= 1 && scaledFilter < kScaledFilterCount;
  return IsFilterStyle(style);
}

std::optional<Resampling> ResamplingFor(WpStyle style, int scaledFilter, PixelSize screen,
                                        int width, int height) {
  if (!StyleResamples(style, scaledFilter)) return std::nullopt;
  if (style != wpScaled) return Resampling{screen, static_cast<ResampleFilter>(style - wpbox)};
  if (width <= 0 || height <= 0) return std::nullopt;
  return Resampling{ScaledSize(width, height, screen.width, screen.height),
                    static_cast<ResampleFilter>(scaledFilter - 1)};
}

namespace {

Bitmap WithBars(Bitmap scaled, WpStyle style, PixelSize screen, int threads, ScaledBars bars) {
  if (style != wpScaled || bars != ScaledBars::Filled) return scaled;
  return FillTheBars(scaled, screen.width, screen.height, threads);
}

Bitmap RenderWithDesktopBars(Bitmap image, WpStyle style, int scaledFilter, PixelSize screen,
                             int threads) {
  if (style == wpScaled && image.Empty()) return image;
  if (const auto job = ResamplingFor(style, scaledFilter, screen, image.Width(), image.Height())) {
    ResampleBitmap(job->size.width, job->size.height, job->kind, 0.0f, image, threads);
    return image;
  }
  if (style == wpScaled) {
    const PixelSize size = ScaledSize(image.Width(), image.Height(), screen.width, screen.height);
    return StretchPlain(image, size.width, size.height);
  }
  return image;
}

}  // namespace

Bitmap RenderWallpaper(Bitmap image, WpStyle style, int scaledFilter, PixelSize screen,
                       int threads, ScaledBars bars) {
  return WithBars(RenderWithDesktopBars(std::move(image), style, scaledFilter, screen, threads),
                  style, screen, threads, bars);
}

namespace {

// The wallpaper of a JPEG file made while it decodes. Nothing for a picture its
// orientation turns, and for a size the resampler would refuse: those take the
// way through the whole picture, and fail there as they always have.
std::optional<Bitmap> RenderWhileDecoding(const std::string& source, WpStyle style,
                                          int scaledFilter, PixelSize screen, int threads) {
  JpegRowReader jpeg(source);
  const auto job = ResamplingFor(style, scaledFilter, screen, jpeg.Width(), jpeg.Height());
  if (!job) return std::nullopt;
  return ResampleJpegIfServed(jpeg, job->size.width, job->size.height, job->kind, 0.0f, threads);
}

}  // namespace

Bitmap RenderWallpaperFile(const std::string& source, WpStyle style, int scaledFilter,
                           PixelSize screen, int threads, ScaledBars bars) {
  if (ImageFamilyOf(source) == ImageFamily::Jpeg && StyleResamples(style, scaledFilter)) {
    if (auto picture = RenderWhileDecoding(source, style, scaledFilter, screen, threads))
      return WithBars(std::move(*picture), style, screen, threads, bars);
  }
  Bitmap image;
  LoadImageFile(image, source);
  // An extension the program does not read leaves the picture empty; writing
  // that would blank the desktop, so it fails like an unreadable file.
  if (image.Empty()) throw ImageError(source + ": not a picture file the program reads");
  return RenderWallpaper(std::move(image), style, scaledFilter, screen, threads, bars);
}

void BuildWallpaperFile(const std::string& source, const std::string& target, WpStyle style,
                        int scaledFilter, PixelSize screen, int threads, ScaledBars bars) {
  SaveBmp(RenderWallpaperFile(source, style, scaledFilter, screen, threads, bars), target);
}

DesktopValues DesktopValuesFor(WpStyle style) noexcept {
  if (style == Wpstretch) return {"0", "2"};
  if (style == WPtiled) return {"1", "0"};
  return {"0", "0"};
}

std::string ExpandPathMacros(std::string_view text, std::string_view programDir,
                             std::string_view skinDir) {
  std::string out(text);
  if (!out.empty() && out[0] == '\\') out.replace(0, 1, skinDir);
  out = ReplaceAllIgnoringCase(out, "$KVDir$\\", programDir);
  return ReplaceAllIgnoringCase(out, "$CurrentDir$\\", skinDir);
}

}  // namespace kv
