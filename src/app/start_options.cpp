#include "app/start_options.h"

#include <string>

#include "config/settings_schema.h"
#include "config/settings_store.h"
#include "program/program_state.h"

namespace kv::app {
namespace {

// A setting the schema declares, read with its subkey, name and range: an
// absent or out-of-range value leaves `out` as it was.
void ReadInt(SettingsStore& store, Option option, int& out) {
  const SettingDef& def = SettingOf(option);
  if (const auto v = store.RegReadInteger(def.subkey, def.name))
    if (*v >= def.min && *v <= def.max) out = *v;
}

void ReadBool(SettingsStore& store, Option option, bool& out) {
  const SettingDef& def = SettingOf(option);
  out = store.RegReadBool(def.subkey, def.name).value_or(out);
}

void ReadAction(SettingsStore& store, Option option, std::uint8_t& out) {
  int v = out;
  ReadInt(store, option, v);
  out = static_cast<std::uint8_t>(v);
}

}  // namespace

void ReadStartOptions(SettingsStore& store) noexcept {
  program::ProgramOptions& o = program::Options;
  try {
    ReadBool(store, Option::ButtonHints, o.buttonHints);
    ReadBool(store, Option::ReversedWheel, o.reversedMouseWheel);
    bool stayOnTop = false;
    ReadBool(store, Option::StayOnTop, stayOnTop);
    program::StayOnTopFlag = stayOnTop;
    ReadInt(store, Option::WallpaperScroll, o.wallpaperScroll);
    ReadBool(store, Option::AutoHide, o.autoHide);
    ReadInt(store, Option::AutoHideTime, o.autoHideTime);
    ReadBool(store, Option::CacheEnabled, o.cacheEnabled);
    ReadInt(store, Option::DisplayFilter, o.imageDisplayFilter);
    program::MouseActions& a = program::MouseAction;
    ReadAction(store, Option::ClickLeft, a.left);
    ReadAction(store, Option::ClickMiddle, a.middle);
    ReadAction(store, Option::ClickRight, a.right);
    ReadAction(store, Option::ClickShiftLeft, a.shiftLeft);
    ReadAction(store, Option::ClickShiftMiddle, a.shiftMiddle);
    ReadAction(store, Option::ClickShiftRight, a.shiftRight);
  } catch (...) {
    // As the settings load: the first unreadable value ends the reading.
  }
}

bool WasVisible(SettingsStore& store, const char* formKey, bool otherwise) noexcept {
  try {
    return store.RegReadBool(std::string("Forms\\") + formKey + "\\", kFormVisible)
        .value_or(otherwise);
  } catch (...) {
    return otherwise;
  }
}

}  // namespace kv::app
