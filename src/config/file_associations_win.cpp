#include "config/file_associations_win.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <iterator>

#include "base/handle_win.h"
#include "base/text_win.h"

namespace kv {
namespace {

// The executable's icons in the order the resource compiler stores named
// groups (by name): MAINICON 0, SKINFILE 1, WALLLISTFILE 2.
constexpr FileType kProgramTypes[] = {
    {".lst", "Kestrova.WallpaperList", "Kestrova Wallpaper List", 2},
    {".kvs", "Kestrova.Skin", "Kestrova Skin File", 1},
};

bool SetDefault(HKEY root, const std::wstring& path, const std::wstring& value) {
  RegKey key;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                      nullptr, key.put(), nullptr) != ERROR_SUCCESS)
    return false;
  return RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool WriteType(HKEY root, const std::wstring& prefix, const FileType& type,
               const std::wstring& exe) {
  const std::wstring typeKey = prefix + Widen(type.typeKey);
  if (!SetDefault(root, typeKey, Widen(type.description))) return false;
  if (type.iconIndex >= 0 &&
      !SetDefault(root, typeKey + L"\\DefaultIcon", exe + L"," + std::to_wstring(type.iconIndex)))
    return false;
  if (!SetDefault(root, typeKey + L"\\shell\\open\\command", L"\"" + exe + L"\" \"%1\""))
    return false;
  return SetDefault(root, prefix + Widen(type.extension), Widen(type.typeKey));
}

}  // namespace

const FileType* ProgramFileTypes(int& count) {
  count = static_cast<int>(std::size(kProgramTypes));
  return kProgramTypes;
}

bool RegisterFileType(const FileType& type, const std::string& exePath) {
  const std::wstring exe = Widen(exePath);
  return WriteType(HKEY_CLASSES_ROOT, L"", type, exe) ||
         WriteType(HKEY_CURRENT_USER, L"Software\\Classes\\", type, exe);
}

bool RegisterProgramFileTypes(const std::string& exePath) {
  bool all = true;
  for (const FileType& type : kProgramTypes) all = RegisterFileType(type, exePath) && all;
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                      reinterpret_cast<LPARAM>(L"WindowMetrics"), SMTO_NORMAL | SMTO_ABORTIFHUNG,
                      10000, &result);
  return all;
}

}  // namespace kv
