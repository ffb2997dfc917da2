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

void WriteCacheFile(const std::string& path, const void* data, std::size_t size) {
  const std::string temp = path + ".kvtmp";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  bool ok = fd >= 0;
  const auto* p = static_cast<const char*>(data);
  for (std::size_t done = 0; ok && done < size;) {
    const ssize_t n = ::write(fd, p + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  if (fd >= 0) ok = ::close(fd) == 0 && ok;
  if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    const int error = errno;
    ::unlink(temp.c_str());
    throw FileError("cannot write '" + path + "': " + std::strerror(error));
  }
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
