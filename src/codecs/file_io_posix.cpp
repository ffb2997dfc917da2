#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "codecs/file_io.h"

namespace kv {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
  throw FileError(what + " '" + path + "': " + std::strerror(errno));
}

int Descriptor(std::intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

FileReader::FileReader(const std::string& path)
    : path_(path), handle_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
  if (handle_ < 0) Fail("cannot open", path);
  struct stat st {};
  int failure = 0;
  if (::fstat(Descriptor(handle_), &st) != 0)
    failure = errno;
  else if (!S_ISREG(st.st_mode))
    failure = EISDIR;
  if (failure != 0 || static_cast<std::uint64_t>(st.st_size) > kMaxReadFileSize) {
    ::close(Descriptor(handle_));  // the destructor does not run for a throwing constructor
    errno = failure;
    if (failure == EISDIR) Fail("not a file", path);
    if (failure != 0) Fail("cannot read", path);
    throw FileError("file too large '" + path + "'");
  }
  size_ = static_cast<std::uint64_t>(st.st_size);
}

FileReader::~FileReader() { ::close(Descriptor(handle_)); }

std::size_t FileReader::Read(void* data, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(Descriptor(handle_), data, size);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) Fail("cannot read", path_);
  }
}

AtomicFileWriter::AtomicFileWriter(const std::string& path, Durability durability,
                                   ReadOnlyTarget readOnly)
    : path_(path), temp_(path + ".kvtmp"), durability_(durability), handle_(-1) {
  RefuseReadOnly(path, readOnly);
  handle_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (handle_ < 0) Fail("cannot write", path);
}

AtomicFileWriter::~AtomicFileWriter() {
  if (!finished_) Abandon();
}

void AtomicFileWriter::WriteThrough(const std::uint8_t* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(Descriptor(handle_), data + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int saved = errno;
      Abandon();
      errno = saved;
      Fail("cannot write", path_);
    }
    done += static_cast<std::size_t>(n);
  }
}

void AtomicFileWriter::Commit() {
  Flush();
  if ((durability_ == Durability::Flushed && ::fsync(Descriptor(handle_)) != 0) ||
      ::close(Descriptor(std::exchange(handle_, -1))) != 0) {
    const int saved = errno;
    Abandon();
    errno = saved;
    Fail("cannot write", path_);
  }
  if (::rename(temp_.c_str(), path_.c_str()) != 0) {
    const int saved = errno;
    Abandon();
    errno = saved;
    Fail("cannot replace", path_);
  }
  finished_ = true;
}

void AtomicFileWriter::Abandon() noexcept {
  if (handle_ >= 0) ::close(Descriptor(std::exchange(handle_, -1)));
  ::unlink(temp_.c_str());
  finished_ = true;
}

bool FileExists(const std::string& path) noexcept {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool RemoveFile(const std::string& path) noexcept { return ::unlink(path.c_str()) == 0; }

bool IsReadOnlyFile(const std::string& path) noexcept {
  // A rename replaces a file whatever its own permissions; a file nobody may
  // write is what the user meant by read-only.
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
         (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool DirectoryExists(const std::string& path) noexcept {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace kv
