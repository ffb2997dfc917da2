#include "widgets/prompts_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include "widgets/text_win.h"

namespace kv::ui {

HWND Win32Prompts::Owner() const { return owner_ ? owner_ : GetActiveWindow(); }

int Win32Prompts::Box(const std::string& text, UINT flags) const {
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

}  // namespace

std::vector<std::string> Win32Prompts::OpenFiles(const FileDialogArgs& args) {
  FileDialog d(
      Owner(), args,
      OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | (args.multiSelect ? OFN_ALLOWMULTISELECT : 0));
  if (!GetOpenFileNameW(&d.ofn)) return {};
  return SplitSelection(d.buffer.c_str());
}

std::optional<std::string> Win32Prompts::SaveFile(const FileDialogArgs& args) {
  FileDialog d(Owner(), args, OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT);
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
