#pragma once
// The small mark in a corner of a browser preview that says which monitor
// shows that picture, while every monitor has its own wallpaper: the
// monitor's number in dark digits on a light box.

#include "codecs/bitmap.h"

namespace kv::app {

// Draws `number` (1 to 99) into the top-left corner of `picture`, clipped to
// the picture; other numbers and an empty picture leave it as it is.
void DrawMonitorMark(Bitmap& picture, int number);

}  // namespace kv::app
