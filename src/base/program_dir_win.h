#pragma once
// The directory of the running program, where "Wallpaper.bmp", the thumbnail
// cache and the default skin live.

#include <string>

namespace kv {

// The program's directory in UTF-8, ending in a backslash.
[[nodiscard]] std::string ProgramDir();

}  // namespace kv
