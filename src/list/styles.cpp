#include "list/styles.h"

#include "base/text_case.h"

namespace kv {
namespace {

struct GroupExtension {
  const char* extension;
  int group;
};
constexpr GroupExtension kGroupExtensions[] = {
    {".jpg", 0},   {".jpeg", 0},  {".bmp", 1},   {".gif", 2}, {".png", 3}, {".tiff", 4},
    {".tif", 4},   {".tga", 5},   {".vst", 5},   {".icb", 5}, {".vda", 5}, {".win", 5},
    {".pcx", 6},   {".pcc", 6},   {".psd", 7},   {".pdd", 7}, {".psp", 8}, {".webp", 9},
    {".heic", 10}, {".heif", 10}, {".avif", 11},
};

constexpr const char* kAcceptedExtensions[] = {".tif", ".tiff", ".jpg",  ".jpeg", ".tga", ".vst",
                                               ".icb", ".vda",  ".win",  ".pcx",  ".pcc", ".gif",
                                               ".bmp", ".rle",  ".dib",  ".psd",  ".pdd", ".psp",
                                               ".png", ".webp", ".heic", ".heif", ".avif"};

constexpr std::string_view kSeparators = "\\/";

}  // namespace

const char* StyleName(int index) {
  return index >= 0 && index < kStyleCount ? kStyleNames[static_cast<std::size_t>(index)]
                                           : kStyleNames[0];
}

std::optional<int> FindStyle(std::string_view style) {
  for (int i = 0; i < kStyleCount; ++i)
    if (EqualsIgnoringAsciiCase(style, kStyleNames[static_cast<std::size_t>(i)])) return i;
  return std::nullopt;
}

int StyleIndexOf(std::string_view style) { return FindStyle(style).value_or(0); }

std::optional<int> FileTypeGroup(std::string_view extension) {
  for (const GroupExtension& g : kGroupExtensions)
    if (extension == g.extension) return g.group;
  return std::nullopt;
}

bool IsAcceptedExtension(std::string_view extension) {
  for (const char* e : kAcceptedExtensions)
    if (extension == e) return true;
  return false;
}

std::string_view NamePart(std::string_view fullName) {
  const auto at = fullName.find_last_of(kSeparators);
  return at == std::string_view::npos ? fullName : fullName.substr(at + 1);
}

std::string_view PathPart(std::string_view fullName) {
  const auto at = fullName.find_last_of(kSeparators);
  return at == std::string_view::npos ? std::string_view() : fullName.substr(0, at + 1);
}

std::string LowerExtension(std::string_view fullName) {
  const std::string_view name = NamePart(fullName);
  const auto dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : AsciiLowerCopy(name.substr(dot));
}

std::string ChangeExtension(std::string_view name, std::string_view extension) {
  const auto dot = name.rfind('.');
  std::string out(dot == std::string_view::npos ? name : name.substr(0, dot));
  return out.append(extension);
}

}  // namespace kv
