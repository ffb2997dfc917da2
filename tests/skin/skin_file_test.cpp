#include "skin/skin_file.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace kv::skin {
namespace {

const std::string kProgramDir = "C:\\Kv\\";
const std::string kSkinDir = "D:\\Skins\\Blue\\";

struct Line {
  const char* section;
  const char* key;
  const char* value;
};

MemoryIniFile Ini(std::initializer_list<Line> lines) {
  MemoryIniFile ini;
  for (const Line& l : lines) ini.WriteString(l.section, l.key, l.value);
  return ini;
}

BrowserSkin Browser(std::initializer_list<Line> lines) {
  MemoryIniFile ini = Ini(lines);
  return ReadBrowserSkin(ini, kProgramDir, kSkinDir);
}

TEST(SkinFile, ReadsTheBrowserPartIgnoringTheCaseOfSectionsAndKeys) {
  const BrowserSkin skin = Browser({
      {"MISC", "browserimage", "\\back.bmp"},
      {"BrowserPreviews", "PREVIEW0", "Top"},
      {"browserpreviews", "topx", "$10"},
      {"browserpreviews", "TopWidth", "0x20"},
      {"browserpreviews", "TopHeight", "75"},
      {"browserpreviews", "TopMask", "$kvdir$\\mask.bmp"},
      {"BROWSERLABELS", "label0", "Tip"},
      {"BrowserLabels", "TIPNORMAL", "$CURRENTDIR$\\tip.bmp"},
      {"BROWSERBUTTONS", "BUTTON0", "Play"},
      {"Browserbuttons", "PLAYCLICK", "Set_Random()"},
      {"Browserbuttons", "PlayOver", "C:\\Art\\over.png"},
      {"Browserbuttons", "PlayLabelIndex", "0"},
  });
  EXPECT_EQ(skin.browserImage, "D:\\Skins\\Blue\\back.bmp");
  ASSERT_EQ(skin.previews.size(), 1u);
  const SkinPreview& p = skin.previews[0];
  EXPECT_EQ(p.name, "Top");
  EXPECT_EQ((std::vector<int>{p.x, p.y, p.width, p.height}), (std::vector<int>{16, 100, 32, 75}));
  EXPECT_EQ(p.mask, "C:\\Kv\\mask.bmp");
  ASSERT_EQ(skin.labels.size(), 1u);
  EXPECT_EQ(skin.labels[0].normal, "D:\\Skins\\Blue\\tip.bmp");
  EXPECT_EQ((std::pair{skin.labels[0].x, skin.labels[0].y}), (std::pair{10, 10}));
  ASSERT_EQ(skin.buttons.size(), 1u);
  const SkinButton& b = skin.buttons[0];
  EXPECT_EQ(ParseBrowserCommand(b.click), BrowserCommand::SetRandom);
  EXPECT_EQ(b.over, "C:\\Art\\over.png");
  EXPECT_EQ(b.normal, std::nullopt);
  EXPECT_EQ(b.down, std::nullopt);
  EXPECT_EQ(b.labelIndex, 0);
  EXPECT_EQ((std::pair{b.x, b.y}), (std::pair{10, 10}));
}

TEST(SkinFile, ListsEndAtTheFirstMissingNumberAndItemsMayShareAName) {
  const BrowserSkin skin = Browser({
      {"browserPreviews", "preview0", "Side"},
      {"browserPreviews", "preview1", "Side"},
      {"browserPreviews", "preview3", "Never"},
      {"browserPreviews", "SideY", "40"},
      {"Browserbuttons", "button0", ""},  // present, though empty
      {"Browserbuttons", "button1", "B"},
      {"Browserbuttons", "BLabelIndex", "two"},
  });
  ASSERT_EQ(skin.previews.size(), 2u);
  EXPECT_EQ(skin.previews[1].name, "Side");
  EXPECT_EQ(skin.previews[1].y, 40);
  EXPECT_EQ(skin.browserImage, std::nullopt);
  ASSERT_EQ(skin.buttons.size(), 2u);
  EXPECT_EQ(skin.buttons[0].labelIndex, std::nullopt);
  EXPECT_EQ(skin.buttons[0].click, "");
  EXPECT_EQ(skin.buttons[1].labelIndex, -1);  // present but not a number
}

TEST(SkinFile, UnreadableNumbersGiveTheDefaultAndLongTextsAreCut) {
  const std::string longName(3000, 'n');
  const BrowserSkin skin = Browser({
      {"browserPreviews", "preview0", "P"},
      {"browserPreviews", "PX", "12px"},
      {"browserPreviews", "PY", ""},
      {"browserPreviews", "PWidth", "-4"},
      {"misc", "BrowserImage", longName.c_str()},
  });
  ASSERT_EQ(skin.previews.size(), 1u);
  EXPECT_EQ((std::vector<int>{skin.previews[0].x, skin.previews[0].y, skin.previews[0].width}),
            (std::vector<int>{10, 100, -4}));
  EXPECT_EQ(skin.browserImage->size(), 2047u);
}

TEST(SkinFile, ReadsTheManagerPartWithItsDefaults) {
  MemoryIniFile empty;
  const ManagerSkin defaults = ReadManagerSkin(empty, kProgramDir, kSkinDir);
  EXPECT_EQ(defaults.managerImage, std::nullopt);
  EXPECT_EQ(defaults.foregroundColor, "clwindow");
  EXPECT_EQ(defaults.fontColor, "clWindowText");
  EXPECT_EQ(defaults.fontName, "MS Sans Serif");
  EXPECT_EQ(defaults.fontSize, 8);
  EXPECT_EQ(defaults.listHeight, 10);

  MemoryIniFile ini = Ini({
      {"misc", "ManagerImage", "man.bmp"},
      {"misc", "PREVIEWIMAGEY", "30"},
      {"misc", "previewmask", "\\pm.bmp"},
      {"misc", "wallpaperlistwidth", "200"},
      {"misc", "foregroundcolor", "$00FF0000"},
      {"misc", "FontSize", "11"},
      {"misc", "fontname", ""},
      {"managerlabels", "Label0", "L"},
      {"managerbuttons", "Button0", "X"},
      {"managerbuttons", "XClick", "CLOSE()"},
  });
  const ManagerSkin skin = ReadManagerSkin(ini, kProgramDir, kSkinDir);
  EXPECT_EQ(skin.managerImage, "man.bmp");
  EXPECT_EQ((std::pair{skin.previewX, skin.previewY}), (std::pair{10, 30}));
  EXPECT_EQ(skin.previewMask, "D:\\Skins\\Blue\\pm.bmp");
  EXPECT_EQ(skin.listWidth, 200);
  EXPECT_EQ(SkinColour(skin.foregroundColor), 0xFF0000u);
  EXPECT_EQ(skin.fontSize, 11);
  EXPECT_EQ(skin.fontName, "");
  EXPECT_EQ(skin.labels.size(), 1u);
  ASSERT_EQ(skin.buttons.size(), 1u);
  EXPECT_EQ(ParseManagerCommand(skin.buttons[0].click), ManagerCommand::Close);
}

TEST(SkinColour, NamesInAnyCaseAndNumbers) {
  const std::pair<const char*, std::optional<std::uint32_t>> cases[] = {
      {"clRed", 0x0000FF},      {"CLRED", 0x0000FF},         {"clNavy", 0x800000},
      {"clwindow", 0x80000005}, {"clScrollBar", 0x80000000}, {"clInfoBk", 0x80000018},
      {"clNone", 0x1FFFFFFF},   {"$00FF0000", 0xFF0000},     {"255", 0xFF},
      {"red", std::nullopt},    {"", std::nullopt},          {"$", std::nullopt},
      {"clRedd", std::nullopt}, {"12 ", std::nullopt},
  };
  for (const auto& [text, colour] : cases) EXPECT_EQ(SkinColour(text), colour) << text;
}

TEST(SkinCommands, MatchWithoutRegardToCaseAndCarryTheirHints) {
  EXPECT_EQ(ParseBrowserCommand("Scroll_Fwd()"), BrowserCommand::ScrollForward);
  EXPECT_EQ(ParseBrowserCommand("PAUSE()"), BrowserCommand::Pause);
  EXPECT_EQ(BrowserCommandHint(BrowserCommand::Close), std::string("Close Kestrova"));
  EXPECT_EQ(BrowserCommandHint(BrowserCommand::Pause), std::string("Pause Wallpaper Changing"));
  for (const char* text : {"", "close", "close() ", "fullscr_preview()"}) {
    EXPECT_EQ(ParseBrowserCommand(text), BrowserCommand::Unknown) << text;
    EXPECT_EQ(BrowserCommandHint(ParseBrowserCommand(text)), std::string("Error in skin file"));
  }
  EXPECT_EQ(ParseManagerCommand("Fullscr_Preview()"), ManagerCommand::FullscrPreview);
  EXPECT_EQ(ManagerCommandHint(ManagerCommand::Close), std::string("Toggle Manager"));
  EXPECT_EQ(ManagerCommandHint(ManagerCommand::DelWall), std::string("Remove wallpaper(s)"));
  EXPECT_EQ(ParseManagerCommand("pause()"), ManagerCommand::None);
  EXPECT_EQ(ManagerCommandHint(ManagerCommand::None), std::string());
}

TEST(SkinMenu, CaptionIsTheBareNameLowerCasedWithACapitalFirstLetter) {
  EXPECT_EQ(SkinMenuCaption("C:\\Kv\\Skins\\Blue Glass.INI"), "Blue glass");
  EXPECT_EQ(SkinMenuCaption("dark.v2.ini"), "Dark.v2");
  EXPECT_EQ(SkinMenuCaption("C:\\a.b\\README"), "Readme");
  EXPECT_EQ(DirectoryOf("D:\\Skins\\Blue\\skin.ini"), "D:\\Skins\\Blue\\");
  EXPECT_EQ(DirectoryOf("skin.ini"), "");
}

}  // namespace
}  // namespace kv::skin
