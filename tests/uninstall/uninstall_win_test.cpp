#include "uninstall/uninstall_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "support/process_win.h"
#include "support/registry_win.h"

namespace kv {
namespace {

using test::CreateKey;
using test::DeleteTree;
using test::KeyExists;
using test::SetString;
using test::Snapshot;
using test::ValueExists;

const std::wstring kRoot = L"Software\\Tollvard\\Kestrova";
const std::wstring kOld = L"Software\\Kestrova";
const std::wstring kMaker = L"Software\\Tollvard";
const std::wstring kOther = L"Software\\Tollvard\\Another Program";
const std::wstring kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kListType = L".lst";
const std::wstring kListTypeKey = L"KestrovaTest.List";

// Runs kvuninst.exe with `arguments`; its exit code (-1 when it did not start or
// did not end within 30 seconds).
long RunUninstaller(const std::wstring& arguments = L"") {
  return test::RunProgram(L"kvuninst.exe", arguments, 30000);
}

class Uninstaller : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    DeleteTree(HKEY_CURRENT_USER, kRoot);
    DeleteTree(HKEY_CURRENT_USER, kOld);
    DeleteTree(HKEY_CURRENT_USER, kOther);
    DeleteTree(HKEY_CLASSES_ROOT, kListType);
    DeleteTree(HKEY_CLASSES_ROOT, kListTypeKey);
    RegKey run;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRun.c_str(), 0, KEY_ALL_ACCESS, run.put()) ==
        ERROR_SUCCESS)
      RegDeleteValueW(run.get(), L"Kestrova");
  }

  // A settings tree as the tray program leaves it, with levels below levels,
  // plus what belongs to others or to other parts of the system.
  static void FillRegistry() {
    SetString(HKEY_CURRENT_USER, kRoot + L"\\Kv Options", L"Skin", L"C:\\skins\\a.ini");
    SetString(HKEY_CURRENT_USER, kRoot + L"\\Forms\\TMainForm", L"Left", L"10");
    SetString(HKEY_CURRENT_USER, kRoot + L"\\Form Effects\\Browser\\Colours\\Deep", L"v", L"1");
    CreateKey(HKEY_CURRENT_USER, kRoot + L"\\Form Effects\\Manager");
    SetString(HKEY_CURRENT_USER, kRoot, L"Current Wall Number", L"3");
    SetString(HKEY_CURRENT_USER, kOld + L"\\Legacy\\Older", L"x", L"y");
    SetString(HKEY_CURRENT_USER, kOther + L"\\Settings", L"Keep", L"me");
    SetString(HKEY_LOCAL_MACHINE, kRun, L"Kestrova", L"C:\\Program Files\\Kestrova\\Kestrova.exe");
    SetString(HKEY_CLASSES_ROOT, kListType, L"", kListTypeKey);
    SetString(HKEY_CLASSES_ROOT, kListTypeKey + L"\\shell\\open\\command", L"",
              L"\"C:\\Kestrova.exe\" \"%1\"");
  }
};

TEST_F(Uninstaller, ProgramRemovesBothSettingsTreesAndNothingElse) {
  FillRegistry();
  const auto othersBefore = Snapshot(HKEY_CURRENT_USER, kOther);

  EXPECT_EQ(RunUninstaller(), 0);

  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kRoot));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kOld));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kMaker));
  EXPECT_EQ(Snapshot(HKEY_CURRENT_USER, kOther), othersBefore);
  EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kRun, L"Kestrova"));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kListType));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kListTypeKey + L"\\shell\\open\\command"));
}

TEST_F(Uninstaller, ProgramIgnoresItsCommandLine) {
  FillRegistry();
  EXPECT_EQ(RunUninstaller(L"/? --keep Software\\Tollvard"), 0);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kRoot));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kOther));
}

TEST_F(Uninstaller, ProgramWithNothingToRemoveChangesNothingAndExitsZero) {
  // Only the neighbourhood of the two trees is compared: Wine itself and tests
  // running beside this one write elsewhere in the registry meanwhile.
  SetString(HKEY_CURRENT_USER, kOther, L"Keep", L"me");
  const auto makerBefore = Snapshot(HKEY_CURRENT_USER, kMaker);
  const auto runBefore = Snapshot(HKEY_LOCAL_MACHINE, kRun);

  EXPECT_EQ(RunUninstaller(), 0);

  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kOld));
  EXPECT_EQ(Snapshot(HKEY_CURRENT_USER, kMaker), makerBefore);
  EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE, kRun), runBefore);
}

TEST_F(Uninstaller, ProgramIsAWindowsProgramWithoutConsole) {
  std::FILE* f = _wfopen(test::BesideThisProgram(L"kvuninst.exe").c_str(), L"rb");
  ASSERT_NE(f, nullptr);
  std::vector<unsigned char> bytes(4096);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  ASSERT_GE(bytes.size(), 0x40u);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
  ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
  // The headers of this build's kind: 32-bit for users, 64-bit where the tests run
  // on a 64-bit Wine.
  ASSERT_LT(static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS), bytes.size());
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(bytes.data() + dos->e_lfanew);
#ifdef _WIN64
  EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
#else
  EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
#endif
  EXPECT_EQ(nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

TEST_F(Uninstaller, DeleteKeyRemovesLeavesBeforeTheirParents) {
  // Many siblings at each level: walking the indices upwards while deleting would
  // skip every other key and leave the parents in place.
  for (int a = 0; a < 12; ++a)
    for (int b = 0; b < 3; ++b)
      SetString(HKEY_CURRENT_USER,
                kRoot + L"\\Level " + std::to_wstring(a) + L"\\A rather long sub-key name " +
                    std::to_wstring(b),
                L"v", L"1");
  std::vector<std::wstring> order;
  RegistryAccessor registry(HKEY_CURRENT_USER, KEY_ALL_ACCESS);
  registry.onDeleted = [&](const std::wstring& path) { order.push_back(path); };

  registry.DeleteKey(kRoot);

  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kRoot));
  ASSERT_EQ(order.size(), 1u + 12u + 12u * 3u);
  EXPECT_EQ(order.back(), kRoot);
  for (size_t i = 0; i < order.size(); ++i)
    for (size_t j = i + 1; j < order.size(); ++j)
      EXPECT_NE(order[j].rfind(order[i] + L"\\", 0), 0u) << "a key was deleted before its child";
  // Highest index first: "Level 9" sorts after "Level 11" and goes before it.
  const auto pos = [&](const std::wstring& p) {
    return std::find(order.begin(), order.end(), kRoot + L"\\" + p) - order.begin();
  };
  EXPECT_LT(pos(L"Level 9"), pos(L"Level 11"));
}

TEST_F(Uninstaller, DeleteKeyOfAMissingKeyChangesNothing) {
  SetString(HKEY_CURRENT_USER, kOther, L"Keep", L"me");
  const auto before = Snapshot(HKEY_CURRENT_USER, kMaker);
  int deletions = 0;
  RegistryAccessor registry(HKEY_CURRENT_USER, KEY_ALL_ACCESS);
  registry.onDeleted = [&](const std::wstring&) { ++deletions; };
  registry.DeleteKey(kRoot + L"\\Not There");
  EXPECT_EQ(deletions, 1);
  EXPECT_EQ(Snapshot(HKEY_CURRENT_USER, kMaker), before);
}

TEST_F(Uninstaller, SettingsKeyNameMatchesRegardlessOfCase) {
  SetString(HKEY_CURRENT_USER, L"Software\\Tollvard\\KESTROVA\\Kv Options", L"a", L"b");
  RunUninstall();
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kRoot));
}

}  // namespace
}  // namespace kv
