#include "skin/window_stream.h"

#include <gtest/gtest.h>

#include <functional>

#include "base/error.h"

namespace kv::skin {
namespace {

Bitmap Picture(int w, int h, int seed) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixel(x, y,
                 MakeColour(static_cast<std::uint8_t>(x * 7 + seed),
                            static_cast<std::uint8_t>(y * 13), static_cast<std::uint8_t>(seed)));
  return b;
}

StreamedWindow SampleWindow() {
  StreamedWindow w;
  w.left = -40;  // on a monitor left of the primary one
  w.top = 300;
  w.background = Picture(13, 9, 1);  // rows with padding
  StreamedControl preview;
  preview.kind = StreamedKind::Preview;
  preview.name = "Middle";
  preview.hint = "Alpine Dusk.jpg\nLanczos3";
  preview.dataString = "Z:\\pictures\\Alpine Dusk.jpg";
  preview.left = 6, preview.top = 98, preview.width = 100, preview.height = 75;
  preview.visible = true;
  StreamedControl button;
  button.kind = StreamedKind::Button;
  button.name = "Close";
  button.hint = "Close Kestrova";
  button.command = "close()";
  button.dataString = "0";
  button.left = 88, button.top = 13, button.width = 24, button.height = 11;
  button.visible = true;
  button.pictures = {Picture(24, 11, 2), Picture(24, 11, 3), Picture(24, 11, 4)};
  StreamedControl label;
  label.kind = StreamedKind::Label;
  label.name = "Label0";
  label.caption =
      "Gr\xC3\xBC\xC3\x9F"
      "e";  // UTF-8 survives
  label.pictures = {Picture(1, 1, 5), Bitmap()};
  w.controls = {preview, button, label};
  return w;
}

TEST(WindowStream, AWindowComesBackExactlyAndAnEmptyOneToo) {
  for (const StreamedWindow& w : {SampleWindow(), StreamedWindow{}}) {
    const std::vector<std::uint8_t> bytes = WriteWindowStream(w);
    EXPECT_EQ(ReadWindowStream(bytes.data(), bytes.size()), w);
  }
  // The comparison itself sees a one-pixel difference.
  StreamedWindow changed = SampleWindow();
  changed.controls[1].pictures[2].SetPixel(23, 10, MakeColour(1, 2, 3));
  EXPECT_FALSE(changed == SampleWindow());
}

TEST(WindowStream, EveryDamageIsAnErrorNeverAPartialWindow) {
  const std::vector<std::uint8_t> good = WriteWindowStream(SampleWindow());
  // Every truncation, including the empty file.
  for (std::size_t n = 0; n < good.size(); ++n)
    EXPECT_THROW((void)ReadWindowStream(good.data(), n), Error) << "cut at " << n;

  const auto put = [](std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  // Offsets in the sample: 6 signature bytes, left, top, then the background.
  const std::size_t background = 14;
  const std::size_t count = background + 8 + Bitmap::StrideFor(13) * 9;
  const std::size_t firstKind = count + 4;
  const std::function<void(std::vector<std::uint8_t>&)> damages[] = {
      [](auto& b) { b[0] = 'X'; },                           // signature
      [](auto& b) { b[5] = 2; },                             // a later format
      [&](auto& b) { put(b, background, 100000); },          // an absurd width
      [&](auto& b) { put(b, background + 4, 0); },           // width without height
      [&](auto& b) { put(b, count, 0xFFFFFFFFu); },          // a count beyond the bytes
      [&](auto& b) { put(b, count, 2); },                    // fewer controls: bytes left
      [&](auto& b) { put(b, firstKind, 0); },                // an unknown kind
      [&](auto& b) { put(b, firstKind, 4); },                //
      [&](auto& b) { put(b, firstKind + 4, 0x7FFFFFFFu); },  // a name longer than the file
      [](auto& b) { b.push_back(0); },                       // a byte left over
  };
  for (const auto& damage : damages) {
    std::vector<std::uint8_t> bad = good;
    damage(bad);
    EXPECT_THROW((void)ReadWindowStream(bad.data(), bad.size()), Error);
  }
}

}  // namespace
}  // namespace kv::skin
