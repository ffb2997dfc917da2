// kvtool: the wallpaper engine on the command line.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "tools/arguments.h"
#include "tools/commands.h"

namespace kv::tool {
// One line per sub-command; each lives in its own cmd_*.cpp.
int CmdDecode(const Args& args);
int CmdRender(const Args& args);
int CmdResample(const Args& args);
int CmdList(const Args& args);
int CmdThumb(const Args& args);
int CmdSend(const Args& args);
}  // namespace kv::tool

namespace {

using kv::tool::Command;

// Add a sub-command here (declare its function above, in namespace kv::tool).
const Command kCommands[] = {
    {"help", "", nullptr},
    {"decode", "IN OUT.bmp", kv::tool::CmdDecode},
    {"resample", "IN OUT.bmp --size WxH --filter K [--support S]", kv::tool::CmdResample},
    {"render",
     "IN OUT.bmp --style NAME --screen WxH [--scaled-filter K] [--bars desktop|fill] "
     "[--threads N]  |  IN... OUT.bmp --style NAME[,NAME...] --monitors WxH+X+Y,... "
     "[--placement tiled|spanned] [--background RRGGBB] [--scaled-filter K] [--threads N]",
     kv::tool::CmdRender},
    {"list", "show FILE.lst | add FILE.lst IMAGE...", kv::tool::CmdList},
    {"thumb", "IN OUT.jpg [--width N] [--quality Q] [--filter K]", kv::tool::CmdThumb},
    {"send",
     "next [--monitor N]|previous|random|back|pause|show|apply FILE [--style NAME]|skin FILE|NAME|default"
     "|manager|options|stats [--desktop NAME]",
     kv::tool::CmdSend},
};

int Usage(std::FILE* to) {
  std::fprintf(to, "usage:\n");
  for (const Command& c : kCommands)
    if (c.run) std::fprintf(to, "  kvtool %s %s\n", c.name, c.usage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const kv::tool::Args args = kv::tool::CommandArguments(argc, argv);
  if (args.empty()) return Usage(stderr);
  const std::string& name = args[0];
  if (name == "help" || name == "--help" || name == "-h") {
    Usage(stdout);
    return 0;
  }
  for (const Command& c : kCommands) {
    if (!c.run || name != c.name) continue;
    try {
      return c.run(kv::tool::Args(args.begin() + 1, args.end()));
    } catch (const kv::tool::UsageError& e) {
      std::fprintf(stderr, "kvtool %s: %s\nusage: kvtool %s %s\n", c.name, e.message.c_str(),
                   c.name, c.usage);
      return 2;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "kvtool %s: %s\n", c.name, e.what());
      return 1;
    }
  }
  std::fprintf(stderr, "kvtool: unknown command '%s'\n", name.c_str());
  return Usage(stderr);
}
