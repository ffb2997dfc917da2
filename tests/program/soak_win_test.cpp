// Six hundred wallpaper switches in one run, with a skin change and the manager
// shown and hidden every fifty: the process's GDI and USER objects, handles and
// private memory stay flat. Both samples are taken with the built-in skin up
// (the skins go round built-in, Steel, Lagoon), so they count the same controls.
#include "soak_win.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "codecs/file_io.h"

namespace kv {
namespace {

TEST(ProgramSoak, SixHundredSwitchesLeaveObjectsAndMemoryFlat) {
  test::ProgramSoak soak;
  soak.Run(150, 50, 0);  // caches, pools and every skin's first load settle
  const test::SoakSample before = test::TakeSample(150);
  soak.Run(450, 50, 0);
  const test::SoakSample after = test::TakeSample(600);
  std::printf(
      "after 150 switches: %d GDI, %d USER, %d handles, %zu KB private; after 600: %d, %d, "
      "%d, %zu KB\n",
      before.gdi, before.user, before.handles, before.privateKb, after.gdi, after.user,
      after.handles, after.privateKb);
  EXPECT_GT(before.privateKb, 0u);
  EXPECT_GT(before.handles, 0);
  EXPECT_EQ(after.gdi, before.gdi);
  EXPECT_EQ(after.user, before.user);
  EXPECT_LE(after.handles, before.handles + 2);
  // A leak of one wallpaper-sized bitmap per switch would be over a gigabyte.
  EXPECT_LT(after.privateKb, before.privateKb + 2048);
  EXPECT_TRUE(FileExists(ProgramDir() + "Wallpaper.bmp"));
  EXPECT_TRUE(soak.prompts.shown.empty());
}

}  // namespace
}  // namespace kv
