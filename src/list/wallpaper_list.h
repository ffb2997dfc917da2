#pragma once
// The wallpaper list: the program's one ordered collection of wallpapers, each
// entry an image file and the style it is applied with. This is the list
// control's data and every operation on it; the Win32 control that shows it is a
// virtual (owner-data) list view that asks for Count() and Cell() and mirrors the
// selection kept here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "list/styles.h"
#include "list/thumbnail_name.h"

namespace kv {

class Prompts;
class ShellDelete;

// One row: the style text (may be empty), the file's name and its directory with
// the trailing separator. The full file name is path followed by file name.
struct WallpaperEntry {
  std::string style;
  std::string fileName;
  std::string path;

  [[nodiscard]] std::string FullName() const { return path + fileName; }
  friend bool operator==(const WallpaperEntry& a, const WallpaperEntry& b) {
    return a.style == b.style && a.fileName == b.fileName && a.path == b.path;
  }
};

// The column captions of the list control, in column order.
inline constexpr std::array<const char*, 3> kWallpaperListColumns = {"Style", "Filename", "Path"};

inline constexpr char kRemoveNothingSelectedText[] =
    "Item(s) to be removed must be selected before trying to remove";
inline constexpr char kRemoveConfirmText[] =
    "Are You Sure That You Want To Remove The Current Item(s) From The Wallpaper List ?";
inline constexpr char kClearEmptyListText[] =
    "The list cannot be cleared as it already contains 0 items.";
inline constexpr char kClearConfirmText[] =
    "Are You Sure That You Want To Clear The Current Wallpaper List ?";

// The question asked before adding a file that is already listed.
[[nodiscard]] std::string DuplicateQuestion(const std::string& fullName);

// What the list needs of the thumbnail maker.
class ThumbnailSource {
 public:
  virtual ~ThumbnailSource() = default;
  [[nodiscard]] virtual bool CacheEnabled() const = 0;
  // Makes and writes one thumbnail; false when that failed.
  virtual bool MakeThumbnail(const std::string& thumbnailName,
                             const std::string& wallpaperName) = 0;
};

class TKvlistview {
 public:
  TKvlistview(Prompts& prompts, ShellDelete& shellDelete);

  // --- Settings the owner sets from the stored options.
  // The thumbnail directory with its trailing separator (program directory +
  // "Cache\"); empty for no cache at all (no directory, no thumbnails).
  std::string cacheDirectory;
  bool removeThumbsOnDeletion = false;
  bool removeOrphans = false;
  // The manager's thumbnail maker; none means no thumbnails are made.
  ThumbnailSource* thumbnailMaker = nullptr;
  // Runs pending window messages between the steps of long operations.
  std::function<void()> processMessages;
  // The view's hooks: rows added, removed or replaced (the count may have
  // changed), and the selection changed. Held back while updating is suspended.
  std::function<void()> onRowsChanged;
  std::function<void()> onSelectionChanged;

  // The default style index of a file-type group; values of 11 and more are
  // ignored, as stored settings of that kind are.
  void SetDefaultStyle(int group, int styleIndex);
  [[nodiscard]] int DefaultStyle(int group) const;

  // --- Rows.
  [[nodiscard]] std::size_t Count() const noexcept { return rows_.size(); }
  [[nodiscard]] const WallpaperEntry& Entry(std::size_t index) const { return rows_[index].entry; }
  // The text of one cell, column 0 style, 1 file name, 2 path.
  [[nodiscard]] const std::string& Cell(std::size_t index, int column) const;
  void SetStyle(std::size_t index, const std::string& style);
  // Replaces a whole row (the property editor edits name and path too).
  void SetEntry(std::size_t index, const WallpaperEntry& entry);
  // Appends without any check (rows that come from elsewhere, tests).
  void Append(const WallpaperEntry& entry);

  // --- Selection.
  [[nodiscard]] bool IsSelected(std::size_t index) const { return rows_[index].selected; }
  void Select(std::size_t index, bool selected);
  // Selects one row and deselects all others.
  void SelectOnly(std::size_t index);
  void SelectAll(bool selected);
  [[nodiscard]] std::size_t SelectedCount() const noexcept { return selectedCount_; }
  [[nodiscard]] std::vector<std::size_t> SelectedIndices() const;

  // --- Repainting once for many changes (nestable).
  void BeginUpdate() noexcept { ++updating_; }
  void EndUpdate();

  // --- Operations of the list.
  // Replaces the rows by the file's entries, with the whole names its companion
  // keeps (list_file.h); a name that does not exist changes nothing. Raises
  // kv::Error when the file or its companion exists but cannot be read, keeping
  // the current rows.
  void LoadList(const std::string& fileName);
  // Writes all rows, replacing the file (and its companion of names too long for
  // the records, or removing a companion no longer needed) atomically. Raises
  // kv::Error on failure, a read-only list file included, which is left as it
  // is.
  void SaveList(const std::string& fileName) const;
  // Adds one file: duplicate check (asking when `askOnDuplicate`, else skipping
  // silently), thumbnail when the cache is enabled, then a row with the default
  // style of its type. True when a row was added.
  bool AddWallpaper(const std::string& fullName, bool askOnDuplicate);
  // AddWallpaper for each name in order; the number of rows added.
  std::size_t AddWallpapers(const std::vector<std::string>& fullNames, bool askOnDuplicate);
  // Whether a row has this full file name, compared without regard to case.
  [[nodiscard]] bool IsInList(const std::string& fullName) const;
  // The style name of the extension's group, or "" for an extension in none.
  [[nodiscard]] std::string DefaultStyleFor(const std::string& extension) const;
  // Warns when nothing is selected, asks, then RemoveSelectedRows.
  void RemoveSelected();
  // Removes every selected row without a message, deleting each one's thumbnail
  // when configured.
  void RemoveSelectedRows();
  // Warns when empty, asks, then removes all rows (thumbnails are kept).
  void ClearList();
  // Removes all rows without a message.
  void DeleteAll();

 private:
  struct Row {
    WallpaperEntry entry;
    bool selected = false;
  };

  void AddName(const WallpaperEntry& entry);
  void AddName(std::string foldedName);
  void RemoveName(const WallpaperEntry& entry);
  void RowsChanged();
  void SelectionChanged();

  Prompts& prompts_;
  ShellDelete& shellDelete_;
  std::array<std::uint8_t, kFileTypeGroupCount> defaultStyles_;
  std::vector<Row> rows_;
  std::size_t selectedCount_ = 0;
  // Case-folded full names with the number of rows holding each, kept in step
  // with the rows so that the duplicate check does not scan them.
  std::unordered_map<std::string, std::uint32_t> names_;
  int updating_ = 0;
  bool rowsChangedPending_ = false;
  bool selectionChangedPending_ = false;
};

}  // namespace kv
