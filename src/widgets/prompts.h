#pragma once
// Every modal question the program asks goes through this interface: the message
// boxes of the three kinds, the file and folder dialogs, and the general error
// box. The Win32 implementation shows real dialogs; tests use ScriptedPrompts,
// which answers from a script and records every text shown.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// Arguments of the open and save dialogs. `filter` uses the "Description|*.a;*.b|..."
// form, pairs separated by '|'.
struct FileDialogArgs {
  std::string title;
  std::string filter;
  int filterIndex = 1;
  std::string initialDir;
  std::string fileName;
  std::string defaultExt;
  bool multiSelect = false;
  // Open dialogs only: when set, the dialog shows a preview box below its
  // controls, painted by this with the selected file (empty when none), the
  // box's device context (an HDC) and its size.
  std::function<void(const std::string& fileName, void* dc, int width, int height)> preview;
};

class Prompts {
 public:
  virtual ~Prompts() = default;
  // A precondition not met: warning icon, OK button.
  virtual void Warning(const std::string& text) = 0;
  // A destructive action: Yes and No; only Yes returns true.
  virtual bool Confirm(const std::string& text) = 0;
  // Information: duplicates, a missing skin.
  virtual void Information(const std::string& text) = 0;
  // An information box with Yes and No (adding a duplicate); only Yes returns true.
  virtual bool AskInformation(const std::string& text) = 0;
  // The general error box that reports an error reaching the top of an event.
  virtual void Error(const std::string& text) = 0;
  // A failure the user decides on (a skin that would not load): error icon, Yes
  // and No; only Yes returns true.
  virtual bool AskError(const std::string& text) = 0;
  // Chosen files (several when args.multiSelect); empty when cancelled.
  virtual std::vector<std::string> OpenFiles(const FileDialogArgs& args) = 0;
  virtual std::optional<std::string> SaveFile(const FileDialogArgs& args) = 0;
  // A chosen folder, with no trailing backslash; nothing when cancelled.
  virtual std::optional<std::string> BrowseFolder(const std::string& title) = 0;
};

// The test double: answers come from queues (a Yes/No box with no queued answer
// is No, a dialog with none is cancelled), and every prompt is recorded.
class ScriptedPrompts : public Prompts {
 public:
  enum class Kind {
    Warning,
    Confirm,
    Information,
    AskInformation,
    Error,
    OpenFiles,
    SaveFile,
    BrowseFolder,
    AskError
  };
  struct Shown {
    Kind kind;
    std::string text;  // the message, or the dialog's title
  };

  std::deque<bool> confirmAnswers;  // for every Yes/No box, in turn
  std::deque<std::vector<std::string>> openAnswers;
  std::deque<std::optional<std::string>> saveAnswers;
  std::deque<std::optional<std::string>> folderAnswers;
  std::vector<Shown> shown;

  void Warning(const std::string& text) override { shown.push_back({Kind::Warning, text}); }
  bool Confirm(const std::string& text) override {
    shown.push_back({Kind::Confirm, text});
    return Pop(confirmAnswers, false);
  }
  void Information(const std::string& text) override { shown.push_back({Kind::Information, text}); }
  bool AskInformation(const std::string& text) override {
    shown.push_back({Kind::AskInformation, text});
    return Pop(confirmAnswers, false);
  }
  void Error(const std::string& text) override { shown.push_back({Kind::Error, text}); }
  bool AskError(const std::string& text) override {
    shown.push_back({Kind::AskError, text});
    return Pop(confirmAnswers, false);
  }
  std::vector<std::string> OpenFiles(const FileDialogArgs& args) override {
    shown.push_back({Kind::OpenFiles, args.title});
    return Pop(openAnswers, {});
  }
  std::optional<std::string> SaveFile(const FileDialogArgs& args) override {
    shown.push_back({Kind::SaveFile, args.title});
    return Pop(saveAnswers, std::nullopt);
  }
  std::optional<std::string> BrowseFolder(const std::string& title) override {
    shown.push_back({Kind::BrowseFolder, title});
    return Pop(folderAnswers, std::nullopt);
  }

  // Texts shown of one kind, in order.
  [[nodiscard]] std::vector<std::string> Texts(Kind kind) const {
    std::vector<std::string> out;
    for (const Shown& s : shown)
      if (s.kind == kind) out.push_back(s.text);
    return out;
  }

 private:
  // `otherwise` takes the queue's type without deducing it, so std::nullopt fits.
  template <typename Queue>
  static typename Queue::value_type Pop(Queue& queue, typename Queue::value_type otherwise) {
    if (queue.empty()) return otherwise;
    typename Queue::value_type value = std::move(queue.front());
    queue.pop_front();
    return value;
  }
};

}  // namespace kv
