#pragma once
// TKVAutoStart: keeps the Run value that starts the program with Windows in
// step with `autostart`. The value lives under the local machine's Run key;
// where that key cannot be written (a standard user), it goes to the current
// user's Run key instead, and reading and deleting look at both.

#include <windows.h>

#include <optional>
#include <string>

namespace kv {

inline constexpr wchar_t kRunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class TKVAutoStart {
 public:
  // `appName` empty takes the application's title, "Kestrova". Applies
  // autostart false at once, as the component does when it is created.
  explicit TKVAutoStart(std::string appName = {});

  // The roots whose Run keys are used, the local machine first. A test may
  // set `machineRoot` to null to stand for a machine key that cannot be written.
  HKEY machineRoot = HKEY_LOCAL_MACHINE;
  HKEY userRoot = HKEY_CURRENT_USER;
  // The executable path written as the value's data.
  std::string exePath;

  [[nodiscard]] const std::string& AppName() const noexcept { return appName_; }
  // Takes `name` only when it differs from the current one ignoring case.
  void SetAppName(const std::string& name);
  [[nodiscard]] bool Autostart() const noexcept { return autostart_; }
  // Stores and applies: true writes the value with the current path, false
  // deletes it. Raises kv::Error "Failed to set data for '<name>'" when neither
  // Run key takes the value.
  void SetAutostart(bool on);
  void Apply(bool on);

  // The value's data where it is found (the machine's key first).
  [[nodiscard]] std::optional<std::string> StoredPath() const;

 private:
  std::string appName_;
  bool autostart_ = false;
};

// The full path of the running executable.
[[nodiscard]] std::string ExecutablePath();

}  // namespace kv
