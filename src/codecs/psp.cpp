// Paint Shop Pro decoder for files of application version 5 (file format 3) and
// later. The file is a signature, a version and a sequence of blocks; blocks
// hold an information chunk and sub-blocks. We read the General Image Attributes
// block (size, depth, compression), the palette, and then the picture from the
// Composite Image Bank when the file has one (format 4 and later), else from the
// bottom raster layer of the Layer Bank, placed on a canvas of the picture's size.
//
// Format 3 differs from the later ones in two ways that matter here: its block
// headers carry the length of the block's information chunk (later formats drop
// that field and start every chunk with its own length instead), and its layer
// information chunk has a fixed layout with a 256-byte name.
//
// Channel data is stored, run-length encoded (a count byte above 128 repeats the
// next byte count − 128 times, otherwise count bytes follow as they are) or
// deflated with zlib ("LZ77"). Rows of 1- and 4-bit pictures are padded to four
// bytes; rows of 8 bits and more are not. Colour channels are separate planes;
// the layer's transparency mask and opacity are composited onto
// kTransparencyBackground, as is everything outside the layer.

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "codecs/byte_reader.h"
#include "codecs/decoders.h"
#include "codecs/pixel_ops.h"

namespace kv {
namespace {

constexpr char kSignature[32] = "Paint Shop Pro Image File\n\x1a";  // zero-padded to 32
constexpr std::uint8_t kBlockMagic[4] = {'~', 'B', 'K', 0};

enum BlockId : std::uint16_t {
  kImageAttributesBlock = 0,
  kPaletteBlock = 2,
  kLayerBankBlock = 3,
  kLayerBlock = 4,
  kChannelBlock = 5,
  kCompositeImageBlock = 9,
  kCompositeBankBlock = 16,
  kCompositeAttributesBlock = 17,
  kJpegBlock = 18,
};

enum Compression : std::uint16_t { kStored = 0, kRle = 1, kLz77 = 2 };

enum BitmapType : std::uint16_t {
  kLayerImage = 0,
  kLayerTransparency = 1,
  kCompositeImage = 8,
  kCompositeTransparency = 9,
};

// Channel types: 0 is the single channel of a paletted or grey picture.
enum ChannelType : std::uint16_t { kIndexOrGrey = 0, kRed = 1, kGreen = 2, kBlue = 3 };

struct Span {
  std::size_t begin = 0;
  std::size_t end = 0;
};

struct Block {
  std::uint16_t id = 0;
  std::uint32_t chunkLength = 0;  // format 3 only: the information chunk's length
  Span data;
};

struct ImageAttributes {
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint16_t compression = 0;
  std::uint16_t depth = 0;
  bool grey = false;
};

// One picture to draw: the composite image or a layer, with its channels found.
struct Raster {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint16_t depth = 0;
  std::uint16_t compression = 0;
  std::uint8_t opacity = 255;
  const pixel::Palette* palette = nullptr;
  Span channels[4];  // indexed by ChannelType; an empty span is a missing channel
  Span transparency;
};

[[noreturn]] void Damaged(const std::string& what) { throw ImageError(what); }

bool Empty(const Span& s) { return s.begin == s.end; }

// 1, 4 and 8 bits are palette indices (8 may be grey), 16 grey, 24 and 48 red,
// green and blue of 8 or 16 bits each.
void CheckDepth(std::uint16_t depth) {
  if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 48)
    Damaged("unsupported bit depth " + std::to_string(depth));
}

class PspFile {
 public:
  PspFile(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  Bitmap Decode();

 private:
  // Walks the blocks in `span` one by one.
  class Blocks {
   public:
    Blocks(const PspFile& file, Span span) : file_(file), pos_(span.begin), end_(span.end) {}
    bool Next(Block& block);

   private:
    const PspFile& file_;
    std::size_t pos_;
    std::size_t end_;
  };

  [[nodiscard]] bool Format3() const noexcept { return major_ < 4; }
  ByteReader At(std::size_t begin, std::size_t end) const {
    return ByteReader(data_ + begin, end - begin);
  }
  Span InfoChunk(const Block& block) const;
  Span ChunkAt(std::size_t begin, std::size_t end) const;

  void ReadImageAttributes(const Block& block);
  void ReadPalette(const Block& block, pixel::Palette& palette) const;
  bool FindComposite(const Block& bank, Raster& raster);
  void ReadCompositeImage(const Block& block, Raster& raster);
  bool FindBottomLayer(const Block& bank, Raster& raster) const;
  void ReadChannels(Span span, Raster& raster, bool composite) const;
  void Draw(const Raster& raster, Bitmap& canvas) const;

  const std::uint8_t* data_;
  std::size_t size_;
  std::uint16_t major_ = 0;
  bool haveAttributes_ = false;
  ImageAttributes image_;
  bool havePalette_ = false;
  pixel::Palette palette_{};
  pixel::Palette compositePalette_{};
};

bool PspFile::Blocks::Next(Block& block) {
  if (pos_ == end_) return false;
  const std::size_t headerSize = file_.Format3() ? 14 : 10;
  if (end_ - pos_ < headerSize) Damaged("a block header is cut off");
  ByteReader r = file_.At(pos_, end_);
  if (std::memcmp(r.Take(4), kBlockMagic, 4) != 0) Damaged("a block header is damaged");
  block.id = r.U16LE();
  block.chunkLength = file_.Format3() ? r.U32LE() : 0;
  const std::uint32_t length = r.U32LE();
  if (length > r.Remaining()) Damaged("a block runs past the end of its container");
  block.data = {pos_ + headerSize, pos_ + headerSize + length};
  pos_ = block.data.end;
  return true;
}

// A chunk that starts with its own length (format 4 and later), within [begin, end).
Span PspFile::ChunkAt(std::size_t begin, std::size_t end) const {
  ByteReader r = At(begin, end);
  const std::uint32_t length = r.U32LE();
  if (length < 4 || length > end - begin) Damaged("a chunk length is damaged");
  return {begin, begin + length};
}

// The information chunk at the start of a block, its length included in format 4
// and later, and taken from the block header in format 3.
Span PspFile::InfoChunk(const Block& block) const {
  if (!Format3()) return ChunkAt(block.data.begin, block.data.end);
  if (block.chunkLength > block.data.end - block.data.begin) Damaged("a chunk length is damaged");
  return {block.data.begin, block.data.begin + block.chunkLength};
}

void PspFile::ReadImageAttributes(const Block& block) {
  const Span chunk = InfoChunk(block);
  ByteReader r = At(chunk.begin, chunk.end);
  if (!Format3()) r.Skip(4);
  image_.width = r.I32LE();
  image_.height = r.I32LE();
  r.Skip(9);  // resolution and its unit
  image_.compression = r.U16LE();
  image_.depth = r.U16LE();
  r.Skip(6);  // plane count and colour count
  image_.grey = r.U8() != 0;
  if (image_.compression > kLz77)
    Damaged("unsupported compression " + std::to_string(image_.compression));
  CheckDepth(image_.depth);
  if (image_.depth == 16 && !image_.grey) Damaged("unsupported bit depth 16");
  CheckImageSize(image_.width, image_.height);
  haveAttributes_ = true;
}

// Colours as blue, green, red and a spare byte each.
void PspFile::ReadPalette(const Block& block, pixel::Palette& palette) const {
  ByteReader r = At(block.data.begin, block.data.end);
  std::size_t entries = block.data.begin;
  if (!Format3()) {
    entries = ChunkAt(block.data.begin, block.data.end).end;
    r.Skip(4);
  }
  const std::uint32_t count = r.U32LE();
  if (Format3()) entries += 4;
  if (count > 256) Damaged("a palette of " + std::to_string(count) + " colours");
  ByteReader e = At(entries, block.data.end);
  palette = pixel::Palette{};
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint8_t* p = e.Take(4);
    palette[i] = MakeColour(p[2], p[1], p[0]);
  }
}

// The composite image of a Composite Image Bank: the attribute blocks describe
// the bank's pictures in the order their image blocks follow, and one of them is
// the full-size composite (the others are thumbnails, usually JPEG).
bool PspFile::FindComposite(const Block& bank, Raster& raster) {
  struct Attributes {
    std::int64_t width, height;
    std::uint16_t depth, compression, type;
  };
  std::vector<Attributes> attributes;
  std::size_t images = 0;
  Blocks blocks(*this, {InfoChunk(bank).end, bank.data.end});
  for (Block b; blocks.Next(b);) {
    if (b.id == kCompositeAttributesBlock) {
      const Span chunk = InfoChunk(b);
      ByteReader r = At(chunk.begin, chunk.end);
      r.Skip(4);
      Attributes a{};
      a.width = r.I32LE();
      a.height = r.I32LE();
      a.depth = r.U16LE();
      a.compression = r.U16LE();
      r.Skip(6);  // plane count and colour count
      a.type = r.U16LE();
      attributes.push_back(a);
    } else if (b.id == kCompositeImageBlock || b.id == kJpegBlock) {
      const std::size_t index = images++;
      if (b.id != kCompositeImageBlock || index >= attributes.size()) continue;
      const Attributes& a = attributes[index];
      if (a.type != 0 || a.compression > kLz77) continue;
      CheckImageSize(a.width, a.height);
      CheckDepth(a.depth);
      raster = Raster{};
      raster.width = a.width;
      raster.height = a.height;
      raster.depth = a.depth;
      raster.compression = a.compression;
      ReadCompositeImage(b, raster);
      return true;
    }
  }
  return false;
}

void PspFile::ReadCompositeImage(const Block& block, Raster& raster) {
  const Span chunk = InfoChunk(block);
  raster.palette = havePalette_ ? &palette_ : nullptr;
  Blocks blocks(*this, {chunk.end, block.data.end});
  for (Block b; blocks.Next(b);) {
    if (b.id == kPaletteBlock) {
      ReadPalette(b, compositePalette_);
      raster.palette = &compositePalette_;
    }
  }
  ReadChannels({chunk.end, block.data.end}, raster, true);
}

// The first raster layer with pixels; layers are stored bottom first. The Layer
// Bank block has no information chunk of its own, only layer blocks.
bool PspFile::FindBottomLayer(const Block& bank, Raster& raster) const {
  Blocks layers(*this, bank.data);
  for (Block layer; layers.Next(layer);) {
    if (layer.id != kLayerBlock) continue;
    const Span info = InfoChunk(layer);
    ByteReader r = At(info.begin, info.end);
    if (Format3()) {
      r.Skip(256);                // name
      if (r.U8() != 0) continue;  // 0 normal layer, 1 floating selection
    } else {
      r.Skip(4);
      r.Skip(r.U16LE());          // name
      if (r.U8() != 1) continue;  // 1 raster; then selections, vector, adjustment, group...
    }
    // Format 3 has the channel blocks right after the information chunk; later
    // formats first have a layer bitmap chunk, in later versions after an
    // extension block.
    std::size_t channels = info.end;
    if (!Format3()) {
      if (layer.data.end - channels >= 4 && std::memcmp(data_ + channels, kBlockMagic, 4) == 0) {
        Blocks extension(*this, {channels, layer.data.end});
        Block skipped;
        extension.Next(skipped);
        channels = skipped.data.end;
      }
      channels = ChunkAt(channels, layer.data.end).end;
    }
    std::int32_t rect[4], saved[4];
    for (auto& v : rect) v = r.I32LE();
    for (auto& v : saved) v = r.I32LE();
    raster = Raster{};
    // The saved rectangle holds the stored pixels, within the layer's rectangle.
    raster.left = std::int64_t{rect[0]} + saved[0];
    raster.top = std::int64_t{rect[1]} + saved[1];
    raster.width = std::int64_t{saved[2]} - saved[0];
    raster.height = std::int64_t{saved[3]} - saved[1];
    raster.opacity = r.U8();
    if (raster.width == 0 || raster.height == 0) continue;
    CheckImageSize(raster.width, raster.height);
    raster.depth = image_.depth;
    raster.compression = image_.compression;
    raster.palette = havePalette_ ? &palette_ : nullptr;
    ReadChannels({channels, layer.data.end}, raster, false);
    return true;
  }
  return false;
}

// Notes where each channel's data lies; other sub-blocks (masks, selections)
// are passed over.
void PspFile::ReadChannels(Span span, Raster& raster, bool composite) const {
  Blocks blocks(*this, span);
  for (Block b; blocks.Next(b);) {
    if (b.id != kChannelBlock) continue;
    const Span info = InfoChunk(b);
    ByteReader r = At(info.begin, info.end);
    if (!Format3()) r.Skip(4);
    const std::uint32_t compressedLength = r.U32LE();
    r.Skip(4);  // uncompressed length
    const std::uint16_t bitmapType = r.U16LE();
    const std::uint16_t channelType = r.U16LE();
    if (compressedLength > b.data.end - info.end) Damaged("channel data runs past its block");
    const Span channelData{info.end, info.end + compressedLength};
    const bool image = bitmapType == (composite ? kCompositeImage : kLayerImage);
    const bool mask = bitmapType == (composite ? kCompositeTransparency : kLayerTransparency);
    if (image && channelType <= kBlue)
      raster.channels[channelType] = channelData;
    else if (mask)
      raster.transparency = channelData;
  }
}

// Reads a channel's rows one after another from stored, RLE or deflated data.
class ChannelRows {
 public:
  ChannelRows(const std::uint8_t* data, std::size_t length, std::uint16_t compression,
              std::size_t rowBytes)
      : p_(data), end_(data + length), compression_(compression), row_(rowBytes) {
    if (compression_ != kLz77) return;
    zs_.next_in = const_cast<Bytef*>(data);  // zlib's input pointer is not const
    zs_.avail_in = static_cast<uInt>(length);
    if (inflateInit(&zs_) != Z_OK) Damaged("zlib could not start");
    zlibOpen_ = true;
  }
  ~ChannelRows() {
    if (zlibOpen_) inflateEnd(&zs_);
  }
  ChannelRows(const ChannelRows&) = delete;
  ChannelRows& operator=(const ChannelRows&) = delete;

  const std::uint8_t* Next() {
    switch (compression_) {
      case kStored: {
        if (static_cast<std::size_t>(end_ - p_) < row_.size())
          Damaged("the channel data is truncated");
        const std::uint8_t* row = p_;
        p_ += row_.size();
        return row;
      }
      case kRle:
        NextRle();
        return row_.data();
      default:
        NextLz77();
        return row_.data();
    }
  }

 private:
  // Runs carry on from one row into the next.
  void NextRle() {
    std::size_t done = 0;
    while (done < row_.size()) {
      if (pending_ > 0) {
        const std::size_t k = std::min(pending_, row_.size() - done);
        if (literal_) {
          std::memcpy(row_.data() + done, p_, k);
          p_ += k;
        } else {
          std::memset(row_.data() + done, value_, k);
        }
        done += k, pending_ -= k;
        continue;
      }
      if (p_ == end_) Damaged("truncated RLE data");
      const unsigned count = *p_++;
      literal_ = count <= 128;
      pending_ = literal_ ? count : count - 128;
      if (static_cast<std::size_t>(end_ - p_) < (literal_ ? pending_ : 1))
        Damaged("truncated RLE data");
      if (!literal_) value_ = *p_++;
    }
  }

  void NextLz77() {
    zs_.next_out = row_.data();
    zs_.avail_out = static_cast<uInt>(row_.size());
    while (zs_.avail_out > 0) {
      if (ended_) Damaged("truncated LZ77 data");
      const int status = inflate(&zs_, Z_NO_FLUSH);
      if (status == Z_STREAM_END) {
        ended_ = true;
      } else if (status == Z_BUF_ERROR) {
        Damaged("truncated LZ77 data");
      } else if (status != Z_OK) {
        Damaged("damaged LZ77 data");
      }
    }
  }

  const std::uint8_t* p_;
  const std::uint8_t* end_;
  std::uint16_t compression_;
  std::vector<std::uint8_t> row_;
  std::size_t pending_ = 0;
  bool literal_ = false;
  std::uint8_t value_ = 0;
  z_stream zs_{};
  bool zlibOpen_ = false;
  bool ended_ = false;
};

bool IsColour(const Raster& raster) { return raster.depth == 24 || raster.depth == 48; }

// Bytes of one stored row of a colour or index channel, or of the mask.
std::size_t RowBytes(const Raster& raster, bool mask) {
  const int depth = raster.depth;
  if (!mask && depth < 8) return (pixel::PackedRowBytes(raster.width, depth) + 3) & ~std::size_t{3};
  return static_cast<std::size_t>(raster.width) * (depth == 16 || depth == 48 ? 2 : 1);
}

// Every channel the picture needs is there, and no channel's data is too short
// to unpack to its rows: RLE gives at most 127 bytes for two, deflate at most
// 1032 for one. Checked before the canvas's memory is taken.
void CheckRaster(const Raster& raster) {
  auto check = [&](const Span& span, std::size_t rowBytes) {
    const std::uint64_t raw = static_cast<std::uint64_t>(rowBytes) * raster.height;
    const std::uint64_t length = span.end - span.begin;
    if (raster.compression == kStored && length < raw) Damaged("the channel data is truncated");
    if (raster.compression == kRle && length < (raw + 126) / 127 * 2) Damaged("truncated RLE data");
    if (raster.compression == kLz77 && length < raw / 1032) Damaged("truncated LZ77 data");
  };
  const int first = IsColour(raster) ? kRed : kIndexOrGrey;
  const int last = IsColour(raster) ? kBlue : kIndexOrGrey;
  for (int c = first; c <= last; ++c) {
    if (Empty(raster.channels[c]))
      Damaged(IsColour(raster) ? "a colour channel is missing"
                               : "the picture's channel is missing");
    check(raster.channels[c], RowBytes(raster, false));
  }
  if (!Empty(raster.transparency)) check(raster.transparency, RowBytes(raster, true));
}

void PspFile::Draw(const Raster& raster, Bitmap& canvas) const {
  const int depth = raster.depth;
  const bool wide = depth == 16 || depth == 48;  // two bytes (little-endian) a sample
  const bool colour = IsColour(raster);
  const bool grey = depth == 16 || (depth == 8 && image_.grey);
  pixel::Palette ramp{};
  const pixel::Palette* palette = raster.palette;
  if (!colour && (grey || !palette)) {
    ramp = pixel::GreyRamp(grey ? 8 : depth);
    palette = &ramp;
  }

  // The part of the raster that lies on the canvas.
  const int x0 = static_cast<int>(std::clamp<std::int64_t>(raster.left, 0, canvas.Width()));
  const int y0 = static_cast<int>(std::clamp<std::int64_t>(raster.top, 0, canvas.Height()));
  const int x1 =
      static_cast<int>(std::clamp<std::int64_t>(raster.left + raster.width, 0, canvas.Width()));
  const int y1 =
      static_cast<int>(std::clamp<std::int64_t>(raster.top + raster.height, 0, canvas.Height()));
  auto sampleAt = [&](const std::uint8_t* row, int x) -> std::uint8_t {
    return wide ? pixel::Narrow16(row[2 * x] | (row[2 * x + 1] << 8)) : row[x];
  };

  // Calls `put(row, x, out)` for every stored pixel that lands on the canvas.
  auto eachRow = [&](const Span& span, bool mask, auto put) {
    ChannelRows rows(data_ + span.begin, span.end - span.begin, raster.compression,
                     RowBytes(raster, mask));
    for (std::int64_t y = 0; y < raster.height; ++y) {
      const std::uint8_t* row = rows.Next();
      const std::int64_t cy = raster.top + y;
      if (cy < y0) continue;
      if (cy >= y1) break;
      std::uint8_t* out = canvas.ScanLine(static_cast<int>(cy)) + 3 * static_cast<std::size_t>(x0);
      for (int cx = x0; cx < x1; ++cx, out += 3) put(row, static_cast<int>(cx - raster.left), out);
    }
  };

  if (colour) {
    for (int c = kRed; c <= kBlue; ++c) {
      const int slot = kBlue - c;  // red is the third byte of a pixel, blue the first
      eachRow(raster.channels[c], false, [&](const std::uint8_t* row, int x, std::uint8_t* out) {
        out[slot] = sampleAt(row, x);
      });
    }
  } else {
    eachRow(raster.channels[kIndexOrGrey], false,
            [&](const std::uint8_t* row, int x, std::uint8_t* out) {
              const unsigned index =
                  depth < 8 ? pixel::PackedSample(row, x, depth) : sampleAt(row, x);
              pixel::Put(out, (*palette)[index]);
            });
  }

  if (!Empty(raster.transparency)) {
    eachRow(raster.transparency, true, [&](const std::uint8_t* row, int x, std::uint8_t* out) {
      pixel::BlendOverBackground(out, pixel::Mul255(sampleAt(row, x), raster.opacity));
    });
  } else if (raster.opacity < 255) {
    for (int y = y0; y < y1; ++y) {
      std::uint8_t* out = canvas.ScanLine(y) + 3 * static_cast<std::size_t>(x0);
      for (int x = x0; x < x1; ++x, out += 3) pixel::BlendOverBackground(out, raster.opacity);
    }
  }
}

Bitmap PspFile::Decode() {
  if (size_ < 36 || std::memcmp(data_, kSignature, sizeof kSignature) != 0)
    Damaged("not a Paint Shop Pro file");
  ByteReader header(data_ + 32, 4);
  major_ = header.U16LE();
  if (major_ < 3) Damaged("unsupported Paint Shop Pro file version " + std::to_string(major_));

  Block layerBank, compositeBank;
  bool haveLayers = false, haveComposite = false;
  Blocks blocks(*this, {36, size_});
  for (Block b; blocks.Next(b);) {
    switch (b.id) {
      case kImageAttributesBlock:
        ReadImageAttributes(b);
        break;
      case kPaletteBlock:
        ReadPalette(b, palette_);
        havePalette_ = true;
        break;
      case kLayerBankBlock:
        layerBank = b;
        haveLayers = true;
        break;
      case kCompositeBankBlock:
        compositeBank = b;
        haveComposite = !Format3();
        break;
      default:
        break;
    }
  }
  if (!haveAttributes_) Damaged("the General Image Attributes block is missing");

  Raster raster;
  if (!(haveComposite && FindComposite(compositeBank, raster)) &&
      !(haveLayers && FindBottomLayer(layerBank, raster)))
    Damaged("the file holds neither a composite image nor a raster layer");
  CheckRaster(raster);
  Bitmap canvas(static_cast<int>(image_.width), static_cast<int>(image_.height));
  canvas.Fill(kTransparencyBackground);
  Draw(raster, canvas);
  return canvas;
}

}  // namespace

Bitmap DecodePsp(const std::uint8_t* data, std::size_t size) {
  return PspFile(data, size).Decode();
}

}  // namespace kv
