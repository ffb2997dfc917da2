#pragma once
// Where the full-screen preview puts a wallpaper of w x h pixels on a screen of
// W x H for each style: the size of the picture to build, the image control's
// place, and which background the window shows. Pure arithmetic; the preview
// window turns it into bitmaps and window positions.

#include <string_view>

namespace kv {

enum class PreviewKind {
  CenterCut,    // "Center", w >= W: the wallpaper's middle, cut to the screen
  CenterPlain,  // "Center", w < W: the wallpaper itself, centred
  Tile,         // copies side by side from the top-left corner
  Stretch,      // the plain stretch over the whole screen
  Scaled,       // scaled to fit with its aspect ratio kept, centred
  Filter,       // resampled to the screen size with `filter`
};

struct PreviewLayout {
  PreviewKind kind = PreviewKind::Filter;
  // The window shows the desktop's colour around the picture (else black).
  bool desktopBackground = false;
  // The image control fills the window; otherwise it sits at the coordinates.
  bool fill = true;
  int imageLeft = 0, imageTop = 0, imageWidth = 0, imageHeight = 0;
  // The picture the image control holds, drawn at its top-left corner.
  int pictureWidth = 0, pictureHeight = 0;
  // CenterCut: where in the wallpaper the picture starts.
  int sourceX = 0, sourceY = 0;
  // Tile: the copies across and down.
  int columns = 0, rows = 0;
  // Filter: the resampling filter kind (0 box ... 6 Mitchell).
  int filter = 6;
};

// The style texts are compared exactly (case matters); any other text, the
// empty one included, previews as "Mitchell". An empty wallpaper (w or h not
// positive) gives an empty picture on the window's background.
[[nodiscard]] PreviewLayout LayoutPreview(std::string_view style, int w, int h, int screenW,
                                          int screenH);

}  // namespace kv
