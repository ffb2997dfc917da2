#pragma once
// Where a window that must be seen whole goes: inside the work area of its
// monitor (the screen less the task bar).

namespace kv::ui {

// A rectangle on the screen; right and bottom are exclusive, as in a RECT.
struct ScreenBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const ScreenBox& a, const ScreenBox& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
};

// `area` less a task bar along one of its edges (a bar as wide or as tall as
// the area, touching that edge). The system leaves the task bar out of the
// work area itself; a desktop that does not (Wine's virtual desktop) would
// otherwise let a dialog open under the bar.
[[nodiscard]] ScreenBox ExcludeEdgeBar(const ScreenBox& area, const ScreenBox& bar);

// `window` moved the least distance that puts it inside `area`. One larger than
// the area is shrunk to it when `resizable`; otherwise it keeps its top-left
// corner in the area, so that its caption can still be reached.
[[nodiscard]] ScreenBox FitInside(const ScreenBox& window, const ScreenBox& area, bool resizable);

}  // namespace kv::ui
