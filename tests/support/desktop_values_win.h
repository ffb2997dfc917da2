#pragma once
// The desktop's wallpaper values under HKEY_CURRENT_USER\Control Panel\Desktop,
// read and put back by tests and demonstrations that apply wallpapers.

#include <windows.h>

#include <optional>
#include <string>

#include "base/handle_win.h"

namespace kv::test {

inline constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
// The three values the applier writes.
inline const wchar_t* const kDesktopValueNames[] = {L"Wallpaper", L"Tilewallpaper",
                                                    L"WallpaperStyle"};

// The string value, or nothing when it is missing or not a string.
inline std::optional<std::wstring> ReadDesktopValue(const wchar_t* name) {
  RegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
    return std::nullopt;
  wchar_t data[1024];
  DWORD size = sizeof data - sizeof(wchar_t), type = 0;
  if (RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return std::nullopt;
  data[size / sizeof(wchar_t)] = L'\0';
  return std::wstring(data);
}

// Writes the value, or deletes it for nothing.
inline void WriteDesktopValue(const wchar_t* name, const std::optional<std::wstring>& value) {
  RegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS)
    return;
  if (!value) {
    RegDeleteValueW(key.get(), name);
    return;
  }
  RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                 static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
}

}  // namespace kv::test
