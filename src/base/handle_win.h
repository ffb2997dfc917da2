#pragma once
// Owning wrappers for Win32 handles: one template, a traits type per handle kind.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <utility>

namespace kv {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle h) noexcept : handle_(h) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  [[nodiscard]] Handle get() const noexcept { return handle_; }
  [[nodiscard]] explicit operator bool() const noexcept { return Traits::IsValid(handle_); }
  // For functions that return a handle through an out-parameter.
  [[nodiscard]] Handle* put() noexcept {
    reset();
    return &handle_;
  }
  Handle release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
  void reset(Handle h = Traits::Invalid()) noexcept {
    if (Traits::IsValid(handle_)) Traits::Close(handle_);
    handle_ = h;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

// Handles whose "no handle" value is null, each kind closed by one function.
template <typename T, auto CloseFunction>
struct NullHandleTraits {
  using Handle = T;
  static T Invalid() noexcept { return nullptr; }
  static bool IsValid(T h) noexcept { return h != nullptr; }
  static void Close(T h) noexcept { CloseFunction(h); }
};

using RegKey = UniqueHandle<NullHandleTraits<HKEY, RegCloseKey>>;

// Kernel objects whose "no handle" value is null (events, threads, processes).
struct KernelHandleTraits {
  using Handle = HANDLE;
  static HANDLE Invalid() noexcept { return nullptr; }
  static bool IsValid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { CloseHandle(h); }
};
using KernelHandle = UniqueHandle<KernelHandleTraits>;

// Files, whose "no handle" value is INVALID_HANDLE_VALUE.
struct FileHandleTraits : KernelHandleTraits {
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
};
using FileHandle = UniqueHandle<FileHandleTraits>;

template <typename T>
using GdiObjectTraits = NullHandleTraits<T, DeleteObject>;
using GdiBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using GdiRegion = UniqueHandle<GdiObjectTraits<HRGN>>;
using GdiBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using GdiFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using GdiPen = UniqueHandle<GdiObjectTraits<HPEN>>;

// Icons made or loaded for this program alone (not the system's shared ones,
// which must never be destroyed).
using IconHandle = UniqueHandle<NullHandleTraits<HICON, DestroyIcon>>;
using ImageListHandle = UniqueHandle<NullHandleTraits<HIMAGELIST, ImageList_Destroy>>;

// A window owned by an object rather than by a parent window: tooltip windows
// that a control or form creates for itself. A window that is already gone
// (its owner destroyed it first) is left alone.
inline void DestroyOwnedWindow(HWND h) noexcept {
  if (IsWindow(h)) DestroyWindow(h);
}
using OwnedWindow = UniqueHandle<NullHandleTraits<HWND, DestroyOwnedWindow>>;

}  // namespace kv
