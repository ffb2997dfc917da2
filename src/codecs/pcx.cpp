// PCX decoder: 1 bit per pixel in 1 to 4 planes (two colours, or up to 16 from the
// header palette), 2 and 4 bits in one plane (header palette), 8 bits in one plane
// (the 256-colour palette at the end of the file, or grey when there is none), and
// 8 bits in 3 planes (red, green, blue) or 4 (plus alpha, composited onto
// kTransparencyBackground). Run-length encoded or stored.
//
// Each scan line holds every plane's row in turn, each padded to "bytes per
// line". Runs are decoded as one stream, so a run that carries on into the next
// scan line (which some writers produce) is read as meant.

#include <algorithm>
#include <string>
#include <vector>

#include "codecs/byte_reader.h"
#include "codecs/decoders.h"
#include "codecs/pixel_ops.h"

namespace kv {
namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kPaletteOffset = 16;    // 16 colours of 3 bytes in the header
constexpr std::size_t kEndPaletteSize = 769;  // marker 0x0C and 256 colours
constexpr std::uint8_t kEndPaletteMarker = 0x0C;

// The palette a version 3 file ("no palette information") is shown with: the
// 16 standard colours of the EGA adapter.
constexpr Colour kEgaColours[16] = {
    MakeColour(0, 0, 0),      MakeColour(0, 0, 170),     MakeColour(0, 170, 0),
    MakeColour(0, 170, 170),  MakeColour(170, 0, 0),     MakeColour(170, 0, 170),
    MakeColour(170, 85, 0),   MakeColour(170, 170, 170), MakeColour(85, 85, 85),
    MakeColour(85, 85, 255),  MakeColour(85, 255, 85),   MakeColour(85, 255, 255),
    MakeColour(255, 85, 85),  MakeColour(255, 85, 255),  MakeColour(255, 255, 85),
    MakeColour(255, 255, 255)};

struct Header {
  std::uint8_t version;
  std::uint8_t encoding;
  std::uint8_t bitsPerPixel;
  std::int64_t width;
  std::int64_t height;
  std::uint8_t planes;
  std::uint16_t bytesPerLine;
  std::uint16_t paletteInfo;
};

Header ReadHeader(const std::uint8_t* data, std::size_t size) {
  if (size < kHeaderSize) throw ImageError("the file is too short for a PCX header");
  ByteReader r(data, kHeaderSize);
  if (r.U8() != 0x0A) throw ImageError("not a PCX file");
  Header h{};
  h.version = r.U8();
  h.encoding = r.U8();
  h.bitsPerPixel = r.U8();
  const std::uint16_t xMin = r.U16LE(), yMin = r.U16LE(), xMax = r.U16LE(), yMax = r.U16LE();
  h.width = static_cast<std::int64_t>(xMax) - xMin + 1;
  h.height = static_cast<std::int64_t>(yMax) - yMin + 1;
  r.Seek(65);
  h.planes = r.U8();
  h.bytesPerLine = r.U16LE();
  h.paletteInfo = r.U16LE();
  return h;
}

// Reads the pixel bytes: PCX runs (a byte of 0xC0 or more counts the repeats of
// the byte after it) or, with encoding 0, bytes as stored.
class PcxStream {
 public:
  PcxStream(const std::uint8_t* begin, const std::uint8_t* end, bool rle)
      : p_(begin), end_(end), rle_(rle) {}

  void Read(std::uint8_t* out, std::size_t n) {
    while (n > 0) {
      if (pending_ > 0) {
        const std::size_t k = std::min<std::size_t>(pending_, n);
        std::fill_n(out, k, value_);
        out += k, n -= k, pending_ -= k;
        continue;
      }
      if (p_ == end_) throw ImageError(rle_ ? "truncated RLE data" : "the pixel data is truncated");
      const std::uint8_t b = *p_++;
      if (!rle_ || b < 0xC0) {
        *out++ = b, --n;
        continue;
      }
      if (p_ == end_) throw ImageError("truncated RLE data");
      pending_ = b & 0x3Fu;
      value_ = *p_++;
    }
  }

 private:
  const std::uint8_t* p_;
  const std::uint8_t* end_;
  bool rle_;
  std::size_t pending_ = 0;
  std::uint8_t value_ = 0;
};

}  // namespace

Bitmap DecodePcx(const std::uint8_t* data, std::size_t size) {
  const Header h = ReadHeader(data, size);
  if (h.encoding > 1) throw ImageError("unknown PCX encoding " + std::to_string(h.encoding));
  const unsigned bits = h.bitsPerPixel;
  const unsigned planes = h.planes;
  const bool packedIndex = planes == 1 && (bits == 1 || bits == 2 || bits == 4 || bits == 8);
  const bool planarIndex = bits == 1 && planes >= 2 && planes <= 4;
  const bool trueColour = bits == 8 && (planes == 3 || planes == 4);
  if (!packedIndex && !planarIndex && !trueColour)
    throw ImageError("unsupported PCX layout: " + std::to_string(bits) + " bits in " +
                     std::to_string(planes) + " planes");
  CheckImageSize(h.width, h.height);
  if (h.bytesPerLine < pixel::PackedRowBytes(h.width, static_cast<int>(bits)))
    throw ImageError("the PCX line length " + std::to_string(h.bytesPerLine) +
                     " is too short for the width " + std::to_string(h.width));

  // The palette for indexed pictures.
  const std::uint8_t* dataEnd = data + size;
  pixel::Palette palette{};
  if (bits == 8 && planes == 1) {
    if (size >= kHeaderSize + kEndPaletteSize &&
        data[size - kEndPaletteSize] == kEndPaletteMarker) {
      const std::uint8_t* p = data + size - kEndPaletteSize + 1;
      for (int i = 0; i < 256; ++i, p += 3) palette[i] = MakeColour(p[0], p[1], p[2]);
      dataEnd -= kEndPaletteSize;
    } else {
      palette = pixel::GreyRamp(8);
    }
  } else if (bits == 1 && planes == 1) {
    palette[0] = MakeColour(0, 0, 0);
    palette[1] = MakeColour(255, 255, 255);
  } else if (!trueColour && h.version == 3) {
    std::copy(std::begin(kEgaColours), std::end(kEgaColours), palette.begin());
  } else if (!trueColour) {
    const std::uint8_t* p = data + kPaletteOffset;
    for (int i = 0; i < 16; ++i, p += 3) palette[i] = MakeColour(p[0], p[1], p[2]);
  }

  // Before taking pixel memory: stored data holds every byte, and a run (two
  // bytes) gives at most 63.
  const int width = static_cast<int>(h.width);
  const std::size_t lineBytes = h.bytesPerLine;
  const std::uint64_t needed = static_cast<std::uint64_t>(lineBytes) * planes * h.height;
  const auto available = static_cast<std::uint64_t>(dataEnd - (data + kHeaderSize));
  if (h.encoding == 0 && needed > available) throw ImageError("the pixel data is truncated");
  if (h.encoding == 1 && needed > available * 32) throw ImageError("truncated RLE data");

  std::vector<std::uint8_t> line(lineBytes * planes);
  PcxStream stream(data + kHeaderSize, dataEnd, h.encoding == 1);
  Bitmap bitmap(width, static_cast<int>(h.height));
  for (int y = 0; y < bitmap.Height(); ++y) {
    stream.Read(line.data(), line.size());
    std::uint8_t* out = bitmap.ScanLine(y);
    if (trueColour) {
      const std::uint8_t* red = line.data();
      const std::uint8_t* alpha = planes == 4 ? red + 3 * lineBytes : nullptr;
      for (int x = 0; x < width; ++x, out += 3) {
        out[0] = red[2 * lineBytes + x];
        out[1] = red[lineBytes + x];
        out[2] = red[x];
        if (alpha) pixel::BlendOverBackground(out, alpha[x]);
      }
    } else if (packedIndex) {
      for (int x = 0; x < width; ++x, out += 3)
        pixel::Put(out, palette[pixel::PackedSample(line.data(), x, static_cast<int>(bits))]);
    } else {
      // One bit of the index from each plane, the first plane the lowest bit.
      for (int x = 0; x < width; ++x, out += 3) {
        unsigned index = 0;
        for (unsigned plane = 0; plane < planes; ++plane)
          index |= pixel::PackedSample(line.data() + plane * lineBytes, x, 1) << plane;
        pixel::Put(out, palette[index]);
      }
    }
  }
  return bitmap;
}

}  // namespace kv
