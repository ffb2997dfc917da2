// The wallpaper list at scale: saving and loading a 100,000-entry list file (also
// one whose names are all too long for the records, kept in the companion file),
// adding 100,000 files with the thumbnail cache off, and finding thumbnails.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "list/shell_files.h"
#include "list/wallpaper_list.h"
#include "widgets/prompts.h"

namespace {

constexpr int kEntries = 100000;

std::string Name(int i) {
  return "C:\\Users\\Someone\\Pictures\\Wallpapers\\Set " + std::to_string(i / 1000) +
         "\\Holiday picture " + std::to_string(i) + ".jpg";
}

std::vector<std::string> Names() {
  std::vector<std::string> names;
  names.reserve(kEntries);
  for (int i = 0; i < kEntries; ++i) names.push_back(Name(i));
  return names;
}

class CacheOff : public kv::ThumbnailSource {
 public:
  bool CacheEnabled() const override { return false; }
  bool MakeThumbnail(const std::string&, const std::string&) override { return false; }
};

struct Fixture {
  kv::ScriptedPrompts prompts;
  CacheOff maker;
  kv::TKvlistview list{prompts, kv::SystemShellDelete()};
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "kv-bench-list";

  Fixture() {
    std::filesystem::create_directories(dir / "Cache");
    list.cacheDirectory = (dir / "Cache").string() + "/";
    list.thumbnailMaker = &maker;
  }
  std::string File() const { return (dir / "big.lst").string(); }
};

void BM_SaveList(benchmark::State& state) {
  Fixture f;
  f.list.AddWallpapers(Names(), false);
  for (auto _ : state) f.list.SaveList(f.File());
  state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_SaveList)->Unit(benchmark::kMillisecond);

void BM_LoadList(benchmark::State& state) {
  Fixture f;
  f.list.AddWallpapers(Names(), false);
  f.list.SaveList(f.File());
  kv::TKvlistview loaded(f.prompts, kv::SystemShellDelete());
  for (auto _ : state) {
    loaded.LoadList(f.File());
    benchmark::DoNotOptimize(loaded.Count());
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_LoadList)->Unit(benchmark::kMillisecond);

// Every add checks the list for the name first: this stays linear in the count.
void BM_AddWallpapers(benchmark::State& state) {
  const std::vector<std::string> names = Names();
  for (auto _ : state) {
    state.PauseTiming();
    auto f = std::make_unique<Fixture>();
    state.ResumeTiming();
    f->list.AddWallpapers(names, true);
    benchmark::DoNotOptimize(f->list.Count());
    state.PauseTiming();
    f.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_AddWallpapers)->Unit(benchmark::kMillisecond);

// Adding the same 100,000 files again: each one is found and skipped.
void BM_AddDuplicates(benchmark::State& state) {
  const std::vector<std::string> names = Names();
  Fixture f;
  f.list.AddWallpapers(names, false);
  for (auto _ : state) benchmark::DoNotOptimize(f.list.AddWallpapers(names, false));
  state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_AddDuplicates)->Unit(benchmark::kMillisecond);

// Names of 70 characters: every entry goes to the companion file as well.
std::vector<std::string> LongNames() {
  std::vector<std::string> names = Names();
  for (std::string& n : names) n.insert(n.size() - 4, std::string(40, 'x'));
  return names;
}

void BM_SaveLoadLongNames(benchmark::State& state) {
  Fixture f;
  f.list.AddWallpapers(LongNames(), false);
  kv::TKvlistview loaded(f.prompts, kv::SystemShellDelete());
  for (auto _ : state) {
    f.list.SaveList(f.File());
    loaded.LoadList(f.File());
    benchmark::DoNotOptimize(loaded.Count());
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_SaveLoadLongNames)->Unit(benchmark::kMillisecond);

// Finding a wallpaper's thumbnail reads the head of the plain one for its mark.
void BM_ThumbnailName(benchmark::State& state) {
  Fixture f;
  const std::string cache = f.list.cacheDirectory;
  constexpr int kThumbnails = 1000;
  for (int i = 0; i < kThumbnails; ++i) {
    std::vector<std::uint8_t> bare(2000, 0);
    bare[0] = 0xFF, bare[1] = 0xD8;  // a JPEG's start is all the mark needs
    const auto jpeg = kv::MarkThumbnail(bare, Name(i));
    const std::string file = kv::PlainThumbnailName(cache, Name(i));
    std::FILE* out = std::fopen(file.c_str(), "wb");
    std::fwrite(jpeg.data(), 1, jpeg.size(), out);
    std::fclose(out);
  }
  for (auto _ : state)
    for (int i = 0; i < kThumbnails; ++i)
      benchmark::DoNotOptimize(kv::ThumbnailName(cache, Name(i)));
  state.SetItemsProcessed(state.iterations() * kThumbnails);
}
BENCHMARK(BM_ThumbnailName)->Unit(benchmark::kMillisecond);

}  // namespace
