#pragma once
// TPropertyEditor, "Property Editor": a fixed dialog of controls for display
// properties of list items. None of them acts yet: nothing is read, stored or
// applied; the window is only shown and closed.

#include <windows.h>

#include "config/kv_form_win.h"
#include "program/forms.h"
#include "widgets/controls_win.h"
#include "widgets/window_win.h"

namespace kv {

inline constexpr char kPropertyEditorName[] = "PropertyEditor";

class TPropertyEditor : public TKVForm, public program::IPropertyEditor {
 public:
  explicit TPropertyEditor(SettingsStore& store) : TKVForm(store, kPropertyEditorName) {}
  ~TPropertyEditor() override;
  // Creates the dialog hidden at its kept place and sets program::PropertyEditor.
  void Create();
  void ShowEditor() override;

  ui::CheckBox CheckBox1, CheckBox2, CheckBox3;
  ui::Button ColorPickerButton1, ColorPickerButton2;
  ui::ComboBox ComboBox1, ComboBox2;
  ui::Button Button1, Button2, Button3;

 private:
  // A colour button: a framed swatch, white for the background colour and
  // black for the text colour, sunken while pressed.
  void DrawColourButton(const DRAWITEMSTRUCT& item) const;

  ui::Label styleLabel_, placementLabel_;
};

}  // namespace kv
