// kvmsg: the end-to-end runner's hands inside Wine. Finds windows and sends or
// posts them messages; prints results on stdout, one line each.
//
//   kvmsg find CLASS [TITLE]        -> HWND LEFT TOP RIGHT BOTTOM (screen), exit 1 if none
//   kvmsg send HWND MSG WPARAM LPARAM -> the result of SendMessage
//   kvmsg post HWND MSG WPARAM LPARAM
//   kvmsg rect HWND                 -> LEFT TOP RIGHT BOTTOM
//   kvmsg screen                    -> WIDTH HEIGHT of the primary screen
//   kvmsg visible HWND              -> 1 when the window is visible, else 0
//   kvmsg reg KEY VALUE             -> a value under HKEY_CURRENT_USER\KEY: a
//                                      number in decimal or the text; exit 1 if absent
//   kvmsg regdelete KEY             -> deletes HKEY_CURRENT_USER\KEY with all it holds
// Numbers may be decimal or 0x-prefixed hexadecimal. A first argument
// "--desktop NAME" makes kvmsg work on that desktop (windows are only visible to
// threads of their own desktop, and Wine's virtual desktops are desktops).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

ULONG_PTR Number(const wchar_t* text) { return static_cast<ULONG_PTR>(wcstoull(text, nullptr, 0)); }

int PrintRect(HWND hwnd) {
  RECT r{};
  if (!GetWindowRect(hwnd, &r)) return 1;
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 3 && std::wstring(argv[1]) == L"--desktop") {
    HDESK desk = OpenDesktopW(argv[2], 0, FALSE, GENERIC_ALL);
    if (!desk || !SetThreadDesktop(desk)) return 3;
    argc -= 2;
    argv += 2;
  }
  if (argc < 2) return 2;
  const std::wstring command = argv[1];
  if (command == L"find" && argc >= 3) {
    HWND hwnd = FindWindowW(argv[2], argc >= 4 ? argv[3] : nullptr);
    if (!hwnd) return 1;
    std::printf("%lu ", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hwnd)));
    return PrintRect(hwnd);
  }
  if ((command == L"send" || command == L"post") && argc >= 6) {
    HWND hwnd = reinterpret_cast<HWND>(Number(argv[2]));
    const UINT msg = static_cast<UINT>(Number(argv[3]));
    const WPARAM w = Number(argv[4]);
    const LPARAM l = static_cast<LPARAM>(Number(argv[5]));
    if (command == L"post") return PostMessageW(hwnd, msg, w, l) ? 0 : 1;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, w, l, SMTO_ABORTIFHUNG, 10000, &result)) return 1;
    std::printf("%lu\n", static_cast<unsigned long>(result));
    return 0;
  }
  if (command == L"rect" && argc >= 3) return PrintRect(reinterpret_cast<HWND>(Number(argv[2])));
  if (command == L"screen") {
    std::printf("%d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return 0;
  }
  if (command == L"visible" && argc >= 3) {
    std::printf("%d\n", IsWindowVisible(reinterpret_cast<HWND>(Number(argv[2]))) ? 1 : 0);
    return 0;
  }
  if (command == L"reg" && argc >= 4) {
    BYTE data[2048] = {};
    DWORD type = 0, size = sizeof data - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, argv[2], argv[3], RRF_RT_REG_DWORD | RRF_RT_REG_SZ, &type,
                     data, &size) != ERROR_SUCCESS)
      return 1;
    if (type == REG_DWORD)
      std::printf("%lu\n", *reinterpret_cast<DWORD*>(data));
    else
      std::printf("%ls\n", reinterpret_cast<wchar_t*>(data));
    return 0;
  }
  if (command == L"regdelete" && argc >= 3) {
    const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, argv[2]);
    if (status == ERROR_SUCCESS) RegDeleteKeyW(HKEY_CURRENT_USER, argv[2]);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? 0 : 1;
  }
  return 2;
}
