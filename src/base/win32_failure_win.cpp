#include "base/win32_failure_win.h"

#include <windows.h>

#include <mutex>

#include "base/text_win.h"

namespace kv {
namespace {

std::mutex lastLock;
std::string last;

std::string SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text ? text : L"", n);
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                              message.back() == L' ' || message.back() == L'.'))
    message.pop_back();
  return message.empty() ? "error " + std::to_string(error) : Narrow(message);
}

}  // namespace

std::string NoteWin32Failure(std::string_view call) {
  const DWORD error = GetLastError();
  std::string line = "Kestrova: " + std::string(call) + " failed";
  line += error ? ": " + SystemMessage(error) : std::string(" (no error code)");
  OutputDebugStringW(Widen(line + "\n").c_str());
  {
    std::lock_guard<std::mutex> hold(lastLock);
    last = line;
  }
  SetLastError(error);
  return line;
}

std::string LastWin32Failure() {
  std::lock_guard<std::mutex> hold(lastLock);
  return last;
}

}  // namespace kv
