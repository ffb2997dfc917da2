// kvmsg: the end-to-end runner's hands inside Wine. Finds windows and sends or
// posts them messages; prints results on stdout, one line each.
//
//   kvmsg find CLASS [TITLE]        -> HWND LEFT TOP RIGHT BOTTOM (screen), exit 1 if none
//   kvmsg send HWND MSG WPARAM LPARAM -> the result of SendMessage
//   kvmsg post HWND MSG WPARAM LPARAM
//   kvmsg rect HWND                 -> LEFT TOP RIGHT BOTTOM
//   kvmsg screen                    -> WIDTH HEIGHT of the primary screen
//   kvmsg monitors                  -> "virtual LEFT TOP WIDTH HEIGHT", then one line
//                                      "LEFT TOP RIGHT BOTTOM PRIMARY" per monitor in
//                                      the system's order (PRIMARY 1 or 0), then
//                                      "at X Y N" for each monitor's centre: the
//                                      index MonitorFromPoint answers for it
//   kvmsg displayreset              -> applies the display settings anew
//                                      (ChangeDisplaySettingsEx without a mode,
//                                      as a display control panel does): the
//                                      system takes the current monitor layout
//                                      and tells every top-level window with
//                                      WM_DISPLAYCHANGE; prints the result code
//   kvmsg visible HWND              -> 1 when the window is visible, else 0
//   kvmsg reg KEY VALUE             -> a value under HKEY_CURRENT_USER\KEY: a
//                                      number in decimal or the text; exit 1 if absent
//   kvmsg regdelete KEY             -> deletes HKEY_CURRENT_USER\KEY with all it holds
//   kvmsg regdword KEY VALUE N      -> writes the number N as a DWORD value
//   kvmsg child HWND CLASS          -> the first descendant of that class, as find
//   kvmsg drop HWND FILE...         -> posts WM_DROPFILES with the files to the window
//   kvmsg droptime HWND ROWS FILE...-> the drop, then the window is asked (WM_NULL)
//                                      over and over until its list view has ROWS
//                                      rows: "ELAPSED_MS LONGEST_MS ASKS"
//   kvmsg scroll HWND PAGES         -> scrolls a list view down page by page, each
//                                      painted at once: "TOTAL_MS PER_PAGE_MS"
//   kvmsg shown DESKTOP CLASS TITLE SECONDS -> waits (polling each millisecond)
//                                      for the desktop, then for that window to be
//                                      visible: "MS" since its process started;
//                                      exit 1 on time-out
// Numbers may be decimal or 0x-prefixed hexadecimal. A first argument
// "--desktop NAME" makes kvmsg work on that desktop (windows are only visible to
// threads of their own desktop, and Wine's virtual desktops are desktops).
#include <windows.h>

// After windows.h, which it needs.
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

ULONG_PTR Number(const wchar_t* text) { return static_cast<ULONG_PTR>(wcstoull(text, nullptr, 0)); }

int PrintRect(HWND hwnd) {
  RECT r{};
  if (!GetWindowRect(hwnd, &r)) return 1;
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
  return 0;
}

struct ChildSearch {
  const wchar_t* cls;
  HWND found;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<ChildSearch*>(lp);
  wchar_t name[256];
  if (GetClassNameW(hwnd, name, 256) && _wcsicmp(name, search->cls) == 0) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// A drop as the shell makes one: a DROPFILES header followed by the wide names,
// each ended by a zero, and one zero more. The block is written into the
// target's memory, since the message's handle is read there (the system's
// global memory functions take a plain pointer as a handle).
int PostDrop(HWND hwnd, int count, wchar_t** files) {
  std::vector<BYTE> block(sizeof(DROPFILES));
  for (int i = 0; i < count; ++i) {
    const auto* text = reinterpret_cast<const BYTE*>(files[i]);
    block.insert(block.end(), text, text + (wcslen(files[i]) + 1) * sizeof(wchar_t));
  }
  block.insert(block.end(), sizeof(wchar_t), 0);
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  header.fWide = TRUE;
  std::memcpy(block.data(), &header, sizeof header);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return 1;
  void* remote =
      VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  const bool ok =
      remote && WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
  CloseHandle(process);
  if (!ok) return 1;
  return PostMessageW(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0) ? 0 : 1;
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  reinterpret_cast<std::vector<HMONITOR>*>(list)->push_back(monitor);
  return TRUE;
}

// What the system tells a program about its monitors, for the runner to compare
// with the X server's layout.
int PrintMonitors() {
  std::printf("virtual %d %d %d %d\n", GetSystemMetrics(SM_XVIRTUALSCREEN),
              GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN),
              GetSystemMetrics(SM_CYVIRTUALSCREEN));
  std::vector<HMONITOR> monitors;
  EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
  std::vector<RECT> rects;
  for (HMONITOR m : monitors) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(m, &info)) return 1;
    const RECT& r = info.rcMonitor;
    std::printf("%ld %ld %ld %ld %d\n", r.left, r.top, r.right, r.bottom,
                (info.dwFlags & MONITORINFOF_PRIMARY) ? 1 : 0);
    rects.push_back(r);
  }
  for (const RECT& r : rects) {
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    const HMONITOR at = MonitorFromPoint(centre, MONITOR_DEFAULTTONULL);
    const auto found = std::find(monitors.begin(), monitors.end(), at);
    std::printf("at %ld %ld %d\n", centre.x, centre.y,
                found == monitors.end() ? -1 : static_cast<int>(found - monitors.begin()));
  }
  return 0;
}

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// How long the window takes to answer while it works through a drop.
int TimeDrop(HWND list, ULONG_PTR rows, int count, wchar_t** files) {
  HWND top = GetAncestor(list, GA_ROOT);
  const double start = Now();
  if (PostDrop(list, count, files) != 0) return 1;
  double longest = 0;
  unsigned long asks = 0;
  for (;;) {
    const double t = Now();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(top, WM_NULL, 0, 0, SMTO_NORMAL, 120000, &result)) return 1;
    longest = std::max(longest, Now() - t);
    ++asks;
    const ULONG_PTR have = static_cast<ULONG_PTR>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    if (have >= rows) break;
    if (Now() - start > 900000) return 1;
    Sleep(5);
  }
  std::printf("%.0f %.1f %lu\n", Now() - start, longest, asks);
  return 0;
}

int TimeScroll(HWND list, int pages) {
  const int perPage = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
  RECT row{LVIR_BOUNDS, 0, 0, 0};
  SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  const int step = std::max(1, perPage) * std::max(1L, row.bottom - row.top);
  const double start = Now();
  for (int i = 0; i < pages; ++i) {
    SendMessageW(list, LVM_SCROLL, 0, step);
    RedrawWindow(list, nullptr, nullptr, RDW_UPDATENOW);
  }
  const double total = Now() - start;
  std::printf("%.0f %.2f\n", total, total / std::max(1, pages));
  return 0;
}

double FileTimeMs(const FILETIME& t) {
  return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
         1e4;
}

// Started beside the program, so its own start costs nothing of what it
// measures: the program's process start to its window being visible, without
// the desktop's start or a runner's polling in between.
int TimeShown(const wchar_t* desktop, const wchar_t* cls, const wchar_t* title, double seconds) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  HDESK desk = nullptr;
  for (; !desk; Sleep(1)) {
    if (GetTickCount64() > deadline) return 1;
    desk = OpenDesktopW(desktop, 0, FALSE, GENERIC_ALL);
  }
  if (!SetThreadDesktop(desk)) return 3;
  for (;; Sleep(1)) {
    if (GetTickCount64() > deadline) return 1;
    HWND hwnd = FindWindowW(cls, title);
    if (!hwnd || !IsWindowVisible(hwnd)) continue;
    FILETIME now, created, ended, kernel, user;
    GetSystemTimePreciseAsFileTime(&now);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return 3;
    const BOOL ok = GetProcessTimes(process, &created, &ended, &kernel, &user);
    CloseHandle(process);
    if (!ok) return 3;
    std::printf("%.1f\n", FileTimeMs(now) - FileTimeMs(created));
    return 0;
  }
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
  if (command == L"shown" && argc >= 6) return TimeShown(argv[2], argv[3], argv[4], _wtof(argv[5]));
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
  if (command == L"monitors") return PrintMonitors();
  if (command == L"displayreset") {
    const LONG result = ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr);
    std::printf("%ld\n", result);
    return result == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
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
  if (command == L"regdword" && argc >= 5) {
    const DWORD value = static_cast<DWORD>(Number(argv[4]));
    return RegSetKeyValueW(HKEY_CURRENT_USER, argv[2], argv[3], REG_DWORD, &value, sizeof value) ==
                   ERROR_SUCCESS
               ? 0
               : 1;
  }
  if (command == L"child" && argc >= 4) {
    ChildSearch search{argv[3], nullptr};
    EnumChildWindows(reinterpret_cast<HWND>(Number(argv[2])), FindChild,
                     reinterpret_cast<LPARAM>(&search));
    if (!search.found) return 1;
    std::printf("%lu ", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(search.found)));
    return PrintRect(search.found);
  }
  if (command == L"droptime" && argc >= 5)
    return TimeDrop(reinterpret_cast<HWND>(Number(argv[2])), Number(argv[3]), argc - 4, argv + 4);
  if (command == L"scroll" && argc >= 4)
    return TimeScroll(reinterpret_cast<HWND>(Number(argv[2])), static_cast<int>(Number(argv[3])));
  if (command == L"drop" && argc >= 4)
    return PostDrop(reinterpret_cast<HWND>(Number(argv[2])), argc - 3, argv + 3);
  return 2;
}
