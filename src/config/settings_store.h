#pragma once
// The settings store: named values below one root key of the current user's
// registry, read and written one value at a time. Each accessor call stands on
// its own (on Windows it opens the root plus the subkey, creating both, does one
// operation and closes the key), so nothing is buffered and no handle is shared.
//
// Subkeys are given relative to the root and end in a backslash ("Kv Options\",
// "Form Effects\Browser\"); the empty subkey is the root itself. Key and value
// names match without regard to letter case.
//
// Failures raise kv::Error with the texts below, the value's name in place of
// %s. A missing key or value is never an error: reads report it as "nothing".

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "config/shortcut_text.h"

namespace kv {

// The root below HKEY_CURRENT_USER.
inline constexpr char kSettingsRoot[] = "\\Software\\Tollvard\\Kestrova\\";

inline constexpr char kInvalidDataTypeText[] = "Invalid data type for '%s'";
inline constexpr char kFailedToGetDataText[] = "Failed to get data for '%s'";
inline constexpr char kFailedToSetDataText[] = "Failed to set data for '%s'";
// A colour value whose text is neither an identifier nor a number.
inline constexpr char kInvalidColourText[] = "Invalid colour value for '%s'";

// One stored value as the registry holds it.
struct StoredValue {
  enum class Kind { Dword, String, Other };
  Kind kind = Kind::Other;
  std::uint32_t dword = 0;
  std::string text;  // UTF-8

  static StoredValue Dword(std::uint32_t v) { return {Kind::Dword, v, {}}; }
  static StoredValue String(std::string v) { return {Kind::String, 0, std::move(v)}; }
  friend bool operator==(const StoredValue& a, const StoredValue& b) {
    return a.kind == b.kind && a.dword == b.dword && a.text == b.text;
  }
};

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // bool: a DWORD written as 0 or 1, read as "not 0".
  void RegWriteBool(std::string_view subkey, std::string_view name, bool value);
  [[nodiscard]] std::optional<bool> RegReadBool(std::string_view subkey, std::string_view name);
  // int: a DWORD holding a signed 32-bit number.
  void RegWriteInteger(std::string_view subkey, std::string_view name, std::int32_t value);
  [[nodiscard]] std::optional<std::int32_t> RegReadInteger(std::string_view subkey,
                                                           std::string_view name);
  // string: REG_SZ (REG_EXPAND_SZ is read too, unexpanded).
  void RegWriteString(std::string_view subkey, std::string_view name, std::string_view value);
  [[nodiscard]] std::optional<std::string> RegReadString(std::string_view subkey,
                                                         std::string_view name);
  // shortcut: a string in the shortcut text form; text that does not parse reads
  // as 0 (no key).
  void RegWriteShortcut(std::string_view subkey, std::string_view name, Shortcut value);
  [[nodiscard]] std::optional<Shortcut> RegReadShortcut(std::string_view subkey,
                                                        std::string_view name);
  // colour: a string in the colour text form; an unparsable text raises kv::Error.
  void RegWriteColour(std::string_view subkey, std::string_view name, std::uint32_t value);
  [[nodiscard]] std::optional<std::uint32_t> RegReadColour(std::string_view subkey,
                                                           std::string_view name);

 protected:
  enum class ReadStatus { Found, Absent, Failed };
  // One read of one value; the subkey is created when missing.
  virtual ReadStatus ReadValue(std::string_view subkey, std::string_view name,
                               StoredValue& out) = 0;
  // One write of one value, creating the subkey; false when it failed.
  virtual bool WriteValue(std::string_view subkey, std::string_view name,
                          const StoredValue& value) = 0;

 private:
  std::optional<StoredValue> Read(std::string_view subkey, std::string_view name,
                                  StoredValue::Kind kind);
  void Write(std::string_view subkey, std::string_view name, const StoredValue& value);
};

// The key path below HKEY_CURRENT_USER for a subkey: the root without its
// leading backslash, then the subkey, without a trailing backslash.
[[nodiscard]] std::string SettingsKeyPath(std::string_view subkey);

// A settings store held in memory: the native program's store and the tests'.
// Keys and values match without regard to case, as in the registry.
class MemorySettingsStore : public SettingsStore {
 public:
  // Test hooks: make the next reads or writes fail as a broken registry would.
  bool failReads = false;
  bool failWrites = false;

  void Put(std::string_view subkey, std::string_view name, StoredValue value);
  [[nodiscard]] std::optional<StoredValue> Get(std::string_view subkey,
                                               std::string_view name) const;
  [[nodiscard]] bool KeyExists(std::string_view subkey) const;
  // Every value as "subkey path|name" (names as first written) to its value.
  [[nodiscard]] std::map<std::string, StoredValue> Values() const;
  void Clear() { keys_.clear(); }

 protected:
  ReadStatus ReadValue(std::string_view subkey, std::string_view name, StoredValue& out) override;
  bool WriteValue(std::string_view subkey, std::string_view name,
                  const StoredValue& value) override;

 private:
  struct Entry {
    std::string name;
    StoredValue value;
  };
  struct Key {
    std::string path;
    std::map<std::string, Entry> values;  // by lower-cased name
  };
  Key& Open(std::string_view subkey);
  std::map<std::string, Key> keys_;  // by lower-cased key path
};

}  // namespace kv
