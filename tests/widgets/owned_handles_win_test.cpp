#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>

#include "base/handle_win.h"
#include "widgets/process_counts_win.h"

namespace kv {
namespace {

bool IconAlive(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return false;
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return true;
}

HICON MakeIcon() {
  const BYTE and_[32 * 4] = {}, xor_[32 * 4] = {};
  return CreateIcon(GetModuleHandleW(nullptr), 32, 32, 1, 1, and_, xor_);
}

HWND MakeTooltip(HWND owner) {
  return CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

// Each wrapper frees its handle once: when it goes, when it is reset, and not
// when its handle was moved on; the GDI objects an image list holds go with it.
TEST(OwnedHandles, IconsImageListsAndTooltipsAreFreedOnceByTheirOwner) {
  HICON icon = MakeIcon();
  ASSERT_TRUE(IconAlive(icon));
  {
    IconHandle first(icon);
    IconHandle second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_TRUE(IconAlive(icon));
    second.reset(MakeIcon());
    EXPECT_FALSE(IconAlive(icon));
    icon = second.get();
  }
  EXPECT_FALSE(IconAlive(icon));

  const int gdi = GdiObjectCount();
  {
    ImageListHandle list(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 4));
    ASSERT_TRUE(list);
    EXPECT_GT(GdiObjectCount(), gdi);
    ImageListHandle other;
    other = std::move(list);
    EXPECT_EQ(ImageList_GetImageCount(other.get()), 0);
  }
  EXPECT_EQ(GdiObjectCount(), gdi);

  HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                               nullptr);
  HWND tip = MakeTooltip(owner);
  {
    OwnedWindow tooltip(tip);
    EXPECT_TRUE(IsWindow(tip));
  }
  EXPECT_FALSE(IsWindow(tip));
  DestroyWindow(owner);
}

}  // namespace
}  // namespace kv
