// kvmsg: the end-to-end runner's hands inside Wine. Finds windows and sends or
// posts them messages; prints results on stdout, one line each.
//
//   kvmsg find CLASS [TITLE]        -> HWND LEFT TOP RIGHT BOTTOM (screen), exit 1 if none
//   kvmsg send HWND MSG WPARAM LPARAM -> the result of SendMessage
//   kvmsg post HWND MSG WPARAM LPARAM
//   kvmsg rect HWND                 -> LEFT TOP RIGHT BOTTOM
//   kvmsg screen                    -> WIDTH HEIGHT of the primary screen
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
  return 2;
}
