// Windows and OS/2 bitmaps (.bmp, .dib, .rle): the file header is optional (a
// packed DIB starts with its info header), info headers of every size from the
// OS/2 1.x core header to version 5, palettes of 1 to 8 bits, bit fields of 16
// and 32 bits, 24 bits, RLE4 and RLE8, and JPEG or PNG data embedded in a BMP.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "codecs/decoders.h"
#include "codecs/encoders.h"
#include "codecs/file_io.h"
#include "codecs/pixel_ops.h"

namespace kv {
namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiJpeg = 4;
constexpr std::uint32_t kBiPng = 5;
constexpr std::uint32_t kBiAlphaBitfields = 6;

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kOs2HeaderSize = 64;  // OS/2 2.x: other compression codes
constexpr std::uint32_t kMaxHeaderSize = 1024;

[[noreturn]] void Fail(const std::string& what) { throw ImageError(what); }

std::uint32_t Get32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// One channel of a bit-field pixel: where its bits sit and how they widen to
// 8 bits (the channel's largest value becomes 255, rounded to nearest).
class Channel {
 public:
  Channel() = default;
  explicit Channel(std::uint32_t mask) {
    if (mask == 0) return;
    shift_ = static_cast<unsigned>(__builtin_ctz(mask));
    max_ = mask >> shift_;
  }
  [[nodiscard]] bool Present() const noexcept { return max_ != 0; }
  [[nodiscard]] std::uint8_t operator()(std::uint32_t v) const noexcept {
    const std::uint32_t bits = (v >> shift_) & max_;
    if (max_ == 255) return static_cast<std::uint8_t>(bits);
    if (max_ == 0) return 0;
    return static_cast<std::uint8_t>((static_cast<std::uint64_t>(bits) * 255 + max_ / 2) / max_);
  }

 private:
  unsigned shift_ = 0;
  std::uint32_t max_ = 0;
};

struct Layout {
  std::int64_t width = 0;
  std::int64_t height = 0;  // always positive; topDown says the row order
  bool topDown = false;
  unsigned bitCount = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t imageSize = 0;
  std::array<std::uint32_t, 4> masks{};         // red, green, blue, alpha
  std::array<std::uint8_t, 256 * 3> palette{};  // blue, green, red; missing entries black
  std::size_t pixelOffset = 0;
};

// Reads the headers, the bit masks and the palette; leaves the pixels alone.
Layout ReadLayout(const std::uint8_t* data, std::size_t size) {
  Layout l;
  std::size_t infoStart = 0;
  std::uint64_t fileOffBits = 0;
  const bool fileHeader = size >= 2 && data[0] == 'B' && data[1] == 'M';
  if (fileHeader) {
    if (size < kFileHeaderSize + 4) Fail("the file ends early");
    fileOffBits = Get32(data + 10);
    infoStart = kFileHeaderSize;
  } else if (size < 4) {
    Fail("not a Windows bitmap");
  }
  const std::uint32_t headerSize = Get32(data + infoStart);
  const bool core = headerSize == kCoreHeaderSize;
  if (!core && (headerSize < 16 || headerSize > kMaxHeaderSize))
    Fail(fileHeader ? "unknown bitmap header size " + std::to_string(headerSize)
                    : "not a Windows bitmap");
  if (headerSize > size - infoStart) Fail("the file ends early");
  const std::uint8_t* h = data + infoStart;
  // Fields past a short header read as zero.
  auto field32 = [&](std::uint32_t at) -> std::uint32_t {
    return at + 4 <= headerSize ? Get32(h + at) : 0;
  };
  auto field16 = [&](std::uint32_t at) -> std::uint32_t {
    return at + 2 <= headerSize ? static_cast<std::uint32_t>(h[at] | (h[at + 1] << 8)) : 0;
  };

  std::int64_t rawHeight = 0;
  if (core) {
    l.width = field16(4);
    rawHeight = field16(6);
    l.bitCount = field16(10);
  } else {
    l.width = static_cast<std::int32_t>(field32(4));
    rawHeight = static_cast<std::int32_t>(field32(8));
    l.bitCount = field16(14);
    l.compression = field32(16);
    l.imageSize = field32(20);
  }
  const unsigned b = l.bitCount;
  if (l.compression != kBiJpeg && l.compression != kBiPng && b != 1 && b != 2 && b != 4 && b != 8 &&
      b != 16 && b != 24 && b != 32)
    Fail("unsupported bit count " + std::to_string(b));
  l.topDown = rawHeight < 0;
  l.height = rawHeight < 0 ? -rawHeight : rawHeight;
  if (headerSize == kOs2HeaderSize && (l.compression == 3 || l.compression == 4))
    Fail("OS/2 Huffman and RLE24 compression are not supported");

  std::size_t pos = infoStart + headerSize;
  if (l.compression == kBiBitfields || l.compression == kBiAlphaBitfields) {
    const unsigned count = l.compression == kBiAlphaBitfields ? 4 : 3;
    if (headerSize >= 52) {
      for (unsigned i = 0; i < count; ++i) l.masks[i] = field32(40 + 4 * i);
      if (headerSize >= 56) l.masks[3] = field32(52);
    } else {
      // The masks follow a short header.
      if (size - pos < 4u * count) Fail("the file ends early");
      for (unsigned i = 0; i < count; ++i) l.masks[i] = Get32(data + pos + 4 * i);
      pos += 4u * count;
    }
    if (l.masks[0] == 0 && l.masks[1] == 0 && l.masks[2] == 0)
      Fail("the colour bit fields are empty");
  } else if (l.bitCount == 16) {
    l.masks = {0x7C00, 0x03E0, 0x001F, 0};
  } else if (l.bitCount == 32) {
    // A version 4 or 5 header may say that the fourth byte is alpha.
    l.masks = {0xFF0000, 0x00FF00, 0x0000FF, headerSize >= 56 ? field32(52) : 0};
  }

  std::size_t paletteEnd = pos;
  if (l.bitCount >= 1 && l.bitCount <= 8) {
    const std::size_t entry = core ? 3 : 4;
    const std::uint32_t most = 1u << l.bitCount;
    std::uint32_t count = core ? most : field32(32);
    if (count == 0 || count > most) count = most;
    // A palette cut short by the pixel data's offset holds what fits before it.
    if (fileOffBits > pos && (fileOffBits - pos) / entry < count)
      count = static_cast<std::uint32_t>((fileOffBits - pos) / entry);
    if ((size - pos) / entry < count) Fail("the palette is cut off");
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint8_t* p = data + pos + i * entry;
      std::memcpy(&l.palette[3 * i], p, 3);
    }
    paletteEnd = pos + count * entry;
  }
  // Files whose pixel offset is missing or points into the headers get their
  // pixels right after the palette, where every writer puts them.
  l.pixelOffset = fileOffBits >= paletteEnd
                      ? static_cast<std::size_t>(std::min<std::uint64_t>(fileOffBits, size))
                      : paletteEnd;
  if (l.pixelOffset >= size) Fail("the file has no pixel data");
  return l;
}

// Palette pictures of 1, 2, 4 or 8 bits per pixel.
void DecodeIndexed(const Layout& l, const std::uint8_t* row, std::uint8_t* out) {
  const int bits = static_cast<int>(l.bitCount);
  const int width = static_cast<int>(l.width);
  for (int x = 0; x < width; ++x, out += 3)
    std::memcpy(out, &l.palette[3 * pixel::PackedSample(row, x, bits)], 3);
}

class BitFieldPixels {
 public:
  explicit BitFieldPixels(const Layout& l)
      : red_(l.masks[0]),
        green_(l.masks[1]),
        blue_(l.masks[2]),
        alpha_(l.masks[3]),
        bytes_(l.bitCount / 8) {}

  [[nodiscard]] bool HasAlpha() const noexcept { return alpha_.Present(); }

  // Whether any pixel is less than opaque in the alpha bits; pictures whose
  // alpha is zero everywhere were written by programs that leave the byte
  // unused, and are shown opaque.
  [[nodiscard]] bool AnyAlpha(const Layout& l, const std::uint8_t* pixels,
                              std::size_t stride) const {
    if (!alpha_.Present()) return false;
    for (std::int64_t y = 0; y < l.height; ++y) {
      const std::uint8_t* p = pixels + static_cast<std::size_t>(y) * stride;
      for (std::int64_t x = 0; x < l.width; ++x, p += bytes_)
        if (alpha_(Load(p)) != 0) return true;
    }
    return false;
  }

  void Row(const std::uint8_t* in, std::uint8_t* out, int width, bool useAlpha) const {
    for (int x = 0; x < width; ++x, in += bytes_, out += 3) {
      const std::uint32_t v = Load(in);
      out[0] = blue_(v);
      out[1] = green_(v);
      out[2] = red_(v);
      if (useAlpha) pixel::BlendOverBackground(out, alpha_(v));
    }
  }

 private:
  [[nodiscard]] std::uint32_t Load(const std::uint8_t* p) const noexcept {
    return bytes_ == 4 ? Get32(p) : static_cast<std::uint32_t>(p[0] | (p[1] << 8));
  }

  Channel red_, green_, blue_, alpha_;
  unsigned bytes_;
};

Bitmap DecodeUncompressed(const Layout& l, const std::uint8_t* data, std::size_t size) {
  const unsigned bits = l.bitCount;
  if (l.compression != kBiRgb && bits != 16 && bits != 32)
    Fail("bit fields need 16 or 32 bits per pixel, not " + std::to_string(bits));
  const std::uint64_t stride = (static_cast<std::uint64_t>(l.width) * bits + 31) / 32 * 4;
  const std::uint64_t lastRow = (static_cast<std::uint64_t>(l.width) * bits + 7) / 8;
  const std::uint64_t needed = stride * static_cast<std::uint64_t>(l.height - 1) + lastRow;
  if (needed > size - l.pixelOffset) Fail("the file ends early");

  const std::uint8_t* pixels = data + l.pixelOffset;
  const int width = static_cast<int>(l.width);
  const int height = static_cast<int>(l.height);
  Bitmap out(width, height);
  const BitFieldPixels fields(l);
  const bool useAlpha = bits >= 16 && fields.AnyAlpha(l, pixels, static_cast<std::size_t>(stride));
  for (int i = 0; i < height; ++i) {
    const std::uint8_t* in =
        pixels + static_cast<std::size_t>(stride) * static_cast<std::size_t>(i);
    std::uint8_t* row = out.ScanLine(l.topDown ? i : height - 1 - i);
    if (bits == 24)
      std::memcpy(row, in, static_cast<std::size_t>(width) * 3);
    else if (bits <= 8)
      DecodeIndexed(l, in, row);
    else
      fields.Row(in, row, width, useAlpha);
  }
  return out;
}

// RLE8 and RLE4: runs of one index (two alternating ones for RLE4), literal
// groups, end of line, end of picture and a forward jump (delta). Pixels that
// the stream skips are transparent, so they show the transparency background.
Bitmap DecodeRle(const Layout& l, const std::uint8_t* data, std::size_t size) {
  const bool four = l.compression == kBiRle4;
  if (l.bitCount != (four ? 4u : 8u))
    Fail("RLE" + std::string(four ? "4" : "8") + " with " + std::to_string(l.bitCount) +
         " bits per pixel");
  const int width = static_cast<int>(l.width);
  const int height = static_cast<int>(l.height);
  Bitmap out(width, height);
  out.Fill(kTransparencyBackground);

  const std::uint8_t* p = data + l.pixelOffset;
  std::size_t end = size - l.pixelOffset;
  if (l.imageSize != 0 && l.imageSize < end) end = l.imageSize;
  std::size_t pos = 0;
  std::int64_t x = 0, y = 0;
  bool finished = false;
  auto put = [&](unsigned index) {
    if (x < width && y < height) {
      std::uint8_t* row =
          out.ScanLine(l.topDown ? static_cast<int>(y) : height - 1 - static_cast<int>(y));
      std::memcpy(row + 3 * x, &l.palette[3 * index], 3);
    }
    ++x;
  };
  // Each step takes at least two bytes, so the loop ends with the data.
  while (!finished && y < height && end - pos >= 2) {
    const unsigned count = p[pos], code = p[pos + 1];
    pos += 2;
    if (count > 0) {
      for (unsigned i = 0; i < count && x < width; ++i)
        put(four ? ((i & 1) ? code & 0x0F : code >> 4) : code);
      continue;
    }
    switch (code) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of picture
        finished = true;
        break;
      case 2:  // move right and up
        if (end - pos < 2) Fail("the file ends early");
        x = std::min<std::int64_t>(x + p[pos], width);
        y += p[pos + 1];
        pos += 2;
        break;
      default: {  // `code` literal pixels, padded to a 16-bit boundary
        const std::size_t bytes = four ? (code + 1) / 2 : code;
        const std::size_t padded = (bytes + 1) & ~static_cast<std::size_t>(1);
        if (end - pos < bytes) Fail("the file ends early");
        for (unsigned i = 0; i < code && x < width; ++i)
          put(four ? ((i & 1) ? p[pos + i / 2] & 0x0F : p[pos + i / 2] >> 4) : p[pos + i]);
        pos += std::min(padded, end - pos);
        break;
      }
    }
  }
  // A stream that stops in its last row without the end code is accepted; one
  // that stops earlier was cut off.
  if (!finished && y < height - 1) Fail("the file ends early");
  return out;
}

}  // namespace

Bitmap DecodeBmp(const std::uint8_t* data, std::size_t size) {
  const Layout l = ReadLayout(data, size);
  if (l.compression == kBiJpeg || l.compression == kBiPng) {
    const std::uint8_t* embedded = data + l.pixelOffset;
    std::size_t length = size - l.pixelOffset;
    if (l.imageSize != 0 && l.imageSize < length) length = l.imageSize;
    return l.compression == kBiJpeg ? DecodeJpeg(embedded, length) : DecodePng(embedded, length);
  }
  if (l.width <= 0) Fail("the picture has a width of " + std::to_string(l.width));
  CheckImageSize(l.width, l.height);
  switch (l.compression) {
    case kBiRgb:
    case kBiBitfields:
    case kBiAlphaBitfields:
      return DecodeUncompressed(l, data, size);
    case kBiRle8:
    case kBiRle4:
      return DecodeRle(l, data, size);
    default:
      Fail("unsupported compression " + std::to_string(l.compression));
  }
}

namespace {

constexpr std::size_t kWrittenHeaders = kFileHeaderSize + kInfoHeaderSize;

// The file and info headers of the 24-bit file for `bitmap`.
std::array<std::uint8_t, kWrittenHeaders> BmpHeaders(const Bitmap& bitmap) {
  if (bitmap.Empty()) throw ImageError("an empty picture cannot be written");
  const std::uint64_t total = kWrittenHeaders + static_cast<std::uint64_t>(bitmap.SizeBytes());
  if (total > 0xFFFFFFFFu) throw ImageError("the picture is too large for a bitmap file");
  std::array<std::uint8_t, kWrittenHeaders> out{};
  auto put16 = [&](std::size_t at, std::uint32_t v) {
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
  };
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    put16(at, v & 0xFFFF);
    put16(at + 2, v >> 16);
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<std::uint32_t>(total));
  put32(10, kWrittenHeaders);
  put32(14, kInfoHeaderSize);
  put32(18, static_cast<std::uint32_t>(bitmap.Width()));
  put32(22, static_cast<std::uint32_t>(bitmap.Height()));  // positive: bottom-up rows
  put16(26, 1);                                            // planes
  put16(28, 24);                                           // bits per pixel
  put32(30, kBiRgb);
  put32(34, static_cast<std::uint32_t>(bitmap.SizeBytes()));
  return out;
}

}  // namespace

// The rows are already a DIB's: bottom-up, blue-green-red, 4-byte aligned. Row
// padding is written as zeros whatever the bitmap holds there.

std::vector<std::uint8_t> EncodeBmp(const Bitmap& bitmap) {
  const auto headers = BmpHeaders(bitmap);
  std::vector<std::uint8_t> out(kWrittenHeaders + bitmap.SizeBytes(), 0);
  std::memcpy(out.data(), headers.data(), headers.size());
  const std::size_t rowBytes = static_cast<std::size_t>(bitmap.Width()) * 3;
  for (int i = 0; i < bitmap.Height(); ++i)
    std::memcpy(out.data() + kWrittenHeaders + static_cast<std::size_t>(i) * bitmap.Stride(),
                bitmap.Bits() + static_cast<std::size_t>(i) * bitmap.Stride(), rowBytes);
  return out;
}

// Straight from the bitmap's rows to the file: a screen-sized wallpaper is
// never copied whole.
void SaveBmp(const Bitmap& bitmap, const std::string& path) {
  const auto headers = BmpHeaders(bitmap);
  AtomicFileWriter file(path);
  file.Write(headers.data(), headers.size());
  const std::size_t rowBytes = static_cast<std::size_t>(bitmap.Width()) * 3;
  const std::uint8_t zeros[3] = {0, 0, 0};
  for (int i = 0; i < bitmap.Height(); ++i) {
    file.Write(bitmap.Bits() + static_cast<std::size_t>(i) * bitmap.Stride(), rowBytes);
    file.Write(zeros, bitmap.Stride() - rowBytes);
  }
  file.Commit();
}

}  // namespace kv
