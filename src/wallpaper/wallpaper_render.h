#pragma once
// What the applier does without the system: the style table, the fitting of
// the "Scaled" style, the rendering of one image file into the wallpaper
// bitmap, the desktop's tile and style values per style, and the expansion of
// path macros in skin file names.

#include <optional>
#include <string>
#include <string_view>

#include "codecs/bitmap.h"
#include "wallpaper/resample.h"

namespace kv {

// The applier's own numbering of the styles (list files number them otherwise;
// styles reach the applier by name only).
enum WpStyle : int {
  Wpstretch = 0,
  Wpcenter = 1,
  WPtiled = 2,
  wpScaled = 3,
  wpbox = 4,
  wpTriangle = 5,
  wpHermite = 6,
  wpBell = 7,
  wpSpline = 8,
  wpLanczos3 = 9,
  wpMitchell = 10,
};
inline constexpr int kWpStyleCount = 11;

// "stretch", "center", "tile", "scaled", "box", ..., "mitchell".
[[nodiscard]] const char* WpStyleName(WpStyle style) noexcept;
// The style whose name equals `name` lower-cased; nothing for any other text.
[[nodiscard]] std::optional<WpStyle> WpStyleFromName(std::string_view name);
// Styles box to mitchell resample to the screen size with filter kind style - 4.
[[nodiscard]] constexpr bool IsFilterStyle(WpStyle style) noexcept { return style >= wpbox; }

// "Scaled Filter": 0 for the plain stretch, k = 1..7 for filter kind k - 1.
inline constexpr int kScaledFilterCount = 8;

struct PixelSize {
  int width = 0;
  int height = 0;
  friend bool operator==(PixelSize a, PixelSize b) {
    return a.width == b.width && a.height == b.height;
  }
};

// The "Scaled" size of a width x height image on a screenWidth x screenHeight
// screen: the image fills the screen's height unless that would make it wider
// than the screen, in which case it fills the width; both sides rounded to the
// nearest integer, ties to even. Both sides of the image must be positive.
[[nodiscard]] PixelSize ScaledSize(int width, int height, int screenWidth, int screenHeight);

// The plain stretch: nearest neighbour, each target pixel taking the source
// pixel under its centre. Used where the system's plain stretch drawing would
// be; the same bytes on every system.
[[nodiscard]] Bitmap StretchPlain(const Bitmap& source, int width, int height);

// What a style resamples an image to, and with which filter: the filter
// styles to the screen's size, scaled with a scaledFilter of 1..7 to the
// ScaledSize. A scaledFilter outside 0..7 counts as 0.
struct Resampling {
  PixelSize size;
  ResampleFilter kind;
};
[[nodiscard]] bool StyleResamples(WpStyle style, int scaledFilter) noexcept;
// Nothing for the styles that do not resample and for an image without pixels.
[[nodiscard]] std::optional<Resampling> ResamplingFor(WpStyle style, int scaledFilter,
                                                      PixelSize screen, int width, int height);

// What shows around a Scaled picture that leaves bars: the desktop's colour
// (the system centres the picture), or the picture itself blurred and darkened
// in a screen-sized wallpaper (fill_bars.h).
enum class ScaledBars { DesktopColour, Filled };

// Step 2 of building the wallpaper: the loaded image as the style makes it.
// Stretch, center and tile keep it as it is; scaled fits it with ScaledSize
// (plain stretch for scaledFilter 0, else resampling with filter
// scaledFilter - 1), and with ScaledBars::Filled puts it on its filled bars;
// the filter styles resample it to the screen's size. A scaledFilter outside
// 0..7 counts as 0. `threads` as for ResampleBitmap.
[[nodiscard]] Bitmap RenderWallpaper(Bitmap image, WpStyle style, int scaledFilter,
                                     PixelSize screen, int threads = kAutoThreads,
                                     ScaledBars bars = ScaledBars::DesktopColour);

// Loads `source` by its extension, renders it and writes the result as a 24-bit
// Windows bitmap to `target`, replacing it atomically. Raises ImageError or
// FileError on any failure (an unreadable or unknown file, one that decodes to
// no pixels, a failed write), and then `target` is left as it was.
// A JPEG that needs no turning by its orientation is resampled while it
// decodes (ResampleJpeg), with the same bytes and errors; with threads 1
// everything runs on the calling thread.
void BuildWallpaperFile(const std::string& source, const std::string& target, WpStyle style,
                        int scaledFilter, PixelSize screen, int threads = kAutoThreads,
                        ScaledBars bars = ScaledBars::DesktopColour);
// The bitmap BuildWallpaperFile writes, with the same errors.
[[nodiscard]] Bitmap RenderWallpaperFile(const std::string& source, WpStyle style,
                                         int scaledFilter, PixelSize screen,
                                         int threads = kAutoThreads,
                                         ScaledBars bars = ScaledBars::DesktopColour);

// The "Tilewallpaper" and "WallpaperStyle" values of "\Control Panel\Desktop\".
struct DesktopValues {
  const char* tileWallpaper;
  const char* wallpaperStyle;
};
[[nodiscard]] DesktopValues DesktopValuesFor(WpStyle style) noexcept;

// Skin file names: a leading "\" becomes skinDir, and every "$KVDir$\" and
// "$CurrentDir$\" (any case) becomes programDir and skinDir. Both directories
// end with a backslash.
[[nodiscard]] std::string ExpandPathMacros(std::string_view text, std::string_view programDir,
                                           std::string_view skinDir);

}  // namespace kv
