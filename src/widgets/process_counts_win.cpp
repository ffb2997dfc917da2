#include "widgets/process_counts_win.h"

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

namespace kv {
namespace {

// Handle values are looked at one by one where the system gives no count
// (Wine answers 0 to GetGuiResources and GetProcessHandleCount). There a GDI
// or USER handle's low word alone names its slot, and kernel handles are
// multiples of four given out from the lowest free one upwards, so the search
// can stop after a long run of free values. A USER handle's slot is
// (low word - 0x20) / 2, so only every second value is looked at.
constexpr ULONG_PTR kFirstObjectSlot = 0x20;
constexpr ULONG_PTR kObjectSlotEnd = 0x10000;
constexpr ULONG_PTR kFreeHandlesBeforeStop = 4096;

struct WindowTally {
  DWORD process;
  int windows = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM data) {
  ++reinterpret_cast<WindowTally*>(data)->windows;
  return TRUE;
}

void CountWindowAndChildren(HWND hwnd, WindowTally& tally) {
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != tally.process) return;
  ++tally.windows;
  EnumChildWindows(hwnd, CountChild, reinterpret_cast<LPARAM>(&tally));
}

BOOL CALLBACK CountTopLevel(HWND hwnd, LPARAM data) {
  CountWindowAndChildren(hwnd, *reinterpret_cast<WindowTally*>(data));
  return TRUE;
}

int WindowsOfProcess() {
  WindowTally tally{GetCurrentProcessId()};
  EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&tally));
  for (HWND hwnd = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); hwnd;
       hwnd = FindWindowExW(HWND_MESSAGE, hwnd, nullptr, nullptr))
    CountWindowAndChildren(hwnd, tally);
  return tally.windows;
}

int MenusOfProcess() {
  int menus = 0;
  for (ULONG_PTR slot = kFirstObjectSlot; slot < kObjectSlotEnd; slot += 2)
    if (IsMenu(reinterpret_cast<HMENU>(slot))) ++menus;
  return menus;
}

}  // namespace

int GdiObjectCount() {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (counted != 0) return static_cast<int>(counted);
  int live = 0;
  for (ULONG_PTR slot = kFirstObjectSlot; slot < kObjectSlotEnd; ++slot)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0) ++live;
  return live;
}

int UserObjectCount() {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  if (counted != 0) return static_cast<int>(counted);
  return WindowsOfProcess() + MenusOfProcess();
}

int KernelHandleCount() {
  DWORD counted = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &counted) && counted != 0)
    return static_cast<int>(counted);
  int live = 0;
  ULONG_PTR free = 0;
  for (ULONG_PTR value = 4; free < kFreeHandlesBeforeStop; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
      ++live;
      free = 0;
    } else {
      ++free;
    }
  }
  return live;
}

std::size_t PrivateMemoryBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(),
                            reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
    return 0;
  // Wine leaves PrivateUsage at zero and reports the same in PagefileUsage.
  return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

}  // namespace kv
