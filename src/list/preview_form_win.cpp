#include "list/preview_form_win.h"

// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "base/program_dir_win.h"
#include "base/text_win.h"
#include "codecs/encoders.h"
#include "codecs/file_io.h"
#include "codecs/image_file.h"
#include "list/preview_picture.h"
#include "list/thumbnail_cache.h"
#include "list/wallpaper_list.h"
#include "skin/speed_bitmap_win.h"
#include "wallpaper/icon_colour.h"
#include "wallpaper/kv_wallpaper_win.h"
#include "wallpaper/resample.h"
#include "wallpaper/wallpaper_render.h"

namespace kv {
namespace {

using program::MainForm;
using program::OptionsForm;

constexpr char kHint[] = "Right Click For Options";

// Copies the part of `source` starting at (sx, sy) onto `target` at (tx, ty),
// clipped to both.
void CopyRect(const Bitmap& source, int sx, int sy, Bitmap& target, int tx, int ty) {
  const int x0 = std::max({0, -sx, -tx}), y0 = std::max({0, -sy, -ty});
  const int width = std::min(source.Width() - sx, target.Width() - tx);
  const int height = std::min(source.Height() - sy, target.Height() - ty);
  for (int y = y0; y < height; ++y) {
    if (width <= x0) break;
    std::memcpy(target.ScanLine(ty + y) + 3 * static_cast<std::size_t>(tx + x0),
                source.ScanLine(sy + y) + 3 * static_cast<std::size_t>(sx + x0),
                3 * static_cast<std::size_t>(width - x0));
  }
}

}  // namespace

Bitmap BuildPreviewPicture(const Bitmap& wallpaper, const PreviewLayout& l, int scaledFilter,
                           Colour backdrop) {
  if (wallpaper.Empty() || l.pictureWidth <= 0 || l.pictureHeight <= 0) return {};
  switch (l.kind) {
    case PreviewKind::CenterCut: {
      Bitmap out(l.pictureWidth, l.pictureHeight);
      // A wallpaper wider than the screen but lower leaves bands above and below.
      out.Fill(backdrop);
      CopyRect(wallpaper, l.sourceX, l.sourceY, out, 0, 0);
      return out;
    }
    case PreviewKind::CenterPlain:
      return wallpaper;
    case PreviewKind::Tile: {
      Bitmap out(l.pictureWidth, l.pictureHeight);
      for (int row = 0; row < l.rows; ++row)
        for (int column = 0; column < l.columns; ++column)
          CopyRect(wallpaper, 0, 0, out, column * wallpaper.Width(), row * wallpaper.Height());
      return out;
    }
    case PreviewKind::Stretch:
      return StretchPlain(wallpaper, l.pictureWidth, l.pictureHeight);
    case PreviewKind::Scaled:
      if (scaledFilter >= 1 && scaledFilter <= kResampleFilterCount) {
        Bitmap out = wallpaper;
        ResampleBitmap(l.pictureWidth, l.pictureHeight,
                       static_cast<ResampleFilter>(scaledFilter - 1), 0.0f, out);
        return out;
      }
      return StretchPlain(wallpaper, l.pictureWidth, l.pictureHeight);
    case PreviewKind::Filter: {
      Bitmap out = wallpaper;
      ResampleBitmap(l.pictureWidth, l.pictureHeight, static_cast<ResampleFilter>(l.filter), 0.0f,
                     out);
      return out;
    }
  }
  return {};
}

// --- The image control -----------------------------------------------------

void TPreviewImage::Create(HWND parent) {
  ui::WindowArgs args;
  args.className = L"KvPreviewImage";
  args.style = WS_CHILD | WS_VISIBLE;
  args.parent = parent;
  args.left = args.top = 0;
  args.width = args.height = 1;
  paintsWholeFace_ = true;
  Window::Create(args);
  tooltip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                                 nullptr, GetModuleHandleW(nullptr), nullptr));
  if (tooltip_) {
    const std::wstring text = Widen(kHint);
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd_;
    info.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
}

void TPreviewImage::SetPicture(Bitmap picture) {
  picture_ = std::move(picture);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void TPreviewImage::PaintFace(HDC dc) {
  RECT r{};
  GetClientRect(hwnd_, &r);
  // What the picture does not cover shows the window's background.
  const HWND parent = GetParent(hwnd_);
  HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageW(
      parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd_)));
  FillRect(dc, &r, brush ? brush : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  skin::DrawBitmap(dc, 0, 0, picture_);
}

// --- The window ------------------------------------------------------------

TPreviewForm::~TPreviewForm() {
  if (program::PreviewForm == this) program::PreviewForm = nullptr;
}

void TPreviewForm::Create() {
  CreateArgs args;
  args.className = L"KvPreviewForm";
  args.title = "Preview";
  args.style = WS_POPUP | WS_CLIPCHILDREN;
  args.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  // Maximized: the whole primary screen.
  args.left = args.top = 0;
  args.width = GetSystemMetrics(SM_CXSCREEN);
  args.height = GetSystemMetrics(SM_CYSCREEN);
  Form::Create(args);
  // A left click on the picture or round it leaves; closing only hides.
  const auto leaveOnLeftClick = [this](int button, int, int) {
    if (button == 0) PreviewImageClick();
  };
  onMouseUp = leaveOnLeftClick;
  onClose = [this] {
    HidePreview();
    return false;
  };
  previewImage_.Create(hwnd_);
  previewImage_.onMouseUp = leaveOnLeftClick;
  previewImage_.onContextMenu = [this](HWND, int x, int y) { PreviewFormPopup.Popup(hwnd_, x, y); };
  PreviewFormPopup.root.Add(
      "Apply Image", [this](ui::MenuItem&) { ApplyImage1Click(); }, "ApplyImage1");
  PreviewFormPopup.root.AddSeparator();
  PreviewFormPopup.root.Add(
      "Exit", [this](ui::MenuItem&) { Exit1Click(); }, "Exit1");
  program::PreviewForm = this;
}

void TPreviewForm::ShowPreview(const std::string& fullName, const std::string& style) {
  // 1. The applier learns the entry, so that "Apply Image" sets the desktop
  //    with the previewed style.
  if (MainForm) {
    MainForm->KVWallpaper1().WpName = fullName;
    MainForm->KVWallpaper1().SetStyleByName(style);
  }
  // 2. The working bitmap; one that cannot be read stays empty.
  Bitmap wallpaper;
  try {
    LoadImageFile(wallpaper, fullName);
  } catch (const std::exception&) {
    wallpaper = Bitmap();
  }
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // 3. The picture and its place, for this style whatever the last one was.
  const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  SetWindowPos(hwnd_, nullptr, 0, 0, screenW, screenH, SWP_NOZORDER | SWP_NOACTIVATE);
  layout_ = LayoutPreview(style, wallpaper.Width(), wallpaper.Height(), screenW, screenH);
  if (layout_.desktopBackground) background_ = GetSysColor(COLOR_DESKTOP);
  const int scaledFilter = MainForm && OptionsForm ? MainForm->KVWallpaper1().ScaledFilter : 0;
  const Colour backdrop =
      MakeColour(GetRValue(background_), GetGValue(background_), GetBValue(background_));
  previewImage_.SetPicture(BuildPreviewPicture(wallpaper, layout_, scaledFilter, backdrop));
  if (layout_.fill)
    SetWindowPos(previewImage_.hwnd(), nullptr, 0, 0, screenW, screenH, SWP_NOZORDER);
  else
    SetWindowPos(previewImage_.hwnd(), nullptr, layout_.imageLeft, layout_.imageTop,
                 layout_.imageWidth, layout_.imageHeight, SWP_NOZORDER);
  shownName_ = fullName;
  // 4. The working bitmap goes with this scope; the window shows.
  InvalidateRect(hwnd_, nullptr, TRUE);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void TPreviewForm::ApplyImage1Click() {
  // The window goes whatever happens below; a failure to write the file still
  // reaches the error box.
  struct HideWhenDone {
    TPreviewForm& form;
    ~HideWhenDone() { form.HidePreview(); }
  } hide{*this};
  // A wallpaper that could not be read shows an empty picture: there is nothing
  // to apply, and the desktop keeps the wallpaper it has.
  if (previewImage_.Picture().Empty()) return;
  // 1. What is shown becomes "Wallpaper.bmp".
  SaveBmp(previewImage_.Picture(), ProgramDir() + kWallpaperFileName);
  // 2. Set as it is, without rendering again; the current entry stays.
  if (MainForm) MainForm->KVWallpaper1().ApplyWallpaper(false, true);
  // 3. The icon text colour from the wallpaper's thumbnail as the cache holds
  //    it, else from the shown picture; the thumbnail is read only when the
  //    colour is derived at all.
  if (MainForm && OptionsForm && OptionsForm->AnalyseThumbnails()) {
    const std::optional<Bitmap> thumbnail =
        LoadThumbnailPicture(ProgramDir() + kCacheDirectoryName + "\\", shownName_);
    MainForm->AnalyseIconColour(thumbnail && !thumbnail->Empty() ? *thumbnail
                                                                 : previewImage_.Picture());
  }
  // 4. Gone, as the guard above sees to.
}

void TPreviewForm::Exit1Click() { ShowWindow(hwnd_, SW_HIDE); }
void TPreviewForm::PreviewImageClick() { HidePreview(); }

void TPreviewForm::HidePreview() {
  previewImage_.SetPicture(Bitmap());
  ShowWindow(hwnd_, SW_HIDE);
}

bool TPreviewForm::EraseBackground(HDC dc) {
  RECT r{};
  GetClientRect(hwnd_, &r);
  HBRUSH brush = CreateSolidBrush(background_);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  return true;
}

HBRUSH TPreviewForm::ChildBackground(HDC dc, HWND /*child*/) {
  SetDCBrushColor(dc, background_);
  return static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
}

}  // namespace kv
