#include "wallpaper/monitor_entries.h"

#include <utility>

namespace kv {

namespace {

int Wrap(int v, int count) { return ((v % count) + count) % count; }

}  // namespace

MonitorEntries::MonitorEntries(std::vector<MonitorSource> sources, std::size_t primary,
                               PictureSizeOf sizeOf)
    : sources_(std::move(sources)), primary_(primary), sizeOf_(std::move(sizeOf)) {}

int MonitorEntries::Suit(std::size_t monitor, int from, int direction) const {
  const MonitorSource& s = sources_[monitor];
  if (s.count <= 0) return -1;
  const int start = Wrap(from, s.count);
  if (!s.matchOrientation || !sizeOf_) return start;
  for (int k = 0; k < s.count; ++k) {
    const int entry = Wrap(start + direction * k, s.count);
    const auto size = sizeOf_(monitor, entry);
    if (!size) continue;
    if (size->width == size->height || (size->height > size->width) == s.portrait) return entry;
  }
  return start;
}

std::vector<int> MonitorEntries::Assign(int current, const std::vector<int>& ownStart) const {
  std::vector<int> out(sources_.size(), -1);
  int mainNext = current;
  for (std::size_t i = 0; i < sources_.size(); ++i) {
    // The primary first, then the others in layout order.
    const std::size_t m = i == 0 ? primary_ : (i <= primary_ ? i - 1 : i);
    if (m == primary_) {
      out[m] = sources_[m].count > 0 ? Wrap(current, sources_[m].count) : -1;
    } else if (sources_[m].ownList) {
      out[m] = Suit(m, m < ownStart.size() ? ownStart[m] : 0, 1);
    } else {
      out[m] = Suit(m, mainNext + 1, 1);
    }
    if (m == primary_ || !sources_[m].ownList) mainNext = out[m] < 0 ? mainNext : out[m];
  }
  return out;
}

std::vector<int> MonitorEntries::Step(const std::vector<int>& shown, int current, MonitorStep step,
                                      const std::function<int(int)>& draw) const {
  std::vector<int> out(sources_.size(), -1);
  for (std::size_t m = 0; m < sources_.size(); ++m) {
    const int count = sources_[m].count;
    if (count <= 0) continue;
    if (m == primary_) {
      out[m] = Wrap(current, count);
      continue;
    }
    const int was = m < shown.size() && shown[m] >= 0 ? shown[m] : 0;
    switch (step) {
      case MonitorStep::Next:
        out[m] = Suit(m, was + 1, 1);
        break;
      case MonitorStep::Previous:
        out[m] = Suit(m, was - 1, -1);
        break;
      case MonitorStep::Random:
        out[m] = Suit(m, draw ? draw(count) : was, 1);
        break;
    }
  }
  return out;
}

std::vector<int> MonitorEntries::NextOn(const std::vector<int>& shown, std::size_t monitor) const {
  std::vector<int> out = shown;
  out.resize(sources_.size(), -1);
  if (monitor < sources_.size()) out[monitor] = Suit(monitor, out[monitor] + 1, 1);
  return out;
}

}  // namespace kv
