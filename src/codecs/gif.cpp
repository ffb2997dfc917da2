// GIF through giflib. The picture is the logical screen with the first frame
// drawn at its offset; later frames of an animation are not read.
//
// Colours where nothing is drawn:
// - transparent pixels of the frame (the transparent index of the graphic
//   control extension before it) show kTransparencyBackground;
// - the screen outside the frame shows the file's background colour when its
//   index lies in the global colour table (and is not the transparent index),
//   else kTransparencyBackground.
// A frame reaching past the logical screen, or a screen of size 0, makes the
// picture large enough for the whole frame, so no decoded pixel is cut away.
#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "codecs/decoders.h"

namespace kv {
namespace {

struct Source {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t pos;
};

int ReadGif(GifFileType* gif, GifByteType* out, int count) {
  auto* src = static_cast<Source*>(gif->UserData);
  if (count <= 0) return 0;
  const std::size_t n = std::min(static_cast<std::size_t>(count), src->size - src->pos);
  std::memcpy(out, src->data + src->pos, n);
  src->pos += n;
  return static_cast<int>(n);
}

std::string Reason(int code) {
  const char* text = GifErrorString(code);
  return text ? text : "damaged data";
}

class GifReader {
 public:
  GifReader(const std::uint8_t* data, std::size_t size) : source_{data, size, 0} {
    int error = 0;
    gif_ = DGifOpen(&source_, ReadGif, &error);
    if (!gif_) throw ImageError(error == D_GIF_ERR_NOT_GIF_FILE ? "not a GIF file" : Reason(error));
  }
  GifReader(const GifReader&) = delete;
  GifReader& operator=(const GifReader&) = delete;
  ~GifReader() {
    int error = 0;
    DGifCloseFile(gif_, &error);
  }

  GifFileType* get() const noexcept { return gif_; }
  // Raises the library's last error as ImageError.
  [[noreturn]] void Fail() const {
    const int code = gif_->Error;
    throw ImageError(code == D_GIF_ERR_READ_FAILED ? "the file ends early" : Reason(code));
  }

 private:
  Source source_;
  GifFileType* gif_ = nullptr;
};

// Rows of an interlaced frame arrive in four passes: every 8th row from 0,
// every 8th from 4, every 4th from 2, every 2nd from 1.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> order;
  order.reserve(static_cast<std::size_t>(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) order.push_back(y);
    return order;
  }
  constexpr int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = start[pass]; y < height; y += step[pass]) order.push_back(y);
  return order;
}

}  // namespace

Bitmap DecodeGif(const std::uint8_t* data, std::size_t size) {
  GifReader reader(data, size);
  GifFileType* gif = reader.get();
  int transparent = NO_TRANSPARENT_COLOR;

  // Extensions up to the first frame; each record consumes input, and a read
  // past the end fails, so the loop ends with the data.
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR) reader.Fail();
    if (type == TERMINATE_RECORD_TYPE) throw ImageError("the file holds no picture");
    if (type == IMAGE_DESC_RECORD_TYPE) break;
    if (type != EXTENSION_RECORD_TYPE) throw ImageError("unknown record in the file");
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) reader.Fail();
    if (code == GRAPHICS_EXT_FUNC_CODE && block) {
      GraphicsControlBlock gcb{};
      if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK)
        transparent = gcb.TransparentColor;
    }
    while (block)
      if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) reader.Fail();
  }
  if (DGifGetImageDesc(gif) == GIF_ERROR) reader.Fail();

  const GifImageDesc& frame = gif->Image;
  const std::int64_t left = frame.Left, top = frame.Top;
  const std::int64_t frameW = frame.Width, frameH = frame.Height;
  std::int64_t width = gif->SWidth, height = gif->SHeight;
  if (width == 0 || height == 0) width = height = 0;
  width = std::max(width, left + frameW);
  height = std::max(height, top + frameH);
  CheckImageSize(width, height);

  const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
  if (!map) throw ImageError("the file has no colour table");
  // Indices past the table's end give black.
  std::array<std::uint8_t, 256 * 3> palette{};
  for (int i = 0; i < map->ColorCount && i < 256; ++i) {
    palette[3 * i] = map->Colors[i].Blue;
    palette[3 * i + 1] = map->Colors[i].Green;
    palette[3 * i + 2] = map->Colors[i].Red;
  }
  Colour background = kTransparencyBackground;
  const int bgIndex = gif->SBackGroundColor;
  if (gif->SColorMap && bgIndex < gif->SColorMap->ColorCount && bgIndex != transparent) {
    const GifColorType& c = gif->SColorMap->Colors[bgIndex];
    background = MakeColour(c.Red, c.Green, c.Blue);
  }

  Bitmap out(static_cast<int>(width), static_cast<int>(height));
  out.Fill(background);
  if (frameW > 0 && frameH > 0) {
    std::vector<GifPixelType> line(static_cast<std::size_t>(frameW));
    const std::uint8_t clear[3] = {BlueOf(kTransparencyBackground),
                                   GreenOf(kTransparencyBackground),
                                   RedOf(kTransparencyBackground)};
    for (int row : RowOrder(static_cast<int>(frameH), frame.Interlace)) {
      if (DGifGetLine(gif, line.data(), static_cast<int>(frameW)) == GIF_ERROR) reader.Fail();
      std::uint8_t* dst = out.ScanLine(static_cast<int>(top) + row) + 3 * left;
      for (std::int64_t x = 0; x < frameW; ++x, dst += 3) {
        const int index = line[static_cast<std::size_t>(x)];
        std::memcpy(dst, index == transparent ? clear : &palette[3 * index], 3);
      }
    }
  }
  return out;
}

}  // namespace kv
