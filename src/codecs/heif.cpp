// HEIF pictures through libheif: HEIC (HEVC, decoded by libde265) and AVIF (AV1,
// decoded by dav1d). Of a collection the primary picture is shown, turned and
// mirrored as the file says (its rotation and mirroring properties, which win
// over any Exif orientation inside). Samples of more than 8 bits are reduced to
// 8 with rounding; transparency is laid on kTransparencyBackground as for PNG.
#include <libheif/heif.h>

#include <memory>

#include "codecs/decoders.h"
#include "codecs/pixel_ops.h"

namespace kv {
namespace {

struct ContextDeleter {
  void operator()(heif_context* c) const noexcept { heif_context_free(c); }
};
struct HandleDeleter {
  void operator()(heif_image_handle* h) const noexcept { heif_image_handle_release(h); }
};
struct ImageDeleter {
  void operator()(heif_image* i) const noexcept { heif_image_release(i); }
};

void Check(const heif_error& error) {
  if (error.code == heif_error_Ok) return;
  if (error.code == heif_error_Memory_allocation_error)
    throw ImageError("not enough memory to decode the picture");
  throw ImageError(error.message && *error.message ? error.message : "damaged HEIF data");
}

// One sample of `bits` (9 to 16) stored in two little-endian bytes, reduced to
// 8 bits.
std::uint8_t Sample16(const std::uint8_t* p, int bits) noexcept {
  return pixel::NarrowBits(static_cast<unsigned>(p[0] | (p[1] << 8)), bits);
}

// Lays a pixel that carries `alpha` on the background. Premultiplied colours
// already hold colour × alpha, so only the background's share is added.
void Composite(std::uint8_t* bgr, std::uint8_t alpha, bool premultiplied) noexcept {
  if (!premultiplied) {
    pixel::BlendOverBackground(bgr, alpha);
    return;
  }
  const Colour back = kTransparencyBackground;
  const std::uint8_t share[3] = {pixel::Mul255(BlueOf(back), 255u - alpha),
                                 pixel::Mul255(GreenOf(back), 255u - alpha),
                                 pixel::Mul255(RedOf(back), 255u - alpha)};
  for (int i = 0; i < 3; ++i) {
    const unsigned v = bgr[i] + share[i];
    bgr[i] = static_cast<std::uint8_t>(v > 255u ? 255u : v);
  }
}

}  // namespace

Bitmap DecodeHeif(const std::uint8_t* data, std::size_t size) {
  // The brand in the 'ftyp' box says whether libheif can read the file at all.
  constexpr std::size_t kProbe = 64;
  if (size < 12 || heif_check_filetype(data, static_cast<int>(size < kProbe ? size : kProbe)) ==
                       heif_filetype_no)
    throw ImageError("not a HEIF or AVIF file");
  const std::unique_ptr<heif_context, ContextDeleter> context(heif_context_alloc());
  if (!context) throw ImageError("not enough memory to decode the picture");
  heif_context_set_maximum_image_size_limit(context.get(), kMaxImageSide);
  // The tiles of a grid picture (as phones store photos) decode side by side in
  // libheif's own threads, as many as it starts by default.
  Check(heif_context_read_from_memory_without_copy(context.get(), data, size, nullptr));

  heif_image_handle* rawHandle = nullptr;
  Check(heif_context_get_primary_image_handle(context.get(), &rawHandle));
  const std::unique_ptr<heif_image_handle, HandleDeleter> handle(rawHandle);
  // The sides before decoding: no pixel memory is taken for a picture too large.
  CheckImageSize(heif_image_handle_get_width(handle.get()),
                 heif_image_handle_get_height(handle.get()));
  const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
  const bool deep = heif_image_handle_get_luma_bits_per_pixel(handle.get()) > 8;
  const heif_chroma chroma =
      deep ? (alpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE)
           : (alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB);
  heif_image* rawImage = nullptr;
  Check(heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB, chroma, nullptr));
  const std::unique_ptr<heif_image, ImageDeleter> image(rawImage);

  const int width = heif_image_get_primary_width(image.get());
  const int height = heif_image_get_primary_height(image.get());
  CheckImageSize(width, height);
  int stride = 0;
  const std::uint8_t* plane =
      heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
  const int bits = heif_image_get_bits_per_pixel_range(image.get(), heif_channel_interleaved);
  const std::size_t channels = alpha ? 4 : 3;
  const std::size_t sampleBytes = deep ? 2 : 1;
  if (!plane || bits < 1 || bits > 16 || (bits > 8) != deep || stride < 0 ||
      static_cast<std::size_t>(stride) < channels * sampleBytes * static_cast<std::size_t>(width))
    throw ImageError("unexpected pixel layout after decoding");
  const bool premultiplied = alpha && heif_image_is_premultiplied_alpha(image.get()) != 0;

  Bitmap out(width, height);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* src =
        plane + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
    std::uint8_t* dst = out.ScanLine(y);
    if (!alpha && !deep) {
      // The common case (a photo), in a loop the compiler keeps simple.
      for (int x = 0; x < width; ++x, dst += 3, src += 3) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
      }
      continue;
    }
    for (int x = 0; x < width; ++x, dst += 3, src += channels * sampleBytes) {
      std::uint8_t rgba[4] = {0, 0, 0, 255};
      for (std::size_t c = 0; c < channels; ++c)
        rgba[c] = deep ? Sample16(src + 2 * c, bits) : src[c];
      dst[0] = rgba[2];
      dst[1] = rgba[1];
      dst[2] = rgba[0];
      if (alpha && rgba[3] != 255) Composite(dst, rgba[3], premultiplied);
    }
  }
  return out;
}

}  // namespace kv
