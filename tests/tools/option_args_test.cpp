#include "tools/option_args.h"

#include <gtest/gtest.h>

namespace kv::tool {
namespace {

TEST(OptionArgs, SplitsFileNamesAndOptionsInAnyOrder) {
  const OptionArgs a = ParseOptionArgs({"--size", "10x20", "in.jpg", "--filter", "bell", "out.bmp"},
                                       2, {"size", "filter", "support"});
  EXPECT_EQ(a.positional, (std::vector<std::string>{"in.jpg", "out.bmp"}));
  EXPECT_EQ(a.Require("size"), "10x20");
  EXPECT_EQ(a.Get("filter"), "bell");
  EXPECT_EQ(a.Get("support"), std::nullopt);
}

class BadArgs : public ::testing::TestWithParam<Args> {};

TEST_P(BadArgs, AreUsageErrors) {
  EXPECT_THROW(
      {
        const OptionArgs a = ParseOptionArgs(GetParam(), 2, {"size", "filter"});
        (void)a.Require("size");
      },
      UsageError);
}

INSTANTIATE_TEST_SUITE_P(Cases, BadArgs,
                         ::testing::Values(Args{"in", "out"},            // --size missing
                                           Args{"in", "out", "--size"},  // no value
                                           Args{"in", "out", "--size", "1x1", "--size",
                                                "2x2"},                           // twice
                                           Args{"in", "out", "--colour", "red"},  // unknown
                                           Args{"in", "--size", "1x1"},           // one file
                                           Args{"in", "out", "extra", "--size", "1x1"}));

TEST(OptionArgs, SizesAndNumbers) {
  EXPECT_EQ(ParseSizeArg("size", "1920x1080").width, 1920);
  EXPECT_EQ(ParseSizeArg("size", "1920X1080").height, 1080);
  for (const char* bad : {"1920", "0x10", "10x", "x10", "10x-3", "10x20x3", "40000x10", "a x b"})
    EXPECT_THROW((void)ParseSizeArg("size", bad), UsageError) << bad;
  EXPECT_EQ(ParseIntArg("scaled-filter", "7", 0, 7), 7);
  EXPECT_THROW((void)ParseIntArg("scaled-filter", "8", 0, 7), UsageError);
  EXPECT_THROW((void)ParseIntArg("scaled-filter", "", 0, 7), UsageError);
}

}  // namespace
}  // namespace kv::tool
