#pragma once
// The settings store in the registry: HKEY_CURRENT_USER plus the settings root.

#include "config/settings_store.h"

namespace kv {

class RegistrySettingsStore : public SettingsStore {
 protected:
  ReadStatus ReadValue(std::string_view subkey, std::string_view name, StoredValue& out) override;
  bool WriteValue(std::string_view subkey, std::string_view name,
                  const StoredValue& value) override;
};

}  // namespace kv
