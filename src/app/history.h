#pragma once
// The wallpaper history: the last wallpapers actually shown (picture and
// style), newest last, with a position that Back walks down. Back after Back
// goes further back; a wallpaper applied by Back is not recorded again; a
// wallpaper shown any other way after some Backs drops the entries above the
// position (as a web browser's history does) and becomes the newest.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kv::app {

struct HistoryEntry {
  std::string fullName;
  std::string style;  // a list style's name
  friend bool operator==(const HistoryEntry& a, const HistoryEntry& b) {
    return a.fullName == b.fullName && a.style == b.style;
  }
};

class WallpaperHistory {
 public:
  static constexpr std::size_t kCapacity = 100;

  // A wallpaper shown by anything but Back. Showing the current entry again
  // (Random drawing it, a one-entry list) records nothing.
  void Shown(const HistoryEntry& entry);
  // The entry Back shows: the nearest one below the position whose file still
  // exists (`exists` tells), which becomes the position; entries passed over
  // stay. Nothing, and the position kept, when there is none.
  [[nodiscard]] std::optional<HistoryEntry> Back(
      const std::function<bool(const std::string&)>& exists);

  [[nodiscard]] const std::vector<HistoryEntry>& Entries() const noexcept { return entries_; }
  // The index of the wallpaper on the desktop; 0 for an empty history.
  [[nodiscard]] std::size_t Position() const noexcept { return position_; }

  // The history file: missing or damaged gives an empty history.
  [[nodiscard]] static WallpaperHistory Load(const std::string& path);
  // Replaces the file atomically; raises FileError on failure.
  void Save(const std::string& path) const;

 private:
  std::vector<HistoryEntry> entries_;
  std::size_t position_ = 0;
};

// "History.txt", beside the program.
inline constexpr char kHistoryFileName[] = "History.txt";

}  // namespace kv::app
