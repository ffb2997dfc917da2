#pragma once
// Making the labels and buttons of a skin file's description on a window, the
// same for the browser and the manager: pictures, the label number kept in the
// button's DataString, and the label that pops up while the mouse is over its
// button. Also the snapping of one skinned window beside another.

#include <windows.h>

#include <memory>
#include <vector>

#include "skin/organic_control_win.h"
#include "skin/skin_file.h"

namespace kv::skin {

using SkinLabels = std::vector<std::unique_ptr<TOrganicShapeLabel>>;

// A hidden label with its picture (magenta cut out); it hides itself when the
// mouse leaves it. Raises ImageError when its picture cannot be read.
[[nodiscard]] std::unique_ptr<TOrganicShapeLabel> MakeSkinLabel(HWND parent, const SkinLabel& l);
// The same with a picture already at hand (none when empty).
[[nodiscard]] std::unique_ptr<TOrganicShapeLabel> MakeSkinLabel(HWND parent,
                                                                const std::string& name, int x,
                                                                int y, const Bitmap& normal);

// A button's three pictures; an empty one is not set.
struct ButtonPictures {
  Bitmap normal, over, down;
};

// A button with its pictures and hint shown; with a label index in 0 to
// labels.size() - 1 the label pops up while the mouse is over the button (and
// stays while the mouse moves onto a skin label). `labels` must outlive it.
// The caller binds the click and the hint.
[[nodiscard]] std::unique_ptr<TOrganicShapeButton> MakeSkinButton(HWND parent, const SkinButton& b,
                                                                  const SkinLabels& labels);
// The same with the pictures at hand and the label number as the button's
// DataString keeps it (empty: none).
[[nodiscard]] std::unique_ptr<TOrganicShapeButton> MakeSkinButton(
    HWND parent, const std::string& name, int x, int y, const ButtonPictures& pictures,
    const std::string& labelIndex, const SkinLabels& labels);

// The proposed position (x, y) of `self` snapped beside `other` (screen
// coordinates, `distance` pixels).
void SnapBesideWindow(HWND self, HWND other, int distance, int& x, int& y);

}  // namespace kv::skin
