// The sample skins shipped in the program folder, read from the source tree as
// the program reads them: every picture they name exists and loads, every
// command is one the program knows, every label index names a label, and every
// control lies on the window's shape rather than on its cut-out.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "codecs/file_io.h"
#include "codecs/image_file.h"
#include "skin/skin_file.h"

namespace kv::skin {
namespace {

constexpr Colour kMagenta = MakeColour(255, 0, 255);

std::string SkinFolder(const std::string& name) {
  return std::string(KV_TEST_DATA_DIR) + "/../../src/resources/skins/" + name + "/";
}

// The lines of an initialisation file as the profile functions take them:
// "[section]" headers, "key=value" with blanks around both cut, ";" comments.
MemoryIniFile ReadIniText(const std::string& path) {
  MemoryIniFile ini;
  std::ifstream in(path);
  std::string line, section;
  const auto trim = [](std::string s) {
    const auto first = s.find_first_not_of(" \t\r");
    const auto last = s.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
  };
  while (std::getline(in, line)) {
    line = trim(line);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
    } else if (const auto eq = line.find('='); eq != std::string::npos) {
      ini.WriteString(section, trim(line.substr(0, eq)), trim(line.substr(eq + 1)));
    }
  }
  return ini;
}

Bitmap Picture(const std::optional<std::string>& file) {
  Bitmap picture;
  if (!file) {
    ADD_FAILURE() << "a picture is missing";
    return picture;
  }
  EXPECT_TRUE(FileExists(*file)) << *file;
  LoadImageFile(picture, *file);
  return picture;
}

// Every drawn (not magenta) pixel of `control` at (x, y) falls on a drawn pixel
// of the window picture `back`: the window's region would cut off the rest.
void ExpectOnTheShape(const Bitmap& back, const Bitmap& control, int x, int y,
                      const std::string& what) {
  ASSERT_FALSE(control.Empty()) << what;
  int outside = 0;
  for (int cy = 0; cy < control.Height(); ++cy)
    for (int cx = 0; cx < control.Width(); ++cx) {
      if (control.Pixel(cx, cy) == kMagenta) continue;
      const int bx = x + cx, by = y + cy;
      if (bx < 0 || by < 0 || bx >= back.Width() || by >= back.Height() ||
          back.Pixel(bx, by) == kMagenta)
        ++outside;
    }
  EXPECT_EQ(outside, 0) << what << " has pixels off the window's shape";
}

// The three pictures of a button share one size; its label index names a label.
void ExpectButtons(const Bitmap& back, const std::vector<SkinButton>& buttons,
                   const std::vector<SkinLabel>& labels) {
  ASSERT_FALSE(buttons.empty());
  for (const SkinButton& b : buttons) {
    SCOPED_TRACE(b.name);
    const Bitmap normal = Picture(b.normal);
    for (const auto& state : {b.over, b.down}) {
      const Bitmap other = Picture(state);
      EXPECT_EQ((std::pair{other.Width(), other.Height()}),
                (std::pair{normal.Width(), normal.Height()}));
    }
    ExpectOnTheShape(back, normal, b.x, b.y, "button " + b.name);
    ASSERT_TRUE(b.labelIndex.has_value());
    EXPECT_GE(*b.labelIndex, 0);
    EXPECT_LT(*b.labelIndex, static_cast<int>(labels.size()));
  }
  for (const SkinLabel& l : labels) ExpectOnTheShape(back, Picture(l.normal), l.x, l.y, l.name);
}

struct Sample {
  const char* name;
  std::size_t previews;
};

class SampleSkin : public ::testing::TestWithParam<Sample> {};

TEST_P(SampleSkin, NamesOnlyPicturesThatExistAndCommandsThatAreKnown) {
  const std::string dir = SkinFolder(GetParam().name);
  const std::string file = dir + GetParam().name + ".ini";
  ASSERT_TRUE(FileExists(file)) << file;
  MemoryIniFile ini = ReadIniText(file);
  const std::string programDir = dir + "../../";

  const BrowserSkin browser = ReadBrowserSkin(ini, programDir, dir);
  const Bitmap browserBack = Picture(browser.browserImage);
  ASSERT_EQ(browser.previews.size(), GetParam().previews);
  for (const SkinPreview& p : browser.previews) {
    Bitmap area(p.width, p.height);  // the preview's rectangle, or its mask
    if (p.mask) {
      area = Picture(p.mask);
      EXPECT_EQ((std::pair{area.Width(), area.Height()}), (std::pair{p.width, p.height}));
    }
    ExpectOnTheShape(browserBack, area, p.x, p.y, "preview " + p.name);
  }
  ExpectButtons(browserBack, browser.buttons, browser.labels);
  for (const SkinButton& b : browser.buttons)
    EXPECT_NE(ParseBrowserCommand(b.click), BrowserCommand::Unknown) << b.name << ": " << b.click;

  const ManagerSkin manager = ReadManagerSkin(ini, programDir, dir);
  const Bitmap managerBack = Picture(manager.managerImage);
  EXPECT_TRUE(SkinColour(manager.foregroundColor).has_value()) << manager.foregroundColor;
  EXPECT_TRUE(SkinColour(manager.fontColor).has_value()) << manager.fontColor;
  Bitmap preview(manager.previewWidth, manager.previewHeight);
  if (manager.previewMask) preview = Picture(manager.previewMask);
  ExpectOnTheShape(managerBack, preview, manager.previewX, manager.previewY, "manager preview");
  ExpectOnTheShape(managerBack, Bitmap(manager.listWidth, manager.listHeight), manager.listX,
                   manager.listY, "list");
  ExpectButtons(managerBack, manager.buttons, manager.labels);
  for (const SkinButton& b : manager.buttons)
    EXPECT_NE(ParseManagerCommand(b.click), ManagerCommand::None) << b.name << ": " << b.click;
}

INSTANTIATE_TEST_SUITE_P(Shipped, SampleSkin,
                         ::testing::Values(Sample{"Steel", 5}, Sample{"Lagoon", 2}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kv::skin
