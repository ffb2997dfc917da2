#pragma once
// Pictures compiled into the program as bitmap resources (the built-in skin).

#include <windows.h>

#include <string>

#include "codecs/bitmap.h"

namespace kv::skin {

// The bitmap resource `name` of `module` (the program when null) as a 24-bit
// picture; resource names match without regard to case. Raises
// OrganicShapeException when there is no such resource, ImageError when it does
// not decode.
[[nodiscard]] Bitmap LoadBitmapResource(const std::string& name, HMODULE module = nullptr);

}  // namespace kv::skin
