// TIFF through libtiff, read from memory: the first picture of the file, in
// strips or tiles, with any compression libtiff knows (none, LZW, Deflate,
// PackBits, JPEG, CCITT, ...) and the colour forms its RGBA reader handles:
// bilevel, grey, palette, RGB, RGBA, 16 bits per sample, CMYK, YCbCr, CIE Lab.
// libtiff's messages never reach the console: the first error becomes the
// ImageError, warnings are dropped.
#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "codecs/decoders.h"
#include "codecs/exif_orientation.h"

namespace kv {
namespace {

// The largest block libtiff may allocate at once (a strip or tile of decoded
// samples); our own pixel memory is limited by CheckImageSize.
constexpr tmsize_t kMaxLibraryBlock = 768 * 1024 * 1024;

struct MemoryFile {
  const std::uint8_t* data;
  std::uint64_t size;
  std::uint64_t pos;
  std::string error;  // the first error libtiff reported
};

tmsize_t Read(thandle_t handle, void* out, tmsize_t count) {
  auto* f = static_cast<MemoryFile*>(handle);
  if (count <= 0 || f->pos >= f->size) return 0;
  const std::uint64_t n =
      std::min<std::uint64_t>(static_cast<std::uint64_t>(count), f->size - f->pos);
  std::memcpy(out, f->data + f->pos, static_cast<std::size_t>(n));
  f->pos += n;
  return static_cast<tmsize_t>(n);
}

tmsize_t Write(thandle_t, void*, tmsize_t) { return 0; }

toff_t Seek(thandle_t handle, toff_t offset, int whence) {
  auto* f = static_cast<MemoryFile*>(handle);
  std::uint64_t base = 0;
  if (whence == SEEK_CUR)
    base = f->pos;
  else if (whence == SEEK_END)
    base = f->size;
  else if (whence != SEEK_SET)
    return static_cast<toff_t>(-1);
  // Offsets are unsigned; positions past the end are allowed (reads there get
  // nothing), wrapping round is not.
  if (offset > UINT64_MAX - base) return static_cast<toff_t>(-1);
  f->pos = base + offset;
  return f->pos;
}

int Close(thandle_t) { return 0; }
toff_t Size(thandle_t handle) { return static_cast<MemoryFile*>(handle)->size; }

// The file is already in memory: libtiff reads strips straight from it.
int Map(thandle_t handle, void** base, toff_t* size) {
  auto* f = static_cast<MemoryFile*>(handle);
  *base = const_cast<std::uint8_t*>(f->data);
  *size = f->size;
  return 1;
}

void Unmap(thandle_t, void*, toff_t) {}

int OnError(TIFF*, void* user, const char* module, const char* format, va_list args) {
  auto* f = static_cast<MemoryFile*>(user);
  if (f->error.empty()) {
    char text[256];
    std::vsnprintf(text, sizeof text, format, args);
    f->error = text;
    if (module && *module) f->error = std::string(module) + ": " + f->error;
  }
  return 1;  // handled: libtiff's own handlers stay silent
}

int OnWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// Messages libtiff sends without a file go nowhere either.
void SilenceGlobalHandlers() {
  static const bool silenced = [] {
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
    return true;
  }();
  (void)silenced;
}

class TiffFile {
 public:
  explicit TiffFile(MemoryFile& file) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) throw ImageError("out of memory");
    TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, &file);
    TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, &file);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxLibraryBlock);
    tif_ = TIFFClientOpenExt("picture", "r", &file, Read, Write, Seek, Close, Size, Map, Unmap,
                             options);
    TIFFOpenOptionsFree(options);
    if (!tif_) throw ImageError(file.error.empty() ? "not a TIFF file" : file.error);
  }
  TiffFile(const TiffFile&) = delete;
  TiffFile& operator=(const TiffFile&) = delete;
  ~TiffFile() { TIFFClose(tif_); }
  TIFF* get() const noexcept { return tif_; }

 private:
  TIFF* tif_ = nullptr;
};

class RgbaImage {
 public:
  RgbaImage(TIFF* tif, MemoryFile& file) {
    char reason[1024] = "";
    if (!TIFFRGBAImageOK(tif, reason) || !TIFFRGBAImageBegin(&image_, tif, 1, reason))
      throw ImageError(reason[0] ? reason : file.error.empty() ? "unsupported TIFF" : file.error);
  }
  RgbaImage(const RgbaImage&) = delete;
  RgbaImage& operator=(const RgbaImage&) = delete;
  ~RgbaImage() { TIFFRGBAImageEnd(&image_); }
  TIFFRGBAImage& get() noexcept { return image_; }

 private:
  TIFFRGBAImage image_{};
};

// The reader's pixels carry premultiplied alpha (R, G, B, A from the low byte
// up), so laying them on the background adds the background's share.
void PremultipliedRow(const std::uint32_t* in, std::uint8_t* out, std::uint32_t width) {
  constexpr unsigned backB = BlueOf(kTransparencyBackground);
  constexpr unsigned backG = GreenOf(kTransparencyBackground);
  constexpr unsigned backR = RedOf(kTransparencyBackground);
  for (std::uint32_t x = 0; x < width; ++x, out += 3) {
    const std::uint32_t p = in[x];
    const unsigned rest = 255 - TIFFGetA(p);
    out[0] = static_cast<std::uint8_t>(std::min(255u, TIFFGetB(p) + (backB * rest + 127) / 255));
    out[1] = static_cast<std::uint8_t>(std::min(255u, TIFFGetG(p) + (backG * rest + 127) / 255));
    out[2] = static_cast<std::uint8_t>(std::min(255u, TIFFGetR(p) + (backR * rest + 127) / 255));
  }
}

}  // namespace

Bitmap DecodeTiff(const std::uint8_t* data, std::size_t size) {
  SilenceGlobalHandlers();
  MemoryFile file{data, size, 0, {}};
  TiffFile tiff(file);
  TIFF* tif = tiff.get();
  std::uint32_t width = 0, height = 0;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
  CheckImageSize(width, height);

  RgbaImage rgba(tif, file);
  TIFFRGBAImage& image = rgba.get();
  // The library flips pictures stored mirrored or upside down (orientations 2
  // to 4) itself, but reads the transposed ones (5 to 8) as if they were 1 to 4.
  // Those are asked for exactly as stored and then turned upright here; the
  // orientation numbers mean the same as a camera's.
  const int orientation = image.orientation;
  const bool transposed = OrientationSwapsSides(orientation);
  image.req_orientation =
      static_cast<std::uint16_t>(transposed ? orientation - 4 : ORIENTATION_TOPLEFT);
  // Blocks of whole strips or tiles, so none is decoded twice. Pictures stored
  // in another orientation are read in one block, which the library flips.
  std::uint32_t block = height;
  if (image.orientation == ORIENTATION_TOPLEFT) {
    std::uint32_t rows = 0;
    if (TIFFIsTiled(tif) ? TIFFGetField(tif, TIFFTAG_TILELENGTH, &rows)
                         : TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rows))
      block = std::clamp<std::uint32_t>(rows, 1, height);
  }
  std::vector<std::uint32_t> raster(static_cast<std::size_t>(width) * block);
  Bitmap out(static_cast<int>(width), static_cast<int>(height));
  for (std::uint32_t row = 0; row < height; row += block) {
    const std::uint32_t count = std::min(block, height - row);
    image.row_offset = static_cast<int>(row);
    image.col_offset = 0;
    if (!TIFFRGBAImageGet(&image, raster.data(), width, count))
      throw ImageError(file.error.empty() ? "the picture data is damaged" : file.error);
    for (std::uint32_t r = 0; r < count; ++r)
      PremultipliedRow(raster.data() + static_cast<std::size_t>(r) * width,
                       out.ScanLine(static_cast<int>(row + r)), width);
  }
  return transposed ? ApplyOrientation(std::move(out), orientation) : out;
}

}  // namespace kv
