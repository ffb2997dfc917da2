#include "app/monitor_mark.h"

#include <cstdint>
#include <string>

namespace kv::app {

namespace {

// Digits 0-9 in a 3 x 5 grid, one row per 3 bits, the top row first.
constexpr std::uint16_t kDigits[10] = {
    0b111'101'101'101'111, 0b010'110'010'010'111, 0b111'001'111'100'111, 0b111'001'111'001'111,
    0b101'101'111'001'001, 0b111'100'111'001'111, 0b111'100'111'101'111, 0b111'001'010'010'010,
    0b111'101'111'101'111, 0b111'101'111'001'111,
};
constexpr int kScale = 2;    // each grid cell is 2 x 2 pixels
constexpr int kMargin = 2;   // the box's distance from the corner
constexpr int kPadding = 2;  // the digits' distance from the box's edge
constexpr Colour kBox = MakeColour(255, 255, 224);
constexpr Colour kInk = MakeColour(16, 16, 48);

void Put(Bitmap& picture, int x, int y, Colour colour) {
  if (x >= 0 && y >= 0 && x < picture.Width() && y < picture.Height())
    picture.SetPixel(x, y, colour);
}

}  // namespace

void DrawMonitorMark(Bitmap& picture, int number) {
  if (number < 1 || number > 99 || picture.Empty()) return;
  const std::string text = std::to_string(number);
  const int digitWidth = 3 * kScale, gap = kScale;
  const int boxWidth = 2 * kPadding + static_cast<int>(text.size()) * (digitWidth + gap) - gap;
  const int boxHeight = 2 * kPadding + 5 * kScale;
  for (int y = 0; y < boxHeight; ++y)
    for (int x = 0; x < boxWidth; ++x) Put(picture, kMargin + x, kMargin + y, kBox);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::uint16_t glyph = kDigits[text[i] - '0'];
    const int left = kMargin + kPadding + static_cast<int>(i) * (digitWidth + gap);
    for (int row = 0; row < 5; ++row)
      for (int col = 0; col < 3; ++col) {
        if (!(glyph >> (14 - (row * 3 + col)) & 1)) continue;
        for (int dy = 0; dy < kScale; ++dy)
          for (int dx = 0; dx < kScale; ++dx)
            Put(picture, left + col * kScale + dx, kMargin + kPadding + row * kScale + dy, kInk);
      }
  }
}

}  // namespace kv::app
