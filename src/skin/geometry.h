#pragma once
// The geometry types of the skinned windows: the program's own.

#include "base/geometry.h"

namespace kv::skin {

using kv::Point;
using kv::Rect;

}  // namespace kv::skin
