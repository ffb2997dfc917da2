#pragma once
// Commands that another process (kvtool send) hands to a running Kestrova:
// their words, their checking, and the text that travels in a WM_COPYDATA
// message to the browser window.

#include <optional>
#include <string>
#include <string_view>

namespace kv::program {

// The tray menu's commands, "skin" (a skin file, a skin of the Skins menu by
// its caption, or "default" for the built-in one), "manager" and "options"
// (shown or hidden as the tray's Manager and Configuration items do), and
// "stats", which asks the program for its own resource counts, and "back"
// (back through the wallpaper history).
enum class RemoteVerb {
  Next,
  Previous,
  Random,
  Pause,
  Show,
  Apply,
  Skin,
  Manager,
  Options,
  Stats,
  Back
};

struct RemoteCommand {
  RemoteVerb verb = RemoteVerb::Next;
  std::string file;   // Apply: the picture (a full path); Skin: the skin
  std::string style;  // Apply: a style's name (the receiver checks it); empty: none given
  // Next: only monitor N (1 the primary, then left to right) moves on, when
  // every monitor has its own wallpaper; 0: all of them.
  int monitor = 0;
  bool operator==(const RemoteCommand& o) const {
    return verb == o.verb && file == o.file && style == o.style && monitor == o.monitor;
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
// COPYDATASTRUCT::dwData of an answer with text ("KVR1"), which the program
// sends back to the window the command came from (WM_COPYDATA's wParam).
inline constexpr unsigned long kRemoteAnswerId = 0x3152564Bu;

// The verb of a word ("next", "previous", "random", "pause", "show", "apply",
// "skin", "manager", "options", "stats", "back"), compared without regard to case.
[[nodiscard]] std::optional<RemoteVerb> RemoteVerbOf(std::string_view word);

// Whether the verb takes a FILE (Apply, Skin).
[[nodiscard]] bool RemoteVerbTakesFile(RemoteVerb verb);

inline constexpr int kMaxRemoteMonitor = 16;

// The message text: the verb's word, then for Apply the file and the style,
// for Skin the skin, for Next with a monitor its number (decimal, 1 to
// kMaxRemoteMonitor, no leading zero), each on its own line. Decoding refuses anything else (an
// unknown word, lines missing or left over, an Apply or a Skin without a file,
// a NUL byte anywhere).
[[nodiscard]] std::string EncodeRemoteCommand(const RemoteCommand& command);
[[nodiscard]] std::optional<RemoteCommand> DecodeRemoteCommand(std::string_view text);

// What a running program holds, as "stats" reports it.
struct ResourceCounts {
  long gdiObjects = 0;
  long userObjects = 0;
  long handles = 0;
  long long privateKb = 0;
};

// The answer to "stats": one "name value" line per count ("gdi", "user",
// "handles", "private_kb"), each ending in a line break.
[[nodiscard]] std::string FormatResourceCounts(const ResourceCounts& counts);

}  // namespace kv::program
