// The parts of file reading and replacement that are the same on every system;
// opening, reading, writing and renaming are in file_io_posix.cpp and
// file_io_win.cpp.
#include "codecs/file_io.h"

#include <cstring>

namespace kv {
namespace {

// Writes smaller than this are gathered before they reach the system.
constexpr std::size_t kWriteBuffer = 64 * 1024;

}  // namespace

void RefuseReadOnly(const std::string& path, ReadOnlyTarget readOnly) {
  if (readOnly == ReadOnlyTarget::Refuse && IsReadOnlyFile(path))
    throw FileError("cannot replace '" + path + "': the file is read-only");
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  FileReader file(path);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.Size()));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t n = file.Read(bytes.data() + done, bytes.size() - done);
    if (n == 0) break;  // the file shrank while we read it
    done += n;
  }
  bytes.resize(done);
  return bytes;
}

void WriteFileAtomic(const std::string& path, const void* data, std::size_t size,
                     Durability durability, ReadOnlyTarget readOnly) {
  AtomicFileWriter file(path, durability, readOnly);
  file.Write(data, size);
  file.Commit();
}

void AtomicFileWriter::Write(const void* data, std::size_t size) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  if (buffer_.size() + size <= kWriteBuffer) {
    buffer_.insert(buffer_.end(), p, p + size);
    return;
  }
  Flush();
  if (size < kWriteBuffer)
    buffer_.assign(p, p + size);
  else
    WriteThrough(p, size);
}

void AtomicFileWriter::Flush() {
  if (buffer_.empty()) return;
  WriteThrough(buffer_.data(), buffer_.size());
  buffer_.clear();
}

}  // namespace kv
