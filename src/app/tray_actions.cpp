#include "app/tray_actions.h"

namespace kv::app {

static_assert(static_cast<int>(TrayCommand::LoadSkin) == 10 &&
                  static_cast<int>(TrayCommand::None) == 16,
              "TrayCommand enumerators must stand in action code order");

int TrayActionCode(MouseButton button, bool shift, const program::MouseActions& actions) noexcept {
  switch (button) {
    case MouseButton::Left:
      return shift ? actions.shiftLeft : actions.left;
    case MouseButton::Right:
      return shift ? actions.shiftRight : actions.right;
    case MouseButton::Middle:
      return shift ? actions.shiftMiddle : actions.middle;
  }
  return static_cast<int>(TrayCommand::None);
}

TrayCommand TrayCommandOf(int code) noexcept {
  if (code < 0 || code > static_cast<int>(TrayCommand::None)) return TrayCommand::None;
  return static_cast<TrayCommand>(code);
}

}  // namespace kv::app
