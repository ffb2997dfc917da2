#include "list/manager_rules.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(ManagerRules, DropsAndSearchesCutTheExtensionDifferently) {
  struct Case {
    const char* name;
    bool dropped, searched;
  };
  const Case cases[] = {
      {"C:\\a\\x.jpegx", true, false},  // ".jpeg" once cut to five characters
      {"C:\\a\\x.JPG", true, true},    {"x.tiff", true, true},
      {"x.tiffany", true, false},      {"x.png", true, true},
      {"x.txt", false, false},         {"x", false, false},
      {"dir.d\\x", false, false},      {"x.pc", false, false},
      {"x.psd.bak", false, false},     {"x.bmp1234567", false, false},
      {"x.tifff", true, false},        {"D:\\Phone\\IMG_0001.HEIC", true, true},
      {"x.heif", true, true},          {"x.webp", true, true},
      {"x.avif", true, true},          {"x.avifs", true, false},
      {"x.heics", true, false},        {"x.jxl", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DroppedFileAccepted(c.name), c.dropped) << c.name;
    EXPECT_EQ(SearchedFileAccepted(c.name), c.searched) << c.name;
  }
}

TEST(ManagerRules, CurrentEntryAfterLoading) {
  const int rows[] = {0, 1, 2, 3, 4, 7, 8};
  const int atStart[] = {0, 1, 1, 2, 1, 3, 3};
  const int switched[] = {0, 1, 1, 2, 2, 4, 4};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(StartWallNumber(rows[i]), atStart[i]) << rows[i];
    EXPECT_EQ(SwitchedWallNumber(rows[i]), switched[i]) << rows[i];
  }
}

TEST(ManagerRules, BatchPreselectionMatchesExactlyAfterTheCuts) {
  struct Case {
    std::optional<std::string_view> name;
    const char* style;
    int fileType, styleIndex;
  };
  const Case cases[] = {
      {std::nullopt, "Tile", 0, 0},  // nothing selected: the first items
      {"x.JPG", "Tile", 2, 2},
      {"x.jpeg", "Mitchell", 3, 10},
      {"x.tiffany", "Lanczos3", 5, 9},  // "*.tiff" once cut to six
      {"x.rle", "Center", -1, 0},       // no such file type
      {"x.png", "", 4, -1},             // no style text
      {"x.png", "center", 4, -1},       // exact match only
      {"x.png", "MitchellXYZ", 4, -1},  // cut to ten: "MitchellXY"
      {"x", "Box", -1, 4},
  };
  for (const Case& c : cases) {
    const BatchChoice choice = BatchPreselect(c.name, c.style);
    EXPECT_EQ(choice.fileType, c.fileType) << c.name.value_or("-") << " " << c.style;
    EXPECT_EQ(choice.style, c.styleIndex) << c.name.value_or("-") << " " << c.style;
  }
  EXPECT_EQ(BatchFileType("C:\\p\\Photo.JPEG"), "*.jpeg");
  EXPECT_EQ(BatchFileType("C:\\p\\noext"), "*");
}

}  // namespace
}  // namespace kv
