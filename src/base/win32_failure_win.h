#pragma once
// Win32 calls whose failure the program passes over (the tray icon, a window
// class registered twice) are still noticed: the call's name and the system's
// message go to the debugger output, where a debug viewer shows them, and
// stay readable for tests and diagnostics.

#include <string>
#include <string_view>

namespace kv {

// Notes that `call` failed, with the thread's last error; returns the line.
std::string NoteWin32Failure(std::string_view call);

// The last line noted by this process ("" before any).
[[nodiscard]] std::string LastWin32Failure();

}  // namespace kv
