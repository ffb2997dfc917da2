// The scan of the watched directory: pictures directly in it, nothing else.
#include "config/options/watch_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace kv {
namespace {

TEST(WatchScan, TakesThePicturesDirectlyInTheDirectory) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "kv_watch_scan_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "sub.jpg");  // a directory, not a picture
  for (const char* name : {"a.JPG", "b.png", "c.txt", "d", "e.psp", "f.jpeg.bak"})
    std::ofstream(dir / name) << "x";
  std::ofstream(dir / "sub.jpg" / "deep.bmp") << "x";

  const std::string base = dir.string();
  std::vector<std::string> found = WatchedPictures(base);
  std::sort(found.begin(), found.end());
  const std::vector<std::string> expected = {base + "\\a.JPG", base + "\\b.png", base + "\\e.psp"};
  EXPECT_EQ(found, expected);
  // A trailing separator is not doubled.
  EXPECT_EQ(WatchedPictures(base + "\\").size() + WatchedPictures(base + "/").size(), 6u);
  std::filesystem::remove_all(dir);
  EXPECT_TRUE(WatchedPictures(base).empty());  // gone: nothing, no error
  EXPECT_TRUE(WatchedPictures("").empty());
}

}  // namespace
}  // namespace kv
