#pragma once
// Counting the GDI and USER objects a test process holds, to show that creating
// and destroying windows leaves nothing behind.

#include <windows.h>

namespace kv::test {

// Live GDI objects of this process. GetGuiResources where the system counts;
// where it does not (Wine answers 0), every handle slot is looked at: Wine takes a
// handle's low word alone as naming its slot.
inline int GdiObjectCount() {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (counted != 0) return static_cast<int>(counted);
  int live = 0;
  for (ULONG_PTR slot = 0x20; slot < 0x10000; ++slot)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0) ++live;
  return live;
}

inline BOOL CALLBACK CountChild(HWND, LPARAM data) {
  ++*reinterpret_cast<int*>(data);
  return TRUE;
}

inline BOOL CALLBACK CountWindow(HWND hwnd, LPARAM data) {
  ++*reinterpret_cast<int*>(data);
  EnumChildWindows(hwnd, CountChild, data);
  return TRUE;
}

// Windows of this thread (top-level ones and all their children); where the
// system counts USER objects, that count.
inline int UserObjectCount() {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  if (counted != 0) return static_cast<int>(counted);
  int windows = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

}  // namespace kv::test
