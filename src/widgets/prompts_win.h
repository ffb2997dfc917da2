#pragma once
// The prompts as real Win32 dialogs: message boxes captioned with the application
// title, and the common open, save and folder dialogs.

#include <windows.h>

#include <vector>

#include "widgets/prompts.h"

namespace kv::ui {

inline constexpr char kApplicationTitle[] = "Kestrova";

class Win32Prompts : public Prompts {
 public:
  // Dialogs are owned by `owner`, or by the active window when it is null.
  explicit Win32Prompts(HWND owner = nullptr) : owner_(owner) {}

  void Warning(const std::string& text) override;
  bool Confirm(const std::string& text) override;
  bool AskInformation(const std::string& text) override;
  void Information(const std::string& text) override;
  void Error(const std::string& text) override;
  bool AskError(const std::string& text) override;
  std::vector<std::string> OpenFiles(const FileDialogArgs& args) override;
  std::optional<std::string> SaveFile(const FileDialogArgs& args) override;
  std::optional<std::string> BrowseFolder(const std::string& title) override;

 private:
  [[nodiscard]] HWND Owner() const;
  int Box(const std::string& text, UINT flags) const;
  HWND owner_;
};

// While one lives, every top-level window this thread creates (a prompt, and a
// box the prompt itself asks) is moved into the work area of its monitor when
// it is first shown, its layout then complete. Scopes nest: only the outermost
// watches. Windows that existed before are left where they are.
class KeepPromptsOnScreen {
 public:
  KeepPromptsOnScreen();
  KeepPromptsOnScreen(const KeepPromptsOnScreen&) = delete;
  KeepPromptsOnScreen& operator=(const KeepPromptsOnScreen&) = delete;
  ~KeepPromptsOnScreen();

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp);
  HHOOK hook_ = nullptr;
  std::vector<HWND> created_;  // not yet activated
};

// "Description|*.a;*.b|..." as the dialogs want it: pairs separated by NULs, the
// whole ended by two.
[[nodiscard]] std::wstring DialogFilter(const std::string& filter);
// The names of a multi-selection buffer: a directory followed by file names, or
// one full path, each NUL-ended, the list ended by an empty name.
[[nodiscard]] std::vector<std::string> SplitSelection(const wchar_t* buffer);

}  // namespace kv::ui
