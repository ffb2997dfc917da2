#pragma once
// Registration of the program's file types: wallpaper lists (".lst") and skin
// files (".kvs") opened by Explorer start Kestrova with the file as argument.

#include <string>

namespace kv {

struct FileType {
  const char* extension;  // with its dot
  const char* typeKey;    // the file type key's name
  const char* description;
  int iconIndex;  // the icon's index among the executable's icons; -1 none
};

// The two types the option "Register Associations" stands for.
[[nodiscard]] const FileType* ProgramFileTypes(int& count);

// Writes the file type key (description, "DefaultIcon", "shell\open\command"
// with the quoted executable and "%1") and the extension key naming it.
// Under the classes root; where that cannot be written, under the current
// user's "Software\Classes", which the classes root shows for that user.
// False when neither could be written.
bool RegisterFileType(const FileType& type, const std::string& exePath);

// Both program types, then the shell and every window told (a settings change
// "WindowMetrics", at most 10 s per window). False when one could not be written.
bool RegisterProgramFileTypes(const std::string& exePath);

}  // namespace kv
