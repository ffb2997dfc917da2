// kvtool send next|previous|random|pause|show|apply FILE [--style NAME]
//             [--desktop NAME]:
// hands one command to the running Kestrova, which runs it as its tray menu
// does. Exit 0 when it was done, 1 with "Kestrova is not running" (or the
// program's refusal), 2 for wrong usage. --desktop names the desktop whose
// Kestrova is meant, where a system has several (Wine's virtual desktops).
#include <stdexcept>
#include <string>
#include <vector>

#include "list/styles.h"
#include "program/remote_command.h"
#include "tools/commands.h"

#ifdef _WIN32
#include <windows.h>

#include "widgets/text_win.h"
#endif

namespace kv::tool {
namespace {

std::string StyleChoices() {
  std::string text;
  for (const char* s : kStyleNames) text += std::string(text.empty() ? "" : ", ") + s;
  return text;
}

}  // namespace

int CmdSend(const Args& args) {
  std::vector<std::string> words;
  std::string desktop, style;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--desktop" || args[i] == "--style") {
      if (i + 1 >= args.size()) throw UsageError{args[i] + " needs a value"};
      std::string& value = args[i] == "--desktop" ? desktop : style;
      value = args[++i];
    } else {
      words.push_back(args[i]);
    }
  }
  if (words.empty()) throw UsageError{"a command is missing"};
  const auto verb = program::RemoteVerbOf(words[0]);
  if (!verb) throw UsageError{"unknown command \"" + words[0] + "\""};
  program::RemoteCommand command;
  command.verb = *verb;
  if (*verb == program::RemoteVerb::Apply) {
    if (words.size() != 2) throw UsageError{"apply takes one FILE"};
    command.file = words[1];
    if (!style.empty()) {
      if (!FindStyle(style)) throw UsageError{"--style must be one of " + StyleChoices()};
      command.style = StyleName(StyleIndexOf(style));  // as the list spells it
    }
  } else if (words.size() != 1 || !style.empty()) {
    throw UsageError{words[0] + " takes no arguments"};
  }
#ifdef _WIN32
  if (!desktop.empty()) {
    HDESK desk = OpenDesktopW(Widen(desktop).c_str(), 0, FALSE, GENERIC_ALL);
    if (!desk || !SetThreadDesktop(desk)) throw std::runtime_error("no desktop named " + desktop);
  }
  HWND browser = FindWindowW(program::kBrowserWindowClass, program::kBrowserWindowTitle);
  if (!browser) throw std::runtime_error("Kestrova is not running");
  if (!command.file.empty()) {
    // The program may run in another folder: the picture goes by its full name.
    wchar_t full[MAX_PATH];
    const DWORD n = GetFullPathNameW(Widen(command.file).c_str(), MAX_PATH, full, nullptr);
    if (n > 0 && n < MAX_PATH) command.file = Narrow(full);
  }
  const std::string text = program::EncodeRemoteCommand(command);
  COPYDATASTRUCT data{};
  data.dwData = program::kRemoteCopyDataId;
  data.cbData = static_cast<DWORD>(text.size());
  data.lpData = const_cast<char*>(text.data());
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(browser, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                           SMTO_ABORTIFHUNG, 30000, &result))
    throw std::runtime_error("Kestrova did not answer");
  if (static_cast<long>(result) != program::kRemoteDone)
    throw std::runtime_error("Kestrova refused the command (is the picture there?)");
  return 0;
#else
  (void)desktop;
  throw std::runtime_error("send reaches Kestrova on Windows only");
#endif
}

}  // namespace kv::tool
