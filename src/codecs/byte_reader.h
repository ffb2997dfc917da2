#pragma once
// Bounds-checked reading of a file held in memory: every read past the end raises
// ImageError instead of touching memory that is not there.

#include <cstddef>
#include <cstdint>
#include <string>

#include "codecs/image_error.h"

namespace kv {

class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) noexcept : data_(data), size_(size) {}

  [[nodiscard]] std::size_t Size() const noexcept { return size_; }
  [[nodiscard]] std::size_t Position() const noexcept { return pos_; }
  [[nodiscard]] std::size_t Remaining() const noexcept { return size_ - pos_; }
  [[nodiscard]] bool AtEnd() const noexcept { return pos_ == size_; }
  [[nodiscard]] const std::uint8_t* Data() const noexcept { return data_; }

  void Seek(std::uint64_t position) {
    if (position > size_) Fail("an offset points past the end of the file");
    pos_ = static_cast<std::size_t>(position);
  }
  void Skip(std::uint64_t count) {
    if (count > Remaining()) Fail("the file ends early");
    pos_ += static_cast<std::size_t>(count);
  }
  // The next `count` bytes, which must all be there.
  const std::uint8_t* Take(std::uint64_t count) {
    if (count > Remaining()) Fail("the file ends early");
    const std::uint8_t* p = data_ + pos_;
    pos_ += static_cast<std::size_t>(count);
    return p;
  }

  std::uint8_t U8() { return *Take(1); }
  std::uint16_t U16LE() {
    const std::uint8_t* p = Take(2);
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
  }
  std::uint16_t U16BE() {
    const std::uint8_t* p = Take(2);
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
  }
  std::uint32_t U32LE() {
    const std::uint8_t* p = Take(4);
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
  }
  std::uint32_t U32BE() {
    const std::uint8_t* p = Take(4);
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
  }
  std::int32_t I32LE() { return static_cast<std::int32_t>(U32LE()); }
  std::int16_t I16LE() { return static_cast<std::int16_t>(U16LE()); }

  [[noreturn]] static void Fail(const std::string& what) { throw ImageError(what); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace kv
