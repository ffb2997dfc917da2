#include "config/auto_start_win.h"

#include <vector>

#include "base/error.h"
#include "base/handle_win.h"
#include "base/text_case.h"
#include "base/text_win.h"
#include "config/settings_store.h"

namespace kv {
namespace {

RegKey OpenRunKey(HKEY root, REGSAM access, bool create) {
  RegKey key;
  if (!root) return key;
  if (create)
    RegCreateKeyExW(root, kRunKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                    key.put(), nullptr);
  else
    RegOpenKeyExW(root, kRunKeyPath, 0, access, key.put());
  return key;
}

bool WriteRunValue(HKEY root, bool create, const std::wstring& name, const std::wstring& data) {
  const RegKey key = OpenRunKey(root, KEY_SET_VALUE, create);
  if (!key) return false;
  return RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

void DeleteRunValue(HKEY root, const std::wstring& name) {
  if (const RegKey key = OpenRunKey(root, KEY_SET_VALUE, false))
    RegDeleteValueW(key.get(), name.c_str());
}

std::optional<std::string> ReadRunValue(HKEY root, const std::wstring& name) {
  const RegKey key = OpenRunKey(root, KEY_QUERY_VALUE, false);
  if (!key) return std::nullopt;
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return std::nullopt;
  std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
    return std::nullopt;
  return Narrow(std::wstring(data.data()));
}

}  // namespace

std::string ExecutablePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n < buffer.size()) return Narrow(std::wstring(buffer.data(), n));
    buffer.resize(buffer.size() * 2);
  }
}

TKVAutoStart::TKVAutoStart(std::string appName)
    : exePath(ExecutablePath()), appName_(appName.empty() ? "Kestrova" : std::move(appName)) {
  Apply(false);
}

void TKVAutoStart::SetAppName(const std::string& name) {
  if (!EqualsIgnoringAsciiCase(name, appName_)) appName_ = name;
}

void TKVAutoStart::SetAutostart(bool on) {
  autostart_ = on;
  Apply(on);
}

void TKVAutoStart::Apply(bool on) {
  const std::wstring name = Widen(appName_);
  if (!on) {
    DeleteRunValue(machineRoot, name);
    DeleteRunValue(userRoot, name);
    return;
  }
  // Always written afresh, so that the value carries the path of the
  // executable that ran last, even when a value was there already.
  const std::wstring data = Widen(exePath);
  if (WriteRunValue(machineRoot, false, name, data)) {
    DeleteRunValue(userRoot, name);  // one value is enough to start once
    return;
  }
  if (!WriteRunValue(userRoot, true, name, data))
    throw Error(FormatText(kFailedToSetDataText, appName_));
}

std::optional<std::string> TKVAutoStart::StoredPath() const {
  const std::wstring name = Widen(appName_);
  if (auto v = ReadRunValue(machineRoot, name)) return v;
  return ReadRunValue(userRoot, name);
}

}  // namespace kv
