#pragma once
// Registry helpers for Win32 tests: build trees, look at them, take snapshots.

#include <windows.h>

#include <string>
#include <vector>

#include "base/handle_win.h"

namespace kv::test {

inline bool KeyExists(HKEY root, const std::wstring& path) {
  RegKey key;
  return RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

inline void CreateKey(HKEY root, const std::wstring& path) {
  RegKey key;
  RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
}

inline void SetString(HKEY root, const std::wstring& path, const std::wstring& name,
                      const std::wstring& value) {
  RegKey key;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                      nullptr) == ERROR_SUCCESS) {
    RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
}

inline bool ValueExists(HKEY root, const std::wstring& path, const std::wstring& name) {
  RegKey key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
  return RegQueryValueExW(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

// Deletes a test's own key tree (Win32's RegDeleteTree is not in every Wine).
inline void DeleteTree(HKEY root, const std::wstring& path) {
  RegKey key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS, key.put()) == ERROR_SUCCESS) {
    wchar_t name[256];
    for (;;) {
      DWORD length = 256;
      if (RegEnumKeyExW(key.get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        break;
      DeleteTree(root, path + L"\\" + name);
    }
  }
  key.reset();
  RegDeleteKeyW(root, path.c_str());
}

// One registry value as a walk hands it over.
struct RegValue {
  std::wstring name;
  DWORD type = 0;
  std::vector<BYTE> data;
};

// Walks the tree below root\path: onKey(path) for each key, then
// onValue(path, value) for each of its values, then its subkeys, all in
// enumeration order.
template <typename OnKey, typename OnValue>
void WalkValues(HKEY root, const std::wstring& path, const OnKey& onKey, const OnValue& onValue) {
  RegKey key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
  onKey(path);
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    BYTE data[4096];
    DWORD nameLength = 16384, dataLength = sizeof data, type = 0;
    if (RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type, data, &dataLength) !=
        ERROR_SUCCESS)
      break;
    onValue(path, RegValue{std::wstring(name, nameLength), type,
                           std::vector<BYTE>(data, data + dataLength)});
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD length = 256;
    if (RegEnumKeyExW(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    WalkValues(root, path.empty() ? std::wstring(name) : path + L"\\" + name, onKey, onValue);
  }
}

// Every key path and value (name, type, data) below `path`, in enumeration
// order: two equal snapshots mean nothing below `path` changed.
inline std::vector<std::wstring> Snapshot(HKEY root, const std::wstring& path) {
  std::vector<std::wstring> out;
  WalkValues(
      root, path, [&](const std::wstring& key) { out.push_back(L"[" + key + L"]"); },
      [&](const std::wstring&, const RegValue& v) {
        std::wstring entry = v.name + L"=" + std::to_wstring(v.type) + L":";
        for (BYTE b : v.data) entry += std::to_wstring(b) + L",";
        out.push_back(entry);
      });
  return out;
}

}  // namespace kv::test
