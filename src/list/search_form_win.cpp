#include "list/search_form_win.h"

#include "base/text_win.h"
#include "list/dialog_layout_win.h"
#include "list/search_filter.h"
#include "list/wallpaper_list.h"

namespace kv {
namespace {

using program::ManagerForm;

constexpr int kWidth = 300, kHeight = 340;

// WM_GETDLGCODE: Enter and Escape go to the control instead of the dialog
// navigation of the message loop (which would turn them into the window's OK
// and Cancel); false leaves the question to the control.
bool WantsEnterAndEscape(HWND control, WPARAM wp, LPARAM lp, LRESULT& result) {
  const MSG* m = reinterpret_cast<const MSG*>(lp);
  if (!m || (m->message != WM_KEYDOWN && m->message != WM_CHAR && m->message != WM_KEYUP) ||
      (m->wParam != VK_RETURN && m->wParam != VK_ESCAPE))
    return false;
  result = DLGC_WANTALLKEYS | DefSubclassProc(control, WM_GETDLGCODE, wp, lp);
  return true;
}

}  // namespace

// --- Controls --------------------------------------------------------------

bool TSearchEdit::OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_GETDLGCODE:
      return WantsEnterAndEscape(hwnd_, wp, lp, result);
    case WM_KEYDOWN:
      if (onKeyDownFirst && onKeyDownFirst(wp)) {
        result = 0;
        return true;
      }
      break;
    case WM_KEYUP:
      if (onKeyUp) onKeyUp(wp);
      break;
    case WM_CHAR:
      if (onKeyPress && onKeyPress(wp)) {
        result = 0;
        return true;
      }
      break;
    default:
      break;
  }
  return Edit::OnControlMessage(msg, wp, lp, result);
}

void TSearchResults::Create(const CreateArgs& args) {
  CreateArgs a = args;
  a.style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
  a.exStyle |= WS_EX_CLIENTEDGE;
  CreateControl(L"LISTBOX", a);
}

void TSearchResults::Clear() { SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0); }
void TSearchResults::Add(const std::string& text) {
  SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}
int TSearchResults::Count() const noexcept {
  return static_cast<int>(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0));
}
std::string TSearchResults::Text(int index) const {
  const LRESULT length = SendMessageW(hwnd_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(hwnd_, LB_GETTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return Narrow(text);
}
int TSearchResults::ItemIndex() const noexcept {
  return static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0));
}
void TSearchResults::SetItemIndex(int index) noexcept {
  SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
int TSearchResults::TopIndex() const noexcept {
  return static_cast<int>(SendMessageW(hwnd_, LB_GETTOPINDEX, 0, 0));
}
void TSearchResults::SetTopIndex(int index) noexcept {
  SendMessageW(hwnd_, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}
int TSearchResults::PageRows() const noexcept {
  RECT r{};
  GetClientRect(hwnd_, &r);
  const int row = static_cast<int>(SendMessageW(hwnd_, LB_GETITEMHEIGHT, 0, 0));
  return row > 0 ? (r.bottom - r.top) / row : 1;
}

bool TSearchResults::OnCommand(WORD code) {
  if (code == LBN_DBLCLK && onDblClick) onDblClick();
  return code == LBN_DBLCLK;
}

bool TSearchResults::OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_GETDLGCODE:
      return WantsEnterAndEscape(hwnd_, wp, lp, result);
    case WM_KEYDOWN:
      if (onKeyDown) onKeyDown(wp);
      break;
    case WM_KEYUP:
      if (onKeyUp) onKeyUp(wp);
      break;
    case WM_LBUTTONUP:
      // After the list box has moved its selection to the row clicked.
      result = DefSubclassProc(hwnd_, msg, wp, lp);
      if (onClick) onClick();
      return true;
    default:
      break;
  }
  return false;
}

// --- The window ------------------------------------------------------------

TSearchForm::~TSearchForm() {
  if (program::SearchForm == this) program::SearchForm = nullptr;
}

void TSearchForm::Create() {
  // Without WS_CLIPCHILDREN: the group frame is see-through, and the window
  // paints what shows through it.
  CreateForm(DialogFrame("Search", kWidth, kHeight, WS_EX_TOOLWINDOW));
  onClose = [this] {
    HideSearch();
    return false;
  };
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int width = client.right - 16;
  group_ =
      CreateWindowExW(0, WC_BUTTONW, L"Search For Wallpaper", WS_CHILD | WS_VISIBLE | BS_GROUPBOX,
                      8, 6, width, 50, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(group_, WM_SETFONT, reinterpret_cast<WPARAM>(ui::DefaultGuiFont()), TRUE);

  SearchString_.Create(ChildAt(hwnd_, 18, 24, width - 20, 22));
  SearchString_.onKeyDownFirst = [this](WPARAM key) { return SearchStringKeyDown(key); };
  SearchString_.onKeyUp = [this](WPARAM key) { SearchStringKeyUp(key); };
  SearchString_.onKeyPress = [this](WPARAM ch) { return SearchStringKeyPress(ch); };

  SearchResults_.Create(ChildAt(hwnd_, 8, 64, width, client.bottom - 64 - 42));
  SearchResults_.onDblClick = [this] { SearchResultsDblClick(); };
  SearchResults_.onKeyUp = [this](WPARAM key) { SearchResultsKeyUp(key); };
  SearchResults_.onKeyDown = [this](WPARAM key) { SearchResultsKeyDown(key); };
  SearchResults_.onClick = [this] { SearchResultsClick(); };

  CancelButton_.Create(ChildAt(hwnd_, client.right - 88, client.bottom - 33, 80, 25, "&Cancel"));
  CancelButton_.onClick = [this] { CancelButtonClick(); };
  // The frame lies behind the text it surrounds, or it paints over it.
  SetWindowPos(group_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  program::SearchForm = this;
}

std::vector<std::string> TSearchForm::ListNames() const {
  std::vector<std::string> names;
  if (!ManagerForm) return names;
  const TKvlistview& list = ManagerForm->Wallpaperlist();
  names.reserve(list.Count());
  for (std::size_t i = 0; i < list.Count(); ++i) names.push_back(list.Entry(i).fileName);
  return names;
}

std::vector<std::string> TSearchForm::ResultTexts() const {
  std::vector<std::string> out;
  for (int i = 0; i < SearchResults_.Count(); ++i) out.push_back(SearchResults_.Text(i));
  return out;
}

void TSearchForm::ShowResults(const std::vector<std::string>& names) {
  SendMessageW(SearchResults_.hwnd(), WM_SETREDRAW, FALSE, 0);
  SearchResults_.Clear();
  for (const std::string& name : names) SearchResults_.Add(name);
  SendMessageW(SearchResults_.hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(SearchResults_.hwnd(), nullptr, TRUE);
}

void TSearchForm::ShowSearch() {
  FillAll();
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetFocus(SearchString_.hwnd());
}

void TSearchForm::HideSearch() {
  SearchString_.SetText("");
  ShowWindow(hwnd_, SW_HIDE);
}

void TSearchForm::FillAll() {
  const std::vector<std::string> names = ListNames();
  if (static_cast<std::size_t>(SearchResults_.Count()) != names.size()) ShowResults(names);
  if (SearchResults_.Count() > 0) SearchResults_.SetItemIndex(0);
}

void TSearchForm::Filter() {
  ShowResults(FilterNames(ListNames(), SearchString_.Text()));
  if (SearchResults_.ItemIndex() < 0 && SearchResults_.Count() > 0) SearchResults_.SetItemIndex(0);
}

void TSearchForm::SearchStringKeyUp(WPARAM key) {
  switch (SearchKeyUpAction(static_cast<unsigned>(key), SearchString_.Text().empty())) {
    case SearchKeyUp::FillAll:
      FillAll();
      break;
    case SearchKeyUp::Filter:
      Filter();
      break;
    case SearchKeyUp::Nothing:
      break;
  }
}

bool TSearchForm::SearchStringKeyDown(WPARAM key) {
  SearchMove move;
  switch (key) {
    case VK_UP:
      move = SearchMove::Up;
      break;
    case VK_DOWN:
      move = SearchMove::Down;
      break;
    case VK_PRIOR:
      move = SearchMove::PageUp;
      break;
    case VK_NEXT:
      move = SearchMove::PageDown;
      break;
    default:
      return false;
  }
  const ResultPosition to = MoveResult({SearchResults_.ItemIndex(), SearchResults_.TopIndex()},
                                       move, SearchResults_.Count(), SearchResults_.PageRows());
  if (to.selected >= 0) {
    SearchResults_.SetItemIndex(to.selected);
    SearchResults_.SetTopIndex(to.top);
  }
  return true;
}

bool TSearchForm::SearchStringKeyPress(WPARAM ch) {
  if (ch == VK_ESCAPE) {
    HideSearch();
    return true;
  }
  if (ch == VK_RETURN) return Pick(true);
  return false;
}

void TSearchForm::SearchResultsKeyUp(WPARAM key) {
  if (key == VK_RETURN) Pick(true);
}

void TSearchForm::SearchResultsKeyDown(WPARAM key) {
  if (key == VK_ESCAPE) HideSearch();
}

void TSearchForm::SearchResultsClick() {
  if (IsWindowVisible(hwnd_)) SetFocus(SearchString_.hwnd());
}

bool TSearchForm::Pick(bool byEnter) {
  const int selected = SearchResults_.ItemIndex();
  if (byEnter) HideSearch();
  if (selected < 0) return false;
  HideSearch();
  const std::string picked = SearchResults_.Text(selected);
  if (!ManagerForm) return true;
  TKvlistview& list = ManagerForm->Wallpaperlist();
  list.SelectAll(false);
  // Each entry of that name in turn: the first is applied; a further one is
  // selected beside it, and its apply meets two selected entries.
  for (std::size_t index : PickedEntries(ListNames(), picked)) {
    list.Select(index, true);
    ManagerForm->PopupApplyImageClick();
  }
  return true;
}

}  // namespace kv
