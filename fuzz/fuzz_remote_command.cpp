// The command text another program hands to a running Kestrova (kvtool send
// puts it into a WM_COPYDATA message; any program of the user may send one):
// any bytes are refused or read as exactly one command, whose own text is the
// text received, the verb's case aside. What the receiver then does with the
// text before acting (the style looked up, the picture's name folded for the
// comparison with the list, a skin's menu caption) takes any text too.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/text_case.h"
#include "list/list_text.h"
#include "list/styles.h"
#include "program/remote_command.h"
#include "skin/skin_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using kv::program::RemoteVerb;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto command = kv::program::DecodeRemoteCommand(text);
  if (!command) return 0;

  // Nothing but the canonical text is taken: the verb's word in any case, then
  // exactly the lines the verb needs.
  const std::string encoded = kv::program::EncodeRemoteCommand(*command);
  const std::size_t wordEnd = std::min(text.find('\n'), text.size());
  if (encoded.size() != text.size() ||
      !kv::EqualsIgnoringAsciiCase(std::string_view(encoded).substr(0, wordEnd),
                                   text.substr(0, wordEnd)) ||
      std::string_view(encoded).substr(wordEnd) != text.substr(wordEnd))
    std::abort();
  if (!(kv::program::DecodeRemoteCommand(encoded) == command)) std::abort();

  const bool takesFile = kv::program::RemoteVerbTakesFile(command->verb);
  if (takesFile == command->file.empty()) std::abort();
  if (command->file.find('\n') != std::string::npos) std::abort();
  // The receiver hands names to the system as C strings: a NUL inside one
  // would make it check and use a shorter name than the one sent.
  if (command->file.find('\0') != std::string::npos) std::abort();
  if (command->style.find('\0') != std::string::npos) std::abort();
  if (command->verb != RemoteVerb::Apply && !command->style.empty()) std::abort();
  if (command->monitor != 0 && (command->verb != RemoteVerb::Next || command->monitor < 1 ||
                                command->monitor > kv::program::kMaxRemoteMonitor))
    std::abort();

  if (command->verb == RemoteVerb::Apply) {
    if (const auto style = kv::FindStyle(command->style)) {
      if (*style < 0 || *style >= kv::kStyleCount) std::abort();
    }
    // Folding is applied to both sides of a comparison: it must settle.
    const std::string folded = kv::FoldFileNameCase(command->file);
    if (kv::FoldFileNameCase(folded) != folded) std::abort();
  } else if (command->verb == RemoteVerb::Skin) {
    (void)kv::skin::SkinMenuCaption(command->file);
  }
  return 0;
}
