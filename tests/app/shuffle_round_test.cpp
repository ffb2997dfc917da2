#include "app/shuffle_round.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "list/list_support.h"

namespace kv::app {
namespace {

std::vector<std::string> Entries(const std::string& dir, int from, int to) {
  std::vector<std::string> out;
  for (int i = from; i < to; ++i) out.push_back(dir + "pic" + std::to_string(i) + ".jpg");
  return out;
}

TEST(RandomWithoutRepeats, ShowsEachOfAThousandEntriesOncePerRoundAcrossRestarts) {
  test::TempDir dir;
  const std::string list = dir.Dir() + "big.lst";
  const std::vector<std::string> entries = Entries("C:\\Walls\\", 0, 1000);
  std::mt19937 random(20240611);
  ShuffleRound round{list, {}};
  std::vector<std::vector<std::size_t>> rounds(3);
  std::size_t previous = entries.size();
  for (auto& drawn : rounds) {
    for (std::size_t n = 0; n < entries.size(); ++n) {
      const auto index = DrawWithoutRepeats(round, entries, random);
      ASSERT_TRUE(index);
      ASSERT_NE(*index, previous) << "the same entry twice in a row";
      previous = *index;
      drawn.push_back(*index);
      // Now and then the program restarts: the round comes back from its file.
      if (n % 97 == 0) {
        SaveShuffleRound(round);
        round = LoadShuffleRound(list);
      }
    }
  }
  for (const auto& drawn : rounds) {
    std::vector<std::size_t> sorted = drawn;
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t i = 0; i < sorted.size(); ++i) ASSERT_EQ(sorted[i], i);
  }
  // A fresh order each round.
  EXPECT_NE(rounds[0], rounds[1]);
  EXPECT_NE(rounds[1], rounds[2]);
}

TEST(RandomWithoutRepeats, ListEditsMidRoundKeepWhatWasShown) {
  std::vector<std::string> entries = Entries("C:\\W\\", 0, 10);
  std::mt19937 random(7);
  ShuffleRound round{"C:\\W\\w.lst", {}};
  std::set<std::string> shown;
  for (int n = 0; n < 4; ++n) shown.insert(entries[*DrawWithoutRepeats(round, entries, random)]);

  // Two shown and two not yet shown entries leave, three join, the list is
  // reversed and one entry is listed a second time in other letter case.
  std::vector<std::string> edited;
  int shownRemoved = 0, openRemoved = 0;
  for (const std::string& e : entries) {
    const bool wasShown = shown.count(e) > 0;
    if (wasShown && shownRemoved < 2) {
      ++shownRemoved;
      shown.erase(e);
      continue;
    }
    if (!wasShown && openRemoved < 2) {
      ++openRemoved;
      continue;
    }
    edited.push_back(e);
  }
  for (const std::string& e : Entries("C:\\W\\", 10, 13)) edited.push_back(e);
  std::reverse(edited.begin(), edited.end());
  std::string twice = edited.back();
  std::transform(twice.begin(), twice.end(), twice.begin(), ::toupper);
  edited.push_back(twice);

  // The rest of the round: every entry that was not shown, once each.
  std::set<std::string> expected;
  for (const std::string& e : edited)
    if (!shown.count(e) && e != twice) expected.insert(e);
  std::set<std::string> rest;
  for (std::size_t n = 0; n < expected.size(); ++n) {
    const std::string picked = edited[*DrawWithoutRepeats(round, edited, random)];
    EXPECT_TRUE(rest.insert(picked).second) << picked << " came twice";
  }
  EXPECT_EQ(rest, expected);
  // Then a new round, in which the two shown entries still listed come again.
  std::set<std::string> next;
  for (std::size_t n = 0; n < expected.size() + shown.size(); ++n)
    next.insert(edited[*DrawWithoutRepeats(round, edited, random)]);
  EXPECT_EQ(next.size(), expected.size() + shown.size());
}

}  // namespace
}  // namespace kv::app
