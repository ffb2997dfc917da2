#pragma once
// The file-system services the list and the thumbnail cache need beyond reading
// and writing whole files: deleting through the shell's silent delete, making a
// directory, listing one. Windows uses the shell and the wide file functions,
// the native build the POSIX calls; names are UTF-8 on both.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kv {

// Deletes files and whole directory trees for good: no confirmation, no progress
// display, no error box, no recycle bin. The list's thumbnail deletion and the
// cache clearing go through one instance, so tests can watch or refuse them.
class ShellDelete {
 public:
  virtual ~ShellDelete() = default;
  // False when the path could not be (entirely) deleted.
  virtual bool Delete(const std::string& path) = 0;
};

// The system's delete: on Windows the shell's file operation (owner window: the
// active window), natively the file system.
[[nodiscard]] ShellDelete& SystemShellDelete();

// Creates one directory level (a trailing separator is allowed); true when it was
// made.
bool MakeDirectory(const std::string& path);

struct DirectoryEntry {
  std::string name;
  std::uint64_t size = 0;
  bool isDirectory = false;
  // A directory that is a link to another place (a junction or a symbolic
  // link): it may lead back to its own parent.
  bool isLink = false;
};

// The entries directly in `directory` other than "." and "..", in the order the
// system gives them; nothing when it cannot be read.
[[nodiscard]] std::vector<DirectoryEntry> ListDirectory(const std::string& directory);

}  // namespace kv
