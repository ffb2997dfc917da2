#pragma once
// TfisHotKey: one system-wide hotkey. Each component owns a hidden window of its
// own that receives WM_HOTKEY, so every component registers under identifier 0.

#include <functional>

#include "config/shortcut_text.h"
#include "widgets/window_win.h"

namespace kv {

class TfisHotKey : private ui::Window {
 public:
  TfisHotKey();
  ~TfisHotKey() override;  // unregisters

  int Tag = 0;
  std::function<void(TfisHotKey& sender)> OnHotKey;

  [[nodiscard]] bool Enabled() const noexcept { return enabled_; }
  // False unregisters, true registers.
  void SetEnabled(bool enabled);
  [[nodiscard]] Shortcut Key() const noexcept { return key_; }
  // A different key unregisters and, while enabled, registers the new one.
  void SetKey(Shortcut key);
  // Whether the system accepted the registration (another program, or another
  // component, may hold the combination).
  [[nodiscard]] bool Registered() const noexcept { return registered_; }
  [[nodiscard]] HWND MessageWindow() const noexcept { return hwnd(); }

 private:
  void Register();
  void Unregister();

  bool enabled_ = true;
  Shortcut key_ = 0;
  bool registered_ = false;
};

}  // namespace kv
