#pragma once
// The error that reaches the program's general error box: a failed file,
// registry or settings operation whose text is shown to the user as it stands.
// Raised by the settings store and the wallpaper list, caught at the boundary
// of a window event.

#include <stdexcept>
#include <string>

namespace kv {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// `pattern` with its one "%s" replaced by `value` (the registry error texts name
// the value this way).
[[nodiscard]] inline std::string FormatText(const std::string& pattern, const std::string& value) {
  const auto at = pattern.find("%s");
  if (at == std::string::npos) return pattern;
  return pattern.substr(0, at) + value + pattern.substr(at + 2);
}

}  // namespace kv
