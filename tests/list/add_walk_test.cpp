#include "list/add_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>

namespace kv {
namespace {

using Texts = std::vector<std::string>;

// A directory tree in memory: each directory (with its trailing backslash)
// lists its entries in the order given; a name ending in a backslash is a
// subdirectory. The site logs what the walk asks of it.
class FakeSite : public AddSite {
 public:
  std::map<std::string, Texts> tree;
  std::set<std::string> refused;  // Add gives false (a duplicate, an unreadable picture)
  std::string raiseOn;            // Add raises for this name
  bool ending = false;
  // Run after the n-th file handed to Add (1-based), as a message would be.
  std::map<int, std::function<void()>> onMessage;
  Texts log;
  Texts added;

  // Where each link ("name@") leads: its entries are the target's.
  std::map<std::string, std::string> links;

  std::vector<DirectoryEntry> List(const std::string& directory) override {
    std::vector<DirectoryEntry> entries;
    std::string real = directory;
    for (const auto& [link, target] : links)
      for (std::size_t at; (at = real.rfind(link + "@\\")) != std::string::npos;)
        real = target + real.substr(at + link.size() + 2);
    const auto it = tree.find(real);
    if (it == tree.end()) return entries;
    for (const std::string& name : it->second) {
      DirectoryEntry e;
      e.isDirectory = !name.empty() && name.back() == '\\';
      e.name = e.isDirectory ? name.substr(0, name.size() - 1) : name;
      // "name@\" is a link to another directory of the tree.
      e.isLink = e.isDirectory && !e.name.empty() && e.name.back() == '@';
      entries.push_back(e);
    }
    return entries;
  }
  bool IsDirectory(const std::string& name) override {
    return tree.count(name.back() == '\\' ? name : name + "\\") > 0;
  }
  bool Add(const std::string& fullName) override {
    // A walk that never ends is stopped as the program's end would stop it.
    if (++handed_ > 1000) ending = true;
    if (fullName == raiseOn) throw std::runtime_error("cannot add");
    if (refused.count(fullName)) return false;
    added.push_back(fullName);
    return true;
  }
  void ProcessMessages() override {
    const auto it = onMessage.find(handed_);
    if (it == onMessage.end()) return;
    const auto action = it->second;
    onMessage.erase(it);
    action();
  }
  bool Ending() override { return ending; }
  void Adding(bool on) override { log.push_back(on ? "begin" : "end"); }
  void Progress(const std::string& tip) override { log.push_back(tip); }

 private:
  int handed_ = 0;
};

// C:\w\ holds pictures, a note, a file cut differently by drops and searches,
// a folder named like a picture and a nested tree.
FakeSite Tree() {
  FakeSite site;
  site.tree = {
      {"C:\\w\\", {"b.bmp", "one\\", "a.JPG", "notes.txt", "odd.jpegx", "two\\", "pic.png\\"}},
      {"C:\\w\\one\\", {"deep\\", "c.png"}},
      {"C:\\w\\one\\deep\\", {"d.gif", "e.tiff"}},
      {"C:\\w\\two\\", {"f.tga"}},
      {"C:\\w\\pic.png\\", {"g.psd"}},
      {"C:\\empty\\", {}},
  };
  return site;
}

TEST(AddWalk, FoldersAreWalkedFilesFirstThenEachSubdirectoryDepthFirst) {
  struct Case {
    const char* folder;
    bool recursive;
    Texts added;
  };
  const Case cases[] = {
      {"C:\\w", false, {"C:\\w\\b.bmp", "C:\\w\\a.JPG"}},
      {"C:\\w\\", false, {"C:\\w\\b.bmp", "C:\\w\\a.JPG"}},
      {"C:\\w",
       true,
       {"C:\\w\\b.bmp", "C:\\w\\a.JPG", "C:\\w\\one\\c.png", "C:\\w\\one\\deep\\d.gif",
        "C:\\w\\one\\deep\\e.tiff", "C:\\w\\two\\f.tga", "C:\\w\\pic.png\\g.psd"}},
      {"C:\\w\\one",
       true,
       {"C:\\w\\one\\c.png", "C:\\w\\one\\deep\\d.gif", "C:\\w\\one\\deep\\e.tiff"}},
      {"C:\\empty", true, {}},
      {"C:\\gone", true, {}},  // vanished before the walk
      {"", true, {}},
  };
  for (const Case& c : cases) {
    FakeSite site = Tree();
    AddWalk walk(site);
    walk.AddFolder(c.folder, c.recursive);
    EXPECT_EQ(site.added, c.added) << c.folder << " " << c.recursive;
    EXPECT_EQ(walk.Added(), static_cast<int>(c.added.size())) << c.folder;
    EXPECT_FALSE(walk.Running());
  }
}

TEST(AddWalk, ProgressCountsOnlyTheRowsAddedAndTheSiteHearsBeginAndEndOnce) {
  FakeSite site = Tree();
  site.refused = {"C:\\w\\a.JPG"};  // already listed
  AddWalk walk(site);
  walk.AddFolder("C:\\w\\one", true);
  walk.AddFiles({"C:\\x\\y.bmp", "C:\\w\\a.JPG", "C:\\x\\z.txt"});
  EXPECT_EQ(site.log, (Texts{"begin", "Adding wallpapers: 0", "Adding wallpapers: 1",
                             "Adding wallpapers: 2", "Adding wallpapers: 3", "end",
                             // the dialog's names are taken as they are
                             "begin", "Adding wallpapers: 0", "Adding wallpapers: 1",
                             "Adding wallpapers: 2", "end"}));
  EXPECT_EQ(walk.Added(), 2);
  site.log.clear();
  walk.AddFiles({});  // a cancelled dialog starts nothing
  EXPECT_TRUE(site.log.empty());
}

TEST(AddWalk, DroppedNamesSearchDirectoriesAndCutFileExtensionsToFive) {
  struct Case {
    bool tree;
    Texts added;
  };
  const Case cases[] = {
      {false,
       {"C:\\w\\b.bmp", "C:\\w\\a.JPG", "C:\\d\\x.jpegx", "C:\\w\\pic.png\\g.psd", "C:\\d\\y.png"}},
      {true,
       {"C:\\w\\b.bmp", "C:\\w\\a.JPG", "C:\\w\\one\\c.png", "C:\\w\\one\\deep\\d.gif",
        "C:\\w\\one\\deep\\e.tiff", "C:\\w\\two\\f.tga", "C:\\w\\pic.png\\g.psd", "C:\\d\\x.jpegx",
        "C:\\w\\pic.png\\g.psd", "C:\\d\\y.png"}},
  };
  for (const Case& c : cases) {
    FakeSite site = Tree();
    AddWalk walk(site);
    walk.AddDropped({"C:\\w", "C:\\d\\x.jpegx", "C:\\d\\readme.txt", "C:\\empty", "C:\\w\\pic.png",
                     "C:\\d\\y.png"},
                    c.tree);
    EXPECT_EQ(site.added, c.added) << c.tree;
    // One add for the user, however many folders it searched.
    EXPECT_EQ(std::count(site.log.begin(), site.log.end(), "begin"), 1) << c.tree;
    EXPECT_EQ(site.log.back(), "end");
  }
}

TEST(AddWalk, EscapeStopsBeforeTheNextFileAndOnlyTheRunningAdd) {
  for (int after : {1, 2, 4, 6}) {
    FakeSite site = Tree();
    AddWalk walk(site);
    site.onMessage[after] = [&] { walk.Cancel(); };
    walk.AddFolder("C:\\w", true);
    EXPECT_EQ(site.added.size(), static_cast<std::size_t>(after)) << after;
    EXPECT_EQ(site.log.back(), "end");
    // The next add runs whole again.
    site.added.clear();
    walk.AddFolder("C:\\w\\two", true);
    EXPECT_EQ(site.added, Texts{"C:\\w\\two\\f.tga"}) << after;
  }
  // Escape between adds is forgotten.
  FakeSite site = Tree();
  AddWalk walk(site);
  walk.Cancel();
  walk.AddDropped({"C:\\w"}, false);
  EXPECT_EQ(site.added.size(), 2u);
  // And the program ending stops an add as Escape does.
  site.added.clear();
  site.ending = true;
  walk.AddFiles({"C:\\x\\y.bmp"});
  EXPECT_TRUE(site.added.empty());
}

TEST(AddWalk, AnAddStartedDuringAnotherNestsInItsCountAndItsStop) {
  FakeSite site = Tree();
  AddWalk walk(site);
  // A menu command handled after the first file starts a second add; Escape
  // after the second add's file stops both.
  site.onMessage[1] = [&] {
    EXPECT_TRUE(walk.Running());
    walk.AddFolder("C:\\w\\two", false);
  };
  walk.AddFolder("C:\\w\\one", true);
  EXPECT_EQ(site.added, (Texts{"C:\\w\\one\\c.png", "C:\\w\\two\\f.tga", "C:\\w\\one\\deep\\d.gif",
                               "C:\\w\\one\\deep\\e.tiff"}));
  EXPECT_EQ(site.log,
            (Texts{"begin", "Adding wallpapers: 0", "Adding wallpapers: 1", "Adding wallpapers: 2",
                   "Adding wallpapers: 3", "Adding wallpapers: 4", "end"}));

  site = Tree();
  site.onMessage[1] = [&] {
    site.onMessage[2] = [&] { walk.Cancel(); };
    walk.AddFolder("C:\\w\\two", false);
  };
  walk.AddFolder("C:\\w\\one", true);
  EXPECT_EQ(site.added, (Texts{"C:\\w\\one\\c.png", "C:\\w\\two\\f.tga"}));
  EXPECT_FALSE(walk.Running());
}

TEST(AddWalk, AFailingFileEndsTheAddWithTheSiteTold) {
  FakeSite site = Tree();
  site.raiseOn = "C:\\w\\a.JPG";
  AddWalk walk(site);
  EXPECT_THROW(walk.AddDropped({"C:\\w"}, true), std::runtime_error);
  EXPECT_FALSE(walk.Running());
  EXPECT_EQ(site.log.back(), "end");
  site.raiseOn.clear();
  site.added.clear();
  walk.AddFolder("C:\\w\\two", false);
  EXPECT_EQ(site.added, Texts{"C:\\w\\two\\f.tga"});
}

TEST(AddWalk, AJunctionBackToItsParentIsNotEntered) {
  FakeSite site;
  site.tree = {{"C:\\w\\", {"a.jpg", "up@\\", "sub\\"}}, {"C:\\w\\sub\\", {"b.jpg"}}};
  site.links = {{"up", "C:\\w\\"}};
  AddWalk walk(site);
  walk.AddFolder("C:\\w", true);
  EXPECT_EQ(site.added, (Texts{"C:\\w\\a.jpg", "C:\\w\\sub\\b.jpg"}));
  EXPECT_FALSE(site.ending);
}

}  // namespace
}  // namespace kv
