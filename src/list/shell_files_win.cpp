#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "base/handle_win.h"
#include "base/text_win.h"
#include "codecs/file_io.h"
#include "list/shell_files.h"

namespace kv {
namespace {

std::wstring WithoutTrailingSeparator(std::wstring path) {
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

struct FindTraits {
  using Handle = HANDLE;
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsValid(HANDLE h) noexcept { return h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { FindClose(h); }
};

class SilentShellDelete : public ShellDelete {
 public:
  bool Delete(const std::string& path) override {
    // The shell takes a list of names, each ended by a zero, the list by another.
    std::wstring from = WithoutTrailingSeparator(Widen(path));
    from.push_back(L'\0');
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.hwnd = GetActiveWindow();
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    // No FOF_ALLOWUNDO: deleted for good. FOF_NOERRORUI keeps a failure (a file
    // in use, a name already gone) from stopping the user with a shell box.
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
  }
};

}  // namespace

ShellDelete& SystemShellDelete() {
  static SilentShellDelete instance;
  return instance;
}

bool MakeDirectory(const std::string& path) {
  return CreateDirectoryW(WithoutTrailingSeparator(Widen(path)).c_str(), nullptr) != FALSE;
}

std::vector<DirectoryEntry> ListDirectory(const std::string& directory) {
  std::vector<DirectoryEntry> out;
  const std::wstring pattern = WithoutTrailingSeparator(Widen(directory)) + L"\\*";
  WIN32_FIND_DATAW data;
  UniqueHandle<FindTraits> find(FindFirstFileW(pattern.c_str(), &data));
  if (!find) return out;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    const bool isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::uint64_t size =
        isDirectory ? 0
                    : (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    const bool isLink = isDirectory && (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    out.push_back({Narrow(name), size, isDirectory, isLink});
  } while (FindNextFileW(find.get(), &data));
  return out;
}

}  // namespace kv
