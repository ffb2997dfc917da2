#include "list/property_editor_win.h"

#include "list/dialog_layout_win.h"
#include "list/styles.h"

namespace kv {
namespace {

constexpr int kWidth = 330, kHeight = 250;

}  // namespace

TPropertyEditor::~TPropertyEditor() {
  if (program::PropertyEditor == this) program::PropertyEditor = nullptr;
}

void TPropertyEditor::Create() {
  CreateForm(DialogFrame("Property Editor", kWidth, kHeight));
  // The colour buttons below draw their colour themselves (no system colours).
  onMessage = [this](UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_DRAWITEM) return false;
    DrawColourButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    result = TRUE;
    return true;
  };
  CheckBox3.Create(ChildAt(hwnd_, 12, 12, 200, 20, "Transparent Backgrounds."));
  CheckBox1.Create(ChildAt(hwnd_, 12, 40, 160, 20, "Background Colour"));
  ui::Control::CreateArgs colour = ChildAt(hwnd_, 200, 38, 60, 24);
  colour.style = BS_OWNERDRAW;
  ColorPickerButton1.Create(colour);
  CheckBox2.Create(ChildAt(hwnd_, 12, 70, 160, 20, "Foreground Colour :"));
  colour.top = 68;
  ColorPickerButton2.Create(colour);
  styleLabel_.Create(ChildAt(hwnd_, 12, 106, 100, 18, "Style :"));
  ui::Control::CreateArgs box = ChildAt(hwnd_, 120, 102, 180, 200);
  box.style = WS_VSCROLL | WS_TABSTOP;
  ComboBox2.Create(box);
  for (const char* style : kStyleNames) ComboBox2.AddItem(style);
  placementLabel_.Create(ChildAt(hwnd_, 12, 138, 100, 18, "Icon Placement :"));
  box.top = 134;
  ComboBox1.Create(box);
  for (const char* place : {"Default", "Top", "Left", "Bottom", "Right"}) ComboBox1.AddItem(place);
  Button1.Create(ChildAt(hwnd_, 12, 176, 90, 26, "Small"));
  Button2.Create(ChildAt(hwnd_, 114, 176, 90, 26, "Normal"));
  Button3.Create(ChildAt(hwnd_, 216, 176, 90, 26, "Detailed"));
  program::PropertyEditor = this;
}

void TPropertyEditor::ShowEditor() {
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void TPropertyEditor::DrawColourButton(const DRAWITEMSTRUCT& item) const {
  RECT r = item.rcItem;
  DrawFrameControl(item.hDC, &r, DFC_BUTTON,
                   DFCS_BUTTONPUSH | ((item.itemState & ODS_SELECTED) ? DFCS_PUSHED : 0));
  InflateRect(&r, -5, -5);
  const COLORREF colour =
      item.hwndItem == ColorPickerButton1.hwnd() ? RGB(255, 255, 255) : RGB(0, 0, 0);
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(item.hDC, &r, brush);
  DeleteObject(brush);
  FrameRect(item.hDC, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
}

}  // namespace kv
