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

// Every picture of C:\w in the order a recursive walk adds them.
const Texts kWholeW = {"C:\\w\\b.bmp",
                       "C:\\w\\a.JPG",
                       "C:\\w\\one\\c.png",
                       "C:\\w\\one\\deep\\d.gif",
                       "C:\\w\\one\\deep\\e.tiff",
                       "C:\\w\\two\\f.tga",
                       "C:\\w\\pic.png\\g.psd"};

Texts First(const Texts& texts, std::size_t n) { return {texts.begin(), texts.begin() + n}; }

TEST(AddWalk, FoldersAreWalkedFilesFirstThenEachSubdirectoryDepthFirst) {
  struct Case {
    const char* folder;
    bool recursive;
    Texts added;
  };
  const Case cases[] = {
      {"C:\\w", false, {"C:\\w\\b.bmp", "C:\\w\\a.JPG"}},
      {"C:\\w\\", false, {"C:\\w\\b.bmp", "C:\\w\\a.JPG"}},
      {"C:\\w", true, kWholeW},
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

// Messages handled while an add runs: Escape stops before the next file, and
// only the running add; a menu command that starts another add nests it in
// the running one, with one count, one begin and end, and one stop.
TEST(AddWalk, EscapeAndAnotherAddDuringAnAdd) {
  enum Message { kEscape, kAddTwo };  // kAddTwo: C:\w\two, not recursive
  struct Case {
    const char* folder;
    std::vector<std::pair<int, Message>> afterFile;  // handed files, counted across both adds
    Texts added;
  };
  const Texts one = {"C:\\w\\one\\c.png", "C:\\w\\two\\f.tga", "C:\\w\\one\\deep\\d.gif",
                     "C:\\w\\one\\deep\\e.tiff"};
  const Case cases[] = {
      {"C:\\w", {{1, kEscape}}, First(kWholeW, 1)},
      {"C:\\w", {{2, kEscape}}, First(kWholeW, 2)},
      {"C:\\w", {{4, kEscape}}, First(kWholeW, 4)},
      {"C:\\w", {{6, kEscape}}, First(kWholeW, 6)},
      {"C:\\w\\one", {{1, kAddTwo}}, one},
      {"C:\\w\\one", {{1, kAddTwo}, {2, kEscape}}, First(one, 2)},
  };
  for (const Case& c : cases) {
    const std::string name = std::string(c.folder) + " " + std::to_string(c.afterFile.size());
    FakeSite site = Tree();
    AddWalk walk(site);
    for (const auto& [after, message] : c.afterFile)
      site.onMessage[after] = [&walk, message = message] {
        EXPECT_TRUE(walk.Running());
        if (message == kEscape)
          walk.Cancel();
        else
          walk.AddFolder("C:\\w\\two", false);
      };
    walk.AddFolder(c.folder, true);
    EXPECT_EQ(site.added, c.added) << name;
    Texts log = {"begin"};
    for (std::size_t i = 0; i <= c.added.size(); ++i)
      log.push_back("Adding wallpapers: " + std::to_string(i));
    log.push_back("end");
    EXPECT_EQ(site.log, log) << name;
    EXPECT_FALSE(walk.Running()) << name;
    // The next add runs whole again.
    site.added.clear();
    walk.AddFolder("C:\\w\\two", true);
    EXPECT_EQ(site.added, Texts{"C:\\w\\two\\f.tga"}) << name;
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
