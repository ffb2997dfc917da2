#include "list/existing_files.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "codecs/file_io.h"
#include "list/shell_files.h"

namespace kv {
namespace {

// The folder part (with its separator) of a name; empty when the name has no
// folder part or ends in a separator.
std::string_view FolderOf(std::string_view name) {
  const std::size_t at = name.find_last_of("\\/");
  if (at == std::string_view::npos || at + 1 == name.size()) return {};
  return name.substr(0, at + 1);
}

}  // namespace

std::vector<bool> ExistingFiles(const std::vector<std::string>& fullNames) {
  std::unordered_map<std::string_view, std::size_t> perFolder;
  for (const std::string& name : fullNames) {
    const std::string_view folder = FolderOf(name);
    if (!folder.empty()) ++perFolder[folder];
  }
  // The files (not folders) of each folder that holds enough of the names.
  std::unordered_map<std::string_view, std::unordered_set<std::string>> listed;
  for (const auto& [folder, count] : perFolder) {
    if (count < kListFolderFrom) continue;
    std::unordered_set<std::string>& files = listed[folder];
    for (DirectoryEntry& e : ListDirectory(std::string(folder)))
      if (!e.isDirectory) files.insert(std::move(e.name));
  }
  std::vector<bool> out;
  out.reserve(fullNames.size());
  for (const std::string& name : fullNames) {
    const std::string_view folder = FolderOf(name);
    const auto found = folder.empty() ? listed.end() : listed.find(folder);
    const bool inListing =
        found != listed.end() && found->second.count(name.substr(folder.size())) != 0;
    out.push_back(inListing || FileExists(name));
  }
  return out;
}

}  // namespace kv
