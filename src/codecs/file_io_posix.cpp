#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "codecs/file_io.h"

namespace kv {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
  throw FileError(what + " '" + path + "': " + std::strerror(errno));
}

class Fd {
 public:
  explicit Fd(int fd) noexcept : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const noexcept { return fd_; }
  int release() noexcept {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

}  // namespace

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) Fail("cannot open", path);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) Fail("cannot read", path);
  if (!S_ISREG(st.st_mode)) {
    errno = EISDIR;
    Fail("not a file", path);
  }
  if (static_cast<std::uint64_t>(st.st_size) > kMaxReadFileSize)
    throw FileError("file too large '" + path + "'");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail("cannot read", path);
    }
    if (n == 0) break;  // the file shrank while we read it
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  return bytes;
}

void WriteFileAtomic(const std::string& path, const void* data, std::size_t size,
                     Durability durability) {
  const std::string temp = path + ".kvtmp";
  Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (fd.get() < 0) Fail("cannot write", path);
  const auto* p = static_cast<const std::uint8_t*>(data);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd.get(), p + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int saved = errno;
      ::unlink(temp.c_str());
      errno = saved;
      Fail("cannot write", path);
    }
    done += static_cast<std::size_t>(n);
  }
  if ((durability == Durability::Flushed && ::fsync(fd.get()) != 0) ||
      ::close(fd.release()) != 0) {
    const int saved = errno;
    ::unlink(temp.c_str());
    errno = saved;
    Fail("cannot write", path);
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int saved = errno;
    ::unlink(temp.c_str());
    errno = saved;
    Fail("cannot replace", path);
  }
}

bool FileExists(const std::string& path) noexcept {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) noexcept {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace kv
