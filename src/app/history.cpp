#include "app/history.h"

#include <cstdlib>

#include "app/state_file.h"
#include "list/list_text.h"

namespace kv::app {
namespace {

constexpr char kHistoryKind[] = "Kestrova wallpaper history 1";

bool SameWallpaper(const HistoryEntry& a, const HistoryEntry& b) {
  return a.style == b.style && FoldFileNameCase(a.fullName) == FoldFileNameCase(b.fullName);
}

}  // namespace

void WallpaperHistory::Shown(const HistoryEntry& entry) {
  if (!entries_.empty() && SameWallpaper(entries_[position_], entry)) return;
  if (!entries_.empty()) entries_.resize(position_ + 1);
  entries_.push_back(entry);
  if (entries_.size() > kCapacity)
    entries_.erase(entries_.begin(),
                   entries_.begin() + static_cast<std::ptrdiff_t>(entries_.size() - kCapacity));
  position_ = entries_.size() - 1;
}

std::optional<HistoryEntry> WallpaperHistory::Back(
    const std::function<bool(const std::string&)>& exists) {
  for (std::size_t i = position_; i-- > 0;) {
    if (!exists(entries_[i].fullName)) continue;
    position_ = i;
    return entries_[i];
  }
  return std::nullopt;
}

WallpaperHistory WallpaperHistory::Load(const std::string& path) {
  WallpaperHistory history;
  const auto lines = ReadStateFile(path, kHistoryKind);
  if (!lines || lines->empty() || (*lines)[0].size() != 2 || (*lines)[0][0] != "at") return {};
  for (std::size_t i = 1; i < lines->size(); ++i) {
    const StateLine& line = (*lines)[i];
    if (line.size() != 3 || line[0] != "shown" || line[2].empty()) return {};
    history.entries_.push_back({line[2], line[1]});
  }
  const std::string& at = (*lines)[0][1];
  char* end = nullptr;
  const unsigned long position = std::strtoul(at.c_str(), &end, 10);
  if (at.empty() || *end != '\0' || history.entries_.size() > kCapacity ||
      (history.entries_.empty() ? position != 0 : position >= history.entries_.size()))
    return {};
  history.position_ = position;
  return history;
}

void WallpaperHistory::Save(const std::string& path) const {
  std::vector<StateLine> lines{{"at", std::to_string(position_)}};
  for (const HistoryEntry& e : entries_) lines.push_back({"shown", e.style, e.fullName});
  WriteStateFile(path, kHistoryKind, lines);
}

}  // namespace kv::app
