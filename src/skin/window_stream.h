#pragma once
// The browser window and the skin controls it holds as one stream of bytes:
// what the hidden "Save" command writes to a file and "Load" reads back. The
// stream carries every picture, so a saved window comes back whole even when
// the skin files it was built from have gone.
//
// Layout (all numbers little-endian 32-bit): the signature "KVDWF", a format
// byte 1, the window's left and top, its background picture, the count of
// controls, then each control: kind, name, hint, caption, data string, command,
// left, top, width, height, visible (0 or 1), the count of pictures and the
// pictures. A text is its length and its bytes (UTF-8); a picture its width,
// its height and its rows as the picture type keeps them in memory.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "codecs/bitmap.h"

namespace kv::skin {

enum class StreamedKind : std::uint32_t { Preview = 1, Button = 2, Label = 3 };

struct StreamedControl {
  StreamedKind kind = StreamedKind::Preview;
  std::string name, hint, caption, dataString;
  std::string command;  // a button's click command as a skin file writes it
  int left = 0, top = 0, width = 0, height = 0;
  bool visible = false;
  // A preview: its mask; a button: normal, over and down; a label: normal, over.
  std::vector<Bitmap> pictures;

  bool operator==(const StreamedControl& other) const;
};

struct StreamedWindow {
  int left = 0, top = 0;
  Bitmap background;
  std::vector<StreamedControl> controls;

  bool operator==(const StreamedWindow& other) const;
};

[[nodiscard]] std::vector<std::uint8_t> WriteWindowStream(const StreamedWindow& window);
// Reads a whole stream; raises Error for anything that is not one (a wrong
// signature, a count or size beyond the bytes there are, bytes left over), so a
// reader never acts on half a window.
[[nodiscard]] StreamedWindow ReadWindowStream(const std::uint8_t* data, std::size_t size);

}  // namespace kv::skin
