#pragma once
// Resampling a JPEG while it decodes.

#include <optional>

#include "codecs/bitmap.h"
#include "codecs/jpeg_reader.h"
#include "wallpaper/resample.h"

namespace kv {

// Resamples the picture `jpeg` is about to decode to newWidth x newHeight with
// the bytes that decoding it whole and resampling it would give, without ever
// holding it whole: each decoded row goes through the horizontal pass into the
// resampler's ring of rows as it comes. Unless threads is 1 (or the processor
// has one core), decoding runs on a second thread, a few blocks of rows ahead
// of the resampling. The picture is read to its end, so a file that ends early
// fails however few of its rows the result needs. The orientation is not
// applied. Raises the reader's errors and ResampleInto's.
[[nodiscard]] Bitmap ResampleJpeg(JpegRowReader& jpeg, int newWidth, int newHeight,
                                  ResampleFilter kind, float support, int threads = kAutoThreads);

// ResampleJpeg for the pictures it serves: nothing for one whose Exif
// orientation turns it and for a size the resampler would refuse, which take
// the way through the whole picture instead.
[[nodiscard]] std::optional<Bitmap> ResampleJpegIfServed(JpegRowReader& jpeg, int newWidth,
                                                         int newHeight, ResampleFilter kind,
                                                         float support, int threads = kAutoThreads);

}  // namespace kv
