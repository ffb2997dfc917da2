// The options window's layout as the running system draws it: every caption,
// value and choice of every page fits its control in the control's own font,
// and every control lies inside its panel. Whatever font the system puts in
// place of the window's, a clipped caption fails here.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>
#include <vector>

#include "base/text_win.h"
#include "config/options/options_form_win.h"
#include "config/settings_store.h"
#include "list/shell_files.h"
#include "widgets/prompts.h"

namespace kv {
namespace {

// Room a check box or radio button keeps for its box and the gap after it.
constexpr int kCheckRoom = 20;
// A text field's inner margins, both sides together.
constexpr int kEditMargins = 6;
// A push button's frame and padding, both sides together.
constexpr int kButtonPadding = 8;

std::wstring ClassOf(HWND h) {
  wchar_t name[64] = {};
  GetClassNameW(h, name, 64);
  return name;
}

std::wstring TextOf(HWND h) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
  GetWindowTextW(h, text.data(), static_cast<int>(text.size()));
  text.resize(wcslen(text.c_str()));
  return text;
}

// The size `text` takes in the control's font, wrapped at `wrapWidth` when it
// is above 0 (on one line otherwise).
SIZE Extent(HWND control, const std::wstring& text, int wrapWidth) {
  HDC dc = GetDC(control);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT r{0, 0, wrapWidth > 0 ? wrapWidth : 10000, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_NOPREFIX | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return {r.right - r.left, r.bottom - r.top};
}

// What a hotkey field shows: the modifiers' and the key's names joined by " + ".
std::wstring HotkeyText(HWND field) {
  const WORD hotkey = static_cast<WORD>(SendMessageW(field, HKM_GETHOTKEY, 0, 0));
  std::wstring text;
  auto add = [&text](UINT vk) {
    wchar_t name[64] = {};
    GetKeyNameTextW(static_cast<LONG>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16), name, 64);
    if (!text.empty()) text += L" + ";
    text += name;
  };
  const BYTE modifiers = HIBYTE(hotkey);
  if (modifiers & HOTKEYF_CONTROL) add(VK_CONTROL);
  if (modifiers & HOTKEYF_SHIFT) add(VK_SHIFT);
  if (modifiers & HOTKEYF_ALT) add(VK_MENU);
  if (LOBYTE(hotkey)) add(LOBYTE(hotkey));
  return text;
}

BOOL CALLBACK CollectWindow(HWND h, LPARAM out) {
  reinterpret_cast<std::vector<HWND>*>(out)->push_back(h);
  return TRUE;
}

struct Misfit {
  std::string what;
  int need, room;
};

// Every control below `top` whose text or choices do not fit it.
std::vector<Misfit> Misfits(HWND top) {
  std::vector<HWND> all;
  EnumChildWindows(top, CollectWindow, reinterpret_cast<LPARAM>(&all));
  std::vector<Misfit> found;
  for (HWND h : all) {
    const std::wstring cls = ClassOf(h);
    const std::wstring text = TextOf(h);
    RECT client{};
    GetClientRect(h, &client);
    const int width = client.right, height = client.bottom;
    const std::string name = Narrow(cls) + " \"" + Narrow(text) + "\"";
    // Inside its parent: nothing runs past the panel it stands on.
    RECT outer{}, parent{};
    GetWindowRect(h, &outer);
    MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&outer), 2);
    GetClientRect(GetParent(h), &parent);
    if (!EqualRect(&parent, &outer) && cls != L"ComboBox" && cls != L"ComboLBox" &&
        (outer.right > parent.right || outer.bottom > parent.bottom))
      found.push_back({name + " past its parent", static_cast<int>(outer.right), parent.right});
    const LONG style = GetWindowLongW(h, GWL_STYLE);
    if (cls == L"Static" && !text.empty()) {
      // Wrapped at the label's width, the lines must fit its height.
      const SIZE need = Extent(h, text, width);
      if (need.cy > height || need.cx > width)
        found.push_back({name + " (on one line)", static_cast<int>(Extent(h, text, 0).cx), width});
    } else if (cls == L"Button" && !text.empty()) {
      const LONG kind = style & BS_TYPEMASK;
      const bool box = kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON ||
                       kind == BS_AUTORADIOBUTTON || kind == BS_3STATE || kind == BS_AUTO3STATE;
      const int room = width - (box ? kCheckRoom : kButtonPadding);
      // A caption of several lines wraps at the room it has.
      const SIZE need = Extent(h, text, (style & BS_MULTILINE) ? room : 0);
      if (need.cx > room) found.push_back({name, static_cast<int>(need.cx), room});
      if (need.cy > height) found.push_back({name + " height", static_cast<int>(need.cy), height});
    } else if (cls == L"Edit") {
      const SIZE need = Extent(h, text.empty() ? L"0" : text, 0);
      if (need.cx > width - kEditMargins)
        found.push_back({name, static_cast<int>(need.cx), width - kEditMargins});
    } else if (cls == HOTKEY_CLASSW) {
      const std::wstring shown = HotkeyText(h);
      const SIZE need = Extent(h, shown, 0);
      if (need.cx > width - kEditMargins)
        found.push_back(
            {"hotkey \"" + Narrow(shown) + "\"", static_cast<int>(need.cx), width - kEditMargins});
    } else if (cls == L"ComboBox") {
      // Each choice in the closed box, beside the drop-down button.
      COMBOBOXINFO info{};
      info.cbSize = sizeof info;
      GetComboBoxInfo(h, &info);
      const int room = info.rcItem.right - info.rcItem.left - 2;
      const int count = static_cast<int>(SendMessageW(h, CB_GETCOUNT, 0, 0));
      for (int i = 0; i < count; ++i) {
        std::wstring item(static_cast<std::size_t>(SendMessageW(h, CB_GETLBTEXTLEN, i, 0)) + 1,
                          L'\0');
        SendMessageW(h, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        item.resize(wcslen(item.c_str()));
        const SIZE need = Extent(h, item, 0);
        if (need.cx > room)
          found.push_back({"choice \"" + Narrow(item) + "\"", static_cast<int>(need.cx), room});
      }
    }
  }
  return found;
}

TEST(OptionsLayout, EveryCaptionValueAndChoiceFitsItsControlOnEveryPage) {
  MemorySettingsStore store;
  ScriptedPrompts prompts;
  TOptionsForm options(prompts, store, SystemShellDelete());
  options.Create();
  options.BuildAllPages();
  // The widest value each hotkey field may have to show.
  for (const char* field : {"RandomHotkey", "NextHotkey", "PreviousHotkey", "PauseHotKey"})
    SendMessageW(options.ControlFor(field), HKM_SETHOTKEY,
                 MAKEWORD('W', HOTKEYF_CONTROL | HOTKEYF_SHIFT | HOTKEYF_ALT), 0);
  const std::vector<Misfit> misfits = Misfits(options.hwnd());
  for (const Misfit& m : misfits)
    ADD_FAILURE() << m.what << " needs " << m.need << " pixels, has " << m.room;
  EXPECT_TRUE(misfits.empty());
}

}  // namespace
}  // namespace kv
