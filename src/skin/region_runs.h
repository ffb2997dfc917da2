#pragma once
// The shape of a skinned window or control: every pixel of its picture that is not
// exactly the invisible colour. No tolerance, no alpha.
//
// The shape is defined by runs: scanning each row from the left, a pixel of the
// invisible colour opens a run, the next pixel of another colour closes it, and the
// run's rectangle is cut out of the picture's rectangle. Cutting out runs one
// region call at a time is slow for big pictures, so the Win32 side instead builds
// the region in one call from VisibleBands: the same shape as the complement of
// those runs, in the y-x banded order the system keeps regions in.

#include <vector>

#include "codecs/bitmap.h"
#include "skin/geometry.h"

namespace kv::skin {

// The runs of `invisible` pixels, row by row, left to right: the rectangles the
// definition cuts out. Each is one row high.
[[nodiscard]] std::vector<Rect> InvisibleRuns(const Bitmap& picture, Colour invisible);

// The kept pixels as y-x banded rectangles: sorted by top, then by left; all
// rectangles of one band share top and bottom; no two touch within a band; and
// consecutive rows whose runs are the same are merged into one band. An empty
// picture, or one of the invisible colour only, gives no rectangle.
[[nodiscard]] std::vector<Rect> VisibleBands(const Bitmap& picture, Colour invisible);

}  // namespace kv::skin
