#pragma once
// TOrganicSkin: a picture that knows its own window region, every pixel that is
// not exactly the invisible colour. The region is built once per change of the
// picture from the rectangles of one scan (VisibleBands), with no region call per
// run, and handed out as fresh copies for SetWindowRgn, which takes ownership of
// what it is given.

#include <windows.h>

#include <functional>

#include "base/handle_win.h"
#include "codecs/bitmap.h"

namespace kv::skin {

class TOrganicSkin {
 public:
  static constexpr Colour kDefaultInvisible = MakeColour(255, 255, 255);

  TOrganicSkin() = default;
  TOrganicSkin(const TOrganicSkin&) = delete;
  TOrganicSkin& operator=(const TOrganicSkin&) = delete;

  [[nodiscard]] const Bitmap& Picture() const noexcept { return picture_; }
  [[nodiscard]] int Width() const noexcept { return picture_.Width(); }
  [[nodiscard]] int Height() const noexcept { return picture_.Height(); }
  [[nodiscard]] bool Empty() const noexcept { return picture_.Empty(); }

  // Copies another skin: picture, invisible colour and region, without
  // recalculating; the next change recalculates as usual.
  void Assign(const TOrganicSkin& other);
  // Copies a picture and recalculates the region.
  void Assign(const Bitmap& picture);
  void Assign(Bitmap&& picture);

  // Changes the field only; the owner recalculates when it wants the new shape.
  void SetInvisibleColor(Colour c) noexcept { invisible_ = c; }
  [[nodiscard]] Colour InvisibleColor() const noexcept { return invisible_; }

  // A fresh copy of the current region for the caller (or the window system) to
  // own.
  [[nodiscard]] GdiRegion getRegion() const;
  void calculateRegion();
  // How many times the region was calculated (so copying can be seen not to).
  [[nodiscard]] int Calculations() const noexcept { return calculations_; }

  // Runs after every change of the picture (a form reshapes itself here).
  std::function<void()> OnChange;

 private:
  void Changed();

  Bitmap picture_;
  Colour invisible_ = kDefaultInvisible;
  GdiRegion region_;
  bool recalculate_ = true;
  int calculations_ = 0;
};

// The region of a picture by the run definition, one CombineRgn(RGN_DIFF) per run:
// the slow reference that the fast region is tested against.
[[nodiscard]] GdiRegion RegionByRuns(const Bitmap& picture, Colour invisible);

}  // namespace kv::skin
