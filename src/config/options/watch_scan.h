#pragma once
// What a scan of the watched wallpaper directory hands to the list: the
// pictures directly in it, as full names.

#include <string>
#include <vector>

namespace kv {

// Every entry of `directory` (not of its subdirectories) whose lower-cased
// extension the list accepts, as `directory` + separator + name, in the order
// the system lists them. Nothing when the directory cannot be read.
[[nodiscard]] std::vector<std::string> WatchedPictures(const std::string& directory);

}  // namespace kv
