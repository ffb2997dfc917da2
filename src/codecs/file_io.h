#pragma once
// Whole-file reading and atomic file replacement with UTF-8 file names, the same
// on Windows (wide file functions) and natively (POSIX).

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace kv {

// A file that cannot be read, written or replaced; the message names the file.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Files larger than this are refused before reading: no picture or list we
// handle is that large, and the 32-bit program could not hold it twice.
inline constexpr std::uint64_t kMaxReadFileSize = 512ull * 1024 * 1024;

// A file read front to back in pieces, for readers that need not hold it whole.
class FileReader {
 public:
  // Opens `path` for reading, shared with other programs; raises FileError when
  // it cannot be opened, is no file or is larger than kMaxReadFileSize.
  explicit FileReader(const std::string& path);
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;
  ~FileReader();

  // The file's size when it was opened.
  [[nodiscard]] std::uint64_t Size() const noexcept { return size_; }
  // Reads up to `size` bytes into `data`; 0 at the end. Raises FileError.
  [[nodiscard]] std::size_t Read(void* data, std::size_t size);

 private:
  std::string path_;
  std::intptr_t handle_;  // a descriptor, or a HANDLE on Windows
  std::uint64_t size_ = 0;
};

// The whole file; raises FileError when it cannot be opened or read.
[[nodiscard]] std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

// Whether a replacement waits until the new bytes are on the disk before the
// rename. Users' files do; cache files, which can be made again, need not, and
// skipping the wait makes them much cheaper.
enum class Durability { Flushed, Unflushed };

// What a replacement does with a target that is marked read-only (the read-only
// attribute on Windows, no write permission at all elsewhere). Files the program
// alone owns, such as the wallpaper bitmap it renders, are replaced anyway; a
// user's file that the user marked read-only is refused and stays as it is.
enum class ReadOnlyTarget { Replace, Refuse };

// Replaces `path` with `size` bytes so that a reader sees either the old file or
// the whole new one, never a part: the bytes go to a temporary file beside it,
// which is (optionally) flushed and then renamed over `path`. A read-only `path`
// is replaced or refused as `readOnly` says. Raises FileError (and leaves `path`
// untouched) on any failure.
void WriteFileAtomic(const std::string& path, const void* data, std::size_t size,
                     Durability durability = Durability::Flushed,
                     ReadOnlyTarget readOnly = ReadOnlyTarget::Replace);

// The same replacement for bytes written piece by piece: they go to the
// temporary file as they come (through a small buffer), and Commit() puts the
// file in place. Destroyed without Commit(), after a failure on the way, the
// writer removes the temporary file and `path` stays as it was. Every failure
// raises FileError; a refused read-only target raises before anything is written.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(const std::string& path, Durability durability = Durability::Flushed,
                            ReadOnlyTarget readOnly = ReadOnlyTarget::Replace);
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
  ~AtomicFileWriter();

  void Write(const void* data, std::size_t size);
  void Commit();

 private:
  void WriteThrough(const std::uint8_t* data, std::size_t size);  // unbuffered
  void Flush();
  void Abandon() noexcept;  // closes and removes the temporary file

  std::string path_;
  std::string temp_;  // the temporary file beside it
  Durability durability_;
  std::intptr_t handle_;  // of the temporary file, a descriptor or a HANDLE
  std::vector<std::uint8_t> buffer_;
  bool finished_ = false;  // renamed into place, or removed
};

[[nodiscard]] bool FileExists(const std::string& path) noexcept;
// Removes a file; false when it could not be removed (or was not there).
bool RemoveFile(const std::string& path) noexcept;
// Whether `path` is an existing file marked read-only (see ReadOnlyTarget).
[[nodiscard]] bool IsReadOnlyFile(const std::string& path) noexcept;
// Raises FileError naming `path` when `readOnly` refuses it and it is read-only.
void RefuseReadOnly(const std::string& path, ReadOnlyTarget readOnly);
[[nodiscard]] bool DirectoryExists(const std::string& path) noexcept;

}  // namespace kv
