#include "skin/control_values.h"

#include <gtest/gtest.h>

#include "skin/ini_file.h"

namespace kv::skin {
namespace {

struct IntegerCase {
  const char* text;
  std::optional<int> value;
};

class ParseIntegerTable : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(ParseIntegerTable, ReadsLikeTheProfileReaders) {
  EXPECT_EQ(ParseInteger(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseIntegerTable,
    ::testing::Values(IntegerCase{"42", 42}, IntegerCase{"  -7", -7}, IntegerCase{"+3", 3},
                      IntegerCase{"$1F", 31}, IntegerCase{"0x10", 16}, IntegerCase{"0X10", 16},
                      IntegerCase{"$FFFFFFFF", -1}, IntegerCase{"2147483647", 2147483647},
                      IntegerCase{"2147483648", std::nullopt}, IntegerCase{"", std::nullopt},
                      IntegerCase{"12px", std::nullopt}, IntegerCase{"$", std::nullopt},
                      IntegerCase{"-", std::nullopt}, IntegerCase{"99999999999", std::nullopt}));

TEST(ColourHex, IsSixLowerCaseDigitsRedGreenBlue) {
  EXPECT_EQ(ColourToHex(MakeColour(0, 255, 0)), "00ff00");
  EXPECT_EQ(ColourToHex(MakeColour(255, 0, 0)), "ff0000");
  EXPECT_EQ(ColourToHex(MakeColour(0x12, 0xAB, 0x0C)), "12ab0c");
  EXPECT_EQ(HexToColour("12AB0c"), MakeColour(0x12, 0xAB, 0x0C));
  EXPECT_EQ(HexToColour("ff00"), std::nullopt);
  EXPECT_EQ(HexToColour("gg0000"), std::nullopt);
  EXPECT_EQ(HexToColour("ff00000"), std::nullopt);
}

TEST(ColourHex, UnreadableValueKeepsTheCurrentColour) {
  MemoryIniFile ini;
  ini.WriteString("B", "Color", "blue");
  EXPECT_EQ(ReadColour(ini, "b", "color", 0x123456), 0x123456u);
}

TEST(AlignmentAndLayout, ReadBackIgnoringCaseWithTheirOwnFallbacks) {
  EXPECT_EQ(ParseAlignment("Center"), taCenter);
  EXPECT_EQ(ParseAlignment("RIGHT"), taRightJustify);
  EXPECT_EQ(ParseAlignment("middle"), taLeftJustify);
  EXPECT_EQ(ParseLayout("Top"), tlTop);
  EXPECT_EQ(ParseLayout("bottom"), tlBottom);
  EXPECT_EQ(ParseLayout("middle"), tlCenter);
  for (auto a : {taLeftJustify, taRightJustify, taCenter})
    EXPECT_EQ(ParseAlignment(AlignmentName(a)), a);
  for (auto l : {tlTop, tlCenter, tlBottom}) EXPECT_EQ(ParseLayout(LayoutName(l)), l);
}

TEST(Fonts, RoundTripThroughTheirKeys) {
  MemoryIniFile ini;
  FontSpec f;
  f.name = "Tahoma";
  f.size = 11;
  f.italic = true;
  f.strikeOut = true;
  f.color = MakeColour(1, 2, 3);
  WriteFont(ini, "Btn", "DisabledFont", f);
  EXPECT_EQ(ini.ReadString("Btn", "DisabledFontItalic"), "1");
  EXPECT_EQ(ini.ReadString("Btn", "DisabledFontBold"), "0");
  EXPECT_EQ(ini.ReadString("Btn", "DisabledFontColor"), "010203");
  FontSpec back;
  back.color = MakeColour(9, 9, 9);
  ReadFont(ini, "Btn", "DisabledFont", back);
  EXPECT_EQ(back, f);
}

TEST(Fonts, StoredFalseDoesNotRemoveAStyleAndColourDefaultsToBlack) {
  MemoryIniFile ini;
  WriteBool(ini, "L", "FontBold", false);
  FontSpec f;
  f.bold = true;
  f.color = MakeColour(200, 0, 0);
  ReadFont(ini, "L", "Font", f);
  EXPECT_TRUE(f.bold);
  EXPECT_EQ(f.color, MakeColour(0, 0, 0));
  EXPECT_EQ(f.name, "MS Sans Serif");
}

TEST(Fonts, SizeOutOfRangeIsNotTaken) {
  MemoryIniFile ini;
  ini.WriteString("L", "FontSize", "0");
  FontSpec f;
  ReadFont(ini, "L", "Font", f);
  EXPECT_EQ(f.size, 8);
  ini.WriteString("L", "FontSize", "100000");
  ReadFont(ini, "L", "Font", f);
  EXPECT_EQ(f.size, 8);
}

TEST(CaptionShift, MovesTheCaptionDownByLayout) {
  EXPECT_EQ(CaptionShift(tlBottom, 40, 13), 27);
  EXPECT_EQ(CaptionShift(tlCenter, 40, 13), 13);
  EXPECT_EQ(CaptionShift(tlTop, 40, 13), 0);
  EXPECT_EQ(CaptionShift(tlCenter, 10, 13), -1) << "halved towards zero";
}

TEST(ControlDir, RelativeDirectoriesLieInTheProgramDirectory) {
  EXPECT_EQ(ResolveControlDir("skins\\a", "C:\\Prog\\"), "C:\\Prog\\skins\\a");
  EXPECT_EQ(ResolveControlDir("D:\\x", "C:\\Prog\\"), "D:\\x");
  EXPECT_EQ(ResolveControlDir("D:x", "C:\\Prog\\"), "C:\\Prog\\D:x");
  EXPECT_EQ(ResolveControlDir("\\\\srv\\share", "C:\\Prog\\"), "\\\\srv\\share");
  EXPECT_EQ(JoinPath("D:\\x", "coord.ini"), "D:\\x\\coord.ini");
  EXPECT_EQ(JoinPath("D:\\x\\", "coord.ini"), "D:\\x\\coord.ini");
}

}  // namespace
}  // namespace kv::skin
