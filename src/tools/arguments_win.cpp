#include <windows.h>
// windows.h first: shellapi.h needs its definitions.
#include <shellapi.h>

#include "base/text_win.h"
#include "tools/arguments.h"

namespace kv::tool {

Args CommandArguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return Args(argv + 1, argv + argc);
  Args args;
  for (int i = 1; i < count; ++i) args.push_back(Narrow(wide[i]));
  LocalFree(wide);
  return args;
}

}  // namespace kv::tool
