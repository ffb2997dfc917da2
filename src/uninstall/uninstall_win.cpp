#include "uninstall/uninstall_win.h"

#include <vector>

#include "base/handle_win.h"

namespace kv {

void RegistryAccessor::DeleteKey(const std::wstring& path) const {
  {
    RegKey key;
    if (RegOpenKeyExW(root_, path.c_str(), 0, access_, key.put()) == ERROR_SUCCESS) {
      DWORD subKeys = 0;
      DWORD longest = 0;
      if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subKeys, &longest, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        subKeys = 0;
      }
      std::vector<wchar_t> name(longest + 1);
      for (DWORD i = subKeys; i-- > 0;) {
        DWORD length = longest + 1;
        if (RegEnumKeyExW(key.get(), i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) ==
            ERROR_SUCCESS) {
          DeleteKey(path + L"\\" + std::wstring(name.data(), length));
        }
      }
    }
  }
  // Whether the delete succeeds is not looked at: a missing or protected key is
  // simply left as it is.
  RegDeleteKeyW(root_, path.c_str());
  if (onDeleted) onDeleted(path);
}

void RunUninstall() noexcept {
  try {
    {
      const RegistryAccessor registry(HKEY_CURRENT_USER, KEY_ALL_ACCESS);
      registry.DeleteKey(kOldSettingsKey);
      registry.DeleteKey(kSettingsKey);
    }
    // The list of further keys below the old settings key holds one entry, the
    // empty name, so this deletes the old settings key itself once more.
    const std::wstring extraKeys[] = {L""};
    for (const std::wstring& name : extraKeys) {
      const RegistryAccessor registry(HKEY_CURRENT_USER, KEY_ALL_ACCESS);
      registry.DeleteKey(kOldSettingsKey + name);
    }
  } catch (...) {
    // Out of memory while building a path: there is nobody to tell.
  }
}

}  // namespace kv
