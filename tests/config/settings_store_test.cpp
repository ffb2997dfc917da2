#include "config/settings_store.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "settings_store_contract.h"

namespace kv {
namespace {

struct MemoryBackend {
  MemorySettingsStore store;
  SettingsStore& Store() { return store; }
  void Put(std::string_view subkey, std::string_view name, StoredValue v) {
    store.Put(subkey, name, std::move(v));
  }
  std::optional<StoredValue> Get(std::string_view subkey, std::string_view name) const {
    return store.Get(subkey, name);
  }
  bool KeyExists(std::string_view subkey) const { return store.KeyExists(subkey); }
};

}  // namespace

namespace test {
using MemoryBackends = ::testing::Types<MemoryBackend>;
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, SettingsStoreContract, MemoryBackends);
}  // namespace test

namespace {

TEST(SettingsKeyPath, IsTheRootPlusTheSubkeyWithoutOuterBackslashes) {
  EXPECT_EQ(SettingsKeyPath(""), "Software\\Tollvard\\Kestrova");
  EXPECT_EQ(SettingsKeyPath("Kv Options\\"), "Software\\Tollvard\\Kestrova\\Kv Options");
  EXPECT_EQ(SettingsKeyPath("Form Effects\\Browser\\"),
            "Software\\Tollvard\\Kestrova\\Form Effects\\Browser");
}

TEST(MemorySettingsStore, FailedReadsAndWritesRaiseTheirTexts) {
  MemorySettingsStore store;
  store.failWrites = true;
  try {
    store.RegWriteBool("Kv Options\\", "StayOnTop", true);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'StayOnTop'");
  }
  store.failReads = true;
  try {
    (void)store.RegReadString("", "CurrentSkinFile");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Failed to get data for 'CurrentSkinFile'");
  }
}

}  // namespace
}  // namespace kv
