// The program's own state files (the wallpaper history, the shuffle round beside
// a list) are read back at every start from a folder any program of the user
// can write to: any bytes are refused whole or read as a state that is saved
// and read back unchanged, and that Back and Random can walk.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "app/history.h"
#include "app/shuffle_round.h"
#include "app/state_file.h"

namespace {

// A fixed folder, so that a seed's round can name the list it belongs to.
std::string TempDir() {
  static const std::string dir = [] {
    const std::string name = "/tmp/kv-fuzz-state";
    mkdir(name.c_str(), 0700);
    return name + "/";
  }();
  return dir;
}

void WriteBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kv::app;
  const std::string dir = TempDir();

  // The history: whatever loads saves and loads back the same, and Back walks
  // it down to its oldest entry without leaving it.
  const std::string historyFile = dir + kHistoryFileName;
  WriteBytes(historyFile, data, size);
  WallpaperHistory history = WallpaperHistory::Load(historyFile);
  if (history.Entries().size() > WallpaperHistory::kCapacity) std::abort();
  history.Save(historyFile);
  const WallpaperHistory again = WallpaperHistory::Load(historyFile);
  if (again.Entries() != history.Entries() || again.Position() != history.Position()) std::abort();
  for (std::size_t steps = 0; history.Back([](const std::string&) { return true; }); ++steps)
    if (steps > WallpaperHistory::kCapacity || history.Position() >= history.Entries().size())
      std::abort();

  // The shuffle round: what loads round-trips, and a draw over the shown paths
  // plus one new entry picks an entry of the list.
  const std::string listFile = dir + "fuzz.lst";
  WriteBytes(ShuffleStateFileFor(listFile), data, size);
  ShuffleRound round = LoadShuffleRound(listFile);
  SaveShuffleRound(round);
  if (LoadShuffleRound(listFile).shown != round.shown) std::abort();
  std::vector<std::string> entries = round.shown;
  entries.push_back(dir + "new.jpg");
  std::mt19937 random(static_cast<unsigned>(size));
  const auto drawn = DrawWithoutRepeats(round, entries, random);
  if (!drawn || *drawn >= entries.size()) std::abort();
  return 0;
}
