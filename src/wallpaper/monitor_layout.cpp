#include "wallpaper/monitor_layout.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace kv {

namespace {

// A whole number with an optional sign at `text[at]`; advances `at`.
std::optional<long> ReadNumber(std::string_view text, std::size_t& at, bool signedAllowed) {
  bool negative = false;
  if (signedAllowed && at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
    // "+-1280": a plus sign before a negative number, as some tools write it.
    if (!negative && at < text.size() && text[at] == '-') {
      negative = true;
      ++at;
    }
  }
  const std::size_t start = at;
  long v = 0;
  while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
    v = v * 10 + (text[at] - '0');
    if (v > 1000000) return std::nullopt;
    ++at;
  }
  if (at == start) return std::nullopt;
  return negative ? -v : v;
}

std::optional<MonitorRect> ParseOne(std::string_view text) {
  std::size_t at = 0;
  const auto w = ReadNumber(text, at, false);
  if (!w || at >= text.size() || (text[at] != 'x' && text[at] != 'X')) return std::nullopt;
  ++at;
  const auto h = ReadNumber(text, at, false);
  if (!h || at >= text.size() || (text[at] != '+' && text[at] != '-')) return std::nullopt;
  const auto x = ReadNumber(text, at, true);
  if (!x || at >= text.size() || (text[at] != '+' && text[at] != '-')) return std::nullopt;
  const auto y = ReadNumber(text, at, true);
  if (!y || at != text.size() || *w < 1 || *h < 1) return std::nullopt;
  return MonitorRect{static_cast<int>(*x), static_cast<int>(*y), static_cast<int>(*w),
                     static_cast<int>(*h)};
}

bool Overlap(const MonitorRect& a, const MonitorRect& b) {
  return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

int Modulo(int v, int n) { return ((v % n) + n) % n; }

}  // namespace

std::optional<MonitorLayout> ParseMonitorLayout(std::string_view text) {
  MonitorLayout out;
  std::size_t from = 0;
  for (;;) {
    const std::size_t comma = text.find(',', from);
    const auto one = ParseOne(
        text.substr(from, comma == std::string_view::npos ? std::string_view::npos : comma - from));
    if (!one) return std::nullopt;
    out.push_back(*one);
    if (comma == std::string_view::npos) return out;
    from = comma + 1;
  }
}

std::string MonitorLayoutText(const MonitorLayout& layout) {
  std::string out;
  for (const MonitorRect& m : layout) {
    if (!out.empty()) out += ',';
    out += std::to_string(m.width) + 'x' + std::to_string(m.height) + (m.x < 0 ? "" : "+") +
           std::to_string(m.x) + (m.y < 0 ? "" : "+") + std::to_string(m.y);
  }
  return out;
}

MonitorRect VirtualBounds(const MonitorLayout& layout) {
  if (layout.empty()) return {};
  int left = layout[0].x, top = layout[0].y, right = layout[0].Right(), bottom = layout[0].Bottom();
  for (const MonitorRect& m : layout) {
    left = std::min(left, m.x);
    top = std::min(top, m.y);
    right = std::max(right, m.Right());
    bottom = std::max(bottom, m.Bottom());
  }
  return {left, top, right - left, bottom - top};
}

int PrimaryMonitor(const MonitorLayout& layout) noexcept {
  for (std::size_t i = 0; i < layout.size(); ++i)
    if (layout[i].x == 0 && layout[i].y == 0) return static_cast<int>(i);
  return -1;
}

std::optional<std::string> LayoutProblem(const MonitorLayout& layout) {
  if (layout.size() < 2) return "one monitor: the single picture covers it";
  for (std::size_t i = 0; i < layout.size(); ++i) {
    const MonitorRect& m = layout[i];
    if (m.width < kMinMonitorSide || m.height < kMinMonitorSide)
      return "monitor " + std::to_string(i + 1) + " is only " + std::to_string(m.width) + "x" +
             std::to_string(m.height) + " pixels: the single picture is used";
    for (std::size_t j = 0; j < i; ++j)
      if (Overlap(m, layout[j]))
        return "monitors " + std::to_string(j + 1) + " and " + std::to_string(i + 1) +
               " overlap (mirrored): the single picture is used";
  }
  if (PrimaryMonitor(layout) < 0) return "no monitor at (0, 0): the single picture is used";
  const MonitorRect v = VirtualBounds(layout);
  if (v.width > kMaxVirtualSide || v.height > kMaxVirtualSide ||
      static_cast<long long>(v.width) * v.height > kMaxVirtualPixels)
    return "the desktop of " + std::to_string(v.width) + "x" + std::to_string(v.height) +
           " pixels is too large for one wallpaper: the single picture is used";
  return std::nullopt;
}

MonitorLayout NumberMonitors(MonitorLayout layout) {
  std::stable_sort(layout.begin(), layout.end(), [](const MonitorRect& a, const MonitorRect& b) {
    const bool aPrimary = a.x == 0 && a.y == 0, bPrimary = b.x == 0 && b.y == 0;
    if (aPrimary != bPrimary) return aPrimary;
    return a.x != b.x ? a.x < b.x : a.y < b.y;
  });
  return layout;
}

BitmapPoint BitmapOrigin(const MonitorLayout& layout, const MonitorRect& monitor,
                         Placement placement) {
  const MonitorRect v = VirtualBounds(layout);
  if (placement == Placement::Spanned) return {monitor.x - v.x, monitor.y - v.y};
  return {Modulo(monitor.x, v.width), Modulo(monitor.y, v.height)};
}

}  // namespace kv
