#include "app/start_options.h"

#include <string>

#include "config/settings_schema.h"
#include "config/settings_store.h"
#include "program/program_state.h"

namespace kv::app {
namespace {

void ReadInt(SettingsStore& store, const char* subkey, const char* name, int min, int max,
             int& out) {
  if (const auto v = store.RegReadInteger(subkey, name))
    if (*v >= min && *v <= max) out = *v;
}

void ReadAction(SettingsStore& store, const char* name, std::uint8_t& out) {
  int v = out;
  ReadInt(store, kButtonsKey, name, 0, 16, v);
  out = static_cast<std::uint8_t>(v);
}

}  // namespace

void ReadStartOptions(SettingsStore& store) noexcept {
  program::ProgramOptions& o = program::Options;
  try {
    o.buttonHints = store.RegReadBool(kKvOptionsKey, "Button Hints").value_or(o.buttonHints);
    o.reversedMouseWheel =
        store.RegReadBool(kKvOptionsKey, "Reversed MouseWheel").value_or(o.reversedMouseWheel);
    program::StayOnTopFlag = store.RegReadBool(kKvOptionsKey, "StayOnTop").value_or(false);
    ReadInt(store, kKvOptionsKey, "Wallpaper Scroll", 1, 5, o.wallpaperScroll);
    o.autoHide = store.RegReadBool(kKvOptionsKey, "Auto Hide").value_or(o.autoHide);
    ReadInt(store, kKvOptionsKey, "Auto Hide Time", 1, 60, o.autoHideTime);
    o.cacheEnabled = store.RegReadBool(kThumbnailsKey, "Cache Enabled").value_or(o.cacheEnabled);
    ReadInt(store, kThumbnailsKey, "ImageDisplayFilter", 0, 7, o.imageDisplayFilter);
    program::MouseActions& a = program::MouseAction;
    ReadAction(store, "Left", a.left);
    ReadAction(store, "Middle", a.middle);
    ReadAction(store, "Right", a.right);
    ReadAction(store, "ShiftLeft", a.shiftLeft);
    ReadAction(store, "ShiftMiddle", a.shiftMiddle);
    ReadAction(store, "ShiftRight", a.shiftRight);
  } catch (...) {
    // As the settings load: the first unreadable value ends the reading.
  }
}

bool WasVisible(SettingsStore& store, const char* formKey, bool otherwise) noexcept {
  try {
    return store.RegReadBool(std::string("Forms\\") + formKey + "\\", "Visible")
        .value_or(otherwise);
  } catch (...) {
    return otherwise;
  }
}

}  // namespace kv::app
