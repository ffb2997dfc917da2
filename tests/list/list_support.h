#pragma once
// Test helpers for the list: a temporary directory removed afterwards, files
// written into it, a shell delete and a thumbnail maker that record their calls.

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "codecs/file_io.h"
#include "list/shell_files.h"
#include "list/wallpaper_list.h"

namespace kv::test {

class TempDir {
 public:
  TempDir() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("kvlist-" + std::to_string(random()) + "-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::all, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The directory as UTF-8 with its trailing separator.
  [[nodiscard]] std::string Dir() const {
    return path_.u8string() + static_cast<char>(std::filesystem::path::preferred_separator);
  }
  [[nodiscard]] std::string operator/(const std::string& name) const { return Dir() + name; }

  // Writes a small file and returns its full name.
  std::string Touch(const std::string& name, const std::string& content = "x") const {
    const std::string full = Dir() + name;
    WriteFileAtomic(full, content.data(), content.size());
    return full;
  }

 private:
  std::filesystem::path path_;
};

class RecordingDelete : public ShellDelete {
 public:
  std::vector<std::string> deleted;
  bool Delete(const std::string& path) override {
    deleted.push_back(path);
    return true;
  }
};

// Writes a one-byte "thumbnail" for every request (or, with `mark`, a bare JPEG
// marked with its picture as the real maker marks them), or refuses them all.
class FakeThumbnailMaker : public ThumbnailSource {
 public:
  bool enabled = true;
  bool fail = false;
  bool mark = false;
  std::vector<std::pair<std::string, std::string>> made;  // thumbnail, wallpaper

  bool CacheEnabled() const override { return enabled; }
  bool MakeThumbnail(const std::string& thumbnailName, const std::string& wallpaperName) override {
    if (fail) return false;
    made.emplace_back(thumbnailName, wallpaperName);
    if (mark) {
      const auto jpeg = MarkThumbnail({0xFF, 0xD8, 0xFF, 0xD9}, wallpaperName);
      WriteFileAtomic(thumbnailName, jpeg.data(), jpeg.size());
    } else {
      WriteFileAtomic(thumbnailName, "t", 1);
    }
    return true;
  }
};

}  // namespace kv::test
