#include "config/colour_text.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace kv {
namespace {

TEST(ColourText, ValuesReadBackAcrossTheWholeRange) {
  // A stride prime to 2^32 visits values of every byte pattern; the named ones
  // and the edges are added by hand.
  const std::uint32_t extra[] = {0,          0xFFFFFF,   0x1FFFFFFF, 0x80000000, 0x80000018,
                                 0x80000019, 0xFFFFFFFF, 0x00FF00FF, 0x7FFFFFFF, 0x20000000};
  for (std::uint32_t v : extra) EXPECT_EQ(TextToColour(ColourToText(v)), v) << v;
  std::uint32_t v = 0;
  for (int i = 0; i < 200000; ++i, v += 21473u) {
    const std::string text = ColourToText(v);
    ASSERT_EQ(TextToColour(text), v) << text;
  }
}

TEST(ColourText, TextsReadBackUnchanged) {
  for (const char* text : {"clBlack", "clFuchsia", "clWindowText", "clInfoBk", "clNone",
                           "cl3DDkShadow", "$00123456", "$80000019", "$FFFFFFFF", "$20000000"})
    EXPECT_EQ(ColourToText(TextToColour(text).value()), text);
}

struct ColourCase {
  const char* text;
  std::uint32_t value;
};

class ColourNamed : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ColourNamed, WrittenByIdentifier) {
  EXPECT_EQ(ColourToText(GetParam().value), GetParam().text);
  EXPECT_EQ(TextToColour(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Identifiers, ColourNamed,
    ::testing::Values(ColourCase{"clBlack", 0}, ColourCase{"clRed", 0x0000FF},
                      ColourCase{"clBlue", 0xFF0000}, ColourCase{"clWhite", 0xFFFFFF},
                      ColourCase{"clScrollBar", 0x80000000}, ColourCase{"clWindowText", 0x80000008},
                      ColourCase{"clInfoBk", 0x80000018}, ColourCase{"clNone", 0x1FFFFFFF},
                      ColourCase{"$00FF8040", 0x00FF8040}, ColourCase{"$80000019", 0x80000019}));

class ColourParsed : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ColourParsed, Accepted) { EXPECT_EQ(TextToColour(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(OtherForms, ColourParsed,
                         ::testing::Values(ColourCase{"clwindowtext", 0x80000008},
                                           ColourCase{"CLNONE", 0x1FFFFFFF},
                                           ColourCase{"$ff", 0xFF}, ColourCase{"0x10", 0x10},
                                           ColourCase{"255", 255}, ColourCase{"-1", 0xFFFFFFFF},
                                           ColourCase{"4294967295", 0xFFFFFFFF},
                                           ColourCase{"-2147483648", 0x80000000}));

class ColourRejected : public ::testing::TestWithParam<const char*> {};

TEST_P(ColourRejected, GivesNothing) { EXPECT_EQ(TextToColour(GetParam()), std::nullopt); }

INSTANTIATE_TEST_SUITE_P(Unparsable, ColourRejected,
                         ::testing::Values("", "$", "0x", "-", "$123456789", "4294967296",
                                           "-2147483649", "clNothing", " 12", "12 ", "$12G",
                                           "Black", "1e3"));

}  // namespace
}  // namespace kv
