#pragma once
// Text in list files: the program's names are UTF-8, list files hold single-byte
// text in the ANSI code page (Windows-1252). A name that code page cannot hold is
// stored as UTF-8 instead, and a stored field is read as UTF-8 when it is valid
// UTF-8 containing non-ASCII bytes, otherwise as Windows-1252. Fields written
// by older programs (all Windows-1252) read as they always did, unless their bytes
// happen to form valid multi-byte UTF-8, which real names practically never do.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// Windows-1252 bytes as UTF-8. Every byte has a character: the five bytes the
// code page leaves undefined stand for the control characters of the same value.
[[nodiscard]] std::string Windows1252ToUtf8(std::string_view bytes);

// UTF-8 as Windows-1252, or nothing when a character has no byte there (or the
// text is not valid UTF-8).
[[nodiscard]] std::optional<std::string> Utf8ToWindows1252(std::string_view utf8);

[[nodiscard]] bool IsValidUtf8(std::string_view text);

// A stored field as the program's text (see above).
[[nodiscard]] std::string DecodeListField(std::string_view bytes);

// The program's text as a stored field of at most `maxBytes` bytes: the first
// `maxBytes` characters in Windows-1252, or, for a name the code page cannot
// hold (or whose Windows-1252 bytes would read back as UTF-8), as much UTF-8 as
// fits without splitting a character. DecodeListField gives back the text, or
// the part of it that fit.
[[nodiscard]] std::string EncodeListField(std::string_view text, std::size_t maxBytes);

// The text with letters folded to lower case (ASCII, Latin-1, Latin Extended-A,
// Greek and Cyrillic), for comparing file names without regard to case as the
// Windows file system does.
[[nodiscard]] std::string FoldFileNameCase(std::string_view utf8);

}  // namespace kv
