#pragma once
// An initialisation file read and written through the system's profile functions.

#include <string>

#include "skin/ini_file.h"

namespace kv::skin {

class ProfileIniFile : public IniFile {
 public:
  explicit ProfileIniFile(std::string path) : path_(std::move(path)) {}
  std::optional<std::string> ReadString(const std::string& section,
                                        const std::string& key) override;
  // Raises kv::FileError when the file cannot be written.
  void WriteString(const std::string& section, const std::string& key,
                   const std::string& value) override;

 private:
  std::string path_;
};

}  // namespace kv::skin
