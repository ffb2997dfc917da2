// Feeds arbitrary bytes to the JPEG decoder: it must raise ImageError or return
// a picture, never crash, leak, hang or read outside the input.
#include <cstddef>
#include <cstdint>

#include "codecs/decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    // Every third input also goes through the reduced (DCT-scaled) decoding.
    (void)kv::DecodeJpeg(data, size, size % 3 == 0 ? 1 : 0);
  } catch (const kv::ImageError&) {
  }
  return 0;
}
