// Targa decoder: colour-mapped, true-colour and grey pictures (image types 1, 2,
// 3 and their run-length versions 9, 10, 11) at 8, 15, 16, 24 and 32 bits per
// pixel, stored from the bottom (the default) or the top, left to right or right
// to left.
//
// Alpha. Many writers fill the fourth byte of 32-bit pixels (and the top bit of
// 16-bit ones) with zeros or other values that mean nothing, and the attribute
// bit count in the header is as unreliable. The rule:
//  - a TGA 2.0 file (footer "TRUEVISION-XFILE") with an extension area says
//    what the values are: attribute type 3 is alpha, 4 is premultiplied alpha,
//    anything else is not alpha;
//  - otherwise the values are alpha unless every pixel's value is 0 (the usual
//    "unused" filling, which taken as alpha would make the picture vanish).
// Alpha is then composited onto kTransparencyBackground.

#include <cstring>
#include <string>
#include <vector>

#include "codecs/byte_reader.h"
#include "codecs/decoders.h"
#include "codecs/pixel_ops.h"

namespace kv {
namespace {

constexpr std::size_t kHeaderSize = 18;
constexpr std::size_t kFooterSize = 26;
constexpr std::size_t kExtensionSize = 495;
constexpr std::size_t kExtensionAttributeType = 494;

enum class AlphaMeaning { kNone, kStraight, kPremultiplied, kUnlessAllZero };

struct Header {
  std::uint8_t idLength;
  std::uint8_t mapType;
  std::uint8_t imageType;
  std::uint16_t mapFirst;
  std::uint16_t mapLength;
  std::uint8_t mapEntryBits;
  std::uint16_t width;
  std::uint16_t height;
  std::uint8_t pixelBits;
  std::uint8_t descriptor;
};

Header ReadHeader(ByteReader& r) {
  if (r.Size() < kHeaderSize) throw ImageError("the file is too short for a Targa header");
  Header h{};
  h.idLength = r.U8();
  h.mapType = r.U8();
  h.imageType = r.U8();
  h.mapFirst = r.U16LE();
  h.mapLength = r.U16LE();
  h.mapEntryBits = r.U8();
  r.Skip(4);  // x and y origin: where the picture goes on a screen, nothing to us
  h.width = r.U16LE();
  h.height = r.U16LE();
  h.pixelBits = r.U8();
  h.descriptor = r.U8();
  return h;
}

// What a TGA 2.0 extension area says about the fourth channel, or kUnlessAllZero
// when the file has none.
AlphaMeaning AlphaFromExtensionArea(const std::uint8_t* data, std::size_t size) {
  static constexpr char kSignature[] = "TRUEVISION-XFILE.";  // with its terminating 0
  if (size < kHeaderSize + kFooterSize) return AlphaMeaning::kUnlessAllZero;
  const std::uint8_t* footer = data + size - kFooterSize;
  if (std::memcmp(footer + 8, kSignature, sizeof kSignature) != 0)
    return AlphaMeaning::kUnlessAllZero;
  ByteReader f(footer, kFooterSize);
  const std::uint32_t offset = f.U32LE();
  if (offset < kHeaderSize || offset > size - kFooterSize ||
      size - kFooterSize - offset < kExtensionSize)
    return AlphaMeaning::kUnlessAllZero;
  ByteReader ext(data + offset, kExtensionSize);
  if (ext.U16LE() != kExtensionSize) return AlphaMeaning::kUnlessAllZero;
  switch (data[offset + kExtensionAttributeType]) {
    case 3:
      return AlphaMeaning::kStraight;
    case 4:
      return AlphaMeaning::kPremultiplied;
    default:
      return AlphaMeaning::kNone;
  }
}

// How one stored pixel (or colour map entry) becomes blue, green, red, alpha.
enum class Layout { kIndex8, kIndex16, kBgr15, kBgra16, kBgr24, kBgra32, kGrey8, kGreyAlpha16 };

void ToBgra(Layout layout, const std::uint8_t* p, std::uint8_t out[4]) noexcept {
  switch (layout) {
    case Layout::kBgr15:
    case Layout::kBgra16: {
      const unsigned v = p[0] | (p[1] << 8);
      out[0] = pixel::Expand5(v);
      out[1] = pixel::Expand5(v >> 5);
      out[2] = pixel::Expand5(v >> 10);
      out[3] = layout == Layout::kBgra16 && (v & 0x8000u) ? 255 : 0;
      return;
    }
    case Layout::kBgr24:
      out[0] = p[0], out[1] = p[1], out[2] = p[2], out[3] = 0;
      return;
    case Layout::kBgra32:
      out[0] = p[0], out[1] = p[1], out[2] = p[2], out[3] = p[3];
      return;
    case Layout::kGrey8:
      out[0] = out[1] = out[2] = p[0], out[3] = 0;
      return;
    case Layout::kGreyAlpha16:
      out[0] = out[1] = out[2] = p[0], out[3] = p[1];
      return;
    case Layout::kIndex8:
    case Layout::kIndex16:
      return;  // resolved through the colour map by the caller
  }
}

[[noreturn]] void UnsupportedDepth(unsigned bits) {
  throw ImageError("unsupported bit depth " + std::to_string(bits));
}

Layout ColourLayout(unsigned bits) {
  switch (bits) {
    case 15:
      return Layout::kBgr15;
    case 16:
      return Layout::kBgra16;
    case 24:
      return Layout::kBgr24;
    case 32:
      return Layout::kBgra32;
    default:
      UnsupportedDepth(bits);
  }
}

bool HasAlpha(Layout layout) {
  return layout == Layout::kBgra16 || layout == Layout::kBgra32 || layout == Layout::kGreyAlpha16;
}

// Puts decoded pixels into the bitmap in file order, whatever corner the file
// starts at, and keeps their alpha values when the format has them.
class PixelSink {
 public:
  PixelSink(Bitmap& bitmap, bool topDown, bool rightToLeft, bool keepAlpha)
      : bitmap_(bitmap),
        width_(bitmap.Width()),
        height_(bitmap.Height()),
        topDown_(topDown),
        step_(rightToLeft ? -3 : 3) {
    if (keepAlpha)
      alpha_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    StartRow();
  }

  [[nodiscard]] bool Full() const noexcept { return row_ == height_; }

  void Put(const std::uint8_t bgra[4]) noexcept {
    out_[0] = bgra[0];
    out_[1] = bgra[1];
    out_[2] = bgra[2];
    if (!alpha_.empty()) {
      const int y = topDown_ ? row_ : height_ - 1 - row_;
      const int x = step_ > 0 ? column_ : width_ - 1 - column_;
      alpha_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
             static_cast<std::size_t>(x)] = bgra[3];
    }
    out_ += step_;
    if (++column_ == width_) {
      ++row_;
      StartRow();
    }
  }

  // Applies the alpha values by `meaning` once every pixel is in.
  void Finish(AlphaMeaning meaning) {
    if (alpha_.empty() || meaning == AlphaMeaning::kNone) return;
    if (meaning == AlphaMeaning::kUnlessAllZero) {
      bool any = false;
      for (std::uint8_t a : alpha_) any |= a != 0;
      if (!any) return;
    }
    const std::uint8_t back[3] = {BlueOf(kTransparencyBackground), GreenOf(kTransparencyBackground),
                                  RedOf(kTransparencyBackground)};
    const std::uint8_t* a = alpha_.data();
    for (int y = 0; y < height_; ++y) {
      std::uint8_t* p = bitmap_.ScanLine(y);
      for (int x = 0; x < width_; ++x, p += 3, ++a) {
        if (meaning != AlphaMeaning::kPremultiplied) {
          pixel::BlendOverBackground(p, *a);
          continue;
        }
        // The colour already carries its coverage: add the background's share.
        for (int c = 0; c < 3; ++c) {
          const unsigned v = p[c] + pixel::Mul255(back[c], 255u - *a);
          p[c] = static_cast<std::uint8_t>(v > 255 ? 255 : v);
        }
      }
    }
  }

 private:
  void StartRow() noexcept {
    column_ = 0;
    if (Full()) return;
    const int y = topDown_ ? row_ : height_ - 1 - row_;
    out_ = bitmap_.ScanLine(y) + (step_ > 0 ? 0 : 3 * static_cast<std::size_t>(width_ - 1));
  }

  Bitmap& bitmap_;
  int width_;
  int height_;
  bool topDown_;
  int step_;
  int row_ = 0;
  int column_ = 0;
  std::uint8_t* out_ = nullptr;
  std::vector<std::uint8_t> alpha_;
};

}  // namespace

Bitmap DecodeTarga(const std::uint8_t* data, std::size_t size) {
  ByteReader r(data, size);
  const Header h = ReadHeader(r);

  const unsigned kind = h.imageType & 7u;
  const bool rle = (h.imageType & 8u) != 0;
  if (h.imageType == 0) throw ImageError("the Targa file holds no picture");
  if (kind < 1 || kind > 3 || (h.imageType & ~0x0Bu) != 0)
    throw ImageError("unsupported Targa image type " + std::to_string(h.imageType));
  if (h.mapType > 1) throw ImageError("unknown Targa colour map type " + std::to_string(h.mapType));

  Layout layout;
  if (kind == 1) {
    if (h.pixelBits != 8 && h.pixelBits != 16) UnsupportedDepth(h.pixelBits);
    if (h.mapType != 1 || h.mapLength == 0)
      throw ImageError("a colour-mapped Targa picture without a colour map");
    layout = h.pixelBits == 8 ? Layout::kIndex8 : Layout::kIndex16;
  } else if (kind == 2) {
    layout = ColourLayout(h.pixelBits);
  } else {
    if (h.pixelBits != 8 && h.pixelBits != 16) UnsupportedDepth(h.pixelBits);
    layout = h.pixelBits == 8 ? Layout::kGrey8 : Layout::kGreyAlpha16;
  }
  CheckImageSize(h.width, h.height);

  r.Skip(h.idLength);

  // The colour map, kept as blue, green, red, alpha per entry. A true-colour or
  // grey file may carry one too; it is skipped.
  std::vector<std::uint8_t> map;
  Layout mapLayout = Layout::kBgr24;
  if (h.mapType == 1) {
    const std::size_t entryBytes = (h.mapEntryBits + 7u) / 8u;
    const std::uint8_t* entries = r.Take(entryBytes * h.mapLength);
    if (kind == 1) {
      if (h.mapEntryBits != 15 && h.mapEntryBits != 16 && h.mapEntryBits != 24 &&
          h.mapEntryBits != 32)
        throw ImageError("unsupported colour map entry size " + std::to_string(h.mapEntryBits));
      mapLayout = ColourLayout(h.mapEntryBits);
      map.resize(4u * h.mapLength);
      for (std::size_t i = 0; i < h.mapLength; ++i)
        ToBgra(mapLayout, entries + i * entryBytes, &map[4 * i]);
    }
  }
  const bool alphaPossible = kind == 1 ? HasAlpha(mapLayout) : HasAlpha(layout);

  // The data must be long enough before any pixel memory is taken: stored pixels
  // take their full size, RLE packets at least a head and one pixel per 128.
  const std::size_t pixelBytes = (h.pixelBits + 7u) / 8u;
  const std::uint64_t pixels = static_cast<std::uint64_t>(h.width) * h.height;
  if (!rle && r.Remaining() / pixelBytes < pixels) throw ImageError("the pixel data is truncated");
  if (rle && r.Remaining() / (1 + pixelBytes) < (pixels + 127) / 128)
    throw ImageError("truncated RLE data");

  Bitmap bitmap(h.width, h.height);
  PixelSink sink(bitmap, (h.descriptor & 0x20u) != 0, (h.descriptor & 0x10u) != 0, alphaPossible);

  // One stored pixel to blue, green, red, alpha; an index outside the colour map
  // gives black with alpha 0, which on its own does not make the alpha count.
  auto convert = [&](const std::uint8_t* p, std::uint8_t out[4]) {
    if (kind != 1) return ToBgra(layout, p, out);
    const unsigned index = layout == Layout::kIndex8 ? p[0] : (p[0] | (p[1] << 8));
    if (index < h.mapFirst || index - h.mapFirst >= h.mapLength) {
      out[0] = out[1] = out[2] = out[3] = 0;
      return;
    }
    std::memcpy(out, &map[4u * (index - h.mapFirst)], 4);
  };

  std::uint8_t bgra[4];
  if (!rle) {
    const std::uint8_t* p = r.Take(pixels * pixelBytes);
    for (; !sink.Full(); p += pixelBytes) {
      convert(p, bgra);
      sink.Put(bgra);
    }
  } else {
    // Packets may run on from one row into the next; one that runs past the
    // last pixel is cut short.
    while (!sink.Full()) {
      if (r.AtEnd()) throw ImageError("truncated RLE data");
      const std::uint8_t head = r.U8();
      const unsigned count = (head & 0x7Fu) + 1u;
      const bool repeat = (head & 0x80u) != 0;
      if (r.Remaining() < (repeat ? 1u : count) * pixelBytes)
        throw ImageError("truncated RLE data");
      if (repeat) convert(r.Take(pixelBytes), bgra);
      for (unsigned i = 0; i < count && !sink.Full(); ++i) {
        if (!repeat) convert(r.Take(pixelBytes), bgra);
        sink.Put(bgra);
      }
    }
  }
  sink.Finish(alphaPossible ? AlphaFromExtensionArea(data, size) : AlphaMeaning::kNone);
  return bitmap;
}

}  // namespace kv
