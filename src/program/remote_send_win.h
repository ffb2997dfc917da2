#pragma once
// Handing text to a window of another process in a WM_COPYDATA message: the
// commands of kvtool send and the program's answers to them.

#include <windows.h>

#include <string_view>

namespace kv::program {

// Sends `text` to `to` as copy data of kind `id`, naming `from` as the sender
// (so it can be answered); false when the receiver did not answer within
// `timeoutMs` or hangs. `result` gets what the receiver returned.
bool SendCopyData(HWND to, HWND from, unsigned long id, std::string_view text, UINT timeoutMs,
                  DWORD_PTR& result);

}  // namespace kv::program
