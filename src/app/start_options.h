#pragma once
// The options the browser and manager need before an options window exists to
// keep them: read once at start-up from the settings store into the
// program-wide copies (program_state.h).

namespace kv {
class SettingsStore;
}

namespace kv::app {

// Reads the stored options in the order of the settings load; the first value
// that cannot be read (a wrong registry type) ends the reading, and the values
// not yet read keep their defaults. Out-of-range values are not taken.
void ReadStartOptions(SettingsStore& store) noexcept;

// Whether a window was visible at the last exit ("Visible" under
// "Forms\" + name); `otherwise` when the value is absent or unreadable.
[[nodiscard]] bool WasVisible(SettingsStore& store, const char* formKey, bool otherwise) noexcept;

}  // namespace kv::app
