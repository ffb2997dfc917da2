#pragma once
// TKVForm: the plain (unskinned) window that the program's dialogs share. It
// keeps the window's place: "Top" and "Left" under "Forms\" + its component name
// are read when it is created (1 each when absent) and written when it goes.
// The place may be read before the window is made (ReadPlace): the window then
// goes there when it is made, and a window never made writes that place back,
// where it would have stood.

#include <optional>
#include <string>

#include "widgets/window_win.h"

namespace kv {

class SettingsStore;

class TKVForm : public ui::Form {
 public:
  TKVForm(SettingsStore& store, std::string name) : store_(store), name_(std::move(name)) {}
  ~TKVForm() override;  // writes the position

  [[nodiscard]] const std::string& Name() const noexcept { return name_; }
  // Reads the stored place now, as making the window would.
  void ReadPlace();

 protected:
  // Creates the window at its stored place; the size is the window's outer size.
  void CreateForm(const CreateArgs& args);
  SettingsStore& store_;

 private:
  std::string name_;
  struct Place {
    int top, left;
  };
  std::optional<Place> place_;  // read, for a window not made yet
};

}  // namespace kv
