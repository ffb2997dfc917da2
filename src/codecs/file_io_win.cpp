#include <windows.h>

#include <algorithm>

#include "codecs/file_io.h"
#include "widgets/handle_win.h"
#include "widgets/text_win.h"

namespace kv {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path, DWORD error) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                     FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string reason = text ? Narrow(text) : "error " + std::to_string(error);
  if (text) LocalFree(text);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                             reason.back() == ' ' || reason.back() == '.'))
    reason.pop_back();
  throw FileError(what + " '" + path + "': " + reason);
}

}  // namespace

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  // Shared reading: a list or picture another program holds open still loads,
  // and a read-only file opens as well as any.
  FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) Fail("cannot open", path, GetLastError());
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) Fail("cannot read", path, GetLastError());
  if (static_cast<std::uint64_t>(size.QuadPart) > kMaxReadFileSize)
    throw FileError("file too large '" + path + "'");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD n = 0;
    if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &n,
                  nullptr))
      Fail("cannot read", path, GetLastError());
    if (n == 0) break;
    done += n;
  }
  bytes.resize(done);
  return bytes;
}

void WriteFileAtomic(const std::string& path, const void* data, std::size_t size,
                     Durability durability) {
  const std::wstring target = Widen(path);
  const std::wstring temp = target + L".kvtmp";
  {
    FileHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) Fail("cannot write", path, GetLastError());
    const auto* p = static_cast<const std::uint8_t*>(data);
    std::size_t done = 0;
    while (done < size) {
      DWORD n = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
      if (!WriteFile(file.get(), p + done, chunk, &n, nullptr) || n == 0) {
        const DWORD error = GetLastError();
        file.reset();
        DeleteFileW(temp.c_str());
        Fail("cannot write", path, error);
      }
      done += n;
    }
    if (durability == Durability::Flushed && !FlushFileBuffers(file.get())) {
      const DWORD error = GetLastError();
      file.reset();
      DeleteFileW(temp.c_str());
      Fail("cannot write", path, error);
    }
  }
  // A read-only target would refuse to be replaced.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  const DWORD moveFlags = MOVEFILE_REPLACE_EXISTING |
                          (durability == Durability::Flushed ? MOVEFILE_WRITE_THROUGH : 0);
  if (!MoveFileExW(temp.c_str(), target.c_str(), moveFlags)) {
    const DWORD error = GetLastError();
    DeleteFileW(temp.c_str());
    Fail("cannot replace", path, error);
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

bool DirectoryExists(const std::string& path) noexcept {
  try {
    const DWORD a = GetFileAttributesW(Widen(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  } catch (...) {
    return false;
  }
}

}  // namespace kv
