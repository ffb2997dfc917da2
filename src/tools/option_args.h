#pragma once
// Sub-command arguments of the form "POSITIONAL... --name VALUE...", and the
// value forms the engine's commands share. Header-only: kvtool is built from
// main.cpp and its cmd_*.cpp files.

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tools/commands.h"

namespace kv::tool {

struct OptionArgs {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;  // without the leading "--"

  [[nodiscard]] std::optional<std::string> Get(const std::string& name) const {
    const auto it = options.find(name);
    return it == options.end() ? std::nullopt : std::optional<std::string>(it->second);
  }
  // The option's value; UsageError when it was not given.
  [[nodiscard]] const std::string& Require(const std::string& name) const {
    const auto it = options.find(name);
    if (it == options.end()) throw UsageError{"--" + name + " is required"};
    return it->second;
  }
};

// Splits `args`; raises UsageError for an option not in `known`, one without
// a value, one given twice, or a positional count other than `positionals`.
[[nodiscard]] inline OptionArgs ParseOptionArgs(const Args& args, std::size_t positionals,
                                                const std::vector<std::string>& known) {
  OptionArgs out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() < 3 || a.compare(0, 2, "--") != 0) {
      out.positional.push_back(a);
      continue;
    }
    const std::string name = a.substr(2);
    if (std::find(known.begin(), known.end(), name) == known.end())
      throw UsageError{"unknown option " + a};
    if (i + 1 == args.size()) throw UsageError{a + " needs a value"};
    if (!out.options.emplace(name, args[++i]).second) throw UsageError{a + " given twice"};
  }
  if (out.positional.size() != positionals)
    throw UsageError{"expected " + std::to_string(positionals) + " file names"};
  return out;
}

// A whole number from lo to hi; UsageError otherwise.
[[nodiscard]] inline int ParseIntArg(const std::string& option, const std::string& text, int lo,
                                     int hi) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < lo || v > hi)
    throw UsageError{"--" + option + " must be a whole number from " + std::to_string(lo) +
                     " to " + std::to_string(hi) + ", not '" + text + "'"};
  return static_cast<int>(v);
}

struct SizeArg {
  int width;
  int height;
};

// "WxH" with both sides whole numbers from 1 to 32768; UsageError otherwise.
[[nodiscard]] inline SizeArg ParseSizeArg(const std::string& option, const std::string& text) {
  const auto x = text.find_first_of("xX");
  if (x == std::string::npos) throw UsageError{"--" + option + " must be WIDTHxHEIGHT"};
  return {ParseIntArg(option, text.substr(0, x), 1, 32768),
          ParseIntArg(option, text.substr(x + 1), 1, 32768)};
}

}  // namespace kv::tool
