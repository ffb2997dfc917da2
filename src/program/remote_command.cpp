#include "program/remote_command.h"

#include <array>

#include "base/text_case.h"

namespace kv::program {
namespace {

constexpr std::array<const char*, 11> kWords = {"next",  "previous", "random",  "pause",
                                                "show",  "apply",    "skin",    "manager",
                                                "options", "stats",  "back"};

// 1 to kMaxRemoteMonitor written as EncodeRemoteCommand writes it, nothing else.
std::optional<int> MonitorNumber(std::string_view text) {
  if (text.empty() || text.size() > 2 || text[0] == '0') return std::nullopt;
  int n = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n <= kMaxRemoteMonitor ? std::optional<int>(n) : std::nullopt;
}

}  // namespace

std::optional<RemoteVerb> RemoteVerbOf(std::string_view word) {
  for (std::size_t i = 0; i < kWords.size(); ++i)
    if (EqualsIgnoringAsciiCase(word, kWords[i])) return static_cast<RemoteVerb>(i);
  return std::nullopt;
}

bool RemoteVerbTakesFile(RemoteVerb verb) {
  return verb == RemoteVerb::Apply || verb == RemoteVerb::Skin;
}

std::string EncodeRemoteCommand(const RemoteCommand& command) {
  std::string text = kWords[static_cast<std::size_t>(command.verb)];
  if (RemoteVerbTakesFile(command.verb)) text += "\n" + command.file;
  if (command.verb == RemoteVerb::Apply) text += "\n" + command.style;
  if (command.verb == RemoteVerb::Next && command.monitor > 0)
    text += "\n" + std::to_string(command.monitor);
  return text;
}

std::optional<RemoteCommand> DecodeRemoteCommand(std::string_view text) {
  // The names go to the system as C strings, which would end at a NUL: the
  // name checked and used would not be the one sent.
  if (text.find('\0') != std::string_view::npos) return std::nullopt;
  const std::size_t first = text.find('\n');
  const std::optional<RemoteVerb> verb = RemoteVerbOf(text.substr(0, first));
  if (!verb) return std::nullopt;
  RemoteCommand command;
  command.verb = *verb;
  if (!RemoteVerbTakesFile(*verb)) {
    if (first == std::string_view::npos) return command;
    if (*verb != RemoteVerb::Next) return std::nullopt;
    const auto monitor = MonitorNumber(text.substr(first + 1));
    if (!monitor) return std::nullopt;
    command.monitor = *monitor;
    return command;
  }
  if (first == std::string_view::npos) return std::nullopt;
  const std::string_view rest = text.substr(first + 1);
  const std::size_t second = rest.find('\n');
  if (*verb == RemoteVerb::Apply) {
    if (second == std::string_view::npos) return std::nullopt;
    command.style = std::string(rest.substr(second + 1));
    if (command.style.find('\n') != std::string::npos) return std::nullopt;
  } else if (second != std::string_view::npos) {
    return std::nullopt;
  }
  command.file = std::string(rest.substr(0, second));
  if (command.file.empty()) return std::nullopt;
  return command;
}

std::string FormatResourceCounts(const ResourceCounts& counts) {
  return "gdi " + std::to_string(counts.gdiObjects) + "\nuser " +
         std::to_string(counts.userObjects) + "\nhandles " + std::to_string(counts.handles) +
         "\nprivate_kb " + std::to_string(counts.privateKb) + "\n";
}

}  // namespace kv::program
