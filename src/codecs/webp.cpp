// WebP through libwebp: lossy and lossless stills, with or without alpha, and
// the first frame of an animation as the animation shows it (composed on its
// canvas). Transparency is laid on kTransparencyBackground as for PNG. An Exif
// chunk's orientation turns the picture upright.
#include <webp/decode.h>
#include <webp/demux.h>

#include <memory>
#include <vector>

#include "codecs/decoders.h"
#include "codecs/exif_orientation.h"
#include "codecs/pixel_ops.h"

namespace kv {
namespace {

const char* StatusText(VP8StatusCode status) {
  switch (status) {
    case VP8_STATUS_OUT_OF_MEMORY:
      return "not enough memory to decode the picture";
    case VP8_STATUS_NOT_ENOUGH_DATA:
      return "the file ends early";
    case VP8_STATUS_UNSUPPORTED_FEATURE:
      return "the file uses a WebP feature that is not supported";
    default:
      return "damaged WebP data";
  }
}

// `count` pixels of blue, green, red, alpha laid on the background into a
// bitmap row.
void PutBgraRow(std::uint8_t* dst, const std::uint8_t* bgra, int count) noexcept {
  for (int x = 0; x < count; ++x, dst += 3, bgra += 4) {
    dst[0] = bgra[0];
    dst[1] = bgra[1];
    dst[2] = bgra[2];
    pixel::BlendOverBackground(dst, bgra[3]);
  }
}

struct DemuxDeleter {
  void operator()(WebPDemuxer* d) const noexcept { WebPDemuxDelete(d); }
};
struct AnimDecoderDeleter {
  void operator()(WebPAnimDecoder* d) const noexcept { WebPAnimDecoderDelete(d); }
};

// The orientation in the file's Exif chunk, 0 without one. Writers store the
// chunk either as a bare TIFF block or with the "Exif\0\0" header of JPEG's APP1.
int WebpOrientation(const std::uint8_t* data, std::size_t size) {
  const WebPData whole{data, size};
  const std::unique_ptr<WebPDemuxer, DemuxDeleter> demux(WebPDemux(&whole));
  if (!demux || !(WebPDemuxGetI(demux.get(), WEBP_FF_FORMAT_FLAGS) & EXIF_FLAG)) return 0;
  WebPChunkIterator chunk;
  if (!WebPDemuxGetChunk(demux.get(), "EXIF", 1, &chunk)) return 0;
  const int orientation = ExifBlockOrientation(chunk.chunk.bytes, chunk.chunk.size);
  WebPDemuxReleaseChunkIterator(&chunk);
  return orientation;
}

Bitmap DecodeStill(const std::uint8_t* data, std::size_t size, const WebPBitstreamFeatures& f) {
  WebPDecoderConfig config;
  if (!WebPInitDecoderConfig(&config)) throw ImageError("the WebP library does not match");
  Bitmap out(f.width, f.height);
  std::vector<std::uint8_t> bgra;
  // Lossy pictures are filtered in a second thread while the next rows decode.
  config.options.use_threads = 1;
  WebPDecBuffer& buffer = config.output;
  buffer.is_external_memory = 1;
  if (f.has_alpha) {
    bgra.resize(static_cast<std::size_t>(f.width) * static_cast<std::size_t>(f.height) * 4);
    buffer.colorspace = MODE_BGRA;
    buffer.u.RGBA.rgba = bgra.data();
    buffer.u.RGBA.stride = f.width * 4;
    buffer.u.RGBA.size = bgra.size();
  } else {
    // Straight into the bitmap: flipped, since its rows are stored bottom-up.
    buffer.colorspace = MODE_BGR;
    buffer.u.RGBA.rgba = out.Bits();
    buffer.u.RGBA.stride = static_cast<int>(out.Stride());
    buffer.u.RGBA.size = out.SizeBytes();
    config.options.flip = 1;
  }
  const VP8StatusCode status = WebPDecode(data, size, &config);
  WebPFreeDecBuffer(&buffer);  // nothing of ours is freed: the memory is external
  if (status != VP8_STATUS_OK) throw ImageError(StatusText(status));
  if (f.has_alpha)
    for (int y = 0; y < f.height; ++y)
      PutBgraRow(out.ScanLine(y), bgra.data() + static_cast<std::size_t>(y) * f.width * 4, f.width);
  return out;
}

Bitmap DecodeFirstFrame(const std::uint8_t* data, std::size_t size) {
  WebPAnimDecoderOptions options;
  if (!WebPAnimDecoderOptionsInit(&options)) throw ImageError("the WebP library does not match");
  options.color_mode = MODE_BGRA;
  options.use_threads = 0;
  const WebPData whole{data, size};
  const std::unique_ptr<WebPAnimDecoder, AnimDecoderDeleter> decoder(
      WebPAnimDecoderNew(&whole, &options));
  if (!decoder) throw ImageError("damaged WebP animation");
  WebPAnimInfo info;
  if (!WebPAnimDecoderGetInfo(decoder.get(), &info)) throw ImageError("damaged WebP animation");
  CheckImageSize(info.canvas_width, info.canvas_height);
  std::uint8_t* canvas = nullptr;
  int timestamp = 0;
  if (!WebPAnimDecoderGetNext(decoder.get(), &canvas, &timestamp) || !canvas)
    throw ImageError("the first frame of the WebP animation cannot be decoded");
  const int w = static_cast<int>(info.canvas_width), h = static_cast<int>(info.canvas_height);
  Bitmap out(w, h);
  for (int y = 0; y < h; ++y)
    PutBgraRow(out.ScanLine(y), canvas + static_cast<std::size_t>(y) * w * 4, w);
  return out;
}

}  // namespace

Bitmap DecodeWebp(const std::uint8_t* data, std::size_t size) {
  WebPBitstreamFeatures features;
  const VP8StatusCode status = WebPGetFeatures(data, size, &features);
  if (status == VP8_STATUS_BITSTREAM_ERROR) throw ImageError("not a WebP file");
  if (status != VP8_STATUS_OK) throw ImageError(StatusText(status));
  // For an animation these are the canvas's sides.
  CheckImageSize(features.width, features.height);
  Bitmap picture =
      features.has_animation ? DecodeFirstFrame(data, size) : DecodeStill(data, size, features);
  return ApplyOrientation(std::move(picture), WebpOrientation(data, size));
}

}  // namespace kv
