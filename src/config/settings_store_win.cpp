#include "config/settings_store_win.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "base/handle_win.h"
#include "base/text_win.h"

namespace kv {
namespace {

// Opens root plus subkey, creating what is missing. A key that cannot be
// created (no write access) is still opened for reading when it exists.
RegKey OpenSettingsKey(std::string_view subkey, REGSAM access) {
  const std::wstring path = Widen(SettingsKeyPath(subkey));
  RegKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                      nullptr, key.put(), nullptr) == ERROR_SUCCESS)
    return key;
  if (access == KEY_READ) RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.put());
  return key;
}

}  // namespace

SettingsStore::ReadStatus RegistrySettingsStore::ReadValue(std::string_view subkey,
                                                           std::string_view name,
                                                           StoredValue& out) {
  const RegKey key = OpenSettingsKey(subkey, KEY_READ);
  if (!key) return ReadStatus::Absent;
  const std::wstring wideName = Widen(name);
  // The value may change between asking its size and reading it: ask again then.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &type, nullptr, &size);
    if (rc == ERROR_FILE_NOT_FOUND) return ReadStatus::Absent;
    if (rc != ERROR_SUCCESS) return ReadStatus::Failed;
    std::vector<BYTE> data(size + sizeof(wchar_t));
    rc = RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &type, data.data(), &size);
    if (rc == ERROR_MORE_DATA) continue;
    if (rc == ERROR_FILE_NOT_FOUND) return ReadStatus::Absent;
    if (rc != ERROR_SUCCESS) return ReadStatus::Failed;
    switch (type) {
      case REG_DWORD: {
        if (size != sizeof(DWORD)) return ReadStatus::Failed;
        DWORD v;
        std::memcpy(&v, data.data(), sizeof v);
        out = StoredValue::Dword(v);
        break;
      }
      case REG_SZ:
      case REG_EXPAND_SZ: {
        std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
        // Stored strings usually, but not always, carry their terminating zero.
        const auto end = text.find(L'\0');
        if (end != std::wstring::npos) text.resize(end);
        out = StoredValue::String(Narrow(text));
        break;
      }
      default:
        out = StoredValue{};
        break;
    }
    return ReadStatus::Found;
  }
  return ReadStatus::Failed;
}

bool RegistrySettingsStore::WriteValue(std::string_view subkey, std::string_view name,
                                       const StoredValue& value) {
  const RegKey key = OpenSettingsKey(subkey, KEY_WRITE);
  if (!key) return false;
  const std::wstring wideName = Widen(name);
  if (value.kind == StoredValue::Kind::Dword) {
    const DWORD v = value.dword;
    return RegSetValueExW(key.get(), wideName.c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&v), sizeof v) == ERROR_SUCCESS;
  }
  const std::wstring text = Widen(value.text);
  return RegSetValueExW(key.get(), wideName.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace kv
