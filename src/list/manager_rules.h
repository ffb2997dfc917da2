#pragma once
// The manager's small rules, kept apart from its window: which files an add
// takes (dropped names and directory searches cut the extension differently
// before the check), the current entry after a list is loaded, and the batch
// style change's choices and matching.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "list/styles.h"

namespace kv {

// A dropped name is taken when its lower-cased extension, cut to 5 characters
// (the dot included), is accepted: "x.jpegx" passes as ".jpeg".
[[nodiscard]] bool DroppedFileAccepted(std::string_view fullName);
// A file a directory search finds is taken when its lower-cased extension, cut
// to 10 characters, is accepted: "x.jpegx" is skipped.
[[nodiscard]] bool SearchedFileAccepted(std::string_view fullName);

// The current entry at start-up without a stored number: (n - 1) div 2 for
// more than 3 rows, else (n + 1) div 2.
[[nodiscard]] int StartWallNumber(int rows);
// The current entry after switching to a list of `rows` rows: (n + 1) div 2.
[[nodiscard]] int SwitchedWallNumber(int rows);

// The "File type :" items of the batch style change.
inline constexpr std::array<const char*, 16> kBatchFileTypes = {
    "*.bmp", "*.gif", "*.jpg", "*.jpeg", "*.png", "*.tiff", "*.tif", "*.tga",
    "*.vst", "*.icb", "*.vda", "*.win",  "*.pcc", "*.psd",  "*.pdd", "*.psp"};

// The entry's file type as the batch dialog writes it: "*" and the
// lower-cased extension.
[[nodiscard]] std::string BatchFileType(std::string_view fileName);

struct BatchChoice {
  int fileType = 0;  // index into kBatchFileTypes; -1: none
  int style = 0;     // index into kStyleNames; -1: none
};
// The preselection for the first selected entry: its file type cut to 6
// characters and its style text cut to 10, each matched exactly (none when
// absent); without a selected entry the first item of each.
[[nodiscard]] BatchChoice BatchPreselect(std::optional<std::string_view> fileName,
                                         std::string_view style);

}  // namespace kv
