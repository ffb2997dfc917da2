#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/text_win.h"
#include "codecs/bitmap.h"
#include "codecs/encoders.h"
#include "codecs/file_io.h"
#include "codecs/image_file.h"
#include "support/process_win.h"
#include "wallpaper/resample.h"

namespace kv {
namespace {

long RunKvtool(const std::wstring& arguments) { return test::RunProgram(L"kvtool.exe", arguments); }

TEST(Kvtool, FileNamesOutsideTheAnsiCodePageReachTheCommands) {
  // A snowman and a Cyrillic word: no ANSI code page holds both.
  const std::string dir = Narrow(_wgetenv(L"TEMP")) + "\\";
  const std::string in = dir + "kv \xE2\x98\x83 \xD0\xBC\xD0\xB8\xD1\x80.bmp";
  const std::string out = dir + "kv \xE2\x98\x83 out.bmp";
  Bitmap picture(3, 2);
  picture.SetPixel(1, 1, MakeColour(10, 20, 30));
  SaveBmp(picture, in);

  EXPECT_EQ(RunKvtool(L"decode \"" + Widen(in) + L"\" \"" + Widen(out) + L"\""), 0);

  Bitmap decoded;
  ASSERT_TRUE(FileExists(out));
  LoadImageFile(decoded, out);
  EXPECT_EQ(decoded, picture);
  DeleteFileW(Widen(in).c_str());
  DeleteFileW(Widen(out).c_str());
}

// The wallpaper of a JPEG, made while it decodes, is the same file on one
// thread and on two, and a resampled JPEG is the whole picture's resampling; a
// JPEG that breaks off fails with exit code 1 and leaves the earlier output
// alone.
TEST(Kvtool, RenderMakesOneWallpaperOnAnyNumberOfThreadsAndFailsOnACutFile) {
  const std::string dir = Narrow(_wgetenv(L"TEMP")) + "\\";
  const std::string in = dir + "kv render.jpg", cut = dir + "kv render cut.jpg";
  const std::string out = dir + "kv render.bmp";
  Bitmap picture(300, 200);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x)
      picture.SetPixel(x, y,
                       MakeColour(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                                  static_cast<std::uint8_t>(x * y)));
  const std::vector<std::uint8_t> jpeg = EncodeJpeg(picture, 90);
  WriteFileAtomic(in, jpeg.data(), jpeg.size());
  WriteFileAtomic(cut, jpeg.data(), jpeg.size() / 2);
  const auto render = [&](const std::string& source, const wchar_t* threads) {
    return RunKvtool(L"render \"" + Widen(source) + L"\" \"" + Widen(out) +
                     L"\" --style lanczos3 --screen 131x77 --threads " + threads);
  };
  ASSERT_EQ(render(in, L"1"), 0);
  const std::vector<std::uint8_t> one = ReadFileBytes(out);
  ASSERT_EQ(render(in, L"2"), 0);
  EXPECT_TRUE(ReadFileBytes(out) == one);
  EXPECT_EQ(render(cut, L"2"), 1);
  EXPECT_TRUE(ReadFileBytes(out) == one);

  // resample takes the same way: the bytes of decoding whole and resampling.
  const auto resample = [&](const std::string& source) {
    return RunKvtool(L"resample \"" + Widen(source) + L"\" \"" + Widen(out) +
                     L"\" --size 97x61 --filter mitchell --support 2.5");
  };
  ASSERT_EQ(resample(in), 0);
  Bitmap whole, resampled;
  LoadImageFile(whole, in);
  ResampleBitmap(97, 61, ResampleFilter::Mitchell, 2.5f, whole);
  LoadImageFile(resampled, out);
  EXPECT_EQ(resampled, whole);
  const std::vector<std::uint8_t> kept = ReadFileBytes(out);
  EXPECT_EQ(resample(cut), 1);
  EXPECT_TRUE(ReadFileBytes(out) == kept);
  for (const std::string& f : {in, cut, out}) DeleteFileW(Widen(f).c_str());
}

}  // namespace
}  // namespace kv
