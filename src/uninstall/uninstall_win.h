#pragma once
// Removal of every registry setting the tray program keeps.

#include <windows.h>

#include <functional>
#include <string>

namespace kv {

// Registry access below one root key, like the settings store's: every
// operation names a key path relative to the root.
class RegistryAccessor {
 public:
  RegistryAccessor(HKEY root, REGSAM access) noexcept : root_(root), access_(access) {}

  // Called with each key path after its delete was attempted (tests watch the order).
  std::function<void(const std::wstring& path)> onDeleted;

  // Deletes `path` and everything below it, leaves first. Sub-keys are visited
  // from the highest index down, so deleting one does not shift the indices of
  // those still to come. Failures are passed over silently.
  void DeleteKey(const std::wstring& path) const;

 private:
  HKEY root_;
  REGSAM access_;
};

// The key paths below HKEY_CURRENT_USER that the uninstaller removes.
inline constexpr wchar_t kOldSettingsKey[] = L"Software\\Kestrova";
inline constexpr wchar_t kSettingsKey[] = L"Software\\Tollvard\\kestrova";

// The whole removal, in its fixed order; shows nothing and cannot fail.
void RunUninstall() noexcept;

}  // namespace kv
