#pragma once
// The one conversion between the program's UTF-8 text and the wide text of the
// Win32 W functions.

#include <string>
#include <string_view>

namespace kv {

[[nodiscard]] std::wstring Widen(std::string_view utf8);
[[nodiscard]] std::string Narrow(std::wstring_view wide);

}  // namespace kv
