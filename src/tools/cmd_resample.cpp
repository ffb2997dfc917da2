// kvtool resample IN OUT.bmp --size WxH --filter K [--support S]: decodes IN
// by its extension, resamples it with filter K (0-6 or its name) and support S
// (0, the default, means the filter's own), and writes a 24-bit BMP. A JPEG
// is resampled while it decodes, as the program renders wallpapers: the same
// bytes without holding the whole picture.
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "codecs/encoders.h"
#include "codecs/image_file.h"
#include "tools/commands.h"
#include "tools/option_args.h"
#include "wallpaper/jpeg_resample.h"
#include "wallpaper/resample.h"

namespace kv::tool {

int CmdResample(const Args& args) {
  const OptionArgs a = ParseOptionArgs(args, 2, {"size", "filter", "support"});
  const SizeArg size = ParseSizeArg("size", a.Require("size"));
  const auto filter = ParseResampleFilter(a.Require("filter"));
  if (!filter)
    throw UsageError{
        "--filter must be 0-6 or box, triangle, hermite, bell, spline, lanczos3, "
        "mitchell"};
  float support = 0.0f;
  if (const auto s = a.Get("support")) {
    char* end = nullptr;
    support = std::strtof(s->c_str(), &end);
    if (s->empty() || *end != '\0' || !(support >= 0.0f && support <= kMaxResampleSupport))
      throw UsageError{"--support must be a number from 0 to 64"};
  }
  if (ImageFamilyOf(a.positional[0]) == ImageFamily::Jpeg) {
    JpegRowReader jpeg(a.positional[0]);
    if (const auto resampled =
            ResampleJpegIfServed(jpeg, size.width, size.height, *filter, support)) {
      SaveBmp(*resampled, a.positional[1]);
      return 0;
    }
  }
  Bitmap picture;
  LoadImageFile(picture, a.positional[0]);
  if (picture.Empty())
    throw std::runtime_error(a.positional[0] +
                             ": the extension names no picture format that is read");
  ResampleBitmap(size.width, size.height, *filter, support, picture);
  SaveBmp(picture, a.positional[1]);
  return 0;
}

}  // namespace kv::tool
