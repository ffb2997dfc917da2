// Feeds arbitrary bytes to the resampling of a JPEG while it decodes, on one
// thread and on two. It must fail exactly as decoding the whole picture fails
// (the same message), or give the bytes that resampling the whole picture
// gives; never crash, leak, hang or read outside the input.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "codecs/decoders.h"
#include "codecs/jpeg_reader.h"
#include "wallpaper/jpeg_resample.h"
#include "wallpaper/resample.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The target size and filter come from the input, so they vary with it.
  const int width = 1 + data[0] % 23, height = 1 + data[size - 1] % 19;
  const auto kind = static_cast<kv::ResampleFilter>(size % kv::kResampleFilterCount);
  std::optional<kv::Bitmap> whole;
  std::string wholeError;
  try {
    const kv::Bitmap picture = kv::DecodeJpeg(data, size);
    kv::Bitmap out;
    kv::ResampleInto(width, height, kind, 0.0f, picture, out, 1);
    whole = out;
  } catch (const kv::ImageError& e) {
    wholeError = e.what();
  }
  for (const int threads : {1, 2}) {
    try {
      kv::JpegRowReader reader(data, size);
      if (reader.Orientation() != 1) return 0;  // those are decoded whole
      const kv::Bitmap streamed = kv::ResampleJpeg(reader, width, height, kind, 0.0f, threads);
      if (!whole || streamed != *whole) __builtin_trap();
    } catch (const kv::ImageError& e) {
      if (whole || wholeError != e.what()) __builtin_trap();
    }
  }
  return 0;
}
