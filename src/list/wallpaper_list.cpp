#include "list/wallpaper_list.h"

#include <utility>

#include "base/error.h"
#include "codecs/file_io.h"
#include "list/existing_files.h"
#include "list/list_file.h"
#include "list/list_text.h"
#include "list/shell_files.h"
#include "widgets/prompts.h"

namespace kv {

std::string DuplicateQuestion(const std::string& fullName) {
  return fullName + "\ris already in list. Would you like to add " + fullName + " anyway ?";
}

TKvlistview::TKvlistview(Prompts& prompts, ShellDelete& shellDelete)
    : prompts_(prompts), shellDelete_(shellDelete) {
  defaultStyles_.fill(1);  // "Stretch"
}

void TKvlistview::SetDefaultStyle(int group, int styleIndex) {
  if (group < 0 || group >= kFileTypeGroupCount || styleIndex < 0 || styleIndex >= kStyleCount)
    return;
  defaultStyles_[static_cast<std::size_t>(group)] = static_cast<std::uint8_t>(styleIndex);
}

int TKvlistview::DefaultStyle(int group) const {
  return defaultStyles_.at(static_cast<std::size_t>(group));
}

const std::string& TKvlistview::Cell(std::size_t index, int column) const {
  const WallpaperEntry& e = rows_[index].entry;
  return column == 0 ? e.style : column == 1 ? e.fileName : e.path;
}

void TKvlistview::SetStyle(std::size_t index, const std::string& style) {
  rows_.at(index).entry.style = style;
  RowsChanged();
}

void TKvlistview::SetEntry(std::size_t index, const WallpaperEntry& entry) {
  Row& row = rows_.at(index);
  RemoveName(row.entry);
  row.entry = entry;
  AddName(row.entry);
  RowsChanged();
}

void TKvlistview::Append(const WallpaperEntry& entry) {
  rows_.push_back({entry, false});
  AddName(entry);
  RowsChanged();
}

void TKvlistview::Select(std::size_t index, bool selected) {
  Row& row = rows_.at(index);
  if (row.selected == selected) return;
  row.selected = selected;
  selected ? ++selectedCount_ : --selectedCount_;
  SelectionChanged();
}

void TKvlistview::SelectOnly(std::size_t index) {
  BeginUpdate();
  SelectAll(false);
  Select(index, true);
  EndUpdate();
}

void TKvlistview::SelectAll(bool selected) {
  for (Row& row : rows_) row.selected = selected;
  selectedCount_ = selected ? rows_.size() : 0;
  SelectionChanged();
}

std::vector<std::size_t> TKvlistview::SelectedIndices() const {
  std::vector<std::size_t> out;
  out.reserve(selectedCount_);
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].selected) out.push_back(i);
  return out;
}

void TKvlistview::EndUpdate() {
  if (updating_ == 0 || --updating_ > 0) return;
  if (std::exchange(rowsChangedPending_, false) && onRowsChanged) onRowsChanged();
  if (std::exchange(selectionChangedPending_, false) && onSelectionChanged) onSelectionChanged();
}

void TKvlistview::RowsChanged() {
  if (updating_ > 0)
    rowsChangedPending_ = true;
  else if (onRowsChanged)
    onRowsChanged();
}

void TKvlistview::SelectionChanged() {
  if (updating_ > 0)
    selectionChangedPending_ = true;
  else if (onSelectionChanged)
    onSelectionChanged();
}

void TKvlistview::AddName(const WallpaperEntry& entry) {
  ++names_[FoldFileNameCase(entry.FullName())];
}

void TKvlistview::AddName(std::string foldedName) { ++names_[std::move(foldedName)]; }

void TKvlistview::RemoveName(const WallpaperEntry& entry) {
  const auto it = names_.find(FoldFileNameCase(entry.FullName()));
  if (it != names_.end() && --it->second == 0) names_.erase(it);
}

bool TKvlistview::IsInList(const std::string& fullName) const {
  return names_.count(FoldFileNameCase(fullName)) != 0;
}

std::string TKvlistview::DefaultStyleFor(const std::string& extension) const {
  const auto group = FileTypeGroup(extension);
  return group ? StyleName(defaultStyles_[static_cast<std::size_t>(*group)]) : std::string();
}

void TKvlistview::LoadList(const std::string& fileName) {
  if (!FileExists(fileName)) return;
  std::vector<std::uint8_t> bytes, names;
  const std::string namesFile = fileName + kListNamesSuffix;
  try {
    bytes = ReadFileBytes(fileName);
    // A companion that exists but cannot be read fails the load like the list
    // itself: loading the cut names would lose the whole ones at the next save.
    if (FileExists(namesFile)) names = ReadFileBytes(namesFile);
  } catch (const FileError& e) {
    throw Error(e.what());
  }
  const std::vector<ListRecord> records =
      ParseListFiles(bytes.data(), bytes.size(), names.data(), names.size());
  std::vector<bool> present;
  if (removeOrphans) {
    std::vector<std::string> fullNames;
    fullNames.reserve(records.size());
    for (const ListRecord& r : records) fullNames.push_back(r.path + r.fileName);
    present = ExistingFiles(fullNames);
  }
  std::vector<Row> rows;
  rows.reserve(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (removeOrphans && !present[i]) continue;
    const ListRecord& r = records[i];
    rows.push_back({WallpaperEntry{StyleName(r.style), r.fileName, r.path}, false});
  }
  rows_ = std::move(rows);
  selectedCount_ = 0;
  names_.clear();
  names_.reserve(rows_.size());
  for (const Row& row : rows_) AddName(row.entry);
  RowsChanged();
  SelectionChanged();
}

void TKvlistview::SaveList(const std::string& fileName) const {
  std::vector<ListRecord> records;
  records.reserve(rows_.size());
  for (const Row& row : rows_)
    records.push_back({row.entry.fileName, row.entry.path,
                       static_cast<std::uint8_t>(StyleIndexOf(row.entry.style))});
  const ListFiles files = FormatListFiles(records);
  const std::string namesFile = fileName + kListNamesSuffix;
  try {
    // A list the user marked read-only stays as it is, companion and all; both
    // are checked before either is written.
    AtomicFileWriter list(fileName, Durability::Flushed, ReadOnlyTarget::Refuse);
    RefuseReadOnly(namesFile, ReadOnlyTarget::Refuse);
    // The companion goes first: should the list then fail, the old records no
    // longer match its fingerprint and are matched by their cut names.
    if (!files.names.empty())
      WriteFileAtomic(namesFile, files.names.data(), files.names.size(), Durability::Flushed,
                      ReadOnlyTarget::Refuse);
    list.Write(files.records.data(), files.records.size());
    list.Commit();
  } catch (const FileError& e) {
    throw Error(e.what());
  }
  if (files.names.empty()) RemoveFile(namesFile);
}

bool TKvlistview::AddWallpaper(const std::string& fullName, bool askOnDuplicate) {
  if (!cacheDirectory.empty() && !DirectoryExists(cacheDirectory)) MakeDirectory(cacheDirectory);
  std::string folded = FoldFileNameCase(fullName);
  if (names_.count(folded) != 0 &&
      (!askOnDuplicate || !prompts_.AskInformation(DuplicateQuestion(fullName))))
    return false;
  if (thumbnailMaker && thumbnailMaker->CacheEnabled() && !cacheDirectory.empty()) {
    const std::string thumbnail = ThumbnailName(cacheDirectory, fullName);
    // An existing thumbnail of this picture (or an unmarked one of its name) is
    // reused as it is.
    if (!FileExists(thumbnail) && !thumbnailMaker->MakeThumbnail(thumbnail, fullName)) return false;
  }
  rows_.push_back({{DefaultStyleFor(LowerExtension(fullName)), std::string(NamePart(fullName)),
                    std::string(PathPart(fullName))},
                   false});
  AddName(std::move(folded));
  RowsChanged();
  return true;
}

std::size_t TKvlistview::AddWallpapers(const std::vector<std::string>& fullNames,
                                       bool askOnDuplicate) {
  std::size_t added = 0;
  rows_.reserve(rows_.size() + fullNames.size());
  names_.reserve(names_.size() + fullNames.size());
  BeginUpdate();
  for (const std::string& name : fullNames) added += AddWallpaper(name, askOnDuplicate) ? 1 : 0;
  EndUpdate();
  return added;
}

void TKvlistview::RemoveSelected() {
  if (selectedCount_ == 0) {
    prompts_.Warning(kRemoveNothingSelectedText);
    return;
  }
  if (!prompts_.Confirm(kRemoveConfirmText)) return;
  RemoveSelectedRows();
}

void TKvlistview::RemoveSelectedRows() {
  if (selectedCount_ == 0) return;
  // The rows go in one pass, and the list is whole again before any window
  // message runs: a command that arrives while thumbnails are being deleted
  // sees the list without the removed rows.
  std::vector<WallpaperEntry> removed;
  removed.reserve(selectedCount_);
  std::size_t kept = 0;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].selected) {
      RemoveName(rows_[i].entry);
      removed.push_back(std::move(rows_[i].entry));
    } else {
      if (kept != i) rows_[kept] = std::move(rows_[i]);
      ++kept;
    }
  }
  rows_.resize(kept);
  selectedCount_ = 0;
  RowsChanged();
  SelectionChanged();
  for (const WallpaperEntry& entry : removed) {
    if (removeThumbsOnDeletion && !cacheDirectory.empty()) {
      const std::string thumbnail = ThumbnailName(cacheDirectory, entry.FullName());
      if (FileExists(thumbnail)) shellDelete_.Delete(thumbnail);
    }
    if (processMessages) processMessages();
  }
}

void TKvlistview::ClearList() {
  if (rows_.empty()) {
    prompts_.Warning(kClearEmptyListText);
    return;
  }
  if (prompts_.Confirm(kClearConfirmText)) DeleteAll();
}

void TKvlistview::DeleteAll() {
  rows_.clear();
  names_.clear();
  selectedCount_ = 0;
  RowsChanged();
  SelectionChanged();
}

}  // namespace kv
