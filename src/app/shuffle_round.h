#pragma once
// "Random without repeats": Random shows every entry of the list once, in a
// fresh order each round, before any entry comes again. The round is the set of
// entries already drawn, kept by full path (not by index), so entries added to
// the list join the round, removed ones leave it and a reordered list keeps
// what was shown. It lives in a small file beside the list ("NAME.lst.state"),
// never in the list file itself.

#include <optional>
#include <random>
#include <string>
#include <vector>

namespace kv::app {

struct ShuffleRound {
  std::string listFile;            // the list file the round belongs to
  std::vector<std::string> shown;  // full paths drawn in this round, oldest first
};

// The index into `entries` (the list's full paths in list order) that Random
// shows next, recorded in `round`; nothing for an empty list. Each draw is
// uniform over the entries not yet shown in this round (an entry listed twice
// counts once). When every entry has been shown a new round begins, and its
// first draw avoids the entry shown last, so no entry comes twice in a row.
[[nodiscard]] std::optional<std::size_t> DrawWithoutRepeats(ShuffleRound& round,
                                                            const std::vector<std::string>& entries,
                                                            std::mt19937& random);

// "NAME.lst.state" for "NAME.lst".
[[nodiscard]] std::string ShuffleStateFileFor(const std::string& listFile);

// The round kept for `listFile`; a fresh round when the state file is missing,
// damaged or belongs to another list.
[[nodiscard]] ShuffleRound LoadShuffleRound(const std::string& listFile);
// Writes the round beside its list, atomically; raises FileError on failure.
void SaveShuffleRound(const ShuffleRound& round);

}  // namespace kv::app
