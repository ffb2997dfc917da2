#pragma once
// The small text files in which the program keeps state of its own between
// runs (the shuffle round beside a list, the wallpaper history): UTF-8 lines of
// fields separated by tabs, after a first line that names the kind of file, and
// a last line "end", the number of lines and a checksum of all before it. A
// file that is cut short, edited or of another kind is refused whole, and its
// reader starts afresh; nothing in it is trusted without that check.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::app {

using StateLine = std::vector<std::string>;

// The text of a state file. Fields must hold no tab, line break or other
// control character (file names and style names hold none).
[[nodiscard]] std::string SealStateText(std::string_view kind, const std::vector<StateLine>& lines);

// The lines of a state text of `kind`; nothing when it is of another kind,
// damaged, cut short or holds a control character in a field.
[[nodiscard]] std::optional<std::vector<StateLine>> OpenStateText(std::string_view text,
                                                                  std::string_view kind);

// The same for a file; nothing also when it is missing or unreadable.
[[nodiscard]] std::optional<std::vector<StateLine>> ReadStateFile(const std::string& path,
                                                                  std::string_view kind);
// Replaces the file atomically; raises FileError when it cannot be written.
void WriteStateFile(const std::string& path, std::string_view kind,
                    const std::vector<StateLine>& lines);

}  // namespace kv::app
