#pragma once
// What the list's small dialogs (search, batch change, property editor) share
// in their layout: child controls placed by coordinates in a fixed frame. Each
// is a TKVForm, which puts the frame at the place it had when it last closed.

#include <windows.h>

#include <string>

#include "widgets/window_win.h"

namespace kv {

using ui::ChildAt;

// A fixed dialog frame (caption and close box) of this outer size.
[[nodiscard]] inline ui::Form::CreateArgs DialogFrame(std::string title, int width, int height,
                                                      DWORD exStyle = WS_EX_DLGMODALFRAME) {
  ui::Form::CreateArgs args;
  args.title = std::move(title);
  args.width = width;
  args.height = height;
  args.style = WS_CAPTION | WS_SYSMENU;
  args.exStyle = WS_EX_CONTROLPARENT | exStyle;
  return args;
}

}  // namespace kv
