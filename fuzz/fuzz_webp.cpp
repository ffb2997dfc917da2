// Feeds arbitrary bytes to the WebP decoder (stills and the first frame of an
// animation): it must raise ImageError or return a picture, never crash, leak,
// hang or read outside the input.
#include <cstddef>
#include <cstdint>

#include "codecs/decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    (void)kv::DecodeWebp(data, size);
  } catch (const kv::ImageError&) {
  }
  return 0;
}
