#pragma once
// What this process holds of the system: GDI and USER objects, kernel handles
// and private memory. Tests count them around a window's life to show nothing
// is left behind; the running program reports them on request, so a long run
// can be watched from outside.

#include <cstddef>

namespace kv {

// Live GDI objects (bitmaps, brushes, fonts, regions, device contexts).
[[nodiscard]] int GdiObjectCount();

// USER objects. Where the system does not count them, the windows of the
// process (top-level, message-only and all their children) and its menus.
[[nodiscard]] int UserObjectCount();

// Open kernel handles (files, events, threads, keys and the like).
[[nodiscard]] int KernelHandleCount();

// Bytes of memory the process has committed for itself.
[[nodiscard]] std::size_t PrivateMemoryBytes();

}  // namespace kv
