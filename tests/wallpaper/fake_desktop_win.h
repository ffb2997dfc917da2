#pragma once
// A stand-in for the shell's desktop window tree, which Wine does not have:
// "Progman" -> "SHELLDLL_DefView" -> a real "SysListView32" (and, for a desktop
// showing web content, an "Internet Explorer_Server" beside it). The list view
// is subclassed to record the messages it receives.

#include <windows.h>
// windows.h first
#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

namespace kv::test {

struct ListMessage {
  UINT msg;
  WPARAM wp;
  LPARAM lp;
  friend bool operator==(const ListMessage& a, const ListMessage& b) {
    return a.msg == b.msg && a.wp == b.wp && a.lp == b.lp;
  }
};

inline void PrintTo(const ListMessage& m, std::ostream* os) {
  *os << "{0x" << std::hex << m.msg << ", " << std::dec << static_cast<long long>(m.wp) << ", "
      << static_cast<long long>(m.lp) << "}";
}

class FakeDesktop {
 public:
  explicit FakeDesktop(bool webContent = false, int items = 0) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    Register(L"Progman");
    Register(L"SHELLDLL_DefView");
    Register(L"Internet Explorer_Server");
    progman_ = CreateWindowExW(0, L"Progman", L"Program Manager", WS_POPUP, 0, 0, 640, 480, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    defView_ = CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD | WS_VISIBLE, 0, 0, 640, 480,
                               progman_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (webContent)
      CreateWindowExW(0, L"Internet Explorer_Server", L"", WS_CHILD, 0, 0, 10, 10, defView_,
                      nullptr, GetModuleHandleW(nullptr), nullptr);
    list_ = CreateWindowExW(0, WC_LISTVIEWW, L"FolderView", WS_CHILD | WS_VISIBLE | LVS_ICON, 0, 0,
                            640, 480, defView_, nullptr, GetModuleHandleW(nullptr), nullptr);
    // The desktop list is found as the first child (the top of the order).
    SetWindowPos(list_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (int i = 0; i < items; ++i) {
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = i;
      wchar_t text[] = L"icon";
      item.pszText = text;
      SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    SetWindowSubclass(list_, Record, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  ~FakeDesktop() {
    RemoveWindowSubclass(list_, Record, 1);
    DestroyWindow(progman_);
  }
  FakeDesktop(const FakeDesktop&) = delete;
  FakeDesktop& operator=(const FakeDesktop&) = delete;

  [[nodiscard]] HWND List() const { return list_; }
  // The recorded list-view, style and show messages, oldest first (the
  // pointer of WM_STYLECHANGED recorded as 0; its styles go to lastStyles).
  std::vector<ListMessage> messages;
  STYLESTRUCT lastStyles{};

  [[nodiscard]] COLORREF TextColour() const {
    return static_cast<COLORREF>(SendMessageW(list_, LVM_GETTEXTCOLOR, 0, 0));
  }
  [[nodiscard]] COLORREF TextBackground() const {
    return static_cast<COLORREF>(SendMessageW(list_, LVM_GETTEXTBKCOLOR, 0, 0));
  }
  [[nodiscard]] DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(list_, GWL_STYLE)); }

 private:
  static void Register(const wchar_t* name) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = name;
    RegisterClassExW(&wc);  // once per process; later calls fail harmlessly
  }

  static LRESULT CALLBACK Record(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                 DWORD_PTR self) {
    const bool listMessage = msg >= LVM_FIRST && msg < LVM_FIRST + 0x100 &&
                             msg != LVM_GETTEXTCOLOR && msg != LVM_GETTEXTBKCOLOR;
    auto* desktop = reinterpret_cast<FakeDesktop*>(self);
    if (listMessage || msg == WM_STYLECHANGED || msg == WM_SHOWWINDOW)
      desktop->messages.push_back({msg, wp, msg == WM_STYLECHANGED ? 0 : lp});
    if (msg == WM_STYLECHANGED) desktop->lastStyles = *reinterpret_cast<const STYLESTRUCT*>(lp);
    return DefSubclassProc(hwnd, msg, wp, lp);
  }

  HWND progman_ = nullptr;
  HWND defView_ = nullptr;
  HWND list_ = nullptr;
};

}  // namespace kv::test
