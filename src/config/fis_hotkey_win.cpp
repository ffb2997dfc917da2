#include "config/fis_hotkey_win.h"

#include "config/hotkey_rules.h"

namespace kv {

TfisHotKey::TfisHotKey() {
  ui::WindowArgs args;
  args.className = L"KvHotKeyWindow";
  // A plain hidden window rather than a message-only one: Wine delivers
  // WM_HOTKEY to both, but older systems only to the former.
  args.style = WS_POPUP;
  args.left = args.top = 0;
  args.width = args.height = 0;
  Create(args);
  // The hotkey's press is the only message of its own this window takes.
  onMessage = [this](UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_HOTKEY && OnHotKey) OnHotKey(*this);
    return false;
  };
}

TfisHotKey::~TfisHotKey() { Unregister(); }

void TfisHotKey::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (enabled)
    Register();
  else
    Unregister();
}

void TfisHotKey::SetKey(Shortcut key) {
  if (key == key_) return;
  key_ = key;
  Unregister();
  if (enabled_) Register();
}

void TfisHotKey::Register() {
  if (registered_ || !hwnd()) return;
  const HotkeyRegistration r = SplitShortcut(key_);
  registered_ = RegisterHotKey(hwnd(), 0, r.modifiers, r.virtualKey) != 0;
}

void TfisHotKey::Unregister() {
  if (!registered_) return;
  UnregisterHotKey(hwnd(), 0);
  registered_ = false;
}

}  // namespace kv
