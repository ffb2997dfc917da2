#include "config/options/watch_scan.h"

#include "list/shell_files.h"
#include "list/styles.h"

namespace kv {

std::vector<std::string> WatchedPictures(const std::string& directory) {
  std::vector<std::string> pictures;
  if (directory.empty()) return pictures;
  const char last = directory.back();
  const std::string prefix = last == '\\' || last == '/' ? directory : directory + "\\";
  for (const DirectoryEntry& entry : ListDirectory(directory))
    if (!entry.isDirectory && IsAcceptedExtension(LowerExtension(entry.name)))
      pictures.push_back(prefix + entry.name);
  return pictures;
}

}  // namespace kv
