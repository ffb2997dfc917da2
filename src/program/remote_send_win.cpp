#include "program/remote_send_win.h"

namespace kv::program {

bool SendCopyData(HWND to, HWND from, unsigned long id, std::string_view text, UINT timeoutMs,
                  DWORD_PTR& result) {
  COPYDATASTRUCT data{};
  data.dwData = id;
  data.cbData = static_cast<DWORD>(text.size());
  // The system copies the data into the receiver; nothing writes through it.
  data.lpData = const_cast<char*>(text.data());
  result = 0;
  return SendMessageTimeoutW(to, WM_COPYDATA, reinterpret_cast<WPARAM>(from),
                             reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, timeoutMs,
                             &result) != 0;
}

}  // namespace kv::program
