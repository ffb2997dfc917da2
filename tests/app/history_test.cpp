#include "app/history.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "app/shuffle_round.h"
#include "app/state_file.h"
#include "codecs/file_io.h"
#include "list/list_support.h"

namespace kv::app {
namespace {

HistoryEntry Wall(const std::string& name, const std::string& style = "Scaled") {
  return {"C:\\Walls\\" + name + ".jpg", style};
}

std::string NameOf(const std::optional<HistoryEntry>& e) {
  if (!e) return "(none)";
  const std::string& f = e->fullName;
  return f.substr(9, f.size() - 13);
}

TEST(WallpaperHistory, BackWalksThroughWhatWasShownAcrossARestart) {
  test::TempDir dir;
  const std::string file = dir.Dir() + kHistoryFileName;
  std::set<std::string> gone;
  const auto exists = [&gone](const std::string& f) { return !gone.count(f); };

  WallpaperHistory h;
  EXPECT_EQ(NameOf(h.Back(exists)), "(none)");
  for (const char* name : {"a", "b", "c", "d"}) h.Shown(Wall(name));
  h.Shown(Wall("d"));  // Random drew the current entry again
  EXPECT_EQ(h.Entries().size(), 4u);
  EXPECT_EQ(NameOf(h.Back(exists)), "c");
  EXPECT_EQ(NameOf(h.Back(exists)), "b");

  h.Save(file);
  h = WallpaperHistory::Load(file);  // the program restarts
  EXPECT_EQ(h.Position(), 1u);

  // Shown by another way: what lay above the position goes.
  h.Shown(Wall("e", "Tile"));
  EXPECT_EQ(h.Entries(), (std::vector<HistoryEntry>{Wall("a"), Wall("b"), Wall("e", "Tile")}));
  EXPECT_EQ(NameOf(h.Back(exists)), "b");
  h.Shown(Wall("b"));  // re-applying the entry Back showed records nothing
  EXPECT_EQ(h.Entries().size(), 3u);

  // A picture that is gone is passed over, and stays for later. Showing f
  // drops e, which lay above the position.
  h.Shown(Wall("f"));
  h.Shown(Wall("g"));
  gone.insert(Wall("f").fullName);
  EXPECT_EQ(NameOf(h.Back(exists)), "b");
  EXPECT_EQ(NameOf(h.Back(exists)), "a");
  EXPECT_EQ(NameOf(h.Back(exists)), "(none)");
  EXPECT_EQ(h.Position(), 0u);
  EXPECT_EQ(h.Entries(),
            (std::vector<HistoryEntry>{Wall("a"), Wall("b"), Wall("f"), Wall("g")}));
}

TEST(WallpaperHistory, KeepsTheLastHundred) {
  test::TempDir dir;
  WallpaperHistory h;
  for (int i = 0; i < 150; ++i) h.Shown(Wall(std::to_string(i)));
  h.Save(dir.Dir() + kHistoryFileName);
  h = WallpaperHistory::Load(dir.Dir() + kHistoryFileName);
  ASSERT_EQ(h.Entries().size(), 100u);
  const auto all = [](const std::string&) { return true; };
  std::optional<HistoryEntry> last;
  for (int i = 0; i < 99; ++i) last = h.Back(all);
  EXPECT_EQ(NameOf(last), "50");
  EXPECT_EQ(NameOf(h.Back(all)), "(none)");
}

// Damage to either state file: its reader starts afresh rather than trusting
// any of it.
struct Damage {
  const char* what;
  std::function<std::string(std::string)> apply;
};

class DamagedStateFile : public ::testing::TestWithParam<Damage> {};

std::string ReadText(const std::string& path) {
  const auto bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}
void WriteText(const std::string& path, const std::string& text) {
  WriteFileAtomic(path, text.data(), text.size());
}

TEST_P(DamagedStateFile, StartsAfresh) {
  test::TempDir dir;
  const std::string list = dir.Dir() + "walls.lst";
  const std::string history = dir.Dir() + kHistoryFileName;
  ShuffleRound round{list, {"C:\\a.jpg", "C:\\b.jpg"}};
  SaveShuffleRound(round);
  WallpaperHistory h;
  h.Shown(Wall("a"));
  h.Shown(Wall("b"));
  h.Save(history);
  // Whole, both come back.
  ASSERT_EQ(LoadShuffleRound(list).shown, round.shown);
  ASSERT_EQ(WallpaperHistory::Load(history).Entries().size(), 2u);

  for (const std::string& path : {ShuffleStateFileFor(list), history})
    WriteText(path, GetParam().apply(ReadText(path)));
  EXPECT_TRUE(LoadShuffleRound(list).shown.empty());
  EXPECT_TRUE(WallpaperHistory::Load(history).Entries().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedStateFile,
    ::testing::Values(
        Damage{"cut", [](std::string t) { return t.substr(0, t.size() - 20); }},
        Damage{"cut before the end line", [](std::string t) { return t.substr(0, t.rfind("end")); }},
        Damage{"a letter changed", [](std::string t) { return t.replace(t.find(".jpg"), 1, ","); }},
        Damage{"a line doubled",
               [](std::string t) {
                 const auto second = t.find('\n') + 1;
                 return t.insert(second, t.substr(second, t.find('\n', second) + 1 - second));
               }},
        Damage{"empty", [](std::string) { return std::string(); }},
        Damage{"binary", [](std::string) { return std::string("\x89PNG\r\n\x1a\n\0\0", 10); }}),
    [](const auto& info) {
      std::string name = info.param.what;
      for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

TEST(ShuffleRoundFile, OfAnotherListIsIgnored) {
  test::TempDir dir;
  const std::string mine = dir.Dir() + "mine.lst", other = dir.Dir() + "other.lst";
  SaveShuffleRound({other, {"C:\\a.jpg"}});
  // The other list's state copied beside this list, as a file manager would.
  WriteText(ShuffleStateFileFor(mine), ReadText(ShuffleStateFileFor(other)));
  EXPECT_TRUE(LoadShuffleRound(mine).shown.empty());
  EXPECT_EQ(LoadShuffleRound(other).shown.size(), 1u);
}

}  // namespace
}  // namespace kv::app
