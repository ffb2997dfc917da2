// Feeds arbitrary bytes to the HEIF decoder (HEIC and AVIF): it must raise
// ImageError or return a picture, never crash, leak, hang or read outside the
// input.
#include <cstddef>
#include <cstdint>

#include "codecs/decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    (void)kv::DecodeHeif(data, size);
  } catch (const kv::ImageError&) {
  }
  return 0;
}
