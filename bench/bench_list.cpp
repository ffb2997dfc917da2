// The wallpaper list at scale: saving and loading a 100,000-entry list file and
// adding 100,000 files with the thumbnail cache off.
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

}  // namespace
