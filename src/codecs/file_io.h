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

// The whole file; raises FileError when it cannot be opened or read.
[[nodiscard]] std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

// Whether a replacement waits until the new bytes are on the disk before the
// rename. Users' files do; cache files, which can be made again, need not, and
// skipping the wait makes them much cheaper.
enum class Durability { Flushed, Unflushed };

// Replaces `path` with `size` bytes so that a reader sees either the old file or
// the whole new one, never a part: the bytes go to a temporary file beside it,
// which is (optionally) flushed and then renamed over `path`. A read-only `path`
// is replaced too. Raises FileError (and leaves `path` untouched) on any failure.
void WriteFileAtomic(const std::string& path, const void* data, std::size_t size,
                     Durability durability = Durability::Flushed);

[[nodiscard]] bool FileExists(const std::string& path) noexcept;
[[nodiscard]] bool DirectoryExists(const std::string& path) noexcept;

}  // namespace kv
