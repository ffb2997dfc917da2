// The hidden "Save" and "Load" commands of the tray menu: the browser window
// with every skin control it holds, pictures included, written to and read
// back from "MyFile.dwf" in the working directory.
#include <windows.h>

#include <exception>

#include "app/browser_form_win.h"
#include "codecs/file_io.h"
#include "skin/skin_controls_win.h"
#include "skin/window_stream.h"
#include "widgets/prompts.h"

namespace kv::app {
namespace {

constexpr char kStreamFile[] = "MyFile.dwf";
constexpr char kCantSave[] = "Error: Can't save MyFile.dwf";
constexpr char kCantLoad[] = "Error: Can't load MyFile.dwf";

skin::StreamedControl Streamed(skin::StreamedKind kind, const skin::TOrganicShapeControl& c) {
  skin::StreamedControl s;
  s.kind = kind;
  s.name = c.Name();
  s.hint = c.Hint();
  s.caption = c.Caption();
  s.dataString = c.DataString;
  s.left = c.Left();
  s.top = c.Top();
  s.width = c.Width();
  s.height = c.Height();
  s.visible = c.IsVisible();
  return s;
}

const Bitmap& Picture(const std::vector<Bitmap>& pictures, std::size_t i) {
  static const Bitmap kNone;
  return i < pictures.size() ? pictures[i] : kNone;
}

}  // namespace

void TMainForm::Save1Click() {
  skin::StreamedWindow window;
  RECT r{};
  GetWindowRect(hwnd_, &r);
  window.left = r.left;
  window.top = r.top;
  window.background = Skin().Picture();
  for (const auto& p : previews_) {
    skin::StreamedControl s = Streamed(skin::StreamedKind::Preview, *p);
    s.pictures = {p->Mask()};
    window.controls.push_back(std::move(s));
  }
  for (const auto& l : labels_) {
    skin::StreamedControl s = Streamed(skin::StreamedKind::Label, *l);
    s.pictures = {l->Mask(), l->OverBmp()};
    window.controls.push_back(std::move(s));
  }
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const skin::TOrganicShapeButton& b = *buttons_[i];
    skin::StreamedControl s = Streamed(skin::StreamedKind::Button, b);
    s.command = buttonCommands_[i];
    s.pictures = {b.Mask(), b.OverBmp(), b.PressedBmp()};
    window.controls.push_back(std::move(s));
  }
  try {
    const std::vector<std::uint8_t> bytes = skin::WriteWindowStream(window);
    WriteFileAtomic(kStreamFile, bytes.data(), bytes.size());
  } catch (const std::exception&) {
    prompts_.Information(kCantSave);
  }
}

void TMainForm::Load1Click() {
  // The whole file is read and checked before anything of the window changes,
  // so a damaged file leaves the window as it was.
  skin::StreamedWindow window;
  try {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(kStreamFile);
    window = skin::ReadWindowStream(bytes.data(), bytes.size());
  } catch (const std::exception&) {
    prompts_.Information(kCantLoad);
    return;
  }
  ClearSkinLists();
  SetWindowPos(hwnd_, nullptr, window.left, window.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  try {
    if (!window.background.Empty()) Skin().Assign(std::move(window.background));
    // Labels first: the buttons refer to them by number.
    for (const skin::StreamedControl& c : window.controls) {
      if (c.kind != skin::StreamedKind::Label) continue;
      labels_.push_back(skin::MakeSkinLabel(hwnd_, c.name, c.left, c.top, Picture(c.pictures, 0)));
      if (!Picture(c.pictures, 1).Empty()) labels_.back()->SetOverBmp(Picture(c.pictures, 1));
      labels_.back()->SetCaption(c.caption);
      labels_.back()->SetVisible(c.visible);
    }
    for (const skin::StreamedControl& c : window.controls) {
      if (c.kind == skin::StreamedKind::Preview) {
        skin::TOrganicShapeImage& preview = AddPreview(c.name, c.left, c.top, c.width, c.height);
        if (!Picture(c.pictures, 0).Empty()) preview.SetMask(Picture(c.pictures, 0));
        preview.SetBoundsRect(c.left, c.top, c.width, c.height);
      } else if (c.kind == skin::StreamedKind::Button) {
        skin::ButtonPictures pictures{Picture(c.pictures, 0), Picture(c.pictures, 1),
                                      Picture(c.pictures, 2)};
        skin::TOrganicShapeButton& button = AddButton(
            skin::MakeSkinButton(hwnd_, c.name, c.left, c.top, pictures, c.dataString, labels_),
            c.command);
        button.SetCaption(c.caption);
        button.SetHint(c.hint);
        button.SetVisible(c.visible);
      }
    }
  } catch (const std::exception&) {
    prompts_.Information(kCantLoad);
  }
  RaiseButtons();
  RefreshPreviews();
}

}  // namespace kv::app
