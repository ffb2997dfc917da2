// kvtool thumb IN OUT.jpg [--width N] [--quality Q] [--filter K]: makes the
// thumbnail of one picture as the thumbnail cache does (width 100, quality 100 =
// the JPEG writer's default, filter 0 = box; K from 1 to 7 picks filter K - 1)
// and prints its size "WIDTH HEIGHT".
#include <cstdio>
#include <string>

#include "list/thumbnail_cache.h"
#include "tools/commands.h"

namespace kv::tool {
namespace {

int IntOption(const std::string& name, const std::string& text, int min, int max) {
  std::size_t used = 0;
  int value = 0;
  try {
    value = std::stoi(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || text.empty() || value < min || value > max)
    throw UsageError{name + " takes a whole number from " + std::to_string(min) + " to " +
                     std::to_string(max)};
  return value;
}

}  // namespace

int CmdThumb(const Args& args) {
  TImageResizer maker;
  std::string files[2];
  int fileCount = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--width" || a == "--quality" || a == "--filter") {
      if (i + 1 >= args.size()) throw UsageError{a + " needs a value"};
      const std::string& v = args[++i];
      if (a == "--width") maker.width = IntOption(a, v, 1, 10000);
      if (a == "--quality") maker.SetCompression(IntOption(a, v, 0, 100));
      if (a == "--filter") maker.filter = IntOption(a, v, 0, 7);
    } else if (a.rfind("--", 0) == 0) {
      throw UsageError{"unknown option " + a};
    } else {
      if (fileCount == 2) throw UsageError{"expected one picture file and one output .jpg file"};
      files[fileCount++] = a;
    }
  }
  if (fileCount != 2) throw UsageError{"expected one picture file and one output .jpg file"};
  const ThumbnailSize size = maker.WriteThumbnail(files[1], files[0]);
  std::printf("%d %d\n", size.width, size.height);
  return 0;
}

}  // namespace kv::tool
