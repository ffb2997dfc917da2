#include "app/shuffle_round.h"

#include <unordered_set>

#include "app/state_file.h"
#include "list/list_text.h"

namespace kv::app {
namespace {

constexpr char kStateKind[] = "Kestrova shuffle round 1";

}  // namespace

std::optional<std::size_t> DrawWithoutRepeats(ShuffleRound& round,
                                              const std::vector<std::string>& entries,
                                              std::mt19937& random) {
  if (entries.empty()) return std::nullopt;
  // Entries that left the list leave the round.
  std::unordered_set<std::string> listed;
  for (const std::string& entry : entries) listed.insert(FoldFileNameCase(entry));
  std::unordered_set<std::string> shown;
  std::vector<std::string> kept;
  for (std::string& path : round.shown) {
    std::string folded = FoldFileNameCase(path);
    if (listed.count(folded) && shown.insert(std::move(folded)).second)
      kept.push_back(std::move(path));
  }
  round.shown = std::move(kept);

  // The first index of each entry not yet shown.
  const auto candidates = [&entries](const std::unordered_set<std::string>& skip) {
    std::vector<std::size_t> out;
    std::unordered_set<std::string> seen;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      std::string folded = FoldFileNameCase(entries[i]);
      if (!skip.count(folded) && seen.insert(std::move(folded)).second) out.push_back(i);
    }
    return out;
  };
  std::vector<std::size_t> open = candidates(shown);
  if (open.empty()) {
    // A new round; the entry shown last waits for the next draw, unless it is
    // the only one.
    std::unordered_set<std::string> last;
    if (!round.shown.empty()) last.insert(FoldFileNameCase(round.shown.back()));
    round.shown.clear();
    open = candidates(last);
    if (open.empty()) open = candidates({});
  }
  std::uniform_int_distribution<std::size_t> pick(0, open.size() - 1);
  const std::size_t index = open[pick(random)];
  round.shown.push_back(entries[index]);
  return index;
}

std::string ShuffleStateFileFor(const std::string& listFile) { return listFile + ".state"; }

ShuffleRound LoadShuffleRound(const std::string& listFile) {
  ShuffleRound round{listFile, {}};
  const auto lines = ReadStateFile(ShuffleStateFileFor(listFile), kStateKind);
  // The first line names the list: a state file copied or renamed along with
  // another list is not that list's round.
  if (!lines || lines->empty() || (*lines)[0].size() != 2 || (*lines)[0][0] != "list" ||
      FoldFileNameCase((*lines)[0][1]) != FoldFileNameCase(listFile))
    return round;
  for (std::size_t i = 1; i < lines->size(); ++i) {
    const StateLine& line = (*lines)[i];
    if (line.size() != 2 || line[0] != "shown" || line[1].empty()) return {listFile, {}};
    round.shown.push_back(line[1]);
  }
  return round;
}

void SaveShuffleRound(const ShuffleRound& round) {
  std::vector<StateLine> lines{{"list", round.listFile}};
  for (const std::string& path : round.shown) lines.push_back({"shown", path});
  WriteStateFile(ShuffleStateFileFor(round.listFile), kStateKind, lines);
}

}  // namespace kv::app
