#include "program/remote_command.h"

#include <array>

#include "config/text_case.h"

namespace kv::program {
namespace {

constexpr std::array<const char*, 6> kWords = {"next",  "previous", "random",
                                               "pause", "show",     "apply"};
}  // namespace

std::optional<RemoteVerb> RemoteVerbOf(std::string_view word) {
  for (std::size_t i = 0; i < kWords.size(); ++i)
    if (EqualsIgnoringAsciiCase(word, kWords[i])) return static_cast<RemoteVerb>(i);
  return std::nullopt;
}

std::string EncodeRemoteCommand(const RemoteCommand& command) {
  std::string text = kWords[static_cast<std::size_t>(command.verb)];
  if (command.verb == RemoteVerb::Apply) text += "\n" + command.file + "\n" + command.style;
  return text;
}

std::optional<RemoteCommand> DecodeRemoteCommand(std::string_view text) {
  const std::size_t first = text.find('\n');
  const std::optional<RemoteVerb> verb = RemoteVerbOf(text.substr(0, first));
  if (!verb) return std::nullopt;
  RemoteCommand command;
  command.verb = *verb;
  if (*verb != RemoteVerb::Apply) {
    if (first != std::string_view::npos) return std::nullopt;
    return command;
  }
  if (first == std::string_view::npos) return std::nullopt;
  const std::string_view rest = text.substr(first + 1);
  const std::size_t second = rest.find('\n');
  if (second == std::string_view::npos) return std::nullopt;
  command.file = std::string(rest.substr(0, second));
  command.style = std::string(rest.substr(second + 1));
  if (command.file.empty() || command.style.find('\n') != std::string::npos) return std::nullopt;
  return command;
}

}  // namespace kv::program
