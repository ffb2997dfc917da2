#include "skin/skin_controls_win.h"

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

TOrganicShapeControl::CreateArgs ArgsFor(HWND parent, const std::string& name, int x, int y,
                                         bool visible) {
  TOrganicShapeControl::CreateArgs args;
  args.parent = parent;
  args.name = name;
  args.left = x;
  args.top = y;
  args.visible = visible;
  return args;
}

bool MouseOverSkinLabel() {
  POINT at;
  GetCursorPos(&at);
  return dynamic_cast<TOrganicShapeLabel*>(ui::HwndOwner::FromHwnd(WindowFromPoint(at))) != nullptr;
}

}  // namespace

std::unique_ptr<TOrganicShapeLabel> MakeSkinLabel(HWND parent, const SkinLabel& l) {
  auto label = std::make_unique<TOrganicShapeLabel>();
  label->Create(ArgsFor(parent, l.name, l.x, l.y, false));
  label->SetInvisibleColor(kMagenta);
  if (l.normal) label->SetMask(LoadPicture(*l.normal));
  TOrganicShapeLabel* self = label.get();
  label->onMouseLeave = [self] { self->SetVisible(false); };
  return label;
}

std::unique_ptr<TOrganicShapeButton> MakeSkinButton(HWND parent, const SkinButton& b,
                                                    const SkinLabels& labels) {
  auto button = std::make_unique<TOrganicShapeButton>();
  button->Create(ArgsFor(parent, b.name, b.x, b.y, true));
  button->SetInvisibleColor(kMagenta);
  button->SetShowHint(true);
  if (b.normal) button->SetMask(LoadPicture(*b.normal));
  if (b.over) button->SetOverBmp(LoadPicture(*b.over));
  if (b.down) button->SetPressedBmp(LoadPicture(*b.down));
  if (b.labelIndex) {
    button->DataString = std::to_string(*b.labelIndex);
    const int index = *b.labelIndex;
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
