#include "widgets/controls_win.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/text_win.h"

namespace kv::ui {

void Button::Create(const CreateArgs& args) {
  CreateArgs a = args;
  a.style |= BS_PUSHBUTTON | WS_TABSTOP;
  CreateControl(WC_BUTTONW, a);
}

bool Button::OnCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  if (onClick) onClick();
  return true;
}

void CheckBox::Create(const CreateArgs& args) {
  CreateArgs a = args;
  a.style |= BS_AUTOCHECKBOX | WS_TABSTOP;
  CreateControl(WC_BUTTONW, a);
}

bool CheckBox::Checked() const noexcept {
  return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked) noexcept {
  SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::OnCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  if (onChanged) onChanged(Checked());
  return true;
}

void Label::Create(const CreateArgs& args) {
  CreateArgs a = args;
  a.style |= SS_LEFT | SS_NOTIFY;
  CreateControl(WC_STATICW, a);
}

void Edit::Create(const CreateArgs& args) {
  CreateArgs a = args;
  a.style |= ES_AUTOHSCROLL | WS_TABSTOP;
  a.exStyle |= WS_EX_CLIENTEDGE;
  CreateControl(WC_EDITW, a);
}

bool Edit::OnCommand(WORD code) {
  if (code != EN_CHANGE) return false;
  if (!settingText_ && onChanged) onChanged(Text());
  return true;
}

bool Edit::OnControlMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg == WM_KEYDOWN && onKeyDown && onKeyDown(wp)) {
    result = 0;
    return true;
  }
  return false;
}

SpinEdit::~SpinEdit() {
  if (upDown_) DestroyWindow(upDown_);
}

void SpinEdit::Create(const Control::CreateArgs& args, int min, int max, int value) {
  min_ = std::min(min, max);
  max_ = std::max(min, max);
  Control::CreateArgs e = args;
  e.style |= ES_NUMBER;
  edit_.Create(e);
  upDown_ = CreateWindowExW(
      0, UPDOWN_CLASSW, nullptr,
      WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0,
      0, 0, 0, args.parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(upDown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit_.hwnd()), 0);
  SendMessageW(upDown_, UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
  SetValue(value);
  edit_.onChanged = [this](const std::string&) {
    if (setting_) return;
    if (onChanged) onChanged(Value());
  };
}

int SpinEdit::Value() const {
  const std::string text = edit_.Text();
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || end == text.c_str()) return min_;
  return static_cast<int>(std::clamp<long>(v, min_, max_));
}

void SpinEdit::SetValue(int value) {
  setting_ = true;
  edit_.SetText(std::to_string(std::clamp(value, min_, max_)));
  setting_ = false;
}

void SpinEdit::SetRange(int min, int max) {
  min_ = std::min(min, max);
  max_ = std::max(min, max);
  if (upDown_)
    SendMessageW(upDown_, UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
}

void SpinEdit::SetEnabled(bool enabled) {
  edit_.SetEnabled(enabled);
  if (upDown_) EnableWindow(upDown_, enabled);
}

void ComboBox::Create(const CreateArgs& args) {
  CreateArgs a = args;
  if (!(a.style & (CBS_DROPDOWN | CBS_SIMPLE))) a.style |= CBS_DROPDOWNLIST;
  a.style |= WS_VSCROLL | WS_TABSTOP;
  if (a.height < 120) a.height = 200;  // the height includes the dropped list
  CreateControl(WC_COMBOBOXW, a);
}

void ComboBox::SetItems(const std::vector<std::string>& items) {
  SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) AddItem(item);
}

void ComboBox::AddItem(const std::string& item) {
  const std::wstring text = Widen(item);
  SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int ComboBox::Count() const noexcept {
  return static_cast<int>(SendMessageW(hwnd_, CB_GETCOUNT, 0, 0));
}
int ComboBox::ItemIndex() const noexcept {
  return static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0));
}
void ComboBox::SetItemIndex(int index) noexcept {
  SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string ComboBox::ItemText(int index) const {
  const LRESULT length = SendMessageW(hwnd_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(hwnd_, CB_GETLBTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return Narrow(text);
}

bool ComboBox::OnCommand(WORD code) {
  if (code != CBN_SELCHANGE) return false;
  if (onChanged) onChanged(ItemIndex());
  return true;
}

void TabControl::Create(const CreateArgs& args) {
  CreateArgs a = args;
  a.style |= WS_CLIPSIBLINGS | WS_TABSTOP;
  CreateControl(WC_TABCONTROLW, a);
}

void TabControl::AddTab(const std::string& caption) {
  std::wstring text = Widen(caption);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  const auto count = SendMessageW(hwnd_, TCM_GETITEMCOUNT, 0, 0);
  SendMessageW(hwnd_, TCM_INSERTITEMW, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&item));
}

int TabControl::TabIndex() const noexcept {
  return static_cast<int>(SendMessageW(hwnd_, TCM_GETCURSEL, 0, 0));
}
void TabControl::SetTabIndex(int index) noexcept {
  SendMessageW(hwnd_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

RECT TabControl::PageRect() const noexcept {
  RECT r = Bounds();
  OffsetRect(&r, -r.left, -r.top);
  SendMessageW(hwnd_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  const RECT b = Bounds();
  OffsetRect(&r, b.left, b.top);
  return r;
}

bool TabControl::OnNotify(NMHDR* header, LRESULT& result) {
  if (header->code != TCN_SELCHANGE) return false;
  if (onChanged) onChanged(TabIndex());
  result = 0;
  return true;
}

void ListView::Create(const CreateArgs& args, bool ownerData) {
  ownerData_ = ownerData;
  CreateArgs a = args;
  a.style |= LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP | (ownerData ? LVS_OWNERDATA : 0);
  a.exStyle |= WS_EX_CLIENTEDGE;
  CreateControl(WC_LISTVIEWW, a);
  SendMessageW(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

void ListView::AddColumn(const std::string& caption, int width) {
  std::wstring text = Widen(caption);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.pszText = text.data();
  column.cx = width;
  column.iSubItem = columns_;
  SendMessageW(hwnd_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(columns_++),
               reinterpret_cast<LPARAM>(&column));
  captions_.push_back(std::move(text));
}

int ListView::ColumnWidth(int column) const noexcept {
  return static_cast<int>(SendMessageW(hwnd_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

void ListView::FitColumns(int rows, const CellText& cell) {
  // The control pads a cell's text on both sides, and the header its caption;
  // without this room the text ends in an ellipsis.
  constexpr int kCellPadding = 16;
  const HDC dc = GetDC(hwnd_);
  if (!dc) return;
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
  if (!font) font = GetStockObject(DEFAULT_GUI_FONT);
  const HGDIOBJ oldFont = SelectObject(dc, font);
  // Widths stay right while the font does; a handle may be reused for another
  // font, so the font's description decides.
  LOGFONTW described{};
  GetObjectW(font, sizeof described, &described);
  const std::size_t size = static_cast<std::size_t>(columns_);
  const bool sameFont = std::memcmp(&described, &measuredFont_, sizeof described) == 0;
  if (!sameFont || textWidths_.size() != size) {
    textWidths_.assign(size, {});
    measuredFont_ = described;
  }
  const auto width = [dc](const std::string& text) {
    const std::wstring wide = Widen(text);
    SIZE extent{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    return static_cast<int>(extent.cx);
  };
  for (std::size_t column = 0; column < size; ++column) {
    // Each text is measured once for as long as it is kept: rows sharing a
    // style or a folder, and rows that stay while others come and go.
    auto& known = textWidths_[column];
    if (known.size() > 2 * static_cast<std::size_t>(rows) + 64) known.clear();
    int widest = width(Narrow(captions_[column]));
    for (int row = 0; row < rows; ++row) {
      const std::string& text = cell(row, static_cast<int>(column));
      auto found = known.find(text);
      if (found == known.end()) found = known.emplace(text, width(text)).first;
      widest = std::max(widest, found->second);
    }
    SendMessageW(hwnd_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                 MAKELPARAM(widest + kCellPadding, 0));
  }
  SelectObject(dc, oldFont);
  ReleaseDC(hwnd_, dc);
}

void ListView::SetItemCount(int count) {
  SendMessageW(hwnd_, LVM_SETITEMCOUNT, static_cast<WPARAM>(count),
               LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

int ListView::AddRow(const std::vector<std::string>& cells) {
  std::wstring first = cells.empty() ? std::wstring() : Widen(cells[0]);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = Count();
  item.pszText = first.data();
  const int row =
      static_cast<int>(SendMessageW(hwnd_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  for (size_t c = 1; c < cells.size(); ++c) SetCell(row, static_cast<int>(c), cells[c]);
  return row;
}

void ListView::SetCell(int row, int column, const std::string& text) {
  std::wstring w = Widen(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = w.data();
  SendMessageW(hwnd_, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::string ListView::Cell(int row, int column) const {
  if (ownerData_) return onGetText ? onGetText(row, column) : std::string();
  std::wstring buffer(1024, L'\0');
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer.data();
  item.cchTextMax = static_cast<int>(buffer.size());
  const auto n = SendMessageW(hwnd_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                              reinterpret_cast<LPARAM>(&item));
  buffer.resize(static_cast<size_t>(n));
  return Narrow(buffer);
}

void ListView::DeleteRow(int row) {
  SendMessageW(hwnd_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
}
void ListView::Clear() {
  if (ownerData_)
    SetItemCount(0);
  else
    SendMessageW(hwnd_, LVM_DELETEALLITEMS, 0, 0);
}
int ListView::Count() const noexcept {
  return static_cast<int>(SendMessageW(hwnd_, LVM_GETITEMCOUNT, 0, 0));
}
int ListView::Selected() const noexcept {
  return static_cast<int>(
      SendMessageW(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::vector<int> ListView::SelectedRows() const {
  std::vector<int> rows;
  for (int i = Selected(); i >= 0;
       i = static_cast<int>(
           SendMessageW(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED)))
    rows.push_back(i);
  return rows;
}

void ListView::Select(int row, bool only) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  if (only)
    SendMessageW(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void ListView::EnsureVisible(int row) {
  SendMessageW(hwnd_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void ListView::BeginUpdate() noexcept { SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0); }
void ListView::EndUpdate() noexcept {
  SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

bool ListView::OnNotify(NMHDR* header, LRESULT& result) {
  result = 0;
  switch (header->code) {
    case LVN_GETDISPINFOW: {
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
      if ((info->item.mask & LVIF_TEXT) && onGetText && info->item.cchTextMax > 0) {
        textBuffer_ = Widen(onGetText(info->item.iItem, info->item.iSubItem));
        const size_t n =
            std::min<size_t>(textBuffer_.size(), static_cast<size_t>(info->item.cchTextMax) - 1);
        std::copy_n(textBuffer_.c_str(), n, info->item.pszText);
        info->item.pszText[n] = L'\0';
      }
      return true;
    }
    case LVN_ITEMCHANGED: {
      auto* change = reinterpret_cast<NMLISTVIEW*>(header);
      if ((change->uChanged & LVIF_STATE) &&
          ((change->uOldState ^ change->uNewState) & LVIS_SELECTED) && onSelectionChanged)
        onSelectionChanged();
      return true;
    }
    case LVN_ODSTATECHANGED:
      if (onSelectionChanged) onSelectionChanged();
      return true;
    case NM_DBLCLK:
      if (onDoubleClick) onDoubleClick(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
      return true;
    case LVN_COLUMNCLICK:
      if (onColumnClick) onColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
      return true;
    case LVN_KEYDOWN:
      if (onKeyDown) onKeyDown(reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey);
      return true;
    default:
      return false;
  }
}

void HotkeyEdit::Create(const CreateArgs& args) {
  CreateArgs a = args;
  a.style |= WS_TABSTOP;
  CreateControl(HOTKEY_CLASSW, a);
}

WORD HotkeyEdit::Hotkey() const noexcept {
  return static_cast<WORD>(SendMessageW(hwnd_, HKM_GETHOTKEY, 0, 0));
}

void HotkeyEdit::SetHotkey(WORD vk, BYTE modifiers) noexcept {
  SendMessageW(hwnd_, HKM_SETHOTKEY, MAKEWORD(vk, modifiers), 0);
}

bool HotkeyEdit::OnCommand(WORD code) {
  if (code != EN_CHANGE) return false;
  const WORD hotkey = Hotkey();
  if (onChanged) onChanged(LOBYTE(hotkey), HIBYTE(hotkey));
  return true;
}

}  // namespace kv::ui
