#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "codecs/bitmap.h"
#include "codecs/encoders.h"
#include "codecs/file_io.h"
#include "codecs/image_file.h"
#include "support/process_win.h"
#include "widgets/text_win.h"

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

}  // namespace
}  // namespace kv
