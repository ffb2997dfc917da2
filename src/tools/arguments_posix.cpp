#include "tools/arguments.h"

namespace kv::tool {

Args CommandArguments(int argc, char** argv) { return Args(argv + 1, argv + argc); }

}  // namespace kv::tool
