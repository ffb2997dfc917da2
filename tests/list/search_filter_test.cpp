#include "list/search_filter.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using Names = std::vector<std::string>;

TEST(SearchFilter, FindsThePartAnywhereWithoutRegardToCase) {
  const Names names = {"Sunset.jpg", "beach.png", "SUNRISE.bmp", "Über.jpg", "über2.png"};
  EXPECT_EQ(FilterNames(names, "sun"), (Names{"Sunset.jpg", "SUNRISE.bmp"}));
  EXPECT_EQ(FilterNames(names, ".PNG"), (Names{"beach.png", "über2.png"}));
  EXPECT_EQ(FilterNames(names, "ÜBER"), (Names{"Über.jpg", "über2.png"}));
  EXPECT_EQ(FilterNames(names, ""), Names{});
  EXPECT_EQ(FilterNames(names, "zzz"), Names{});
  EXPECT_EQ(FilterNames({"a.jpg", "a.jpg"}, "A"), (Names{"a.jpg", "a.jpg"}));
}

TEST(SearchFilter, OnlyBackspaceLettersAndDigitsRefilter) {
  struct Case {
    unsigned key;
    bool empty;
    SearchKeyUp action;
  };
  const Case cases[] = {
      {8, true, SearchKeyUp::FillAll},    {8, false, SearchKeyUp::Filter},
      {'0', false, SearchKeyUp::Filter},  {'9', false, SearchKeyUp::Filter},
      {'A', false, SearchKeyUp::Filter},  {'Z', false, SearchKeyUp::Filter},
      {97, false, SearchKeyUp::Filter},   {122, false, SearchKeyUp::Filter},
      {' ', false, SearchKeyUp::Nothing}, {190, false, SearchKeyUp::Nothing},  // space, dot
      {38, false, SearchKeyUp::Nothing},  {40, false, SearchKeyUp::Nothing},   // Up, Down
      {33, false, SearchKeyUp::Nothing},  {34, false, SearchKeyUp::Nothing},   // pages
      {47, false, SearchKeyUp::Nothing},  {91, false, SearchKeyUp::Nothing},
      {123, false, SearchKeyUp::Nothing}, {13, false, SearchKeyUp::Nothing}};
  for (const Case& c : cases) EXPECT_EQ(SearchKeyUpAction(c.key, c.empty), c.action) << c.key;
}

TEST(SearchFilter, MovesThroughTheResults) {
  struct Case {
    ResultPosition at;
    SearchMove move;
    int count, page;
    ResultPosition expected;
  };
  using M = SearchMove;
  const Case cases[] = {
      {{0, 0}, M::Up, 10, 4, {9, 6}},      // from the first to the last
      {{9, 6}, M::Down, 10, 4, {0, 0}},    // and back round
      {{3, 0}, M::Down, 10, 4, {4, 1}},    // scrolls to keep it in view
      {{-1, 0}, M::Down, 10, 4, {-1, 0}},  // none selected: nothing
      {{-1, 0}, M::Up, 10, 4, {-1, 0}},
      {{6, 4}, M::PageUp, 20, 4, {2, 0}},
      {{9, 6}, M::PageUp, 20, 4, {5, 2}},
      {{2, 1}, M::PageUp, 20, 4, {0, 0}},  // at most to the first, then the top
      {{2, 0}, M::PageDown, 20, 4, {6, 4}},
      {{17, 14}, M::PageDown, 20, 4, {19, 15}},  // the end: last row minus a page
      {{0, 0}, M::PageDown, 3, 4, {2, 0}},
      {{0, 0}, M::Down, 1, 4, {0, 0}},
  };
  for (const Case& c : cases) {
    const ResultPosition r = MoveResult(c.at, c.move, c.count, c.page);
    EXPECT_EQ(r.selected, c.expected.selected) << c.at.selected << " " << int(c.move);
    EXPECT_EQ(r.top, c.expected.top) << c.at.selected << " " << int(c.move);
  }
}

TEST(SearchFilter, APickedNameSelectsEveryEntryOfThatExactName) {
  const Names names = {"a.jpg", "A.jpg", "b.jpg", "a.jpg"};
  EXPECT_EQ(PickedEntries(names, "a.jpg"), (std::vector<std::size_t>{0, 3}));
  EXPECT_EQ(PickedEntries(names, "B.JPG"), std::vector<std::size_t>{});
}

}  // namespace
}  // namespace kv
