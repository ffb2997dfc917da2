#include "widgets/prompts_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "base/text_win.h"
#include "widgets/screen_fit_win.h"

namespace kv::ui {
namespace {

// The scope that watches this thread's new windows; null when none does.
thread_local KeepPromptsOnScreen* watching = nullptr;

}  // namespace

KeepPromptsOnScreen::KeepPromptsOnScreen() {
  if (watching) return;
  // A thread's own hook: the dialogs of this thread only, nothing system-wide.
  hook_ = SetWindowsHookExW(WH_CALLWNDPROCRET, Hook, nullptr, GetCurrentThreadId());
  if (hook_) watching = this;
}

KeepPromptsOnScreen::~KeepPromptsOnScreen() {
  if (!hook_) return;
  UnhookWindowsHookEx(hook_);
  watching = nullptr;
}

LRESULT CALLBACK KeepPromptsOnScreen::Hook(int code, WPARAM wp, LPARAM lp) {
  KeepPromptsOnScreen* self = watching;
  const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lp);
  if (self && code == HC_ACTION && sent->message == WM_CREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(sent->lParam);
    if (!(create->style & WS_CHILD)) self->created_.push_back(sent->hwnd);
  } else if (self && code == HC_ACTION && sent->message == WM_WINDOWPOSCHANGED &&
             (reinterpret_cast<const WINDOWPOS*>(sent->lParam)->flags & SWP_SHOWWINDOW)) {
    // Placed when it first shows: a dialog has laid out its controls and sized
    // itself by then (activation can come earlier, when a dialog gives a
    // control the focus while it sets itself up), and the user has not yet
    // moved it.
    const auto it = std::find(self->created_.begin(), self->created_.end(), sent->hwnd);
    if (it != self->created_.end()) {
      self->created_.erase(it);
      // A frame that can be dragged larger may also be made smaller to fit.
      FitIntoWorkArea(sent->hwnd, (GetWindowLongW(sent->hwnd, GWL_STYLE) & WS_THICKFRAME) != 0);
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

HWND Win32Prompts::Owner() const { return owner_ ? owner_ : GetActiveWindow(); }

int Win32Prompts::Box(const std::string& text, UINT flags) const {
  KeepPromptsOnScreen onScreen;
  return MessageBoxW(Owner(), Widen(text).c_str(), Widen(kApplicationTitle).c_str(),
                     flags | MB_TASKMODAL);
}

void Win32Prompts::Warning(const std::string& text) { Box(text, MB_OK | MB_ICONWARNING); }
bool Win32Prompts::Confirm(const std::string& text) {
  return Box(text, MB_YESNO | MB_ICONQUESTION) == IDYES;
}
void Win32Prompts::Information(const std::string& text) { Box(text, MB_OK | MB_ICONINFORMATION); }
bool Win32Prompts::AskInformation(const std::string& text) {
  return Box(text, MB_YESNO | MB_ICONINFORMATION) == IDYES;
}
void Win32Prompts::Error(const std::string& text) { Box(text, MB_OK | MB_ICONERROR); }
bool Win32Prompts::AskError(const std::string& text) {
  return Box(text, MB_YESNO | MB_ICONERROR) == IDYES;
}

std::wstring DialogFilter(const std::string& filter) {
  std::wstring out = Widen(filter);
  for (wchar_t& c : out)
    if (c == L'|') c = L'\0';
  out.push_back(L'\0');
  out.push_back(L'\0');
  return out;
}

std::vector<std::string> SplitSelection(const wchar_t* buffer) {
  std::vector<std::wstring> parts;
  for (const wchar_t* p = buffer; *p; p += parts.back().size() + 1) parts.emplace_back(p);
  std::vector<std::string> out;
  if (parts.size() == 1) {
    out.push_back(Narrow(parts[0]));
  } else if (parts.size() > 1) {
    std::wstring dir = parts[0];
    if (dir.back() != L'\\') dir += L'\\';
    for (size_t i = 1; i < parts.size(); ++i) out.push_back(Narrow(dir + parts[i]));
  }
  return out;
}

namespace {

// Enough for a few hundred long names in one multi-selection.
constexpr DWORD kSelectionChars = 65536;

struct FileDialog {
  OPENFILENAMEW ofn{};
  std::wstring filter, title, initialDir, defaultExt;
  std::wstring buffer;

  FileDialog(HWND owner, const FileDialogArgs& args, DWORD flags) {
    filter = DialogFilter(args.filter);
    title = Widen(args.title);
    initialDir = Widen(args.initialDir);
    defaultExt = Widen(args.defaultExt);
    buffer.assign(kSelectionChars, L'\0');
    const std::wstring name = Widen(args.fileName);
    buffer.replace(0, std::min<size_t>(name.size(), kSelectionChars - 2), name);
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = args.filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(args.filterIndex);
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = kSelectionChars;
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    ofn.Flags = flags | OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
  }
};

// The preview box of an open dialog: an owner-drawn static on the dialog's
// child panel, repainted whenever the selection changes.
struct PreviewBox {
  const FileDialogArgs* args = nullptr;
  HWND box = nullptr;
  std::string file;
};

constexpr int kPreviewBoxId = 0x4B56;
constexpr int kPreviewMargin = 6;

constexpr int kPanelWidth = 200, kPanelHeight = 90;  // dialog units

// The box takes the panel's width below the dialog's own controls (the panel
// may span the whole dialog, with those controls lying over it).
void PlacePreviewBox(HWND panel, HWND box) {
  RECT r{};
  GetClientRect(panel, &r);
  if (r.right <= 2 * kPreviewMargin || r.bottom <= kPreviewMargin) {
    // Before the dialog has laid the panel out: the template's own size.
    r = {0, 0, kPanelWidth, kPanelHeight};
    MapDialogRect(panel, &r);
  }
  // The lowest of the dialog's own controls: the file type box and Cancel.
  LONG lowest = 0;
  for (int id : {cmb1, IDOK, IDCANCEL}) {
    HWND control = GetDlgItem(GetParent(panel), id);
    if (!control) continue;
    RECT c{};
    GetWindowRect(control, &c);
    POINT bottom{c.left, c.bottom};
    ScreenToClient(panel, &bottom);
    lowest = std::max(lowest, bottom.y);
  }
  // The panel may reach below the dialog's visible area.
  RECT dialog{};
  GetClientRect(GetParent(panel), &dialog);
  MapWindowPoints(GetParent(panel), panel, reinterpret_cast<POINT*>(&dialog), 2);
  r.bottom = std::min(r.bottom, dialog.bottom);
  r.right = std::min(r.right, dialog.right);
  const int top = static_cast<int>(lowest) + kPreviewMargin;
  const int height = std::max(0, static_cast<int>(r.bottom) - top - kPreviewMargin);
  SetWindowPos(box, nullptr, kPreviewMargin, top, r.right - 2 * kPreviewMargin, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

UINT_PTR CALLBACK PreviewHook(HWND panel, UINT msg, WPARAM, LPARAM lp) {
  auto* state = reinterpret_cast<PreviewBox*>(GetWindowLongPtrW(panel, GWLP_USERDATA));
  switch (msg) {
    case WM_INITDIALOG: {
      state = reinterpret_cast<PreviewBox*>(reinterpret_cast<OPENFILENAMEW*>(lp)->lCustData);
      SetWindowLongPtrW(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
      state->box = CreateWindowExW(WS_EX_CLIENTEDGE, WC_STATICW, L"",
                                   WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 0, 0, 10, 10, panel,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPreviewBoxId)),
                                   GetModuleHandleW(nullptr), nullptr);
      PlacePreviewBox(panel, state->box);
      return TRUE;
    }
    case WM_SIZE:
      if (state && state->box) PlacePreviewBox(panel, state->box);
      return 0;
    case WM_NOTIFY: {
      const auto* note = reinterpret_cast<const OFNOTIFYW*>(lp);
      if (state && note->hdr.code == CDN_INITDONE) PlacePreviewBox(panel, state->box);
      if (!state || note->hdr.code != CDN_SELCHANGE) return 0;
      std::wstring path(32768, L'\0');
      const LRESULT n =
          SendMessageW(GetParent(panel), CDM_GETFILEPATH, static_cast<WPARAM>(path.size()),
                       reinterpret_cast<LPARAM>(path.data()));
      path.resize(n > 0 ? std::wcslen(path.c_str()) : 0);
      const DWORD attributes =
          path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
      // A folder, or several names at once, have no picture to show.
      state->file =
          attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)
              ? Narrow(path)
              : std::string();
      InvalidateRect(state->box, nullptr, TRUE);
      return 0;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (!state || item->CtlID != kPreviewBoxId) return 0;
      FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
      try {
        state->args->preview(state->file, item->hDC, item->rcItem.right - item->rcItem.left,
                             item->rcItem.bottom - item->rcItem.top);
      } catch (...) {
        // A picture that cannot be shown leaves the box empty.
      }
      return TRUE;
    }
    default:
      return 0;
  }
}

// The panel under the dialog's own controls: an empty child dialog template,
// as wide as the dialog's controls and tall enough for a preview.
std::vector<WORD> PreviewPanelTemplate() {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
  auto* t = reinterpret_cast<DLGTEMPLATE*>(words.data());
  t->style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL;
  t->cx = kPanelWidth;
  t->cy = kPanelHeight;
  return words;  // no menu, the default class, no title
}

}  // namespace

std::vector<std::string> Win32Prompts::OpenFiles(const FileDialogArgs& args) {
  FileDialog d(
      Owner(), args,
      OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | (args.multiSelect ? OFN_ALLOWMULTISELECT : 0));
  PreviewBox box;
  std::vector<WORD> panel;
  HGLOBAL templateMemory = nullptr;
  if (args.preview) {
    panel = PreviewPanelTemplate();
    // A fixed block: its handle is its address, which the dialog reads.
    templateMemory = GlobalAlloc(GMEM_FIXED, panel.size() * sizeof(WORD));
    if (templateMemory) {
      std::memcpy(templateMemory, panel.data(), panel.size() * sizeof(WORD));
      box.args = &args;
      d.ofn.Flags |= OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE;
      d.ofn.hInstance = static_cast<HINSTANCE>(templateMemory);
      d.ofn.lpfnHook = PreviewHook;
      d.ofn.lCustData = reinterpret_cast<LPARAM>(&box);
    }
  }
  KeepPromptsOnScreen onScreen;
  const BOOL chosen = GetOpenFileNameW(&d.ofn);
  if (templateMemory) GlobalFree(templateMemory);
  if (!chosen) return {};
  return SplitSelection(d.buffer.c_str());
}

std::optional<std::string> Win32Prompts::SaveFile(const FileDialogArgs& args) {
  FileDialog d(Owner(), args, OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT);
  KeepPromptsOnScreen onScreen;
  if (!GetSaveFileNameW(&d.ofn)) return std::nullopt;
  return Narrow(d.buffer.c_str());
}

std::optional<std::string> Win32Prompts::BrowseFolder(const std::string& title) {
  const std::wstring wideTitle = Widen(title);
  BROWSEINFOW bi{};
  bi.hwndOwner = Owner();
  bi.lpszTitle = wideTitle.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::optional<std::string> result;
  KeepPromptsOnScreen onScreen;
  if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&bi)) {
    wchar_t path[MAX_PATH];
    if (SHGetPathFromIDListW(list, path)) {
      std::wstring p = path;
      // No trailing backslash, except on a drive's root where it belongs.
      if (p.size() > 3 && p.back() == L'\\') p.pop_back();
      result = Narrow(p);
    }
    CoTaskMemFree(list);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return result;
}

}  // namespace kv::ui
