#pragma once
// Which of many files exist, asked at once: a list's entries mostly share a few
// folders, and one listing of such a folder answers for all its entries. Asking
// the file system about each file costs a path resolution each (under Wine, a
// case-insensitive walk of the whole path), which for a long list is most of
// its load.

#include <string>
#include <vector>

namespace kv {

// A folder is listed once it holds at least this many of the names; fewer are
// asked about one by one.
inline constexpr std::size_t kListFolderFrom = 32;

// For each full name, whether a file (not a folder) of that name exists: the
// same answer as FileExists gives for it. A name found exactly in its folder's
// listing exists; any other is asked about by itself, so a name the listing
// does not show as written (other letter case, a short name, trailing dots,
// no folder part) gets the file system's own answer.
[[nodiscard]] std::vector<bool> ExistingFiles(const std::vector<std::string>& fullNames);

}  // namespace kv
