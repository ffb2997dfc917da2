#include "skin/resource_bitmap_win.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "base/text_win.h"
#include "codecs/decoders.h"
#include "skin/organic_shape_error.h"

namespace kv::skin {

Bitmap LoadBitmapResource(const std::string& name, HMODULE module) {
  if (!module) module = GetModuleHandleW(nullptr);
  // The resource compiler stores names in upper case and FindResource folds the
  // name it is given, so any case finds the bitmap.
  const std::wstring wide = Widen(name);
  HRSRC info = FindResourceW(module, wide.c_str(), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  if (!info)
    throw OrganicShapeException("LoadBitmapResource: no bitmap resource \"" + name + "\".");
  HGLOBAL loaded = LoadResource(module, info);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(module, info);
  if (!data || size < sizeof(BITMAPINFOHEADER))
    throw OrganicShapeException::Failed("TOrganicSkin", "LoadBitmapResource", "LoadResource");

  // A bitmap resource is a BMP file without its 14-byte file header; the header
  // is put back in front so the one BMP decoder reads it. The pixel offset is
  // the info header, the masks of BI_BITFIELDS and the palette.
  BITMAPINFOHEADER header;
  std::memcpy(&header, data, sizeof header);
  std::uint32_t colours = header.biClrUsed;
  if (colours == 0 && header.biBitCount <= 8) colours = 1u << header.biBitCount;
  std::uint32_t offset = 14 + header.biSize + colours * 4;
  if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER))
    offset += 12;
  std::vector<std::uint8_t> file(14 + size);
  const std::uint32_t fileSize = static_cast<std::uint32_t>(file.size());
  file[0] = 'B';
  file[1] = 'M';
  std::memcpy(&file[2], &fileSize, 4);
  std::memcpy(&file[10], &offset, 4);
  std::memcpy(&file[14], data, size);
  return DecodeBmp(file.data(), file.size());
}

}  // namespace kv::skin
