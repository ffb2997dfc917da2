// kvtool send next [--monitor N]|previous|random|back|pause|show|apply FILE [--style NAME]
//             |skin FILE|NAME|default|manager|options|stats [--desktop NAME]:
// hands one command to the running Kestrova, which runs it as its tray menu
// does; "back" goes back through the wallpaper history; "stats" prints the program's GDI and USER objects, handles and private
// memory. Exit 0 when it was done, 1 with "Kestrova is not running" (or the
// program's refusal), 2 for wrong usage. --desktop names the desktop whose
// Kestrova is meant, where a system has several (Wine's virtual desktops).
// --monitor N moves only monitor N (1 the primary) on, where every monitor has
// its own wallpaper.
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "list/styles.h"
#include "program/remote_command.h"
#include "tools/commands.h"
#include "tools/option_args.h"

#ifdef _WIN32
#include <windows.h>

#include "base/text_win.h"
#include "program/remote_send_win.h"
#endif

namespace kv::tool {
namespace {

std::string StyleChoices() {
  std::string text;
  for (const char* s : kStyleNames) text += std::string(text.empty() ? "" : ", ") + s;
  return text;
}

#ifdef _WIN32
// The window the program's answer to "stats" comes to: a message-only window
// of this thread, which takes the answer while the command is being sent.
std::string answer;

LRESULT CALLBACK AnswerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COPYDATA) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
    if (data && data->dwData == program::kRemoteAnswerId) {
      answer.assign(static_cast<const char*>(data->lpData), data->cbData);
      return TRUE;
    }
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND CreateAnswerWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = AnswerProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"KestrovaSendAnswer";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         wc.hInstance, nullptr);
}

// A FILE the program is to open goes by its full name (the program runs in
// another folder); a skin's name or "default" goes as it is.
std::string FullNameOf(const std::string& file, bool onlyIfThere) {
  const std::wstring wide = Widen(file);
  if (onlyIfThere && GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) return file;
  wchar_t full[MAX_PATH];
  const DWORD n = GetFullPathNameW(wide.c_str(), MAX_PATH, full, nullptr);
  return n > 0 && n < MAX_PATH ? Narrow(full) : file;
}
#endif

}  // namespace

int CmdSend(const Args& args) {
  std::vector<std::string> words;
  std::string desktop, style, monitor;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--desktop" || args[i] == "--style" || args[i] == "--monitor") {
      if (i + 1 >= args.size()) throw UsageError{args[i] + " needs a value"};
      std::string& value =
          args[i] == "--desktop" ? desktop : (args[i] == "--style" ? style : monitor);
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
  if (program::RemoteVerbTakesFile(*verb)) {
    if (words.size() != 2) throw UsageError{words[0] + " takes one FILE"};
    command.file = words[1];
    if (!style.empty() && *verb != program::RemoteVerb::Apply)
      throw UsageError{"--style goes with apply only"};
    if (!style.empty()) {
      if (!FindStyle(style)) throw UsageError{"--style must be one of " + StyleChoices()};
      command.style = StyleName(StyleIndexOf(style));  // as the list spells it
    }
  } else if (words.size() != 1 || !style.empty()) {
    throw UsageError{words[0] + " takes no arguments"};
  }
  if (!monitor.empty()) {
    if (*verb != program::RemoteVerb::Next) throw UsageError{"--monitor goes with next only"};
    command.monitor = ParseIntArg("monitor", monitor, 1, program::kMaxRemoteMonitor);
  }
#ifdef _WIN32
  if (!desktop.empty()) {
    HDESK desk = OpenDesktopW(Widen(desktop).c_str(), 0, FALSE, GENERIC_ALL);
    if (!desk || !SetThreadDesktop(desk)) throw std::runtime_error("no desktop named " + desktop);
  }
  HWND browser = FindWindowW(program::kBrowserWindowClass, program::kBrowserWindowTitle);
  if (!browser) throw std::runtime_error("Kestrova is not running");
  if (!command.file.empty())
    command.file = FullNameOf(command.file, *verb == program::RemoteVerb::Skin);
  const bool asks = *verb == program::RemoteVerb::Stats;
  const HWND answerWindow = asks ? CreateAnswerWindow() : nullptr;
  if (asks && !answerWindow) throw std::runtime_error("no window for Kestrova's answer");
  DWORD_PTR result = 0;
  const bool answered = program::SendCopyData(browser, answerWindow, program::kRemoteCopyDataId,
                                              program::EncodeRemoteCommand(command), 30000, result);
  if (answerWindow) DestroyWindow(answerWindow);
  if (!answered) throw std::runtime_error("Kestrova did not answer");
  if (static_cast<long>(result) != program::kRemoteDone)
    throw std::runtime_error(
        *verb == program::RemoteVerb::Skin ? "Kestrova found no skin \"" + command.file + "\""
        : *verb == program::RemoteVerb::Back
            ? "Kestrova has no earlier wallpaper to go back to (is \"Keep History\" on?)"
            : "Kestrova refused the command (is the picture there?)");
  if (asks) std::fputs(answer.c_str(), stdout);
  return 0;
#else
  (void)desktop;
  throw std::runtime_error("send reaches Kestrova on Windows only");
#endif
}

}  // namespace kv::tool
