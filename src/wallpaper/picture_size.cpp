#include "wallpaper/picture_size.h"

#include <cstdlib>
#include <cstring>
#include <exception>
#include <vector>

#include "codecs/file_io.h"
#include "codecs/image_file.h"
#include "codecs/jpeg_reader.h"

namespace kv {

namespace {

constexpr std::size_t kHeaderBytes = 256 * 1024;

std::uint32_t Le16(const std::uint8_t* p) { return p[0] | (p[1] << 8u); }
std::uint32_t Le32(const std::uint8_t* p) {
  return Le16(p) | (static_cast<std::uint32_t>(Le16(p + 2)) << 16);
}
std::uint32_t Be32(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16u) | (p[2] << 8u) | p[3];
}

std::optional<PixelSize> Sized(long long w, long long h) {
  if (w <= 0 || h <= 0 || w > 1000000 || h > 1000000) return std::nullopt;
  return PixelSize{static_cast<int>(w), static_cast<int>(h)};
}

std::optional<PixelSize> JpegSize(const std::uint8_t* data, std::size_t size) {
  try {
    const JpegRowReader jpeg(data, size);
    const bool turned = jpeg.Orientation() >= 5 && jpeg.Orientation() <= 8;
    return turned ? Sized(jpeg.Height(), jpeg.Width()) : Sized(jpeg.Width(), jpeg.Height());
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

std::optional<PixelSize> PictureHeaderSize(const std::string& fileName, const std::uint8_t* d,
                                           std::size_t n) {
  switch (ImageFamilyOf(fileName)) {
    case ImageFamily::Bmp: {
      // A file header, or (a packed ".dib") the info header straight away.
      const std::size_t info = n >= 2 && d[0] == 'B' && d[1] == 'M' ? 14 : 0;
      if (n < info + 12) return std::nullopt;
      if (Le32(d + info) == 12) return Sized(Le16(d + info + 4), Le16(d + info + 6));
      if (n < info + 12 || Le32(d + info) < 40) return std::nullopt;
      return Sized(static_cast<std::int32_t>(Le32(d + info + 4)),
                   std::llabs(static_cast<std::int32_t>(Le32(d + info + 8))));
    }
    case ImageFamily::Png:
      if (n < 24 || std::memcmp(d, "\x89PNG\r\n\x1a\n", 8) != 0 || std::memcmp(d + 12, "IHDR", 4))
        return std::nullopt;
      return Sized(Be32(d + 16), Be32(d + 20));
    case ImageFamily::Gif:
      if (n < 10 || std::memcmp(d, "GIF", 3) != 0) return std::nullopt;
      return Sized(Le16(d + 6), Le16(d + 8));
    case ImageFamily::Jpeg:
      return JpegSize(d, n);
    case ImageFamily::Targa:
      if (n < 18) return std::nullopt;
      return Sized(Le16(d + 12), Le16(d + 14));
    case ImageFamily::Pcx:
      if (n < 12 || d[0] != 10) return std::nullopt;
      return Sized(static_cast<long long>(Le16(d + 8)) - Le16(d + 4) + 1,
                   static_cast<long long>(Le16(d + 10)) - Le16(d + 6) + 1);
    case ImageFamily::Psd:
      if (n < 22 || std::memcmp(d, "8BPS", 4) != 0) return std::nullopt;
      return Sized(Be32(d + 18), Be32(d + 14));
    default:
      return std::nullopt;
  }
}

std::optional<PixelSize> PictureFileSize(const std::string& fileName) {
  try {
    FileReader file(fileName);
    std::vector<std::uint8_t> head(kHeaderBytes);
    std::size_t got = 0;
    while (got < head.size()) {
      const std::size_t n = file.Read(head.data() + got, head.size() - got);
      if (n == 0) break;
      got += n;
    }
    return PictureHeaderSize(fileName, head.data(), got);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace kv
