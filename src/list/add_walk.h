#pragma once
// The manager's add machinery, apart from its window: files chosen in the open
// dialog, names dropped on the list and directory searches go into the list in
// the order the user sees them, with a running count, a stop by Escape between
// two files, and adds that nest when a menu command starts one while another
// processes messages. The window only forwards: the file system, the list, the
// tray and the message loop are reached through AddSite.

#include <string>
#include <vector>

#include "list/shell_files.h"

namespace kv {

// The tray tip while an add runs: this text and the number of pictures added.
inline constexpr char kAddingTip[] = "Adding wallpapers: ";

[[nodiscard]] std::string AddingTip(int added);

class AddSite {
 public:
  virtual ~AddSite() = default;
  // The entries directly in `directory` (given with its trailing separator),
  // in the order the system gives them; nothing when it cannot be read.
  [[nodiscard]] virtual std::vector<DirectoryEntry> List(const std::string& directory) = 0;
  [[nodiscard]] virtual bool IsDirectory(const std::string& name) = 0;
  // One file into the list (duplicate question, thumbnail, default style of
  // its type); true when a row was added.
  virtual bool Add(const std::string& fullName) = 0;
  // Runs the window messages that wait: painting, a move, a menu command that
  // starts another add, Escape.
  virtual void ProcessMessages() = 0;
  // Whether the program is ending, which stops an add like Escape.
  [[nodiscard]] virtual bool Ending() = 0;
  // The outermost add begins (true) or has ended (false): the list holds back
  // its repainting meanwhile and the tray shows that an add runs.
  virtual void Adding(bool on) = 0;
  // The running count as the tray tip shows it (AddingTip).
  virtual void Progress(const std::string& tip) = 0;
};

class AddWalk {
 public:
  explicit AddWalk(AddSite& site) : site_(site) {}
  AddWalk(const AddWalk&) = delete;
  AddWalk& operator=(const AddWalk&) = delete;

  // The open dialog's names, in order, as they are.
  void AddFiles(const std::vector<std::string>& names);
  // A directory's files with an accepted extension (cut to ten characters), in
  // directory order; with `recursive`, then each subdirectory in turn, depth
  // first, after all files of its parent; a linked subdirectory (a junction)
  // is not entered. A directory that cannot be read, or
  // vanishes meanwhile, gives nothing.
  void AddFolder(const std::string& folder, bool recursive);
  // Dropped names in order: an existing directory is searched (its tree when
  // `tree`), even when its name ends like a picture's; a file is taken when its
  // extension cut to five characters is accepted.
  void AddDropped(const std::vector<std::string>& names, bool tree);

  // Escape: the running adds stop before their next file. Outside an add it
  // does nothing, so it cannot stop the next one.
  void Cancel() noexcept { cancel_ = depth_ > 0; }
  [[nodiscard]] bool Running() const noexcept { return depth_ > 0; }
  // The pictures added since the outermost running add began (the last one's
  // count once it has ended).
  [[nodiscard]] int Added() const noexcept { return added_; }

 private:
  class Scope;
  [[nodiscard]] bool Stopped() const;
  void AddOne(const std::string& fullName);
  void Walk(const std::string& folder, bool recursive);

  AddSite& site_;
  int depth_ = 0;
  bool cancel_ = false;
  int added_ = 0;
};

}  // namespace kv
