#include "skin/profile_ini_win.h"

#include <windows.h>

#include "base/text_win.h"
#include "codecs/file_io.h"

namespace kv::skin {
namespace {

// Returned for an absent key; no stored value can be this text.
constexpr wchar_t kAbsent[] = L"\x01\x02kv-absent\x02\x01";

}  // namespace

std::optional<std::string> ProfileIniFile::ReadString(const std::string& section,
                                                      const std::string& key) {
  std::wstring buffer(2048, L'\0');
  const DWORD n =
      GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), kAbsent, buffer.data(),
                               static_cast<DWORD>(buffer.size()), Widen(path_).c_str());
  buffer.resize(n);
  if (buffer == kAbsent) return std::nullopt;
  return Narrow(buffer);
}

void ProfileIniFile::WriteString(const std::string& section, const std::string& key,
                                 const std::string& value) {
  if (!WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(),
                                  Widen(path_).c_str()))
    throw FileError(path_ + ": cannot be written");
}

}  // namespace kv::skin
