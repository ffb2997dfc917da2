#pragma once
// Commands that another process (kvtool send) hands to a running Kestrova:
// their words, their checking, and the text that travels in a WM_COPYDATA
// message to the browser window.

#include <optional>
#include <string>
#include <string_view>

namespace kv::program {

enum class RemoteVerb { Next, Previous, Random, Pause, Show, Apply };

struct RemoteCommand {
  RemoteVerb verb = RemoteVerb::Next;
  std::string file;   // Apply: the picture (a full path)
  std::string style;  // Apply: a style's name (the receiver checks it); empty: none given
  bool operator==(const RemoteCommand& o) const {
    return verb == o.verb && file == o.file && style == o.style;
  }
};

// The browser window that receives the commands: its class and title.
inline constexpr wchar_t kBrowserWindowClass[] = L"TOrganicShapeForm";
inline constexpr wchar_t kBrowserWindowTitle[] = L"Kestrova";
// COPYDATASTRUCT::dwData of a command ("KVS1"), so other copy-data traffic is
// told apart.
inline constexpr unsigned long kRemoteCopyDataId = 0x3153564Bu;
// What the browser answers: done, or refused (the picture does not exist, the
// text was no command).
inline constexpr long kRemoteDone = 1;
inline constexpr long kRemoteRefused = 2;

// The verb of a word ("next", "previous", "random", "pause", "show", "apply"),
// compared without regard to case.
[[nodiscard]] std::optional<RemoteVerb> RemoteVerbOf(std::string_view word);

// The message text: the verb's word, then for Apply the file and the style,
// each on its own line. Decoding refuses anything else (an unknown word, lines
// missing or left over, an Apply without a file).
[[nodiscard]] std::string EncodeRemoteCommand(const RemoteCommand& command);
[[nodiscard]] std::optional<RemoteCommand> DecodeRemoteCommand(std::string_view text);

}  // namespace kv::program
