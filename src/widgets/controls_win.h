#pragma once
// Thin owning wrappers for the system controls the program's windows use, each
// with typed events. Create(args) makes the control as a child of args.parent,
// which must be a Window of ours (it reflects the notifications back here).

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "widgets/window_win.h"

namespace kv::ui {

class Button : public Control {
 public:
  void Create(const CreateArgs& args);
  std::function<void()> onClick;
  bool OnCommand(WORD code) override;
};

class CheckBox : public Control {
 public:
  void Create(const CreateArgs& args);
  [[nodiscard]] bool Checked() const noexcept;
  // Changes the box without raising onChanged (as loading settings does).
  void SetChecked(bool checked) noexcept;
  std::function<void(bool checked)> onChanged;  // by the user
  bool OnCommand(WORD code) override;
};

class Label : public Control {
 public:
  void Create(const CreateArgs& args);
};

class Edit : public Control {
 public:
  // args.style may add ES_MULTILINE, ES_NUMBER, ES_READONLY...
  void Create(const CreateArgs& args);
  std::function<void(const std::string& text)> onChanged;
  std::function<bool(WPARAM key)> onKeyDown;  // true: handled
  bool OnCommand(WORD code) override;

 protected:
  bool OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  bool settingText_ = false;
  friend class SpinEdit;
};

// A number edit with up-down arrows, held to [min, max].
class SpinEdit {
 public:
  SpinEdit() = default;
  SpinEdit(const SpinEdit&) = delete;
  SpinEdit& operator=(const SpinEdit&) = delete;
  ~SpinEdit();
  void Create(const Control::CreateArgs& args, int min, int max, int value);
  [[nodiscard]] int Value() const;
  // Sets the value (held to the range) without raising onChanged.
  void SetValue(int value);
  void SetRange(int min, int max);
  [[nodiscard]] int Min() const noexcept { return min_; }
  [[nodiscard]] int Max() const noexcept { return max_; }
  [[nodiscard]] Edit& EditControl() noexcept { return edit_; }
  void SetEnabled(bool enabled);
  std::function<void(int value)> onChanged;  // by the user

 private:
  Edit edit_;
  HWND upDown_ = nullptr;
  int min_ = 0, max_ = 100;
  bool setting_ = false;
};

class ComboBox : public Control {
 public:
  // A drop-down list (CBS_DROPDOWNLIST) unless args.style says otherwise.
  void Create(const CreateArgs& args);
  void SetItems(const std::vector<std::string>& items);
  void AddItem(const std::string& item);
  [[nodiscard]] int Count() const noexcept;
  [[nodiscard]] int ItemIndex() const noexcept;  // -1: none
  void SetItemIndex(int index) noexcept;         // without raising onChanged
  [[nodiscard]] std::string ItemText(int index) const;
  std::function<void(int index)> onChanged;  // by the user
  bool OnCommand(WORD code) override;
};

class TabControl : public Control {
 public:
  void Create(const CreateArgs& args);
  void AddTab(const std::string& caption);
  [[nodiscard]] int TabIndex() const noexcept;
  void SetTabIndex(int index) noexcept;
  // The area the pages take, in the parent's coordinates.
  [[nodiscard]] RECT PageRect() const noexcept;
  std::function<void(int index)> onChanged;
  bool OnNotify(NMHDR* header, LRESULT& result) override;
};

class ListView : public Control {
 public:
  // Report view with full-row selection; `ownerData` makes it virtual: the rows
  // are asked for through onGetText as they are shown.
  void Create(const CreateArgs& args, bool ownerData = false);
  void AddColumn(const std::string& caption, int width);
  [[nodiscard]] int ColumnWidth(int column) const noexcept;
  // Sizes every column to show its caption and each of its cells whole, in the
  // control's font; `cell` gives the text of one cell of the `rows` rows.
  using CellText = std::function<const std::string&(int row, int column)>;
  void FitColumns(int rows, const CellText& cell);
  // Virtual mode: the number of rows.
  void SetItemCount(int count);
  // Normal mode.
  int AddRow(const std::vector<std::string>& cells);
  void SetCell(int row, int column, const std::string& text);
  [[nodiscard]] std::string Cell(int row, int column) const;
  void DeleteRow(int row);
  void Clear();
  [[nodiscard]] int Count() const noexcept;
  [[nodiscard]] int Selected() const noexcept;  // first selected row, -1: none
  [[nodiscard]] std::vector<int> SelectedRows() const;
  void Select(int row, bool only = true);
  void EnsureVisible(int row);
  // Repainting is suspended while a long change runs.
  void BeginUpdate() noexcept;
  void EndUpdate() noexcept;

  std::function<std::string(int row, int column)> onGetText;  // virtual mode
  std::function<void()> onSelectionChanged;
  std::function<void(int row)> onDoubleClick;
  std::function<void(int column)> onColumnClick;
  std::function<bool(WORD key)> onKeyDown;  // true: handled
  bool OnNotify(NMHDR* header, LRESULT& result) override;

 private:
  bool ownerData_ = false;
  int columns_ = 0;
  std::vector<std::wstring> captions_;
  // Per column, the widths of the texts measured in the font described here.
  std::vector<std::unordered_map<std::string, int>> textWidths_;
  LOGFONTW measuredFont_{};
  std::wstring textBuffer_;  // lives until the list view has copied it
};

// An edit for a key combination (the system's hotkey control).
class HotkeyEdit : public Control {
 public:
  void Create(const CreateArgs& args);
  // Virtual key and HOTKEYF_ modifier flags (shift 1, control 2, alt 4).
  [[nodiscard]] WORD Hotkey() const noexcept;
  void SetHotkey(WORD vk, BYTE modifiers) noexcept;
  std::function<void(WORD vk, BYTE modifiers)> onChanged;
  bool OnCommand(WORD code) override;
};

}  // namespace kv::ui
