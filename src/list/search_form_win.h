#pragma once
// TSearchForm, the search window: finds wallpapers of the manager's list by a
// part of their file name while the user types, and applies the one picked
// through the manager's "Apply Image". The rules (what matches, how the keys
// move) are the portable ones of list/search_filter.h.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "config/kv_form_win.h"
#include "program/forms.h"
#include "widgets/controls_win.h"
#include "widgets/window_win.h"

namespace kv {

// The search text: key presses, key releases and typed characters reach the
// window before the edit handles them.
class TSearchEdit : public ui::Edit {
 public:
  std::function<bool(WPARAM key)> onKeyDownFirst;  // true: swallowed
  std::function<void(WPARAM key)> onKeyUp;
  std::function<bool(WPARAM ch)> onKeyPress;  // true: swallowed

 protected:
  bool OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

// A list box of texts with its clicks and keys.
class TSearchResults : public ui::Control {
 public:
  void Create(const CreateArgs& args);
  void Clear();
  void Add(const std::string& text);
  [[nodiscard]] int Count() const noexcept;
  [[nodiscard]] std::string Text(int index) const;
  [[nodiscard]] int ItemIndex() const noexcept;  // -1: none
  void SetItemIndex(int index) noexcept;
  [[nodiscard]] int TopIndex() const noexcept;
  void SetTopIndex(int index) noexcept;
  // Whole rows that fit in the box's height.
  [[nodiscard]] int PageRows() const noexcept;

  std::function<void()> onClick;
  std::function<void()> onDblClick;
  std::function<void(WPARAM key)> onKeyDown;
  std::function<void(WPARAM key)> onKeyUp;
  bool OnCommand(WORD code) override;

 protected:
  bool OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

inline constexpr char kSearchFormName[] = "SearchForm";

class TSearchForm : public TKVForm, public program::ISearchForm {
 public:
  explicit TSearchForm(SettingsStore& store) : TKVForm(store, kSearchFormName) {}
  ~TSearchForm() override;
  // Creates the window hidden at its kept place and sets program::SearchForm.
  void Create();

  // --- ISearchForm: FormShow.
  void ShowSearch() override;
  // FormHide: the search text is emptied; the results stay.
  void HideSearch();

  // The handlers, plain methods for tests.
  void FillAll();
  void Filter();
  void SearchStringKeyUp(WPARAM key);
  [[nodiscard]] bool SearchStringKeyDown(WPARAM key);
  [[nodiscard]] bool SearchStringKeyPress(WPARAM ch);
  void SearchResultsDblClick() { Pick(false); }
  void SearchResultsKeyUp(WPARAM key);
  void SearchResultsKeyDown(WPARAM key);
  void SearchResultsClick();
  void CancelButtonClick() { HideSearch(); }

  [[nodiscard]] TSearchEdit& SearchString() { return SearchString_; }
  [[nodiscard]] TSearchResults& SearchResults() { return SearchResults_; }
  [[nodiscard]] std::vector<std::string> ResultTexts() const;

 private:
  // Picks the selected result; `byEnter` hides the window even without one.
  // True when a result was selected.
  bool Pick(bool byEnter);
  void ShowResults(const std::vector<std::string>& names);
  [[nodiscard]] std::vector<std::string> ListNames() const;

  HWND group_ = nullptr;
  TSearchEdit SearchString_;
  TSearchResults SearchResults_;
  ui::Button CancelButton_;
};

}  // namespace kv
