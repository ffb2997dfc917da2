#pragma once
// The monitors of the desktop as rectangles in virtual-screen coordinates: the
// primary monitor's top-left corner is (0, 0), monitors left of or above it have
// negative coordinates, and gaps between monitors are allowed. The checks that
// decide whether one composed wallpaper can cover them, and where a point of the
// virtual screen falls in that wallpaper.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct MonitorRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  [[nodiscard]] bool Portrait() const noexcept { return height > width; }
  [[nodiscard]] int Right() const noexcept { return x + width; }
  [[nodiscard]] int Bottom() const noexcept { return y + height; }
  friend bool operator==(const MonitorRect& a, const MonitorRect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
  }
};

using MonitorLayout = std::vector<MonitorRect>;

// Monitors narrower or lower than this are taken for a strip the system
// reports while a display is switched, not for a monitor to paint.
inline constexpr int kMinMonitorSide = 64;
// The composed wallpaper's largest side and pixel count (a 24-bit bitmap of
// 8 x 4K monitors stays under 800 MB; more is refused, not attempted).
inline constexpr int kMaxVirtualSide = 32768;
inline constexpr long long kMaxVirtualPixels = 8LL * 3840 * 2160;

// "WxH+X+Y,WxH+X+Y,..." (X and Y may be negative: "1280x1024+-1280+0" or
// "1280x1024-1280+0"). Nothing when the text is not of that form.
[[nodiscard]] std::optional<MonitorLayout> ParseMonitorLayout(std::string_view text);
[[nodiscard]] std::string MonitorLayoutText(const MonitorLayout& layout);

// The smallest rectangle holding every monitor.
[[nodiscard]] MonitorRect VirtualBounds(const MonitorLayout& layout);

// Why one composed wallpaper cannot serve the layout, as a note for the user;
// nothing when it can. It cannot for fewer than two monitors (the single
// picture does), for a monitor with a side under kMinMonitorSide, for
// overlapping monitors (mirrored displays), when no monitor has its corner at
// (0, 0), or for a virtual screen beyond kMaxVirtualSide / kMaxVirtualPixels.
[[nodiscard]] std::optional<std::string> LayoutProblem(const MonitorLayout& layout);

// The index of the monitor at (0, 0); -1 when there is none.
[[nodiscard]] int PrimaryMonitor(const MonitorLayout& layout) noexcept;

// The program's numbering of the monitors: the primary first (monitor 1), then
// the others from left to right, and from top to bottom where they start in
// the same column. The system enumerates them in an order of its own.
[[nodiscard]] MonitorLayout NumberMonitors(MonitorLayout layout);

// How the desktop lays the composed bitmap over the virtual screen.
//  - Tiled: the bitmap is tiled from the primary monitor's corner, so the
//    point (vx, vy) shows bitmap pixel (vx mod W, vy mod H) with W x H the
//    virtual screen's size; works on every system version.
//  - Spanned: the bitmap's top-left corner is the virtual screen's.
enum class Placement { Tiled, Spanned };

// Where monitor `m`'s top-left pixel lands in the composed bitmap. Because the
// bitmap is exactly the virtual screen's size, a monitor's rectangle may wrap
// round the bitmap's right or bottom edge in the tiled placement.
struct BitmapPoint {
  int x;
  int y;
};
[[nodiscard]] BitmapPoint BitmapOrigin(const MonitorLayout& layout, const MonitorRect& monitor,
                                       Placement placement);

}  // namespace kv
