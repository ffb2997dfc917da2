#include "list/add_walk.h"

#include <utility>

#include "list/manager_rules.h"

namespace kv {

std::string AddingTip(int added) { return kAddingTip + std::to_string(added); }

// One add from its start to its end. The outermost one resets the stop and the
// count and tells the site; the ones nested in it only count along. The site
// hears the end even when adding a file raises.
class AddWalk::Scope {
 public:
  explicit Scope(AddWalk& walk) : walk_(walk) {
    if (walk_.depth_++ > 0) return;
    walk_.cancel_ = false;
    walk_.added_ = 0;
    walk_.site_.Adding(true);
    walk_.site_.Progress(AddingTip(0));
  }
  Scope(const Scope&) = delete;
  Scope& operator=(const Scope&) = delete;
  ~Scope() {
    if (--walk_.depth_ > 0) return;
    walk_.cancel_ = false;
    walk_.site_.Adding(false);
  }

 private:
  AddWalk& walk_;
};

bool AddWalk::Stopped() const { return cancel_ || site_.Ending(); }

void AddWalk::AddOne(const std::string& fullName) {
  if (site_.Add(fullName)) site_.Progress(AddingTip(++added_));
  // Between two files the window answers what is waiting, Escape included.
  site_.ProcessMessages();
}

void AddWalk::AddFiles(const std::vector<std::string>& names) {
  if (names.empty()) return;
  Scope scope(*this);
  for (const std::string& name : names) {
    if (Stopped()) break;
    AddOne(name);
  }
}

void AddWalk::AddFolder(const std::string& folder, bool recursive) {
  if (folder.empty()) return;
  Scope scope(*this);
  Walk(folder.back() == '\\' ? folder : folder + "\\", recursive);
}

void AddWalk::Walk(const std::string& top, bool recursive) {
  // An explicit stack rather than recursion: a deep tree costs heap, not the
  // user-interface thread's stack.
  struct Level {
    std::string dir;
    std::vector<std::string> subdirectories;
    std::size_t next = 0;
  };
  std::vector<Level> stack;
  auto enter = [&](std::string dir) {
    Level level{std::move(dir), {}, 0};
    for (const DirectoryEntry& e : site_.List(level.dir)) {
      if (Stopped()) break;
      if (e.isDirectory) {
        // A linked directory is not entered: a junction to a parent would
        // make the walk endless, and the pictures it leads to are reached by
        // adding that place itself.
        if (recursive && !e.isLink) level.subdirectories.push_back(level.dir + e.name + "\\");
      } else if (SearchedFileAccepted(e.name)) {
        AddOne(level.dir + e.name);
      }
    }
    stack.push_back(std::move(level));
  };
  enter(top);
  while (!stack.empty() && !Stopped()) {
    Level& level = stack.back();
    if (level.next == level.subdirectories.size()) {
      stack.pop_back();
      continue;
    }
    enter(level.subdirectories[level.next++]);
  }
}

void AddWalk::AddDropped(const std::vector<std::string>& names, bool tree) {
  Scope scope(*this);
  for (const std::string& name : names) {
    if (Stopped()) break;
    if (site_.IsDirectory(name))
      AddFolder(name, tree);
    else if (DroppedFileAccepted(name))
      AddOne(name);
    site_.ProcessMessages();
  }
}

}  // namespace kv
