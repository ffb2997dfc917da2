#pragma once
// Which list entry each monitor shows when every monitor has its own
// wallpaper. The primary monitor shows the current entry of the main list; the
// other monitors follow the main list with the entries after it, in layout
// order, unless one has a list of its own. A monitor that matches orientation
// takes, from where it would start, the first entry whose picture is portrait
// for a portrait monitor and landscape for a landscape one (square pictures
// suit both); when no entry of its list suits, the one it started at.

#include <functional>
#include <optional>
#include <vector>

#include "wallpaper/wallpaper_render.h"

namespace kv {

struct MonitorSource {
  bool ownList = false;  // false: the main list
  int count = 0;         // entries in that list
  bool matchOrientation = false;
  bool portrait = false;  // the monitor's own orientation
};

// A picture's size, nothing when it cannot be told (the entry then suits no
// orientation). `monitor` says whose list `entry` belongs to.
using PictureSizeOf = std::function<std::optional<PixelSize>(std::size_t monitor, int entry)>;

enum class MonitorStep { Next, Previous, Random };

class MonitorEntries {
 public:
  MonitorEntries(std::vector<MonitorSource> sources, std::size_t primary, PictureSizeOf sizeOf);

  // Every monitor's entry for `current` on the primary; monitors with lists of
  // their own start at `ownStart[i]` (missing values count as 0). Index -1
  // marks a monitor whose list is empty.
  [[nodiscard]] std::vector<int> Assign(int current, const std::vector<int>& ownStart = {}) const;

  // Every monitor moved on from `shown`: the primary to `current` (the main
  // list's cycling moved it already); each other monitor to its next or
  // previous entry, or to `draw(count)` (a number in [0, count)) for Random.
  [[nodiscard]] std::vector<int> Step(const std::vector<int>& shown, int current, MonitorStep step,
                                      const std::function<int(int)>& draw = {}) const;

  // Only monitor `monitor` moved on to its next entry.
  [[nodiscard]] std::vector<int> NextOn(const std::vector<int>& shown, std::size_t monitor) const;

 private:
  [[nodiscard]] int Suit(std::size_t monitor, int from, int direction) const;

  std::vector<MonitorSource> sources_;
  std::size_t primary_;
  PictureSizeOf sizeOf_;
};

}  // namespace kv
