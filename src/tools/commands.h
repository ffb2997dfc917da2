#pragma once
// kvtool's sub-commands. Each takes the arguments after its own name and returns
// the exit code: 0 success, 1 failure (one line on stderr), 2 wrong usage.

#include <string>
#include <vector>

namespace kv::tool {

using Args = std::vector<std::string>;

struct Command {
  const char* name;
  const char* usage;  // the arguments, for the usage text
  int (*run)(const Args& args);
};

// Raised by a command for wrong usage; main prints the message and the usage.
struct UsageError {
  std::string message;
};

}  // namespace kv::tool
