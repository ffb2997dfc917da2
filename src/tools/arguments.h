#pragma once
// The program's arguments after its own name, as UTF-8 text.

#include "tools/commands.h"

namespace kv::tool {

// On Windows, argv holds the arguments in the ANSI code page, which cannot hold
// every file name; the wide command line can, so it is read instead.
[[nodiscard]] Args CommandArguments(int argc, char** argv);

}  // namespace kv::tool
