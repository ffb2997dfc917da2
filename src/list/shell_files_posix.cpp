#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "codecs/file_io.h"
#include "list/shell_files.h"

namespace kv {
namespace {

class FileSystemDelete : public ShellDelete {
 public:
  bool Delete(const std::string& path) override {
    std::error_code error;
    std::filesystem::remove_all(path, error);
    return !error;
  }
};

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
  return path;
}

}  // namespace

ShellDelete& SystemShellDelete() {
  static FileSystemDelete instance;
  return instance;
}

bool MakeDirectory(const std::string& path) {
  return ::mkdir(WithoutTrailingSlash(path).c_str(), 0777) == 0;
}

std::vector<DirectoryEntry> ListDirectory(const std::string& directory) {
  std::vector<DirectoryEntry> out;
  const std::string dir = WithoutTrailingSlash(directory);
  DIR* d = ::opendir(dir.c_str());
  if (!d) return out;
  while (const dirent* e = ::readdir(d)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    DirectoryEntry entry{name, 0, false};
    struct stat st {};
    if (::lstat((dir + "/" + name).c_str(), &st) == 0) {
      entry.isDirectory = S_ISDIR(st.st_mode);
      if (!entry.isDirectory) entry.size = static_cast<std::uint64_t>(st.st_size);
    }
    out.push_back(std::move(entry));
  }
  ::closedir(d);
  return out;
}

}  // namespace kv
