#pragma once
// Starting one of our programs from a Win32 test and waiting for it.

#include <windows.h>

#include <string>

#include "base/handle_win.h"

namespace kv::test {

// The full path of `exe` in this test program's own folder.
inline std::wstring BesideThisProgram(const wchar_t* exe) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring dir(self);
  dir.resize(dir.find_last_of(L'\\') + 1);
  return dir + exe;
}

// Runs `exe` (beside this test program) with `arguments` and returns its exit
// code, or -1 when it did not start or did not end within `timeoutMs`.
inline long RunProgram(const wchar_t* exe, const std::wstring& arguments, DWORD timeoutMs = 60000) {
  std::wstring commandLine = L"\"" + BesideThisProgram(exe) + L"\" " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi))
    return -1;
  KernelHandle process(pi.hProcess), thread(pi.hThread);
  if (WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  return static_cast<long>(code);
}

}  // namespace kv::test
