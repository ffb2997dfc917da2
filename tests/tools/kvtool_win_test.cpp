#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "codecs/bitmap.h"
#include "codecs/encoders.h"
#include "codecs/file_io.h"
#include "codecs/image_file.h"
#include "widgets/handle_win.h"
#include "widgets/text_win.h"

namespace kv {
namespace {

// Runs kvtool.exe (beside this test) with a wide command line; its exit code.
long RunKvtool(const std::wstring& arguments) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring exe(self);
  exe.resize(exe.find_last_of(L'\\') + 1);
  exe += L"kvtool.exe";
  std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi))
    return -1;
  KernelHandle process(pi.hProcess), thread(pi.hThread);
  if (WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  return static_cast<long>(code);
}

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
