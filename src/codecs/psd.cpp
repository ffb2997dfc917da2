// Photoshop decoder: reads the merged picture that Photoshop stores after the
// layers (the "image data" section), skipping the colour mode data (except an
// indexed picture's colour table), the image resources and the layers by their
// lengths. Stored or PackBits-compressed; 1 bit per channel (bitmap mode), 8 and
// 16; bitmap, greyscale, indexed, RGB and CMYK modes, with duotone and
// multichannel pictures shown as grey from their first channel. Both the PSD
// version (1) and the large-document version (2) are read.
//
// Extra channels (transparency, spot colours, masks) are not applied: Photoshop
// stores the merged colours of a picture with transparency already laid on white,
// which is the background colour every decoder uses (kTransparencyBackground).

#include <string>
#include <vector>

#include "codecs/byte_reader.h"
#include "codecs/decoders.h"
#include "codecs/pixel_ops.h"

namespace kv {
namespace {

enum Mode : std::uint16_t {
  kBitmap = 0,
  kGreyscale = 1,
  kIndexed = 2,
  kRgb = 3,
  kCmyk = 4,
  kMultichannel = 7,
  kDuotone = 8,
  kLab = 9,
};

struct Header {
  std::uint16_t version;
  std::uint16_t channels;
  std::uint32_t height;
  std::uint32_t width;
  std::uint16_t depth;
  std::uint16_t mode;
};

// How many channels of the merged picture the mode uses.
unsigned ChannelsUsed(const Header& h) {
  if (h.depth == 1 && h.mode != kBitmap)
    throw ImageError("a picture of depth 1 in colour mode " + std::to_string(h.mode));
  switch (h.mode) {
    case kBitmap:
      if (h.depth != 1)
        throw ImageError("a bitmap-mode picture of depth " + std::to_string(h.depth));
      return 1;
    case kIndexed:
      if (h.depth != 8) throw ImageError("an indexed picture of depth " + std::to_string(h.depth));
      return 1;
    case kGreyscale:
    case kMultichannel:
    case kDuotone:
      return 1;
    case kRgb:
      return 3;
    case kCmyk:
      return 4;
    case kLab:
      throw ImageError("unsupported colour mode Lab");
    default:
      throw ImageError("unsupported colour mode " + std::to_string(h.mode));
  }
}

// Unpacks one PackBits row: a count byte n below 128 copies the next n + 1
// bytes, n above 128 repeats the next byte 257 − n times, 128 does nothing.
// Bytes beyond the row are dropped; a row that comes out short is an error.
void UnpackBitsRow(const std::uint8_t* src, std::size_t srcLen, std::uint8_t* out,
                   std::size_t outLen) {
  const std::uint8_t* end = src + srcLen;
  std::size_t done = 0;
  while (done < outLen && src < end) {
    const unsigned n = *src++;
    if (n < 128) {
      std::size_t count = n + 1u;
      if (static_cast<std::size_t>(end - src) < count) throw ImageError("truncated RLE data");
      for (std::size_t i = 0; i < count && done < outLen; ++i) out[done++] = src[i];
      src += count;
    } else if (n > 128) {
      if (src == end) throw ImageError("truncated RLE data");
      const std::uint8_t v = *src++;
      for (unsigned i = 0; i < 257u - n && done < outLen; ++i) out[done++] = v;
    }
  }
  if (done < outLen) throw ImageError("truncated RLE data");
}

// Gives the rows of one channel after another, from stored or PackBits data.
class ChannelRows {
 public:
  ChannelRows(ByteReader& r, const Header& h, unsigned channelsUsed, std::size_t rowBytes)
      : data_(r.Data()), size_(r.Size()), height_(h.height), rowBytes_(rowBytes) {
    const std::uint16_t compression = r.U16BE();
    if (compression > 1)
      throw ImageError("unsupported compression " + std::to_string(compression) +
                       " of the merged picture");
    rle_ = compression == 1;
    const std::uint64_t rows = static_cast<std::uint64_t>(height_) * channelsUsed;
    if (!rle_) {
      if (rows * rowBytes_ > r.Remaining()) throw ImageError("the pixel data is truncated");
      next_ = r.Position();
      return;
    }
    // Every channel's row lengths come first (two bytes each, four in version 2),
    // then the rows; only the used channels' lengths need reading.
    countBytes_ = h.version == 2 ? 4 : 2;
    const std::uint64_t allRows = static_cast<std::uint64_t>(height_) * h.channels;
    if (allRows * countBytes_ > r.Remaining()) throw ImageError("the RLE row table is truncated");
    // Each row needs at least two bytes for every 128 it unpacks to; checked
    // here, before the picture's memory is taken.
    const std::uint64_t minimumRow = (rowBytes_ + 127) / 128 * 2;
    if (rows * minimumRow > r.Remaining() - allRows * countBytes_)
      throw ImageError("truncated RLE data");
    counts_ = r.Position();
    next_ = r.Position() + static_cast<std::size_t>(allRows * countBytes_);
    row_.resize(rowBytes_);
  }

  // The next row of the current channel; channels follow one another in order.
  const std::uint8_t* Next() {
    if (!rle_) {
      const std::uint8_t* p = data_ + next_;
      next_ += rowBytes_;
      return p;
    }
    ByteReader count(data_ + counts_, countBytes_);
    counts_ += countBytes_;
    const std::uint32_t length = countBytes_ == 4 ? count.U32BE() : count.U16BE();
    if (length > size_ - next_) throw ImageError("truncated RLE data");
    UnpackBitsRow(data_ + next_, length, row_.data(), rowBytes_);
    next_ += length;
    return row_.data();
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::uint32_t height_;
  std::size_t rowBytes_;
  bool rle_ = false;
  std::size_t countBytes_ = 0;
  std::size_t counts_ = 0;
  std::size_t next_ = 0;
  std::vector<std::uint8_t> row_;
};

// Sample x of a row of 8- or 16-bit samples (big-endian), as 8 bits.
inline std::uint8_t Sample(const std::uint8_t* row, int x, bool sixteen) {
  if (!sixteen) return row[x];
  const std::uint8_t* p = row + 2 * static_cast<std::size_t>(x);
  return pixel::Narrow16((p[0] << 8) | p[1]);
}

}  // namespace

Bitmap DecodePsd(const std::uint8_t* data, std::size_t size) {
  ByteReader r(data, size);
  if (size < 26 || r.U32BE() != 0x38425053)  // "8BPS"
    throw ImageError("not a Photoshop file");
  Header h{};
  h.version = r.U16BE();
  if (h.version != 1 && h.version != 2)
    throw ImageError("unsupported Photoshop file version " + std::to_string(h.version));
  r.Skip(6);
  h.channels = r.U16BE();
  h.height = r.U32BE();
  h.width = r.U32BE();
  h.depth = r.U16BE();
  h.mode = r.U16BE();
  if (h.depth != 1 && h.depth != 8 && h.depth != 16)
    throw ImageError("unsupported bit depth " + std::to_string(h.depth));
  const unsigned used = ChannelsUsed(h);
  if (h.channels < used)
    throw ImageError("the picture has " + std::to_string(h.channels) +
                     " channels, its mode needs " + std::to_string(used));
  CheckImageSize(h.width, h.height);

  // Colour mode data: the colour table of an indexed picture, red, green and
  // blue tables of 256 entries each.
  const std::uint32_t modeDataLength = r.U32BE();
  const std::uint8_t* modeData = r.Take(modeDataLength);
  pixel::Palette palette{};
  if (h.mode == kIndexed) {
    if (modeDataLength < 768) throw ImageError("an indexed picture without a colour table");
    for (int i = 0; i < 256; ++i)
      palette[i] = MakeColour(modeData[i], modeData[256 + i], modeData[512 + i]);
  }
  r.Skip(r.U32BE());                       // image resources
  std::uint64_t layersLength = r.U32BE();  // layers and masks; 8 bytes long in version 2
  if (h.version == 2) layersLength = (layersLength << 32) | r.U32BE();
  r.Skip(layersLength);

  const int width = static_cast<int>(h.width);
  const int height = static_cast<int>(h.height);
  const bool sixteen = h.depth == 16;
  const std::size_t rowBytes = h.depth == 1 ? pixel::PackedRowBytes(width, 1)
                                            : static_cast<std::size_t>(width) * (h.depth / 8u);
  ChannelRows rows(r, h, used, rowBytes);
  Bitmap bitmap(width, height);

  if (used == 1) {
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* in = rows.Next();
      std::uint8_t* out = bitmap.ScanLine(y);
      for (int x = 0; x < width; ++x, out += 3) {
        if (h.mode == kBitmap) {
          // A set bit is black.
          const std::uint8_t v = pixel::PackedSample(in, x, 1) ? 0 : 255;
          out[0] = out[1] = out[2] = v;
        } else if (h.mode == kIndexed) {
          pixel::Put(out, palette[in[x]]);
        } else {
          out[0] = out[1] = out[2] = Sample(in, x, sixteen);
        }
      }
    }
    return bitmap;
  }

  // Red (or cyan) goes to the third byte of each pixel, green (magenta) to the
  // second, blue (yellow) to the first.
  for (int channel = 0; channel < 3; ++channel) {
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* in = rows.Next();
      std::uint8_t* out = bitmap.ScanLine(y) + (2 - channel);
      for (int x = 0; x < width; ++x, out += 3) *out = Sample(in, x, sixteen);
    }
  }
  if (h.mode == kCmyk) {
    // Photoshop stores ink inverted (255 is no ink), so each stored value is
    // already the fraction of light the ink lets through; black scales all three.
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* in = rows.Next();
      std::uint8_t* out = bitmap.ScanLine(y);
      for (int x = 0; x < width; ++x, out += 3) {
        const std::uint8_t k = Sample(in, x, sixteen);
        out[0] = pixel::Mul255(out[0], k);
        out[1] = pixel::Mul255(out[1], k);
        out[2] = pixel::Mul255(out[2], k);
      }
    }
  }
  return bitmap;
}

}  // namespace kv
