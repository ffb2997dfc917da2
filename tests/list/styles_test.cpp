#include "list/styles.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

struct StyleCase {
  const char* text;
  int index;
};

class StyleIndex : public ::testing::TestWithParam<StyleCase> {};

TEST_P(StyleIndex, MapsTextToTheFileIndex) {
  EXPECT_EQ(StyleIndexOf(GetParam().text), GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(Texts, StyleIndex,
                         ::testing::Values(StyleCase{"Center", 0}, StyleCase{"Stretch", 1},
                                           StyleCase{"tile", 2}, StyleCase{"SCALED", 3},
                                           StyleCase{"BOX", 4}, StyleCase{"Triangle", 5},
                                           StyleCase{"hermite", 6}, StyleCase{"Bell", 7},
                                           StyleCase{"Spline", 8}, StyleCase{"LANCZOS3", 9},
                                           StyleCase{"Mitchell", 10}, StyleCase{"", 0},
                                           StyleCase{"Bell ", 0}, StyleCase{"Centre", 0},
                                           StyleCase{"Stretch (Default)", 0}));

TEST(StyleName, EveryIndexReadsBackAndOthersShowAsCenter) {
  for (int i = 0; i < kStyleCount; ++i) EXPECT_EQ(StyleIndexOf(StyleName(i)), i);
  EXPECT_STREQ(StyleName(11), "Center");
  EXPECT_STREQ(StyleName(255), "Center");
  EXPECT_STREQ(StyleName(-1), "Center");
}

struct GroupCase {
  const char* extension;
  int group;  // -1: none
};

class Group : public ::testing::TestWithParam<GroupCase> {};

TEST_P(Group, OfExtension) {
  const auto g = FileTypeGroup(GetParam().extension);
  EXPECT_EQ(g.value_or(-1), GetParam().group);
}

INSTANTIATE_TEST_SUITE_P(
    Extensions, Group,
    ::testing::Values(GroupCase{".jpg", 0}, GroupCase{".jpeg", 0}, GroupCase{".bmp", 1},
                      GroupCase{".gif", 2}, GroupCase{".png", 3}, GroupCase{".tiff", 4},
                      GroupCase{".tif", 4}, GroupCase{".tga", 5}, GroupCase{".vst", 5},
                      GroupCase{".icb", 5}, GroupCase{".vda", 5}, GroupCase{".win", 5},
                      GroupCase{".pcx", 6}, GroupCase{".pcc", 6}, GroupCase{".psd", 7},
                      GroupCase{".pdd", 7}, GroupCase{".psp", 8}, GroupCase{".rle", -1},
                      GroupCase{".dib", -1}, GroupCase{".JPG", -1}, GroupCase{"", -1},
                      GroupCase{".jpegx", -1}, GroupCase{".webp", 9}, GroupCase{".heic", 10},
                      GroupCase{".heif", 10}, GroupCase{".avif", 11}, GroupCase{".AVIF", -1}));

TEST(AcceptedExtensions, AreTheNineteenClassicAndFourNewerLowerCaseOnes) {
  int accepted = 0;
  for (const char* e : {".tif", ".tiff", ".jpg", ".jpeg", ".tga",  ".vst",  ".icb", ".vda",
                        ".win", ".pcx",  ".pcc", ".gif",  ".bmp",  ".rle",  ".dib", ".psd",
                        ".pdd", ".psp",  ".png", ".webp", ".heic", ".heif", ".avif"})
    accepted += IsAcceptedExtension(e) ? 1 : 0;
  EXPECT_EQ(accepted, 23);
  for (const char* e : {"", ".", ".JPG", ".jpegx", ".txt", "jpg", ".lst", ".WEBP", ".heics"})
    EXPECT_FALSE(IsAcceptedExtension(e)) << e;
}

struct NameCase {
  const char* full;
  const char* path;
  const char* name;
  const char* extension;
  const char* thumbnail;
};

class FileNameParts : public ::testing::TestWithParam<NameCase> {};

TEST_P(FileNameParts, SplitAtTheLastSeparatorAndDot) {
  const NameCase& c = GetParam();
  EXPECT_EQ(PathPart(c.full), c.path);
  EXPECT_EQ(NamePart(c.full), c.name);
  EXPECT_EQ(LowerExtension(c.full), c.extension);
  EXPECT_EQ(ChangeExtension(NamePart(c.full), ".jpg"), c.thumbnail);
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileNameParts,
    ::testing::Values(NameCase{"D:\\Walls\\sea.bmp", "D:\\Walls\\", "sea.bmp", ".bmp", "sea.jpg"},
                      NameCase{"E:\\b\\photo.PNG", "E:\\b\\", "photo.PNG", ".png", "photo.jpg"},
                      NameCase{"C:\\x\\a.b.png", "C:\\x\\", "a.b.png", ".png", "a.b.jpg"},
                      NameCase{"C:\\x\\noext", "C:\\x\\", "noext", "", "noext.jpg"},
                      NameCase{"C:\\dir.d\\noext", "C:\\dir.d\\", "noext", "", "noext.jpg"},
                      NameCase{"/home/u/pic.jpeg", "/home/u/", "pic.jpeg", ".jpeg", "pic.jpg"},
                      NameCase{"bare.gif", "", "bare.gif", ".gif", "bare.jpg"}));

}  // namespace
}  // namespace kv
