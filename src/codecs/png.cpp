// PNG through libpng: every colour type and bit depth, interlaced or not, with
// transparency (an alpha channel or a tRNS chunk) laid on
// kTransparencyBackground. Sixteen-bit samples are scaled to 8 bits with
// rounding. A stated gamma is corrected for the screen (see kScreenGamma).
// Errors long-jump out of the library (see longjmp_guard.h).
#include <png.h>

#include <cstring>
#include <string>
#include <vector>

#include "codecs/decoders.h"
#include "codecs/longjmp_guard.h"

namespace kv {
namespace {

// Ancillary chunks (text, profiles) held in memory at once; the pixels do not
// count against this.
constexpr png_alloc_size_t kMaxChunkMemory = 8u * 1024 * 1024;

// The gamma of the screen the pictures are shown on, 2.2 in libpng's fixed
// point. The colour samples of a file with a gAMA chunk are corrected from the
// file's gamma to this one; libpng leaves them untouched when the two nearly
// cancel (a file gamma within its threshold of 1 / 2.2), so the usual files
// decode as they are stored. Alpha is linear and is not corrected.
constexpr png_fixed_point kScreenGamma = 220000;

struct ErrorState {
  std::jmp_buf jump;
  char message[200];
};

struct Source {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t pos;
};

void OnError(png_structp png, png_const_charp text) {
  auto* state = static_cast<ErrorState*>(png_get_error_ptr(png));
  std::snprintf(state->message, sizeof state->message, "%s", text ? text : "damaged data");
  std::longjmp(state->jump, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// `width` pixels of red, green, blue, alpha laid on the background as blue,
// green, red.
void PutRgbaRow(std::uint8_t* dst, const std::uint8_t* rgba, png_uint_32 width) noexcept {
  constexpr std::uint8_t backR = RedOf(kTransparencyBackground);
  constexpr std::uint8_t backG = GreenOf(kTransparencyBackground);
  constexpr std::uint8_t backB = BlueOf(kTransparencyBackground);
  for (png_uint_32 x = 0; x < width; ++x, dst += 3, rgba += 4) {
    const std::uint8_t a = rgba[3];
    dst[0] = BlendOver(rgba[2], a, backB);
    dst[1] = BlendOver(rgba[1], a, backG);
    dst[2] = BlendOver(rgba[0], a, backR);
  }
}

void ReadData(png_structp png, png_bytep out, png_size_t count) {
  auto* src = static_cast<Source*>(png_get_io_ptr(png));
  if (count > src->size - src->pos) png_error(png, "the file ends early");
  std::memcpy(out, src->data + src->pos, count);
  src->pos += count;
}

class PngReader {
 public:
  PngReader() {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state_, OnError, OnWarning);
    if (png_) info_ = png_create_info_struct(png_);
    if (!png_ || !info_) {
      png_destroy_read_struct(png_ ? &png_ : nullptr, nullptr, nullptr);
      throw ImageError("out of memory");
    }
  }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;
  ~PngReader() { png_destroy_read_struct(&png_, &info_, nullptr); }

  png_structp png() const noexcept { return png_; }
  png_infop info() const noexcept { return info_; }

  template <typename Step>
  void Run(Step&& step) {
    if (!Guarded(state_.jump, std::forward<Step>(step))) throw ImageError(state_.message);
  }

 private:
  ErrorState state_{};
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

}  // namespace

Bitmap DecodePng(const std::uint8_t* data, std::size_t size) {
  if (size < 8 || png_sig_cmp(data, 0, 8) != 0) throw ImageError("not a PNG file");
  PngReader reader;
  png_structp png = reader.png();
  png_infop info = reader.info();
  Source source{data, size, 0};
  png_uint_32 width = 0, height = 0;
  int depth = 0, colourType = 0, interlace = 0;
  reader.Run([&] {
    png_set_read_fn(png, &source, ReadData);
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_set_chunk_malloc_max(png, kMaxChunkMemory);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    // Let mutated data past the checksums.
    png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
    png_read_info(png, info);
    png_get_IHDR(png, info, &width, &height, &depth, &colourType, &interlace, nullptr, nullptr);
  });
  CheckImageSize(width, height);

  bool alpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0;
  reader.Run([&] {
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) {
      png_set_tRNS_to_alpha(png);
      alpha = true;
    }
    if (depth == 16) png_set_scale_16(png);
    // An sRGB or iCCP chunk describes the colours better than gAMA does; such a
    // file is shown as it is stored.
    png_fixed_point fileGamma = 0;
    if (!png_get_valid(png, info, PNG_INFO_sRGB) && !png_get_valid(png, info, PNG_INFO_iCCP) &&
        png_get_gAMA_fixed(png, info, &fileGamma))
      png_set_gamma_fixed(png, kScreenGamma, fileGamma);
    if (!(colourType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
    // Without alpha the rows go straight into the bitmap, so blue first.
    if (!alpha) png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
  });
  const std::size_t channels = alpha ? 4 : 3;
  if (png_get_rowbytes(png, info) != channels * width)
    throw ImageError("unexpected row layout after conversion");

  Bitmap out(static_cast<int>(width), static_cast<int>(height));
  const bool interlaced = interlace != PNG_INTERLACE_NONE;
  if (!alpha) {
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = out.ScanLine(static_cast<int>(y));
    reader.Run([&] { png_read_image(png, rows.data()); });
  } else if (!interlaced) {
    std::vector<std::uint8_t> row(channels * width);
    for (png_uint_32 y = 0; y < height; ++y) {
      reader.Run([&] { png_read_row(png, row.data(), nullptr); });
      PutRgbaRow(out.ScanLine(static_cast<int>(y)), row.data(), width);
    }
  } else {
    // Interlaced passes fill rows piecemeal, so the whole picture is kept.
    std::vector<std::uint8_t> pixels(channels * width * height);
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels.data() + channels * width * y;
    reader.Run([&] { png_read_image(png, rows.data()); });
    for (png_uint_32 y = 0; y < height; ++y)
      PutRgbaRow(out.ScanLine(static_cast<int>(y)), rows[y], width);
  }
  // The end chunk is not needed: every row has been read.
  return out;
}

}  // namespace kv
