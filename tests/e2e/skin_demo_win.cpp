// A small demonstration (not shipped): a shaped glass window whose face and shape
// come from a picture, with three skin buttons and a label. The picture is the
// first argument (any format LoadImageFile reads), or one drawn here when none is
// given. Magenta is cut out. The first button ends the program.
//
// Colours are fixed so that a screenshot can be checked: the window is opaque and
// its red channel is at half intensity.
#include <windows.h>

#include <memory>
#include <string>

#include "base/text_win.h"
#include "codecs/image_file.h"
#include "skin/organic_control_win.h"
#include "skin/organic_glass_form_win.h"
#include "widgets/window_win.h"

namespace {

using kv::Bitmap;
using kv::MakeColour;

constexpr kv::Colour kMagenta = MakeColour(255, 0, 255);

// A 320 x 220 ellipse of one colour on magenta.
Bitmap DrawnFace() {
  Bitmap b(320, 220);
  for (int y = 0; y < 220; ++y)
    for (int x = 0; x < 320; ++x) {
      const double dx = (x - 160) / 160.0, dy = (y - 110) / 110.0;
      b.SetPixel(x, y, dx * dx + dy * dy < 1.0 ? MakeColour(200, 120, 40) : kMagenta);
    }
  return b;
}

// A round button picture of `colour` on magenta.
Bitmap Disc(int size, kv::Colour colour) {
  Bitmap b(size, size);
  const int r = size / 2;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      b.SetPixel(x, y, (x - r) * (x - r) + (y - r) * (y - r) < r * r ? colour : kMagenta);
  return b;
}

Bitmap Solid(int w, int h, kv::Colour c) {
  Bitmap b(w, h);
  b.Fill(c);
  return b;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  try {
    Bitmap face = DrawnFace();
    if (__argc > 1) kv::LoadImageFile(face, kv::Narrow(__wargv[1]));

    auto form = std::make_unique<kv::skin::TOrganicShapeGlassForm>();
    kv::skin::TOrganicShapeForm::CreateArgs args;
    args.title = "Kestrova skin demo";
    form->Create(args);
    SetWindowPos(form->hwnd(), nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    form->SetInvisibleColor(kMagenta);
    form->Skin().Assign(face);
    form->SetTransparency(0);
    form->SetRedIntensity(50);
    form->snapToEdge = true;

    const kv::Colour colours[] = {MakeColour(220, 40, 40), MakeColour(40, 200, 60),
                                  MakeColour(40, 80, 220)};
    kv::skin::TOrganicShapeButton buttons[3];
    for (int i = 0; i < 3; ++i) {
      kv::skin::TOrganicShapeControl::CreateArgs b;
      b.parent = form->hwnd();
      b.name = "Button" + std::to_string(i + 1);
      b.left = 70 + 70 * i;
      b.top = 120;
      buttons[i].Create(b);
      buttons[i].SetInvisibleColor(kMagenta);
      buttons[i].SetMask(Disc(40, colours[i]));
      buttons[i].SetOverBmp(Disc(40, MakeColour(255, 255, 255)));
      buttons[i].SetPressedBmp(Disc(40, MakeColour(0, 0, 0)));
      buttons[i].SetCaption(std::to_string(i + 1));
      buttons[i].SetHint(i == 0 ? "Close" : "Button " + std::to_string(i + 1));
      buttons[i].SetShowHint(true);
    }
    buttons[0].onClick = [] { PostQuitMessage(0); };

    kv::skin::TOrganicShapeLabel label;
    kv::skin::TOrganicShapeControl::CreateArgs l;
    l.parent = form->hwnd();
    l.name = "Title";
    l.left = 80;
    l.top = 50;
    label.Create(l);
    label.SetMask(Solid(160, 30, MakeColour(250, 240, 200)));
    kv::skin::FontSpec font;
    font.name = "Tahoma";
    font.size = 12;
    font.bold = true;
    label.SetFont(font);
    label.SetCaption("Kestrova");

    form->Show();
    return kv::ui::RunMessageLoop();
  } catch (const std::exception& e) {
    MessageBoxW(nullptr, kv::Widen(e.what()).c_str(), L"Kestrova", MB_OK | MB_ICONERROR);
    return 1;
  }
}
