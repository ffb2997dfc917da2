// The saved-window stream: any bytes are read as a whole window or refused with
// an error, never read out of bounds; a window read is written back to the very
// same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/error.h"
#include "skin/window_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kv::skin::StreamedWindow window;
  try {
    window = kv::skin::ReadWindowStream(data, size);
  } catch (const kv::Error&) {
    return 0;
  }
  const auto bytes = kv::skin::WriteWindowStream(window);
  if (bytes.size() != size || !std::equal(bytes.begin(), bytes.end(), data)) std::abort();
  return 0;
}
