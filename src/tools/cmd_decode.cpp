// kvtool decode IN OUT.bmp: decodes IN by its extension (as the wallpaper
// applier does) and writes it as a 24-bit BMP; prints "WIDTH HEIGHT".
#include <cstdio>
#include <stdexcept>

#include "codecs/encoders.h"
#include "codecs/image_file.h"
#include "tools/commands.h"

namespace kv::tool {

int CmdDecode(const Args& args) {
  if (args.size() != 2) throw UsageError{"expected a picture file and an output .bmp file"};
  const std::string& in = args[0];
  Bitmap picture;
  LoadImageFile(picture, in);
  if (picture.Empty())
    throw std::runtime_error(in + ": the extension names no picture format that is read");
  SaveBmp(picture, args[1]);
  std::printf("%d %d\n", picture.Width(), picture.Height());
  return 0;
}

}  // namespace kv::tool
