#include "skin/organic_skin_win.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "skin/organic_shape_error.h"
#include "skin/region_runs.h"

namespace kv::skin {
namespace {

GdiRegion CopyRegion(HRGN source, const char* method) {
  GdiRegion copy(CreateRectRgn(0, 0, 0, 0));
  if (!copy) throw OrganicShapeException::Failed("TOrganicSkin", method, "CreateRectRgn");
  if (CombineRgn(copy.get(), source, nullptr, RGN_COPY) == ERROR)
    throw OrganicShapeException::Failed("TOrganicSkin", method, "CombineRgn");
  return copy;
}

}  // namespace

void TOrganicSkin::Assign(const TOrganicSkin& other) {
  if (&other == this) return;
  GdiRegion region;
  if (other.region_) region = CopyRegion(other.region_.get(), "assign");
  picture_ = other.picture_;
  invisible_ = other.invisible_;
  region_ = std::move(region);
  // The copied region stands for this change; the next one recalculates.
  recalculate_ = !region_;
  Changed();
}

void TOrganicSkin::Assign(const Bitmap& picture) {
  Bitmap copy = picture;
  Assign(std::move(copy));
}

void TOrganicSkin::Assign(Bitmap&& picture) {
  picture_ = std::move(picture);
  Changed();
}

void TOrganicSkin::Changed() {
  if (recalculate_) calculateRegion();
  recalculate_ = true;
  if (OnChange) OnChange();
}

namespace {

// Rectangles handed to one ExtCreateRegion call. Wine's ExtCreateRegion adds the
// rectangles one by one, each addition walking the whole region so far, which is
// quadratic (30 s for 90 000 rectangles); Windows is quick either way. Small
// pieces joined pairwise, like a merge sort, keep both near n log n.
constexpr std::size_t kRectsPerPiece = 64;

GdiRegion RegionFromRects(const Rect* first, std::size_t count) {
  std::vector<std::uint8_t> data(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
  auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
  header->dwSize = sizeof(RGNDATAHEADER);
  header->iType = RDH_RECTANGLES;
  header->nCount = static_cast<DWORD>(count);
  header->nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
  RECT bound{first->left, first->top, first->right, first->bottom};
  auto* rects = reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER));
  for (std::size_t i = 0; i < count; ++i) {
    const Rect& r = first[i];
    rects[i] = {r.left, r.top, r.right, r.bottom};
    bound.left = std::min<LONG>(bound.left, r.left);
    bound.top = std::min<LONG>(bound.top, r.top);
    bound.right = std::max<LONG>(bound.right, r.right);
    bound.bottom = std::max<LONG>(bound.bottom, r.bottom);
  }
  header->rcBound = bound;
  GdiRegion region(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                   reinterpret_cast<const RGNDATA*>(data.data())));
  if (!region)
    throw OrganicShapeException::Failed("TOrganicSkin", "calculateRegion", "ExtCreateRegion");
  return region;
}

}  // namespace

void TOrganicSkin::calculateRegion() {
  ++calculations_;
  // The kept pixels' rectangles, in y-x banded order, from one scan of the rows.
  const std::vector<Rect> bands = VisibleBands(picture_, invisible_);
  if (bands.empty()) {
    GdiRegion empty(CreateRectRgn(0, 0, 0, 0));
    if (!empty)
      throw OrganicShapeException::Failed("TOrganicSkin", "calculateRegion", "CreateRectRgn");
    region_ = std::move(empty);
    return;
  }
  std::vector<GdiRegion> pieces;
  for (std::size_t i = 0; i < bands.size(); i += kRectsPerPiece)
    pieces.push_back(RegionFromRects(&bands[i], std::min(kRectsPerPiece, bands.size() - i)));
  while (pieces.size() > 1) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < pieces.size(); i += 2) {
      if (i + 1 < pieces.size() &&
          CombineRgn(pieces[i].get(), pieces[i].get(), pieces[i + 1].get(), RGN_OR) == ERROR)
        throw OrganicShapeException::Failed("TOrganicSkin", "calculateRegion", "CombineRgn");
      pieces[kept++] = std::move(pieces[i]);
    }
    pieces.resize(kept);
  }
  region_ = std::move(pieces.front());
}

GdiRegion TOrganicSkin::getRegion() const {
  if (!region_) {
    GdiRegion empty(CreateRectRgn(0, 0, 0, 0));
    if (!empty) throw OrganicShapeException::Failed("TOrganicSkin", "getRegion", "CreateRectRgn");
    return empty;
  }
  return CopyRegion(region_.get(), "getRegion");
}

GdiRegion RegionByRuns(const Bitmap& picture, Colour invisible) {
  GdiRegion region(CreateRectRgn(0, 0, picture.Width(), picture.Height()));
  for (const Rect& r : InvisibleRuns(picture, invisible)) {
    GdiRegion run(CreateRectRgn(r.left, r.top, r.right, r.bottom));
    if (!run || CombineRgn(region.get(), region.get(), run.get(), RGN_DIFF) == ERROR)
      throw OrganicShapeException::Failed("TOrganicSkin", "calculateRegion", "CombineRgn");
  }
  return region;
}

}  // namespace kv::skin
