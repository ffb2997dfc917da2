#include "config/settings_store_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "base/error.h"
#include "base/text_win.h"
#include "settings_store_contract.h"
#include "support/registry_win.h"

namespace kv {
namespace {

const std::wstring kRoot = L"Software\\Tollvard\\Kestrova";

// A copy of a key tree (values with their raw types and bytes), to put back
// what a test found.
struct SavedKey {
  std::wstring path;
  struct Value {
    std::wstring name;
    DWORD type;
    std::vector<BYTE> data;
  };
  std::vector<Value> values;
};

void SaveTree(const std::wstring& path, std::vector<SavedKey>& out) {
  RegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
    return;
  SavedKey saved{path, {}};
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    std::vector<BYTE> data(65536);
    DWORD nameLength = 16384, dataLength = static_cast<DWORD>(data.size()), type = 0;
    if (RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type, data.data(), &dataLength) !=
        ERROR_SUCCESS)
      break;
    data.resize(dataLength);
    saved.values.push_back({std::wstring(name, nameLength), type, data});
  }
  out.push_back(saved);
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD length = 256;
    if (RegEnumKeyExW(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    SaveTree(path + L"\\" + name, out);
  }
}

void RestoreTree(const std::vector<SavedKey>& keys) {
  for (const SavedKey& k : keys) {
    RegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, k.path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS)
      continue;
    for (const auto& v : k.values)
      RegSetValueExW(key.get(), v.name.c_str(), 0, v.type, v.data.data(),
                     static_cast<DWORD>(v.data.size()));
  }
}

// The registry store over a cleared settings root; whatever the root held before
// is put back afterwards.
struct RegistryBackend {
  RegistrySettingsStore store;
  std::vector<SavedKey> saved;

  RegistryBackend() {
    SaveTree(kRoot, saved);
    test::DeleteTree(HKEY_CURRENT_USER, kRoot);
  }
  ~RegistryBackend() {
    test::DeleteTree(HKEY_CURRENT_USER, kRoot);
    RestoreTree(saved);
  }
  SettingsStore& Store() { return store; }

  static std::wstring Path(std::string_view subkey) { return Widen(SettingsKeyPath(subkey)); }

  void PutRaw(std::string_view subkey, std::string_view name, DWORD type, const void* data,
              DWORD size) {
    RegKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Path(subkey).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key.get(), Widen(name).c_str(), 0, type,
                             static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
  }
  void Put(std::string_view subkey, std::string_view name, const StoredValue& v) {
    if (v.kind == StoredValue::Kind::Dword) {
      PutRaw(subkey, name, REG_DWORD, &v.dword, sizeof v.dword);
    } else if (v.kind == StoredValue::Kind::String) {
      const std::wstring text = Widen(v.text);
      PutRaw(subkey, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * 2));
    } else {
      const BYTE bytes[3] = {1, 2, 3};
      PutRaw(subkey, name, REG_BINARY, bytes, 3);
    }
  }
  std::optional<StoredValue> Get(std::string_view subkey, std::string_view name) const {
    RegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Path(subkey).c_str(), 0, KEY_READ, key.put()) !=
        ERROR_SUCCESS)
      return std::nullopt;
    BYTE data[4096];
    DWORD type = 0, size = sizeof data;
    if (RegQueryValueExW(key.get(), Widen(name).c_str(), nullptr, &type, data, &size) !=
        ERROR_SUCCESS)
      return std::nullopt;
    if (type == REG_DWORD && size == 4) {
      DWORD v;
      std::memcpy(&v, data, 4);
      return StoredValue::Dword(v);
    }
    if (type == REG_SZ) {
      std::wstring text(reinterpret_cast<const wchar_t*>(data), size / 2);
      if (!text.empty() && text.back() == L'\0') text.pop_back();
      return StoredValue::String(Narrow(text));
    }
    return StoredValue{};
  }
  bool KeyExists(std::string_view subkey) const {
    return test::KeyExists(HKEY_CURRENT_USER, Path(subkey));
  }
};

}  // namespace

namespace test {
using RegistryBackends = ::testing::Types<RegistryBackend>;
INSTANTIATE_TYPED_TEST_SUITE_P(Registry, SettingsStoreContract, RegistryBackends);
}  // namespace test

namespace {

class RegistrySettings : public ::testing::Test {
 protected:
  RegistryBackend backend;
};

TEST_F(RegistrySettings, WritesGoBelowTheCurrentUsersSettingsRoot) {
  backend.store.RegWriteInteger("Form Effects\\Browser\\", "Hue", 12);
  backend.store.RegWriteInteger("", "CurrentPage", 3);
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, kRoot + L"\\Form Effects\\Browser", L"Hue"));
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, kRoot, L"CurrentPage"));
}

TEST_F(RegistrySettings, AKeyThatCannotBeCreatedRaisesFailedToSetData) {
  // Key names are limited to 255 characters.
  const std::string tooLong(300, 'k');
  try {
    backend.store.RegWriteString(tooLong + "\\", "Name", "x");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'Name'");
  }
}

TEST_F(RegistrySettings, ADwordOfTheWrongSizeRaisesFailedToGetData) {
  const BYTE twoBytes[2] = {1, 0};
  backend.PutRaw("Kv Options\\", "ShowKV", REG_DWORD, twoBytes, 2);
  try {
    (void)backend.store.RegReadInteger("Kv Options\\", "ShowKV");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Failed to get data for 'ShowKV'");
  }
}

TEST_F(RegistrySettings, StringsWithoutTerminatorAndExpandStringsRead) {
  const wchar_t text[] = {L'a', L'b', L'c'};
  backend.PutRaw("", "CurrentSkinFile", REG_SZ, text, sizeof text);
  EXPECT_EQ(backend.store.RegReadString("", "CurrentSkinFile"), "abc");
  const wchar_t expand[] = L"%TEMP%\\x.lst";
  backend.PutRaw("", "Current Wallpaper List", REG_EXPAND_SZ, expand, sizeof expand);
  EXPECT_EQ(backend.store.RegReadString("", "Current Wallpaper List"), "%TEMP%\\x.lst");
}

}  // namespace
}  // namespace kv
