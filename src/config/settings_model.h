#pragma once
// The settings the options window shows, held apart from its controls: one
// value for each setting of the schema, filled by the settings load and changed
// by the user through a control. A change is written at once and applied at
// once; the controls only show the held values, so they need not exist until
// their page is first shown.

#include <cstdint>
#include <string>
#include <vector>

#include "config/settings_schema.h"

namespace kv {

class SettingsStore;

// What the model asks of the window that shows it.
class SettingsView {
 public:
  virtual ~SettingsView() = default;
  // The immediate effect of a value already held and written (for a text
  // setting `value` is 0; its text is the model's Text).
  virtual void Apply(const SettingDef& def, std::int32_t value) = 0;
  // A control that exists shows the held value, or the held text.
  virtual void Show(const SettingDef& def, std::int32_t value) = 0;
  virtual void ShowText(const SettingDef& def, const std::string& text) = 0;
  // A Particular setting, read by the window itself at its place in the load.
  virtual void LoadParticular(const SettingDef& def) = 0;
};

class SettingsModel {
 public:
  // `layered`: whether layered windows exist (a first run writes some values
  // only where they do).
  SettingsModel(SettingsStore& store, SettingsView& view, bool layered);

  [[nodiscard]] std::int32_t Value(const SettingDef& def) const;
  [[nodiscard]] std::int32_t Value(Option option) const { return Value(SettingOf(option)); }
  [[nodiscard]] bool On(Option option) const { return Value(option) != 0; }
  // The range a number edit or choice list holds its value to; a number edit's
  // maximum may be narrowed at run time (SetMaximum).
  [[nodiscard]] std::int32_t Minimum(const SettingDef& def) const { return def.min; }
  [[nodiscard]] std::int32_t Maximum(const SettingDef& def) const;
  void SetMaximum(const SettingDef& def, std::int32_t maximum);

  // A change by the user (or a load that takes a value): held to the range,
  // then written, shown and applied.
  void Change(const SettingDef& def, std::int32_t value);
  void Change(Option option, std::int32_t value) { Change(SettingOf(option), value); }
  // Held and shown, neither written nor applied.
  void Hold(const SettingDef& def, std::int32_t value);
  // Writes the held value as its type stores it.
  void Write(const SettingDef& def);
  // A string setting's text, held, written and applied as a value is.
  [[nodiscard]] const std::string& Text(const SettingDef& def) const;
  void ChangeText(const SettingDef& def, const std::string& text);
  void HoldText(const SettingDef& def, const std::string& text);

  // The settings load: the schema's settings in its order, each by its rule
  // (see Taken); the first value that cannot be read, or an effect's error,
  // ends it silently, and what was not read keeps its value.
  void Load();
  [[nodiscard]] bool Loading() const noexcept { return loading_; }
  [[nodiscard]] bool WrittenOnFirstRun(const SettingDef& def) const;
  // Known only once the browser exists, which may be after the model is made.
  void SetLayered(bool layered) noexcept { layered_ = layered; }

  // The rows of a Particular group, in the schema's order.
  [[nodiscard]] static std::vector<const SettingDef*> Group(Option option);

 private:
  [[nodiscard]] std::size_t IndexOf(const SettingDef& def) const;
  [[nodiscard]] std::int32_t Held(const SettingDef& def, std::int32_t value) const;
  void Take(const SettingDef& def);
  void TakeText(const SettingDef& def);

  SettingsStore& store_;
  SettingsView& view_;
  bool layered_;
  bool loading_ = false;
  std::vector<std::int32_t> values_;
  std::vector<std::int32_t> maxima_;
  std::vector<std::string> texts_;
};

}  // namespace kv
