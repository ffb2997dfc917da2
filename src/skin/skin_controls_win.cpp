#include "skin/skin_controls_win.h"

#include <cstdlib>
#include <string>

#include "codecs/image_file.h"
#include "skin/snapping.h"

namespace kv::skin {
namespace {

constexpr Colour kMagenta = MakeColour(255, 0, 255);

Bitmap LoadPicture(const std::string& fileName) {
  Bitmap picture;
  LoadImageFile(picture, fileName);
  return picture;
}

bool MouseOverSkinLabel() {
  POINT at;
  GetCursorPos(&at);
  return dynamic_cast<TOrganicShapeLabel*>(ui::HwndOwner::FromHwnd(WindowFromPoint(at))) != nullptr;
}

}  // namespace

std::unique_ptr<TOrganicShapeLabel> MakeSkinLabel(HWND parent, const SkinLabel& l) {
  return MakeSkinLabel(parent, l.name, l.x, l.y, l.normal ? LoadPicture(*l.normal) : Bitmap());
}

std::unique_ptr<TOrganicShapeLabel> MakeSkinLabel(HWND parent, const std::string& name, int x,
                                                  int y, const Bitmap& normal) {
  auto label = std::make_unique<TOrganicShapeLabel>();
  label->Create({parent, name, x, y, false});
  label->SetInvisibleColor(kMagenta);
  if (!normal.Empty()) label->SetMask(normal);
  TOrganicShapeLabel* self = label.get();
  label->onMouseLeave = [self] { self->SetVisible(false); };
  return label;
}

std::unique_ptr<TOrganicShapeButton> MakeSkinButton(HWND parent, const SkinButton& b,
                                                    const SkinLabels& labels) {
  ButtonPictures pictures;
  if (b.normal) pictures.normal = LoadPicture(*b.normal);
  if (b.over) pictures.over = LoadPicture(*b.over);
  if (b.down) pictures.down = LoadPicture(*b.down);
  return MakeSkinButton(parent, b.name, b.x, b.y, pictures,
                        b.labelIndex ? std::to_string(*b.labelIndex) : std::string(), labels);
}

std::unique_ptr<TOrganicShapeButton> MakeSkinButton(HWND parent, const std::string& name, int x,
                                                    int y, const ButtonPictures& pictures,
                                                    const std::string& labelIndex,
                                                    const SkinLabels& labels) {
  auto button = std::make_unique<TOrganicShapeButton>();
  button->Create({parent, name, x, y, true});
  button->SetInvisibleColor(kMagenta);
  button->SetShowHint(true);
  // The button takes its normal picture's size; without one it has none, so a
  // skin that leaves the picture out shows no stray face-coloured square.
  if (!pictures.normal.Empty())
    button->SetMask(pictures.normal);
  else
    button->SetBounds(x, y, 0, 0);
  if (!pictures.over.Empty()) button->SetOverBmp(pictures.over);
  if (!pictures.down.Empty()) button->SetPressedBmp(pictures.down);
  button->DataString = labelIndex;
  const int index = labelIndex.empty() ? -1 : std::atoi(labelIndex.c_str());
  if (index >= 0 && index < static_cast<int>(labels.size())) {
    TOrganicShapeLabel* label = labels[static_cast<std::size_t>(index)].get();
    button->onMouseEnter = [label] {
      if (!label->IsVisible()) label->SetVisible(true);
    };
    // The mouse may move from the button onto its label; the label then
    // hides itself when the mouse leaves it.
    button->onMouseLeave = [label] {
      if (label->IsVisible() && !MouseOverSkinLabel()) label->SetVisible(false);
    };
  }
  return button;
}

void SnapBesideWindow(HWND self, HWND other, int distance, int& x, int& y) {
  RECT s, o;
  if (!GetWindowRect(self, &s) || !GetWindowRect(other, &o)) return;
  const Point p = SnapBeside({s.left, s.top, s.right, s.bottom}, {x, y},
                             {o.left, o.top, o.right, o.bottom}, distance);
  x = p.x;
  y = p.y;
}

}  // namespace kv::skin
