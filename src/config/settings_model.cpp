#include "config/settings_model.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "config/settings_store.h"

namespace kv {

SettingsModel::SettingsModel(SettingsStore& store, SettingsView& view, bool layered)
    : store_(store), view_(view), layered_(layered) {
  values_.reserve(kSettingsSchemaSize);
  maxima_.reserve(kSettingsSchemaSize);
  texts_.reserve(kSettingsSchemaSize);
  for (std::size_t i = 0; i < kSettingsSchemaSize; ++i) {
    const SettingDef& d = kSettingsSchema[i];
    values_.push_back(d.initial);
    maxima_.push_back(d.max);
    texts_.emplace_back(d.textDefault ? d.textDefault : "");
  }
}

std::size_t SettingsModel::IndexOf(const SettingDef& def) const {
  const auto i = static_cast<std::size_t>(&def - kSettingsSchema);
  if (i >= kSettingsSchemaSize) std::abort();  // not an entry of the schema
  return i;
}

std::int32_t SettingsModel::Value(const SettingDef& def) const { return values_[IndexOf(def)]; }

std::int32_t SettingsModel::Maximum(const SettingDef& def) const { return maxima_[IndexOf(def)]; }

void SettingsModel::SetMaximum(const SettingDef& def, std::int32_t maximum) {
  maxima_[IndexOf(def)] = std::max(maximum, def.min);
}

bool SettingsModel::WrittenOnFirstRun(const SettingDef& def) const {
  return def.firstRun == FirstRun::Written ||
         (def.firstRun == FirstRun::WrittenWhereLayered && layered_);
}

std::int32_t SettingsModel::Held(const SettingDef& def, std::int32_t value) const {
  if (def.type == SettingType::Bool) return value != 0 ? 1 : 0;
  if (def.type != SettingType::Int) return value;
  return std::clamp(value, def.min, Maximum(def));
}

void SettingsModel::Hold(const SettingDef& def, std::int32_t value) {
  values_[IndexOf(def)] = Held(def, value);
  view_.Show(def, Value(def));
}

void SettingsModel::Write(const SettingDef& def) {
  const std::int32_t v = Value(def);
  switch (def.type) {
    case SettingType::Bool:
      store_.RegWriteBool(def.subkey, def.name, v != 0);
      break;
    case SettingType::Shortcut:
      store_.RegWriteShortcut(def.subkey, def.name, static_cast<Shortcut>(v));
      break;
    case SettingType::Colour:
      store_.RegWriteColour(def.subkey, def.name, static_cast<std::uint32_t>(v));
      break;
    case SettingType::String:
      store_.RegWriteString(def.subkey, def.name, Text(def));
      break;
    default:
      store_.RegWriteInteger(def.subkey, def.name, v);
      break;
  }
}

void SettingsModel::Change(const SettingDef& def, std::int32_t value) {
  Hold(def, value);
  Write(def);
  view_.Apply(def, Value(def));
}

const std::string& SettingsModel::Text(const SettingDef& def) const { return texts_[IndexOf(def)]; }

void SettingsModel::HoldText(const SettingDef& def, const std::string& text) {
  texts_[IndexOf(def)] = text;
  view_.ShowText(def, text);
}

void SettingsModel::ChangeText(const SettingDef& def, const std::string& text) {
  HoldText(def, text);
  Write(def);
  view_.Apply(def, 0);
}

void SettingsModel::TakeText(const SettingDef& def) {
  const std::optional<std::string> stored = store_.RegReadString(def.subkey, def.name);
  if (stored && def.taken == Taken::Quiet)
    HoldText(def, *stored);
  else if (stored)
    ChangeText(def, *stored);
  else if (WrittenOnFirstRun(def))
    Write(def);
}

void SettingsModel::Take(const SettingDef& def) {
  if (def.shown == Shown::Text) {
    TakeText(def);
    return;
  }
  std::optional<std::int32_t> stored;
  if (def.type == SettingType::Bool) {
    if (const auto on = store_.RegReadBool(def.subkey, def.name)) stored = *on ? 1 : 0;
  } else {
    stored = store_.RegReadInteger(def.subkey, def.name);
  }
  if (def.shown == Shown::Choice) {
    // A choice outside the list's items is passed over.
    const bool valid = stored && *stored >= def.min && *stored <= def.max;
    if (def.taken == Taken::Applied && valid) Change(def, *stored);
    if (def.taken != Taken::Applied && valid) Hold(def, *stored);
    if (def.taken == Taken::AppliedAlways) Change(def, Value(def));
    return;
  }
  if (def.taken == Taken::Quiet) {
    if (stored) Hold(def, *stored);
    return;
  }
  if (stored) {
    Change(def, *stored);
  } else if (WrittenOnFirstRun(def)) {
    // The default is written; it is applied only when the control showed
    // another value, as a change of the control would have done.
    if (Value(def) == def.intDefault)
      Write(def);
    else
      Change(def, def.intDefault);
  }
  if (def.taken == Taken::AppliedAlways) Change(def, Value(def));
}

void SettingsModel::Load() {
  loading_ = true;
  try {
    for (std::size_t i = 0; i < kSettingsSchemaSize; ++i) {
      const SettingDef& def = kSettingsSchema[i];
      if (def.shown == Shown::Particular)
        view_.LoadParticular(def);
      else if (def.shown != Shown::None)
        Take(def);
    }
  } catch (...) {
    // The first value that cannot be read, or an effect's error, ends the
    // reading; what was not read keeps its value.
  }
  loading_ = false;
}

std::vector<const SettingDef*> SettingsModel::Group(Option option) {
  std::vector<const SettingDef*> rows;
  for (std::size_t i = 0; i < kSettingsSchemaSize; ++i)
    if (kSettingsSchema[i].option == option) rows.push_back(&kSettingsSchema[i]);
  return rows;
}

}  // namespace kv
