#pragma once
// Decoding a JPEG a few rows at a time, top row first, so that a caller can use
// each row as it comes and the whole picture never has to exist. DecodeJpeg is
// this reader run to the end into one bitmap.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace kv {

class JpegRowReader {
 public:
  // Reads the header of the `size` bytes at `data`, which must outlive the
  // reader, for decoding reduced as far as the width (as displayed after the
  // Exif orientation) stays at least minWidth; 0 for full size. Raises
  // ImageError for a damaged header or a picture beyond the limits.
  JpegRowReader(const std::uint8_t* data, std::size_t size, int minWidth = 0);
  // The same for a whole file at full size, read in small pieces as decoding
  // goes. Every failure, also of reading, raises ImageError with the message
  // LoadImageFile gives for the same file.
  explicit JpegRowReader(const std::string& fileName);
  JpegRowReader(const JpegRowReader&) = delete;
  JpegRowReader& operator=(const JpegRowReader&) = delete;
  ~JpegRowReader();

  // The size rows come out in, before any turn by the orientation.
  [[nodiscard]] int Width() const noexcept;
  [[nodiscard]] int Height() const noexcept;
  // The Exif orientation, 1 (upright) when the file records none.
  [[nodiscard]] int Orientation() const noexcept;

  // Decodes the next rows into rows[0] ... rows[count - 1], Width() pixels of
  // blue, green, red each, and returns how many it wrote: fewer than count only
  // when the picture has no more. Raises ImageError (or, for a reader over
  // memory, also std::bad_alloc) when the data is damaged or ends early; the
  // reader is of no further use then.
  int ReadRows(std::uint8_t* const* rows, int count);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace kv
