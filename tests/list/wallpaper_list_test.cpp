#include "list/wallpaper_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "base/error.h"
#include "list/list_file.h"
#include "list/list_text.h"
#include "list/thumbnail_cache.h"
#include "list_support.h"
#include "widgets/prompts.h"

namespace kv {
namespace {

using Kind = ScriptedPrompts::Kind;
using test::FakeThumbnailMaker;
using test::RecordingDelete;
using test::TempDir;

class WallpaperList : public ::testing::Test {
 protected:
  TempDir dir;
  ScriptedPrompts prompts;
  RecordingDelete shell;
  TKvlistview list{prompts, shell};
  FakeThumbnailMaker maker;

  void UseCache() {
    list.thumbnailMaker = &maker;
    list.cacheDirectory = dir / "Cache" + "/";
  }
  std::vector<std::string> Styles() const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < list.Count(); ++i) out.push_back(list.Entry(i).style);
    return out;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < list.Count(); ++i) out.push_back(list.Entry(i).fileName);
    return out;
  }
};

TEST_F(WallpaperList, AddingSplitsTheNameAndGivesTheGroupsDefaultStyle) {
  list.SetDefaultStyle(0, 9);
  const std::string jpg = dir.Touch("photo.JPG");
  ASSERT_TRUE(list.AddWallpaper(jpg, true));
  ASSERT_TRUE(list.AddWallpaper(dir.Touch("scan.dib"), true));
  ASSERT_TRUE(list.AddWallpaper(dir.Touch("pic.png"), true));
  EXPECT_EQ(Styles(), (std::vector<std::string>{"Lanczos3", "", "Stretch"}));
  EXPECT_EQ(list.Entry(0).fileName, "photo.JPG");
  EXPECT_EQ(list.Entry(0).path, dir.Dir());
  EXPECT_EQ(list.Entry(0).FullName(), jpg);
  // The newer formats have groups of their own.
  list.SetDefaultStyle(10, 3);
  ASSERT_TRUE(list.AddWallpaper(dir.Touch("IMG_0001.HEIC"), true));
  ASSERT_TRUE(list.AddWallpaper(dir.Touch("phone.heif"), true));
  ASSERT_TRUE(list.AddWallpaper(dir.Touch("web.webp"), true));
  EXPECT_EQ(Styles(),
            (std::vector<std::string>{"Lanczos3", "", "Stretch", "Scaled", "Scaled", "Stretch"}));
}

TEST_F(WallpaperList, StoredDefaultStylesOf11OrMoreAreIgnored) {
  list.SetDefaultStyle(3, 4);
  list.SetDefaultStyle(3, 11);
  EXPECT_EQ(list.DefaultStyle(3), 4);
  EXPECT_EQ(list.DefaultStyleFor(".png"), "Box");
  EXPECT_EQ(list.DefaultStyleFor(".rle"), "");
  EXPECT_EQ(list.DefaultStyleFor(".gif"), "Stretch");
}

TEST_F(WallpaperList, DuplicatesDifferingInCaseAreSkippedSilentlyWithoutAsking) {
  list.AddWallpaper(dir.Touch("Sea.bmp"), false);
  EXPECT_TRUE(list.IsInList(dir / "SEA.BMP"));
  EXPECT_FALSE(list.AddWallpaper(dir / "sea.BMP", false));
  EXPECT_EQ(list.Count(), 1u);
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(WallpaperList, DuplicatesAskAndOnlyYesAddsASecondEntry) {
  const std::string name = dir.Touch("sea.bmp");
  list.AddWallpaper(name, true);
  prompts.confirmAnswers = {false, true};
  EXPECT_FALSE(list.AddWallpaper(name, true));
  EXPECT_TRUE(list.AddWallpaper(name, true));
  EXPECT_EQ(list.Count(), 2u);
  const auto asked = prompts.Texts(Kind::AskInformation);
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0], name + "\ris already in list. Would you like to add " + name + " anyway ?");
}

TEST_F(WallpaperList, AddingMakesAThumbnailOnlyWhenNoneOfThatNameExists) {
  UseCache();
  TempDir other;
  ASSERT_TRUE(list.AddWallpaper(dir.Touch("photo.bmp"), true));
  ASSERT_TRUE(list.AddWallpaper(other.Touch("photo.png"), true));
  ASSERT_EQ(maker.made.size(), 1u);
  EXPECT_EQ(maker.made[0].first, list.cacheDirectory + "photo.jpg");
  EXPECT_EQ(maker.made[0].second, dir / "photo.bmp");
  EXPECT_EQ(list.Count(), 2u);
}

TEST_F(WallpaperList, AFailedThumbnailPreventsTheAddSilently) {
  UseCache();
  maker.fail = true;
  EXPECT_FALSE(list.AddWallpaper(dir.Touch("broken.jpg"), true));
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(WallpaperList, TheCacheDirectoryIsCreatedEvenWithTheCacheOff) {
  UseCache();
  maker.enabled = false;
  EXPECT_TRUE(list.AddWallpaper(dir.Touch("a.dib"), true));
  EXPECT_TRUE(DirectoryExists(dir / "Cache"));
  EXPECT_TRUE(maker.made.empty());
  EXPECT_EQ(list.Entry(0).style, "");
}

TEST_F(WallpaperList, SaveAndLoadKeepRowsOrderAndMapStylesThroughTheirIndex) {
  list.Append({"BOX", "a.jpg", "C:\\w\\"});
  list.Append({"", "b.rle", "C:\\w\\"});
  list.Append({"mitchell", "c.png", "D:\\x\\"});
  const std::string file = dir / "walls.lst";
  list.SaveList(file);
  EXPECT_EQ(std::filesystem::file_size(std::filesystem::u8path(file)), 759u);
  TKvlistview loaded(prompts, shell);
  loaded.LoadList(file);
  ASSERT_EQ(loaded.Count(), 3u);
  EXPECT_EQ(loaded.Entry(0), (WallpaperEntry{"Box", "a.jpg", "C:\\w\\"}));
  EXPECT_EQ(loaded.Entry(1), (WallpaperEntry{"Center", "b.rle", "C:\\w\\"}));
  EXPECT_EQ(loaded.Entry(2), (WallpaperEntry{"Mitchell", "c.png", "D:\\x\\"}));
  EXPECT_TRUE(loaded.IsInList("c:\\W\\A.JPG"));
}

TEST_F(WallpaperList, AnEmptyListSavesAsAnEmptyFileAndLoadsEmpty) {
  const std::string file = dir / "empty.lst";
  list.SaveList(file);
  EXPECT_EQ(std::filesystem::file_size(std::filesystem::u8path(file)), 0u);
  list.Append({"Tile", "a.bmp", "C:\\"});
  list.LoadList(file);
  EXPECT_EQ(list.Count(), 0u);
}

TEST_F(WallpaperList, LoadingAMissingFileLeavesTheRows) {
  list.Append({"Tile", "a.bmp", "C:\\"});
  list.LoadList(dir / "missing.lst");
  EXPECT_EQ(list.Count(), 1u);
}

TEST_F(WallpaperList, OrphansAreDroppedOnLoadOnlyWithTheFlag) {
  const std::string kept = dir.Touch("here.jpg");
  list.AddWallpaper(kept, false);
  list.Append({"Tile", "gone.jpg", dir.Dir()});
  list.Append({"Tile", std::string(60, 'x') + ".jpg", dir.Dir()});
  const std::string file = dir / "walls.lst";
  list.SaveList(file);

  list.LoadList(file);
  EXPECT_EQ(list.Count(), 3u);
  list.removeOrphans = true;
  list.LoadList(file);
  EXPECT_EQ(Names(), std::vector<std::string>{"here.jpg"});
}

// A long list in one folder: the orphans among many present files go, and the
// others keep their order.
TEST_F(WallpaperList, OrphansAmongALongListInOneFolderAreDroppedInOrder) {
  std::vector<std::string> expected;
  for (int i = 0; i < 100; ++i) {
    const std::string name = "w" + std::to_string(i) + ".jpg";
    if (i % 7 != 3) {
      dir.Touch(name);
      expected.push_back(name);
    }
    list.Append({"Tile", name, dir.Dir()});
  }
  const std::string file = dir / "long.lst";
  list.SaveList(file);
  list.removeOrphans = true;
  list.LoadList(file);
  EXPECT_EQ(Names(), expected);
}

TEST_F(WallpaperList, ACutShortFileKeepsItsWholeRecords) {
  list.Append({"Tile", "a.bmp", "C:\\"});
  list.Append({"Box", "b.bmp", "C:\\"});
  const std::string file = dir / "cut.lst";
  list.SaveList(file);
  std::string bytes(253 * 2 + 10, '\0');
  {
    const auto saved = ReadFileBytes(file);
    std::copy(saved.begin(), saved.end(), bytes.begin());
  }
  WriteFileAtomic(file, bytes.data(), bytes.size());
  TKvlistview loaded(prompts, shell);
  loaded.LoadList(file);
  EXPECT_EQ(loaded.Count(), 2u);
}

TEST_F(WallpaperList, AReadOnlyListFileLoads) {
  list.Append({"Tile", "a.bmp", "C:\\"});
  const std::string file = dir / "ro.lst";
  list.SaveList(file);
  std::filesystem::permissions(
      std::filesystem::u8path(file),
      std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  TKvlistview loaded(prompts, shell);
  loaded.LoadList(file);
  EXPECT_EQ(loaded.Count(), 1u);
  std::filesystem::permissions(std::filesystem::u8path(file), std::filesystem::perms::all);
}

TEST_F(WallpaperList, AFailedSaveRaisesAndLeavesTheRows) {
  list.Append({"Tile", "a.bmp", "C:\\"});
  EXPECT_THROW(list.SaveList(dir / "no such dir" + "/x.lst"), Error);
  EXPECT_EQ(list.Count(), 1u);
}

TEST_F(WallpaperList, NamesBeyondTheCodePageSurviveSaveAndLoad) {
  const std::string sun = "\xE2\x98\x80";
  list.Append({"Scaled", sun + ".png", "C:\\\xD0\x9C\xD0\xBE\xD1\x80\xD0\xB5\\"});
  const std::string file = dir / (sun + ".lst");
  list.SaveList(file);
  TKvlistview loaded(prompts, shell);
  loaded.LoadList(file);
  ASSERT_EQ(loaded.Count(), 1u);
  EXPECT_EQ(loaded.Entry(0), list.Entry(0));
}

TEST_F(WallpaperList, LongNamesSurviveSavesAndTheCompanionComesAndGoesWithThem) {
  const std::string longName = std::string(70, 'L') + ".jpg";
  const std::string file = dir / "long.lst", names = file + ".names";
  list.Append({"Tile", "a.bmp", "C:\\"});
  list.Append({"Box", longName, "C:\\" + std::string(220, 'p') + "\\"});
  list.SaveList(file);
  EXPECT_EQ(ReadFileBytes(file).size(), 2u * 253);
  ASSERT_TRUE(FileExists(names));
  TKvlistview loaded(prompts, shell);
  loaded.LoadList(file);
  ASSERT_EQ(loaded.Count(), 2u);
  EXPECT_EQ(loaded.Entry(1), list.Entry(1));
  // Saved again without its long entry, the list is the plain format alone.
  loaded.Select(1, true);
  loaded.RemoveSelectedRows();
  loaded.SaveList(file);
  EXPECT_FALSE(FileExists(names));
  EXPECT_EQ(ReadFileBytes(file), FormatListFile({{"a.bmp", "C:\\", 2}}));
}

TEST_F(WallpaperList, AReadOnlyCompanionKeepsTheWholeSaveFromHappening) {
  const std::string file = dir / "ro.lst", names = file + ".names";
  list.Append({"Tile", std::string(60, 'r') + ".jpg", "C:\\"});
  list.SaveList(file);
  const auto before = ReadFileBytes(file), namesBefore = ReadFileBytes(names);
  std::filesystem::permissions(std::filesystem::u8path(names), std::filesystem::perms::owner_read);
  list.Append({"Tile", "more.bmp", "C:\\"});
  try {
    list.SaveList(file);
    ADD_FAILURE() << "saved beside a read-only companion";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("read-only"), std::string::npos) << e.what();
  }
  // Neither file changed: records and names never part company.
  EXPECT_EQ(ReadFileBytes(file), before);
  EXPECT_EQ(ReadFileBytes(names), namesBefore);
  EXPECT_TRUE(IsReadOnlyFile(names));
  std::filesystem::permissions(std::filesystem::u8path(names), std::filesystem::perms::all);
}

TEST_F(WallpaperList, NamesakesGetTheirOwnThumbnailsAndLoseOnlyTheirOwn) {
  UseCache();
  maker.mark = true;
  const std::string cache = dir / "Cache" + "/";
  const std::string first = dir.Touch("IMG_0001.JPG"), second = "D:\\cam2\\IMG_0001.JPG";
  const std::string third = "E:\\IMG_0001.png";
  for (const std::string& name : {first, second, third})
    ASSERT_TRUE(list.AddWallpaper(name, false));
  const std::string plain = cache + "IMG_0001.jpg";
  const std::string ofSecond = cache + "IMG_0001~" + ThumbnailOwnerKey(second) + ".jpg";
  const std::string ofThird = cache + "IMG_0001~" + ThumbnailOwnerKey(third) + ".jpg";
  using Made = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(maker.made, (Made{{plain, first}, {ofSecond, second}, {ofThird, third}}));
  // Each picture finds its own, whatever the case of its folder.
  EXPECT_EQ(ThumbnailName(cache, first), plain);
  EXPECT_EQ(ThumbnailName(cache, "d:\\CAM2\\IMG_0001.JPG"), ofSecond);
  EXPECT_NE(ofSecond, ofThird);

  // Removing the first deletes only its thumbnail; the others keep theirs.
  list.removeThumbsOnDeletion = true;
  list.Select(0, true);
  list.RemoveSelectedRows();
  EXPECT_EQ(shell.deleted, std::vector<std::string>{plain});
  // From scratch, the first in list order takes the plain name again.
  maker.made.clear();
  RegenerateCacheCommand(list, maker, cache, 1, SystemShellDelete());
  EXPECT_EQ(maker.made, (Made{{plain, second}, {ofThird, third}}));
  EXPECT_EQ(ThumbnailName(cache, second), plain);

  // A thumbnail made before marks existed serves every picture of its name.
  dir.Touch("Cache/old.jpg", "unmarked");
  EXPECT_EQ(ThumbnailName(cache, "X:\\old.bmp"), cache + "old.jpg");
  EXPECT_EQ(ThumbnailName(cache, "Y:\\old.gif"), cache + "old.jpg");
}

TEST_F(WallpaperList, RemovingWithNothingSelectedWarns) {
  list.Append({"Tile", "a.bmp", "C:\\"});
  list.RemoveSelected();
  EXPECT_EQ(
      prompts.Texts(Kind::Warning),
      std::vector<std::string>{"Item(s) to be removed must be selected before trying to remove"});
  EXPECT_EQ(list.Count(), 1u);
}

TEST_F(WallpaperList, RemovingAsksAndOnlyYesRemovesTheSelectedRows) {
  for (const char* n : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"}) list.Append({"Tile", n, "C:\\"});
  list.Select(1, true);
  list.Select(3, true);
  list.RemoveSelected();
  EXPECT_EQ(list.Count(), 4u);
  prompts.confirmAnswers = {true};
  list.RemoveSelected();
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.bmp", "c.bmp"}));
  EXPECT_EQ(list.SelectedCount(), 0u);
  EXPECT_FALSE(list.IsInList("C:\\b.bmp"));
  EXPECT_TRUE(list.IsInList("C:\\c.bmp"));
  const std::string question =
      "Are You Sure That You Want To Remove The Current Item(s) From The Wallpaper List ?";
  EXPECT_EQ(prompts.Texts(Kind::Confirm), (std::vector<std::string>{question, question}));
  EXPECT_TRUE(shell.deleted.empty());
}

TEST_F(WallpaperList, RemovedRowsLoseTheirThumbnailsOnlyWithTheFlag) {
  list.cacheDirectory = dir.Dir();
  const std::string thumb = dir.Touch("b.jpg");
  list.Append({"Tile", "a.bmp", "C:\\"});
  list.Append({"Tile", "b.png", "C:\\"});
  list.Select(0, true);
  list.Select(1, true);
  int messageRuns = 0;
  list.processMessages = [&] { ++messageRuns; };
  list.removeThumbsOnDeletion = true;
  list.RemoveSelectedRows();
  // a.jpg does not exist: nothing is asked of the shell for it.
  EXPECT_EQ(shell.deleted, std::vector<std::string>{thumb});
  EXPECT_EQ(messageRuns, 2);
  EXPECT_TRUE(prompts.shown.empty());

  list.removeThumbsOnDeletion = false;
  list.Append({"Tile", "b.png", "C:\\"});
  list.Select(0, true);
  list.RemoveSelectedRows();
  EXPECT_EQ(shell.deleted.size(), 1u);
}

TEST_F(WallpaperList, ClearingAnEmptyListWarns) {
  list.ClearList();
  EXPECT_EQ(prompts.Texts(Kind::Warning),
            std::vector<std::string>{"The list cannot be cleared as it already contains 0 items."});
}

TEST_F(WallpaperList, ClearingAsksAndKeepsThumbnails) {
  list.cacheDirectory = dir.Dir();
  list.removeThumbsOnDeletion = true;
  dir.Touch("a.jpg");
  list.Append({"Tile", "a.bmp", "C:\\"});
  list.ClearList();
  EXPECT_EQ(list.Count(), 1u);
  prompts.confirmAnswers = {true};
  list.ClearList();
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_FALSE(list.IsInList("C:\\a.bmp"));
  EXPECT_EQ(prompts.Texts(Kind::Confirm).back(),
            "Are You Sure That You Want To Clear The Current Wallpaper List ?");
  EXPECT_TRUE(shell.deleted.empty());
}

TEST_F(WallpaperList, ChangesReachTheViewOnceAfterAnUpdate) {
  int rows = 0, selections = 0;
  list.onRowsChanged = [&] { ++rows; };
  list.onSelectionChanged = [&] { ++selections; };
  list.BeginUpdate();
  list.BeginUpdate();
  for (const char* n : {"a.bmp", "b.bmp", "c.bmp"}) list.Append({"Tile", n, "C:\\"});
  list.SelectOnly(2);
  list.EndUpdate();
  EXPECT_EQ(rows, 0);
  list.EndUpdate();
  EXPECT_EQ(rows, 1);
  EXPECT_EQ(selections, 1);
  list.SelectOnly(0);
  EXPECT_EQ(list.SelectedIndices(), std::vector<std::size_t>{0});
  EXPECT_EQ(list.Cell(0, 0), "Tile");
  EXPECT_EQ(list.Cell(0, 1), "a.bmp");
  EXPECT_EQ(list.Cell(0, 2), "C:\\");
}

// The duplicate check answers as a scan of the rows would, whatever mix of
// operations came before.
TEST_F(WallpaperList, DuplicateCheckStaysInStepWithTheRows) {
  std::mt19937 random(7);
  const char* names[] = {"a.bmp", "A.BMP", "b.png", "\xC3\x84.jpg", "\xC3\xA4.JPG", "c.gif"};
  const auto pick = [&] { return std::string("C:\\d\\") + names[random() % 6]; };
  for (int step = 0; step < 400; ++step) {
    switch (random() % 5) {
      case 0:
      case 1:
        list.Append({"Tile", std::string(NamePart(pick())), "C:\\d\\"});
        break;
      case 2:
        if (list.Count()) list.Select(random() % list.Count(), true);
        list.RemoveSelectedRows();
        break;
      case 3:
        if (list.Count()) {
          const std::string full = pick();
          list.SetEntry(random() % list.Count(),
                        {"Box", std::string(NamePart(full)), std::string(PathPart(full))});
        }
        break;
      default:
        if (random() % 8 == 0) list.DeleteAll();
        break;
    }
    for (const char* n : names) {
      const std::string full = std::string("C:\\d\\") + n;
      bool scanned = false;
      for (std::size_t i = 0; i < list.Count(); ++i)
        scanned = scanned || FoldFileNameCase(list.Entry(i).FullName()) == FoldFileNameCase(full);
      ASSERT_EQ(list.IsInList(full), scanned) << step;
    }
  }
}

}  // namespace
}  // namespace kv
