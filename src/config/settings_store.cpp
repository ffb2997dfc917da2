#include "config/settings_store.h"

#include "base/error.h"
#include "base/text_case.h"
#include "config/colour_text.h"

namespace kv {
namespace {

std::string_view TrimBackslashes(std::string_view s) {
  while (!s.empty() && s.front() == '\\') s.remove_prefix(1);
  while (!s.empty() && s.back() == '\\') s.remove_suffix(1);
  return s;
}

[[noreturn]] void Raise(const char* pattern, std::string_view name) {
  throw Error(FormatText(pattern, std::string(name)));
}

}  // namespace

std::string SettingsKeyPath(std::string_view subkey) {
  std::string path(TrimBackslashes(kSettingsRoot));
  subkey = TrimBackslashes(subkey);
  if (!subkey.empty()) path.append("\\").append(subkey);
  return path;
}

std::optional<StoredValue> SettingsStore::Read(std::string_view subkey, std::string_view name,
                                               StoredValue::Kind kind) {
  StoredValue value;
  switch (ReadValue(subkey, name, value)) {
    case ReadStatus::Absent:
      return std::nullopt;
    case ReadStatus::Failed:
      Raise(kFailedToGetDataText, name);
    case ReadStatus::Found:
      break;
  }
  if (value.kind != kind) Raise(kInvalidDataTypeText, name);
  return value;
}

void SettingsStore::Write(std::string_view subkey, std::string_view name,
                          const StoredValue& value) {
  if (!WriteValue(subkey, name, value)) Raise(kFailedToSetDataText, name);
}

void SettingsStore::RegWriteBool(std::string_view subkey, std::string_view name, bool value) {
  Write(subkey, name, StoredValue::Dword(value ? 1 : 0));
}

std::optional<bool> SettingsStore::RegReadBool(std::string_view subkey, std::string_view name) {
  const auto v = Read(subkey, name, StoredValue::Kind::Dword);
  if (!v) return std::nullopt;
  return v->dword != 0;
}

void SettingsStore::RegWriteInteger(std::string_view subkey, std::string_view name,
                                    std::int32_t value) {
  Write(subkey, name, StoredValue::Dword(static_cast<std::uint32_t>(value)));
}

std::optional<std::int32_t> SettingsStore::RegReadInteger(std::string_view subkey,
                                                          std::string_view name) {
  const auto v = Read(subkey, name, StoredValue::Kind::Dword);
  if (!v) return std::nullopt;
  return static_cast<std::int32_t>(v->dword);
}

void SettingsStore::RegWriteString(std::string_view subkey, std::string_view name,
                                   std::string_view value) {
  Write(subkey, name, StoredValue::String(std::string(value)));
}

std::optional<std::string> SettingsStore::RegReadString(std::string_view subkey,
                                                        std::string_view name) {
  auto v = Read(subkey, name, StoredValue::Kind::String);
  if (!v) return std::nullopt;
  return std::move(v->text);
}

void SettingsStore::RegWriteShortcut(std::string_view subkey, std::string_view name,
                                     Shortcut value) {
  RegWriteString(subkey, name, ShortcutToText(value));
}

std::optional<Shortcut> SettingsStore::RegReadShortcut(std::string_view subkey,
                                                       std::string_view name) {
  const auto text = RegReadString(subkey, name);
  if (!text) return std::nullopt;
  return TextToShortcut(*text);
}

void SettingsStore::RegWriteColour(std::string_view subkey, std::string_view name,
                                   std::uint32_t value) {
  RegWriteString(subkey, name, ColourToText(value));
}

std::optional<std::uint32_t> SettingsStore::RegReadColour(std::string_view subkey,
                                                          std::string_view name) {
  const auto text = RegReadString(subkey, name);
  if (!text) return std::nullopt;
  const auto colour = TextToColour(*text);
  if (!colour) Raise(kInvalidColourText, name);
  return colour;
}

MemorySettingsStore::Key& MemorySettingsStore::Open(std::string_view subkey) {
  const std::string path = SettingsKeyPath(subkey);
  Key& key = keys_[AsciiLowerCopy(path)];
  if (key.path.empty()) key.path = path;
  return key;
}

void MemorySettingsStore::Put(std::string_view subkey, std::string_view name, StoredValue value) {
  Entry& e = Open(subkey).values[AsciiLowerCopy(name)];
  if (e.name.empty()) e.name = std::string(name);
  e.value = std::move(value);
}

std::optional<StoredValue> MemorySettingsStore::Get(std::string_view subkey,
                                                    std::string_view name) const {
  const auto key = keys_.find(AsciiLowerCopy(SettingsKeyPath(subkey)));
  if (key == keys_.end()) return std::nullopt;
  const auto value = key->second.values.find(AsciiLowerCopy(name));
  if (value == key->second.values.end()) return std::nullopt;
  return value->second.value;
}

bool MemorySettingsStore::KeyExists(std::string_view subkey) const {
  return keys_.count(AsciiLowerCopy(SettingsKeyPath(subkey))) != 0;
}

std::map<std::string, StoredValue> MemorySettingsStore::Values() const {
  std::map<std::string, StoredValue> out;
  for (const auto& [lower, key] : keys_)
    for (const auto& [lowerName, entry] : key.values)
      out[key.path + "|" + entry.name] = entry.value;
  return out;
}

SettingsStore::ReadStatus MemorySettingsStore::ReadValue(std::string_view subkey,
                                                         std::string_view name, StoredValue& out) {
  if (failReads) return ReadStatus::Failed;
  const Key& key = Open(subkey);
  const auto value = key.values.find(AsciiLowerCopy(name));
  if (value == key.values.end()) return ReadStatus::Absent;
  out = value->second.value;
  return ReadStatus::Found;
}

bool MemorySettingsStore::WriteValue(std::string_view subkey, std::string_view name,
                                     const StoredValue& value) {
  if (failWrites) return false;
  Put(subkey, name, value);
  return true;
}

}  // namespace kv
