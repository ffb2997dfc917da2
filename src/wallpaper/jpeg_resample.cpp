#include "wallpaper/jpeg_resample.h"

#include <thread>

#include "codecs/image_error.h"
#include "wallpaper/row_hand_off.h"

namespace kv {

Bitmap ResampleJpeg(JpegRowReader& jpeg, int newWidth, int newHeight, ResampleFilter kind,
                    float support, int threads) {
  const int width = jpeg.Width(), height = jpeg.Height();
  const bool ownThread =
      threads > 1 || (threads <= kAutoThreads && std::thread::hardware_concurrency() > 1);
  // From here on only the producer touches the reader.
  RowBlockHandOff rows(
      width * 3, height,
      [&jpeg](std::uint8_t* const* out, int count) { return jpeg.ReadRows(out, count); },
      ownThread);
  Bitmap result;
  ResampleFromRows(newWidth, newHeight, kind, support, width, height, rows, result);
  rows.Drain();
  return result;
}

std::optional<Bitmap> ResampleJpegIfServed(JpegRowReader& jpeg, int newWidth, int newHeight,
                                           ResampleFilter kind, float support, int threads) {
  if (jpeg.Orientation() != 1 || !ImageSizeAllowed(newWidth, newHeight)) return std::nullopt;
  return ResampleJpeg(jpeg, newWidth, newHeight, kind, support, threads);
}

}  // namespace kv
