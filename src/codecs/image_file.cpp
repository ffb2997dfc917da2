#include "codecs/image_file.h"

#include <new>

#include "codecs/decoders.h"
#include "codecs/file_io.h"
#include "codecs/image_error.h"

namespace kv {
namespace {

struct FamilyRow {
  const char* extension;
  ImageFamily family;
};

constexpr FamilyRow kFamilies[] = {
    {".bmp", ImageFamily::Bmp},   {".rle", ImageFamily::Bmp},   {".dib", ImageFamily::Bmp},
    {".gif", ImageFamily::Gif},   {".jpg", ImageFamily::Jpeg},  {".jpeg", ImageFamily::Jpeg},
    {".png", ImageFamily::Png},   {".tif", ImageFamily::Tiff},  {".tiff", ImageFamily::Tiff},
    {".tga", ImageFamily::Targa}, {".vst", ImageFamily::Targa}, {".icb", ImageFamily::Targa},
    {".vda", ImageFamily::Targa}, {".win", ImageFamily::Targa}, {".pcx", ImageFamily::Pcx},
    {".pcc", ImageFamily::Pcx},   {".psd", ImageFamily::Psd},   {".pdd", ImageFamily::Psd},
    {".psp", ImageFamily::Psp},   {".webp", ImageFamily::Webp}, {".heic", ImageFamily::Heif},
    {".heif", ImageFamily::Heif}, {".avif", ImageFamily::Heif},
};

Bitmap Decode(ImageFamily family, const std::vector<std::uint8_t>& bytes,
              const LoadOptions& options) {
  const std::uint8_t* data = bytes.data();
  const std::size_t size = bytes.size();
  switch (family) {
    case ImageFamily::Bmp:
      return DecodeBmp(data, size);
    case ImageFamily::Gif:
      return DecodeGif(data, size);
    case ImageFamily::Jpeg:
      return DecodeJpeg(data, size, options.minWidth);
    case ImageFamily::Png:
      return DecodePng(data, size);
    case ImageFamily::Tiff:
      return DecodeTiff(data, size);
    case ImageFamily::Targa:
      return DecodeTarga(data, size);
    case ImageFamily::Pcx:
      return DecodePcx(data, size);
    case ImageFamily::Psd:
      return DecodePsd(data, size);
    case ImageFamily::Psp:
      return DecodePsp(data, size);
    case ImageFamily::Webp:
      return DecodeWebp(data, size);
    case ImageFamily::Heif:
      return DecodeHeif(data, size);
    case ImageFamily::None:
      break;
  }
  return Bitmap();
}

}  // namespace

std::string ImageExtension(const std::string& fileName) {
  const std::size_t dot = fileName.find_last_of('.');
  const std::size_t separator = fileName.find_last_of("\\/:");
  if (dot == std::string::npos || (separator != std::string::npos && separator > dot)) return {};
  std::string ext = fileName.substr(dot, 5);
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ext;
}

ImageFamily ImageFamilyOf(const std::string& fileName) {
  const std::string ext = ImageExtension(fileName);
  for (const FamilyRow& row : kFamilies)
    if (ext == row.extension) return row.family;
  return ImageFamily::None;
}

void LoadImageFile(Bitmap& bitmap, const std::string& fileName, const LoadOptions& options) {
  const ImageFamily family = ImageFamilyOf(fileName);
  if (family == ImageFamily::None) return;
  Bitmap decoded;
  try {
    decoded = Decode(family, ReadFileBytes(fileName), options);
  } catch (...) {
    RethrowNamed(fileName);
  }
  bitmap.Swap(decoded);
}

void RethrowNamed(const std::string& fileName) {
  try {
    throw;
  } catch (const FileError& e) {
    throw ImageError(e.what());  // already names the file
  } catch (const ImageError& e) {
    throw ImageError(fileName + ": " + e.what());
  } catch (const std::bad_alloc&) {
    throw ImageError(fileName + ": not enough memory to decode the picture");
  }
}

}  // namespace kv
