// kvtool list show FILE.lst: one line per entry, STYLE<TAB>FILENAME<TAB>PATH, in
// list order.
// kvtool list add FILE.lst IMAGE...: adds the pictures as the manager's add paths
// do, without thumbnails and skipping those already listed, then saves the list
// (a new list file when FILE.lst does not exist yet). Names too long for a list
// record are kept whole in FILE.lst.names beside it, as the program keeps them.
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "codecs/file_io.h"
#include "list/shell_files.h"
#include "list/styles.h"
#include "list/wallpaper_list.h"
#include "tools/commands.h"
#include "widgets/prompts.h"

namespace kv::tool {
namespace {

int Show(const std::string& listFile) {
  if (!FileExists(listFile)) throw std::runtime_error("no list file '" + listFile + "'");
  ScriptedPrompts prompts;
  TKvlistview list(prompts, SystemShellDelete());
  list.LoadList(listFile);
  for (std::size_t i = 0; i < list.Count(); ++i) {
    const WallpaperEntry& e = list.Entry(i);
    const std::string line = e.style + "\t" + e.fileName + "\t" + e.path + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
  }
  return 0;
}

// The full name of a file named on the command line, as the list keeps it.
std::string FullName(const std::string& argument) {
  return std::filesystem::absolute(std::filesystem::u8path(argument)).lexically_normal().u8string();
}

int Add(const std::string& listFile, const std::vector<std::string>& images) {
  // Every name is checked before the list changes, so a mistyped name loses nothing.
  std::vector<std::string> names;
  for (const std::string& image : images) {
    const std::string full = FullName(image);
    if (!FileExists(full)) throw std::runtime_error("no picture file '" + image + "'");
    if (!IsAcceptedExtension(LowerExtension(full))) {
      std::fprintf(stderr, "kvtool list: skipped '%s': not a wallpaper file type\n", image.c_str());
      continue;
    }
    names.push_back(full);
  }
  ScriptedPrompts prompts;
  TKvlistview list(prompts, SystemShellDelete());
  list.LoadList(listFile);
  const std::size_t added = list.AddWallpapers(names, false);
  list.SaveList(listFile);
  const std::string summary = std::to_string(added) + " added, " +
                              std::to_string(names.size() - added) + " already listed\n";
  std::fputs(summary.c_str(), stdout);
  return 0;
}

}  // namespace

int CmdList(const Args& args) {
  if (args.size() == 2 && args[0] == "show") return Show(args[1]);
  if (args.size() >= 3 && args[0] == "add")
    return Add(args[1], std::vector<std::string>(args.begin() + 2, args.end()));
  throw UsageError{"expected 'show FILE.lst' or 'add FILE.lst IMAGE...'"};
}

}  // namespace kv::tool
