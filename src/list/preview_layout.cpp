#include "list/preview_layout.h"

#include <array>

#include "wallpaper/wallpaper_render.h"

namespace kv {
namespace {

constexpr std::array<std::string_view, 7> kFilterStyles = {"Box",    "Triangle", "Hermite", "Bell",
                                                           "Spline", "Lanczos3", "Mitchell"};

void FillScreen(PreviewLayout& l, int screenW, int screenH) {
  l.fill = true;
  l.imageLeft = l.imageTop = 0;
  l.imageWidth = l.pictureWidth = screenW;
  l.imageHeight = l.pictureHeight = screenH;
}

}  // namespace

PreviewLayout LayoutPreview(std::string_view style, int w, int h, int screenW, int screenH) {
  PreviewLayout l;
  const bool empty = w <= 0 || h <= 0;
  if (style == "Center") {
    l.desktopBackground = true;
    l.fill = false;
    if (empty) return l;
    l.imageWidth = w;
    l.imageHeight = h;
    if (w >= screenW) {
      // The image control is as large as the wallpaper, but holds only the
      // screen's worth of it, from the wallpaper's middle.
      l.kind = PreviewKind::CenterCut;
      l.pictureWidth = screenW;
      l.pictureHeight = screenH;
      l.sourceX = (w - screenW) / 2;
      l.sourceY = (h - screenH) / 2;
    } else {
      l.kind = PreviewKind::CenterPlain;
      l.pictureWidth = w;
      l.pictureHeight = h;
      l.imageLeft = (screenW - w) / 2;
      // A wallpaper at least as tall as the screen starts at its top edge.
      l.imageTop = h < screenH ? (screenH - h) / 2 : 0;
    }
    return l;
  }
  if (style == "Scaled") {
    l.kind = PreviewKind::Scaled;
    l.desktopBackground = true;
    l.fill = false;
    if (empty) return l;
    const PixelSize size = ScaledSize(w, h, screenW, screenH);
    l.imageWidth = l.pictureWidth = size.width;
    l.imageHeight = l.pictureHeight = size.height;
    l.imageLeft = size.width < screenW ? (screenW - size.width) / 2 : 0;
    l.imageTop = size.height < screenH ? (screenH - size.height) / 2 : 0;
    return l;
  }
  if (style == "Tile") {
    l.kind = PreviewKind::Tile;
    FillScreen(l, screenW, screenH);
    if (!empty) {
      l.columns = screenW / w + 1;
      l.rows = screenH / h + 1;
    }
  } else if (style == "Stretch") {
    l.kind = PreviewKind::Stretch;
    FillScreen(l, screenW, screenH);
  } else {
    l.kind = PreviewKind::Filter;
    FillScreen(l, screenW, screenH);
    for (std::size_t k = 0; k < kFilterStyles.size(); ++k)
      if (style == kFilterStyles[k]) l.filter = static_cast<int>(k);
  }
  if (empty) l.pictureWidth = l.pictureHeight = 0;
  return l;
}

}  // namespace kv
