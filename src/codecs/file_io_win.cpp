#include <windows.h>

#include <algorithm>
#include <utility>

#include "base/handle_win.h"
#include "base/text_win.h"
#include "codecs/file_io.h"

namespace kv {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path, DWORD error) {
  wchar_t* text = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string reason = text ? Narrow(text) : "error " + std::to_string(error);
  if (text) LocalFree(text);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                             reason.back() == ' ' || reason.back() == '.'))
    reason.pop_back();
  throw FileError(what + " '" + path + "': " + reason);
}

HANDLE Native(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

FileReader::FileReader(const std::string& path)
    : path_(path),
      // Shared reading: a list or picture another program holds open still
      // loads, and a read-only file opens as well as any.
      handle_(reinterpret_cast<std::intptr_t>(CreateFileW(
          Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))) {
  if (Native(handle_) == INVALID_HANDLE_VALUE) Fail("cannot open", path, GetLastError());
  // The destructor does not run for a throwing constructor.
  FileHandle owner(Native(handle_));
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(owner.get(), &size)) Fail("cannot read", path, GetLastError());
  if (static_cast<std::uint64_t>(size.QuadPart) > kMaxReadFileSize)
    throw FileError("file too large '" + path + "'");
  size_ = static_cast<std::uint64_t>(size.QuadPart);
  (void)owner.release();
}

FileReader::~FileReader() { CloseHandle(Native(handle_)); }

std::size_t FileReader::Read(void* data, std::size_t size) {
  DWORD n = 0;
  const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
  if (!ReadFile(Native(handle_), data, chunk, &n, nullptr))
    Fail("cannot read", path_, GetLastError());
  return n;
}

AtomicFileWriter::AtomicFileWriter(const std::string& path, Durability durability,
                                   ReadOnlyTarget readOnly)
    : path_(path),
      temp_(path + ".kvtmp"),
      durability_(durability),
      handle_(reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE)) {
  RefuseReadOnly(path, readOnly);
  handle_ =
      reinterpret_cast<std::intptr_t>(CreateFileW(Widen(temp_).c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (Native(handle_) == INVALID_HANDLE_VALUE) Fail("cannot write", path, GetLastError());
}

AtomicFileWriter::~AtomicFileWriter() {
  if (!finished_) Abandon();
}

void AtomicFileWriter::WriteThrough(const std::uint8_t* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    DWORD n = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
    if (!WriteFile(Native(handle_), data + done, chunk, &n, nullptr) || n == 0) {
      const DWORD error = GetLastError();
      Abandon();
      Fail("cannot write", path_, error);
    }
    done += n;
  }
}

void AtomicFileWriter::Commit() {
  Flush();
  if (durability_ == Durability::Flushed && !FlushFileBuffers(Native(handle_))) {
    const DWORD error = GetLastError();
    Abandon();
    Fail("cannot write", path_, error);
  }
  CloseHandle(
      Native(std::exchange(handle_, reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE))));
  const std::wstring target = Widen(path_);
  // A read-only target would refuse to be replaced; one the caller lets us
  // replace loses the mark first (a refused one raised in the constructor).
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  const DWORD moveFlags =
      MOVEFILE_REPLACE_EXISTING | (durability_ == Durability::Flushed ? MOVEFILE_WRITE_THROUGH : 0);
  if (!MoveFileExW(Widen(temp_).c_str(), target.c_str(), moveFlags)) {
    const DWORD error = GetLastError();
    Abandon();
    Fail("cannot replace", path_, error);
  }
  finished_ = true;
}

void AtomicFileWriter::Abandon() noexcept {
  finished_ = true;
  if (Native(handle_) != INVALID_HANDLE_VALUE)
    CloseHandle(
        Native(std::exchange(handle_, reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE))));
  try {
    DeleteFileW(Widen(temp_).c_str());
  } catch (...) {
    // No memory for the wide name: the temporary file stays, the target is untouched.
  }
}

bool FileExists(const std::string& path) noexcept {
  try {
    const DWORD a = GetFileAttributesW(Widen(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
  } catch (...) {
    return false;
  }
}

bool RemoveFile(const std::string& path) noexcept {
  try {
    return DeleteFileW(Widen(path).c_str()) != 0;
  } catch (...) {
    return false;
  }
}

bool IsReadOnlyFile(const std::string& path) noexcept {
  try {
    const DWORD a = GetFileAttributesW(Widen(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY) &&
           (a & FILE_ATTRIBUTE_READONLY);
  } catch (...) {
    return false;
  }
}

bool DirectoryExists(const std::string& path) noexcept {
  try {
    const DWORD a = GetFileAttributesW(Widen(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  } catch (...) {
    return false;
  }
}

}  // namespace kv
