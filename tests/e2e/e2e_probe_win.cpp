// The end-to-end runner's own test program: a plain window of class "KvE2EProbe"
// filled with one colour, a tray icon and a global hotkey (Ctrl+Alt+K). Every
// event it sees is appended to "events.txt" beside the program, one line each:
//   tray <mouse message>      a tray icon callback (e.g. "tray 513" for a left press),
//                             then "tray <mouse message> shift" when Shift was down
//   hotkey <id>               the global hotkey
//   app <wparam> <lparam>     the message WM_APP + 1
//   click <x> <y>             a left click in the window (client coordinates)
#include <windows.h>
// windows.h first: shellapi.h needs its definitions.
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

constexpr UINT kTrayMessage = WM_APP + 7;
constexpr UINT kAppMessage = WM_APP + 1;
constexpr int kHotkeyId = 42;
std::wstring gLogPath;

void Log(const char* format, long a, long b = 0) {
  FILE* f = _wfopen(gLogPath.c_str(), L"a");
  if (!f) return;
  std::fprintf(f, format, a, b);
  std::fputc('\n', f);
  std::fclose(f);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kTrayMessage:
      Log("tray %ld", static_cast<long>(lp));
      if (GetAsyncKeyState(VK_SHIFT) & 0x8000) Log("tray %ld shift", static_cast<long>(lp));
      return 0;
    case WM_HOTKEY:
      Log("hotkey %ld", static_cast<long>(wp));
      return 0;
    case kAppMessage:
      Log("app %ld %ld", static_cast<long>(wp), static_cast<long>(lp));
      return 0;
    case WM_LBUTTONDOWN:
      Log("click %ld %ld", static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      HBRUSH brush = CreateSolidBrush(RGB(20, 160, 90));
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(dc, &r, brush);
      DeleteObject(brush);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  gLogPath = self;
  gLogPath.resize(gLogPath.find_last_of(L'\\') + 1);
  gLogPath += L"events.txt";

  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = L"KvE2EProbe";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Probe", WS_POPUP | WS_VISIBLE, 100, 100, 200,
                              150, nullptr, nullptr, instance, nullptr);

  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = hwnd;
  nid.uID = 1;
  nid.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  nid.uCallbackMessage = kTrayMessage;
  nid.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  lstrcpynW(nid.szTip, L"Probe", 64);
  Shell_NotifyIconW(NIM_ADD, &nid);
  RegisterHotKey(hwnd, kHotkeyId, MOD_CONTROL | MOD_ALT, 'K');
  Log("ready %ld", 1);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  Shell_NotifyIconW(NIM_DELETE, &nid);
  return 0;
}
