#include "list/list_text.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(Windows1252, EveryByteReadsBackAsItself) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::string utf8 = Windows1252ToUtf8(byte);
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_EQ(Utf8ToWindows1252(utf8), byte) << b;
  }
}

TEST(Windows1252, MapsTheHighControlsToTheirCharacters) {
  EXPECT_EQ(Windows1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(Windows1252ToUtf8("\x9F"), "\xC5\xB8");      // Y with diaeresis
  EXPECT_EQ(Windows1252ToUtf8("W\xE4nde"), "W\xC3\xA4nde");
  EXPECT_EQ(Utf8ToWindows1252("\xE2\x98\x80"), std::nullopt);  // a sun: not in the code page
  EXPECT_EQ(Utf8ToWindows1252("\xC3"), std::nullopt);          // cut UTF-8
}

struct FieldCase {
  const char* stored;
  const char* text;
};

class ListField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(ListField, ReadsAsUtf8OnlyWhenValidAndNotPlainAscii) {
  EXPECT_EQ(DecodeListField(GetParam().stored), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ListField,
    ::testing::Values(FieldCase{"sea.bmp", "sea.bmp"},
                      FieldCase{"W\xE4nde.jpg", "W\xC3\xA4nde.jpg"},        // old ANSI name
                      FieldCase{"\xC9t\xE9.png", "\xC3\x89t\xC3\xA9.png"},  // old ANSI name
                      FieldCase{"\xE2\x98\x80.png", "\xE2\x98\x80.png"},    // UTF-8 name
                      FieldCase{"\xD0\x9C\xD0\xBE\xD1\x80\xD0\xB5",
                                "\xD0\x9C\xD0\xBE\xD1\x80\xD0\xB5"},
                      FieldCase{"\x93quoted\x94", "\xE2\x80\x9Cquoted\xE2\x80\x9D"}));

TEST(ListField, NamesTheCodePageHoldsAreStoredAsAnsiAndCutToTheField) {
  EXPECT_EQ(EncodeListField("W\xC3\xA4nde.jpg", 50), "W\xE4nde.jpg");
  EXPECT_EQ(EncodeListField(std::string(60, 'a'), 50), std::string(50, 'a'));
  EXPECT_EQ(EncodeListField("\xC3\xA4\xC3\xA4\xC3\xA4", 2), "\xE4\xE4");
}

TEST(ListField, OtherNamesAreUtf8CutAtACharacterBoundary) {
  const std::string sun = "\xE2\x98\x80";
  EXPECT_EQ(EncodeListField(sun + ".png", 50), sun + ".png");
  const std::string name = std::string(48, 'a') + sun;  // 51 bytes
  EXPECT_EQ(EncodeListField(name, 50), std::string(48, 'a'));
  const std::string cyrillic = "\xD0\x9C\xD0\xBE";
  EXPECT_EQ(EncodeListField(cyrillic, 3), "\xD0\x9C");
}

TEST(ListField, ANameWhoseAnsiBytesLookLikeUtf8IsStoredAsUtf8) {
  const std::string name = "\xC3\x83\xC2\xA9.jpg";  // "Ã©.jpg": ANSI C3 A9 would read as "é"
  EXPECT_EQ(EncodeListField(name, 50), name);
  EXPECT_EQ(DecodeListField(EncodeListField(name, 50)), name);
  // Cut inside the field, the ANSI bytes no longer look like UTF-8.
  EXPECT_EQ(EncodeListField(name, 1), "\xC3");
}

TEST(ListField, EveryEncodedNameDecodesToItselfWhenItFits) {
  for (const char* text : {"plain.bmp", "W\xC3\xA4nde.jpg", "\xE2\x98\x80 sun.png",
                           "\xD0\x9C\xD0\xBE\xD1\x80\xD0\xB5.jpg", "\xE2\x82\xAC 5.gif",
                           "mixed \xC3\xA4 \xE2\x98\x80.tif", "\xF0\x9F\x8C\x8A.png",
                           "\xC3\x83\xC2\xA9", "\xC3\x82\xC2\xA0x"})
    EXPECT_EQ(DecodeListField(EncodeListField(text, 200)), text);
}

struct FoldCase {
  const char* a;
  const char* b;
};

class FileNameCase : public ::testing::TestWithParam<FoldCase> {};

TEST_P(FileNameCase, FoldsToTheSameText) {
  EXPECT_EQ(FoldFileNameCase(GetParam().a), FoldFileNameCase(GetParam().b));
}

INSTANTIATE_TEST_SUITE_P(
    Letters, FileNameCase,
    ::testing::Values(FoldCase{"C:\\WALLS\\SEA.BMP", "c:\\walls\\sea.bmp"},
                      FoldCase{"\xC3\x84\xC3\x96\xC3\x9C", "\xC3\xA4\xC3\xB6\xC3\xBC"},  // ÄÖÜ
                      FoldCase{"\xC5\x81\xC3\x93\xC5\xB9", "\xC5\x82\xC3\xB3\xC5\xBA"},  // ŁÓŹ
                      FoldCase{"\xC4\xB9\xC5\x87", "\xC4\xBA\xC5\x88"},                  // ĹŇ
                      FoldCase{"\xC5\xB8", "\xC3\xBF"},                                  // Ÿ ÿ
                      FoldCase{"\xCE\xA3", "\xCF\x83"},                                  // Σ σ
                      FoldCase{"\xD0\x9C\xD0\x81", "\xD0\xBC\xD1\x91"}));  // МЁ мё

TEST(FileNameCase, KeepsDifferentLettersApart) {
  EXPECT_NE(FoldFileNameCase("\xC3\x97"), FoldFileNameCase("\xC3\xB7"));  // × and ÷
  EXPECT_NE(FoldFileNameCase("a.bmp"), FoldFileNameCase("b.bmp"));
  EXPECT_NE(FoldFileNameCase("\xC4\xB8"), FoldFileNameCase("\xC4\xB9"));  // ĸ and Ĺ
  EXPECT_EQ(FoldFileNameCase("\xFF\xFE"
                             "AB"),
            "\xFF\xFE"
            "ab");  // not UTF-8
}

}  // namespace
}  // namespace kv
