#include "widgets/process_counts_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <vector>

namespace kv {
namespace {

// Each kind of object, made and released: the count that should see it goes
// up by exactly one and comes back, and the others stay as they were.
TEST(ProcessCounts, EachKindOfObjectIsSeenWhileItLives) {
  struct Case {
    const char* what;
    std::function<void*()> make;
    std::function<void(void*)> release;
    int gdi, user, handles;
  };
  const std::vector<Case> cases = {
      {"bitmap", [] { return static_cast<void*>(CreateBitmap(8, 8, 1, 32, nullptr)); },
       [](void* h) { DeleteObject(static_cast<HGDIOBJ>(h)); }, 1, 0, 0},
      {"brush", [] { return static_cast<void*>(CreateSolidBrush(RGB(1, 2, 3))); },
       [](void* h) { DeleteObject(static_cast<HGDIOBJ>(h)); }, 1, 0, 0},
      {"window",
       [] {
         return static_cast<void*>(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10,
                                                   nullptr, nullptr, nullptr, nullptr));
       },
       [](void* h) { DestroyWindow(static_cast<HWND>(h)); }, 0, 1, 0},
      {"message-only window",
       [] {
         return static_cast<void*>(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                                   nullptr, nullptr, nullptr));
       },
       [](void* h) { DestroyWindow(static_cast<HWND>(h)); }, 0, 1, 0},
      {"menu", [] { return static_cast<void*>(CreatePopupMenu()); },
       [](void* h) { DestroyMenu(static_cast<HMENU>(h)); }, 0, 1, 0},
      {"event", [] { return static_cast<void*>(CreateEventW(nullptr, TRUE, FALSE, nullptr)); },
       [](void* h) { CloseHandle(static_cast<HANDLE>(h)); }, 0, 0, 1},
  };
  // A thread's first window brings its input method window and queue along;
  // one window lives through the whole test so they stay.
  HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                              nullptr);
  for (const Case& c : cases) c.release(c.make());
  for (const Case& c : cases) {
    const int gdi = GdiObjectCount(), user = UserObjectCount(), handles = KernelHandleCount();
    void* made = c.make();
    ASSERT_NE(made, nullptr) << c.what;
    EXPECT_EQ(GdiObjectCount(), gdi + c.gdi) << c.what;
    EXPECT_EQ(UserObjectCount(), user + c.user) << c.what;
    EXPECT_EQ(KernelHandleCount(), handles + c.handles) << c.what;
    c.release(made);
    EXPECT_EQ(GdiObjectCount(), gdi) << c.what;
    EXPECT_EQ(UserObjectCount(), user) << c.what;
    EXPECT_EQ(KernelHandleCount(), handles) << c.what;
  }
  DestroyWindow(host);
  EXPECT_GT(KernelHandleCount(), 0);
}

// A megabyte committed and written shows in the private memory.
TEST(ProcessCounts, CommittedMemoryIsPrivate) {
  const std::size_t before = PrivateMemoryBytes();
  std::vector<char> block(4u << 20, 1);
  EXPECT_GE(PrivateMemoryBytes(), before + (3u << 20));
  EXPECT_EQ(block[block.size() / 2], 1);
}

}  // namespace
}  // namespace kv
