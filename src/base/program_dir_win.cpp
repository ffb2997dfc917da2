#include "base/program_dir_win.h"

#include <windows.h>

#include "base/text_win.h"

namespace kv {

std::string ProgramDir() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);  // a long path: try again with more room
  }
  path.erase(path.find_last_of(L"\\/") + 1);
  return Narrow(path);
}

}  // namespace kv
