#include "skin/organic_control_win.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <algorithm>

#include "base/program_dir_win.h"
#include "base/text_win.h"
#include "codecs/encoders.h"
#include "codecs/file_io.h"
#include "codecs/image_error.h"
#include "codecs/image_file.h"
#include "skin/organic_glass_form_win.h"
#include "skin/organic_shape_error.h"
#include "skin/profile_ini_win.h"

namespace kv::skin {
namespace {

constexpr int kDefaultSize = 40;  // new controls are 40 x 40

COLORREF ToColorref(Colour c) { return RGB(RedOf(c), GreenOf(c), BlueOf(c)); }

GdiFont MakeFont(const FontSpec& fontSpec) {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  // A positive size is points; a negative one is a pixel height already.
  const int height = fontSpec.size > 0 ? -MulDiv(fontSpec.size, dpi, 72) : fontSpec.size;
  return GdiFont(CreateFontW(height, 0, 0, 0, fontSpec.bold ? FW_BOLD : FW_NORMAL, fontSpec.italic,
                             fontSpec.underline, fontSpec.strikeOut, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, Widen(fontSpec.name).c_str()));
}

// Window sizes and places the system can hold.
int ClampSize(int v) { return std::clamp(v, 0, 32767); }
int ClampPlace(int v) { return std::clamp(v, -32768, 32767); }

std::string Section(const std::string& name) { return name; }

}  // namespace

Colour ButtonFaceColour() noexcept {
  const COLORREF c = GetSysColor(COLOR_BTNFACE);
  return MakeColour(GetRValue(c), GetGValue(c), GetBValue(c));
}

TOrganicShapeControl::TOrganicShapeControl() : color_(ButtonFaceColour()) {
  skin_.OnChange = [this] {
    if (hwnd_) shapeIt();
  };
  paintsWholeFace_ = true;
  followsMouse_ = true;
  onMessage = [this](UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_MOUSEMOVE) MakeHintWindow(wp, lp);
    result = 0;
    return StateMessage(msg);
  };
}

TOrganicShapeControl::~TOrganicShapeControl() = default;

void TOrganicShapeControl::Create(const CreateArgs& args) {
  name_ = args.name;
  ui::WindowArgs w;
  w.className = L"TOrganicShapeControl";
  w.style = WS_CHILD | WS_CLIPSIBLINGS | (args.visible ? WS_VISIBLE : 0);
  w.parent = args.parent;
  w.left = args.left;
  w.top = args.top;
  w.width = skin_.Empty() ? kDefaultSize : skin_.Width();
  w.height = skin_.Empty() ? kDefaultSize : skin_.Height();
  Window::Create(w);
  if (!enabled_) EnableWindow(hwnd_, FALSE);
  if (!skin_.Empty()) {
    if (skin_.InvisibleColor() != invisible_) {
      skin_.SetInvisibleColor(invisible_);
      skin_.calculateRegion();
    }
    GdiRegion region = skin_.getRegion();
    if (!SetWindowRgn(hwnd_, region.get(), TRUE))
      throw OrganicShapeException::Failed("TOrganicShapeControl", "CreateWnd", "SetWindowRgn");
    region.release();
  }
  UpdateHint();
}

void TOrganicShapeControl::Repaint() noexcept {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void TOrganicShapeControl::SetAlignment(TAlignment a) {
  alignment_ = a;
  Repaint();
}
void TOrganicShapeControl::SetLayout(TTextLayout l) {
  layout_ = l;
  Repaint();
}
void TOrganicShapeControl::SetMargin(int m) {
  margin_ = m;
  Repaint();
}
void TOrganicShapeControl::SetWordWrap(bool w) {
  wordWrap_ = w;
  Repaint();
}
void TOrganicShapeControl::SetRightToLeft(bool rtl) {
  rightToLeft_ = rtl;
  Repaint();
}
void TOrganicShapeControl::SetFont(const FontSpec& f) {
  font_ = f;
  fontHandle_.reset();
  Repaint();
}
void TOrganicShapeControl::SetDisabledFont(const FontSpec& f) {
  disabledFont_ = f;
  disabledFontHandle_.reset();
  Repaint();
}
void TOrganicShapeControl::SetColor(Colour c) {
  color_ = c;
  Repaint();
}
void TOrganicShapeControl::SetCaption(const std::string& caption) {
  caption_ = caption;
  Repaint();
}
void TOrganicShapeControl::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (hwnd_) EnableWindow(hwnd_, enabled);
  Repaint();
}

void TOrganicShapeControl::SetInvisibleColor(Colour c) {
  if (c == invisible_) return;
  invisible_ = c;
  shapeIt();
}

void TOrganicShapeControl::SetMask(const Bitmap& picture) {
  skin_.SetInvisibleColor(invisible_);  // cut once, with the right colour
  skin_.Assign(picture);
}

void TOrganicShapeControl::SetDisabledBmp(const Bitmap& picture) {
  disabledBmp_ = picture;
  Repaint();
}

void TOrganicShapeControl::SetHint(const std::string& hint) {
  hint_ = hint;
  UpdateHint();
}
void TOrganicShapeControl::SetShowHint(bool show) {
  showHint_ = show;
  UpdateHint();
}

// The tooltip window is made when the mouse first comes over the control with
// a hint to show, not when the hint is set: a skin's buttons all get their
// hints at start-up, and a window each is a price paid before the first
// window shows, for hints most of which are never seen.
void TOrganicShapeControl::UpdateHint() {
  if (!tooltip_) return;
  const std::wstring text = Widen(hint_);
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = hwnd_;
  info.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  info.lpszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(tooltip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  SendMessageW(tooltip_.get(), TTM_ACTIVATE, showHint_ && !hint_.empty(), 0);
}

void TOrganicShapeControl::MakeHintWindow(WPARAM wp, LPARAM lp) {
  if (tooltip_ || !hwnd_ || !showHint_ || hint_.empty()) return;
  tooltip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                                 nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!tooltip_) return;
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = hwnd_;
  info.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  info.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  UpdateHint();
  // The tooltip sees the control's mouse from the next message on; this
  // first one starts its wait as any later one would.
  MSG msg{hwnd_, WM_MOUSEMOVE, wp, lp, static_cast<DWORD>(GetMessageTime()), {}};
  const DWORD at = GetMessagePos();
  msg.pt = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  SendMessageW(tooltip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void TOrganicShapeControl::SetBoundsRect(int left, int top, int width, int height) {
  if (hwnd_)
    SetWindowPos(hwnd_, nullptr, ClampPlace(left), ClampPlace(top), ClampSize(width),
                 ClampSize(height), SWP_NOZORDER | SWP_NOACTIVATE);
}

int TOrganicShapeControl::Left() const noexcept { return Bounds().left; }
int TOrganicShapeControl::Top() const noexcept { return Bounds().top; }
int TOrganicShapeControl::Width() const noexcept {
  const RECT r = Bounds();
  return r.right - r.left;
}
int TOrganicShapeControl::Height() const noexcept {
  const RECT r = Bounds();
  return r.bottom - r.top;
}

void TOrganicShapeControl::shapeIt() {
  if (!hwnd_) return;
  if (skin_.Width() > 0 && skin_.Height() > 0) {
    if (skin_.InvisibleColor() != invisible_) {
      skin_.SetInvisibleColor(invisible_);
      skin_.calculateRegion();
    }
    GdiRegion region = skin_.getRegion();
    if (!SetWindowRgn(hwnd_, region.get(), TRUE))
      throw OrganicShapeException::Failed("TOrganicShapeControl", "shapeIt", "SetWindowRgn");
    region.release();
  } else if (!SetWindowRgn(hwnd_, nullptr, TRUE)) {
    throw OrganicShapeException::Failed("TOrganicShapeControl", "shapeIt", "SetWindowRgn");
  }
  Repaint();
}

const Bitmap& TOrganicShapeControl::StatePicture() const {
  return enabled_ ? skin_.Picture() : disabledBmp_;
}

void TOrganicShapeControl::DrawCaption(TSpeedBitmap& face) {
  if (caption_.empty() || face.Empty()) return;
  HDC dc = face.DC();
  GdiFont& handle = enabled_ ? fontHandle_ : disabledFontHandle_;
  const FontSpec& fontSpec = enabled_ ? font_ : disabledFont_;
  if (!handle) handle = MakeFont(fontSpec);
  HGDIOBJ oldFont = SelectObject(dc, handle.get());
  SetBkMode(dc, TRANSPARENT);  // the brush is clear: the text has no background
  SetTextColor(dc, ToColorref(fontSpec.color));
  RECT client{};
  GetClientRect(hwnd_, &client);
  RECT r = client;
  r.left += margin_;
  r.right -= margin_;
  UINT flags = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0);
  TAlignment a = alignment_;
  if (rightToLeft_) {
    flags |= DT_RTLREADING;
    if (a != taCenter) a = a == taLeftJustify ? taRightJustify : taLeftJustify;
  }
  flags |= a == taLeftJustify ? DT_LEFT : a == taRightJustify ? DT_RIGHT : DT_CENTER;
  const std::wstring text = Widen(caption_);
  if (layout_ != tlTop) {
    RECT measured = r;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, flags | DT_CALCRECT);
    OffsetRect(&r, 0, CaptionShift(layout_, client.bottom, measured.bottom));
  }
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
  SelectObject(dc, oldFont);
  GdiFlush();
}

void TOrganicShapeControl::PaintPicture(HDC dc, const Bitmap& picture) {
  if (skin_.Width() == 0) {
    // Without a mask the control is a plain rectangle of its colour.
    RECT client{};
    GetClientRect(hwnd_, &client);
    face_.SetSize(client.right, client.bottom);
    face_.Fill(color_);
  } else {
    face_.Assign(picture);
  }
  if (face_.Empty()) return;
  DrawCaption(face_);
  if (auto* glass =
          dynamic_cast<TOrganicShapeGlassForm*>(ui::HwndOwner::FromHwnd(GetParent(hwnd_)))) {
    const Point origin = glass->CompositionOrigin();
    glass->Compose(face_, {origin.x + Left(), origin.y + Top()});
  }
  BitBlt(dc, 0, 0, face_.Width(), face_.Height(), face_.DC(), 0, 0, SRCCOPY);
}

void TOrganicShapeControl::PaintControl(HDC dc) { PaintPicture(dc, StatePicture()); }

void TOrganicShapeControl::Click() {
  if (onClick) onClick();
}

void TOrganicShapeControl::MouseEnter() {
  mouseOver_ = true;
  Repaint();
  Window::MouseEnter();
}

void TOrganicShapeControl::MouseLeave() {
  mouseOver_ = false;
  Repaint();
  Window::MouseLeave();
}

void TOrganicShapeControl::LeftPress(int x, int y, bool second) {
  mouseOver_ = true;
  if (TracksPress()) {
    pressed_ = true;
    SetCapture(hwnd_);
  }
  Repaint();
  Window::MouseDown(0, x, y);
  if (second) Window::DoubleClick(0, x, y);
  if (!TracksPress()) Click();
}

void TOrganicShapeControl::MouseDown(int button, int x, int y) {
  if (button == 0)
    LeftPress(x, y, false);
  else
    Window::MouseDown(button, x, y);
}

void TOrganicShapeControl::DoubleClick(int button, int x, int y) {
  if (button == 0)
    LeftPress(x, y, true);
  else
    Window::DoubleClick(button, x, y);
}

// A right click is left to the default handling, which asks the parent for
// its context menu (a preview's popup menu).
void TOrganicShapeControl::MouseUp(int button, int x, int y) {
  if (button != 0) {
    Window::MouseUp(button, x, y);
    return;
  }
  const bool wasPressed = pressed_;
  pressed_ = false;
  if (GetCapture() == hwnd_) ReleaseCapture();
  Repaint();
  Window::MouseUp(0, x, y);
  RECT client{};
  GetClientRect(hwnd_, &client);
  const POINT p{x, y};
  if (wasPressed && PtInRect(&client, p)) Click();
}

bool TOrganicShapeControl::StateMessage(UINT msg) {
  switch (msg) {
    case WM_CAPTURECHANGED:
      if (pressed_) {
        pressed_ = false;
        Repaint();
      }
      return true;
    case WM_SETFOCUS:
      if (onEnter) onEnter();
      return true;
    case WM_KILLFOCUS:
      if (onExit) onExit();
      return true;
    case WM_ENABLE:
      Repaint();
      return true;
    default:
      return false;
  }
}

std::string TOrganicShapeControl::ResolveDir(const std::string& dir) const {
  return ResolveControlDir(dir, kv::ProgramDir());
}

void TOrganicShapeControl::LoadPicture(Bitmap& picture, const std::string& base) {
  Bitmap loaded;
  try {
    if (FileExists(base + ".bmp"))
      LoadImageFile(loaded, base + ".bmp");
    else if (FileExists(base + ".jpg"))
      LoadImageFile(loaded, base + ".jpg");
  } catch (const ImageError&) {
    loaded = Bitmap();  // an unreadable picture counts as a missing one
  } catch (const FileError&) {
    loaded = Bitmap();
  }
  picture.Swap(loaded);
}

void TOrganicShapeControl::SavePicture(const Bitmap& picture, const std::string& path) {
  if (picture.Empty()) {
    // No file means an empty picture; an older one must not come back.
    DeleteFileW(Widen(path).c_str());
    return;
  }
  SaveBmp(picture, path);
}

void TOrganicShapeControl::SaveToDir(const std::string& dir) {
  const std::string d = ResolveDir(dir);
  if (!DirectoryExists(d) && !CreateDirectoryW(Widen(d).c_str(), nullptr))
    throw OrganicShapeException("Can not create folder: " + d);
  SavePicture(disabledBmp_, JoinPath(d, "disabledBmp_" + name_ + ".bmp"));
  SavePicture(skin_.Picture(), JoinPath(d, "mask_" + name_ + ".bmp"));
  ProfileIniFile ini(JoinPath(d, kCoordFile));
  const std::string s = Section(name_);
  WriteInteger(ini, s, "Left", Left());
  WriteInteger(ini, s, "Top", Top());
  WriteInteger(ini, s, "Width", Width());
  WriteInteger(ini, s, "Height", Height());
  WriteColour(ini, s, "InvisibleColor", invisible_);
  ini.WriteString(s, "Alignment", AlignmentName(alignment_));
  ini.WriteString(s, "Layout", LayoutName(layout_));
}

void TOrganicShapeControl::LoadFromDir(const std::string& dir) {
  const std::string d = ResolveDir(dir);
  ProfileIniFile ini(JoinPath(d, kCoordFile));
  const std::string s = Section(name_);
  // The colour first, so that the mask is cut with it.
  invisible_ = ReadColour(ini, s, "InvisibleColor", invisible_);
  LoadPicture(disabledBmp_, JoinPath(d, "disabledBmp_" + name_));
  Bitmap mask;
  LoadPicture(mask, JoinPath(d, "mask_" + name_));
  skin_.SetInvisibleColor(invisible_);
  skin_.Assign(std::move(mask));
  if (!hwnd_) return;
  const int left = ReadInteger(ini, s, "Left", Left());
  const int top = ReadInteger(ini, s, "Top", Top());
  const int width = ReadInteger(ini, s, "Width", skin_.Width());
  const int height = ReadInteger(ini, s, "Height", skin_.Height());
  SetBoundsRect(left, top, width, height);
  if (auto a = ini.ReadString(s, "Alignment")) alignment_ = ParseAlignment(*a);
  if (auto l = ini.ReadString(s, "Layout")) layout_ = ParseLayout(*l);
  Repaint();
}

// Buttons.

TOrganicShapeButton::TOrganicShapeButton() = default;

void TOrganicShapeButton::SetMask(const Bitmap& picture) {
  TOrganicShapeControl::SetMask(picture);
  if (hwnd_) SetBoundsRect(Left(), Top(), picture.Width(), picture.Height());
}

void TOrganicShapeButton::SetPressedBmp(const Bitmap& p) {
  pressedBmp_ = p;
  Repaint();
}
void TOrganicShapeButton::SetOverBmp(const Bitmap& p) {
  overBmp_ = p;
  Repaint();
}

const Bitmap& TOrganicShapeButton::StatePicture() const {
  if (pressed_) return pressedBmp_;  // even when it is empty
  if (mouseOver_ && overBmp_.Width() > 0) return overBmp_;
  return TOrganicShapeControl::StatePicture();
}

void TOrganicShapeButton::Click() {
  if (!DisableSound && !ClickSound.empty() && FileExists(ClickSound))
    PlaySoundW(Widen(ClickSound).c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
  TOrganicShapeControl::Click();
}

void TOrganicShapeButton::SaveToDir(const std::string& dir) {
  TOrganicShapeControl::SaveToDir(dir);
  const std::string d = ResolveDir(dir);
  if (!ClickSound.empty() && FileExists(ClickSound))
    CopyFileW(Widen(ClickSound).c_str(), Widen(JoinPath(d, name_ + ".wav")).c_str(), FALSE);
  SavePicture(pressedBmp_, JoinPath(d, "pressedBmp_" + name_ + ".bmp"));
  SavePicture(overBmp_, JoinPath(d, "overBmp_" + name_ + ".bmp"));
  ProfileIniFile ini(JoinPath(d, kCoordFile));
  WriteFont(ini, Section(name_), "Font", font_);
  WriteFont(ini, Section(name_), "DisabledFont", disabledFont_);
}

void TOrganicShapeButton::LoadFromDir(const std::string& dir) {
  TOrganicShapeControl::LoadFromDir(dir);
  const std::string d = ResolveDir(dir);
  ClickSound = JoinPath(d, name_ + ".wav");
  LoadPicture(pressedBmp_, JoinPath(d, "pressedBmp_" + name_));
  LoadPicture(overBmp_, JoinPath(d, "overBmp_" + name_));
  ProfileIniFile ini(JoinPath(d, kCoordFile));
  FontSpec f = font_, df = disabledFont_;
  ReadFont(ini, Section(name_), "Font", f);
  ReadFont(ini, Section(name_), "DisabledFont", df);
  SetFont(f);
  SetDisabledFont(df);
}

// Labels.

TOrganicShapeLabel::TOrganicShapeLabel() = default;

void TOrganicShapeLabel::SetMask(const Bitmap& picture) {
  TOrganicShapeControl::SetMask(picture);
  if (hwnd_) SetBoundsRect(Left(), Top(), picture.Width(), picture.Height());
}

void TOrganicShapeLabel::SetOverBmp(const Bitmap& p) {
  overBmp_ = p;
  Repaint();
}

const Bitmap& TOrganicShapeLabel::StatePicture() const {
  if (mouseOver_ && overBmp_.Width() > 0) return overBmp_;
  return TOrganicShapeControl::StatePicture();
}

void TOrganicShapeLabel::SaveToDir(const std::string& dir) {
  TOrganicShapeControl::SaveToDir(dir);
  const std::string d = ResolveDir(dir);
  SavePicture(overBmp_, JoinPath(d, "overBmp_" + name_ + ".bmp"));
  ProfileIniFile ini(JoinPath(d, kCoordFile));
  WriteColour(ini, Section(name_), "Color", color_);
  WriteFont(ini, Section(name_), "Font", font_);
  WriteFont(ini, Section(name_), "DisabledFont", disabledFont_);
}

void TOrganicShapeLabel::LoadFromDir(const std::string& dir) {
  TOrganicShapeControl::LoadFromDir(dir);
  const std::string d = ResolveDir(dir);
  LoadPicture(overBmp_, JoinPath(d, "overBmp_" + name_));
  ProfileIniFile ini(JoinPath(d, kCoordFile));
  color_ = ReadColour(ini, Section(name_), "Color", color_);
  FontSpec f = font_, df = disabledFont_;
  ReadFont(ini, Section(name_), "Font", f);
  ReadFont(ini, Section(name_), "DisabledFont", df);
  SetFont(f);
  SetDisabledFont(df);
}

// Images.

void TOrganicShapeImage::SetPicture(const Bitmap& picture) {
  picture_ = picture;
  kind_ = picture_.Empty() ? PictureKind::None : PictureKind::Bitmap;
  jpegData_.clear();
  PictureChanged();
}

void TOrganicShapeImage::LoadPictureFile(const std::string& path) {
  Bitmap loaded;
  LoadImageFile(loaded, path);
  const ImageFamily family = ImageFamilyOf(path);
  std::vector<std::uint8_t> bytes;
  if (family == ImageFamily::Jpeg) bytes = ReadFileBytes(path);
  picture_.Swap(loaded);
  kind_ = family == ImageFamily::Jpeg  ? PictureKind::Jpeg
          : family == ImageFamily::Bmp ? PictureKind::Bitmap
                                       : PictureKind::Other;
  jpegData_ = std::move(bytes);
  PictureChanged();
}

void TOrganicShapeImage::PictureChanged() {
  if (AutoSize && hwnd_ && !picture_.Empty())
    SetBoundsRect(Left(), Top(), picture_.Width(), picture_.Height());
  if (OnProgress) OnProgress(100, RECT{0, 0, picture_.Width(), picture_.Height()});
  Repaint();
}

void TOrganicShapeImage::PaintControl(HDC dc) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  TSpeedBitmap canvas(client.right, client.bottom);
  if (canvas.Empty()) return;
  canvas.Fill(color_);
  if (!picture_.Empty()) {
    RECT target{0, 0, picture_.Width(), picture_.Height()};
    if (Stretch) {
      target = client;
    } else if (Center) {
      OffsetRect(&target, (client.right - picture_.Width()) / 2,
                 (client.bottom - picture_.Height()) / 2);
    }
    if (Transparent) {
      TSpeedBitmap source(picture_);
      const Colour key = picture_.Pixel(0, picture_.Height() - 1);
      TransparentBlt(canvas.DC(), target.left, target.top, target.right - target.left,
                     target.bottom - target.top, source.DC(), 0, 0, picture_.Width(),
                     picture_.Height(), ToColorref(key));
    } else if (Stretch) {
      StretchBitmap(canvas.DC(), target, picture_);
    } else {
      DrawBitmap(canvas.DC(), target.left, target.top, picture_);
    }
  }
  BitBlt(dc, 0, 0, canvas.Width(), canvas.Height(), canvas.DC(), 0, 0, SRCCOPY);
}

void TOrganicShapeImage::SaveToDir(const std::string& dir) {
  TOrganicShapeControl::SaveToDir(dir);
  const std::string base = JoinPath(ResolveDir(dir), "picture_" + name_);
  if (kind_ == PictureKind::Jpeg) {
    if (!jpegData_.empty())
      WriteFileAtomic(base + ".jpg", jpegData_.data(), jpegData_.size());
    else
      SaveJpeg(picture_, kJpegKeepDefaultQuality, base + ".jpg");
  } else if (kind_ == PictureKind::Bitmap) {
    SaveBmp(picture_, base + ".bmp");
  }
}

void TOrganicShapeImage::LoadFromDir(const std::string& dir) {
  TOrganicShapeControl::LoadFromDir(dir);
  const std::string base = JoinPath(ResolveDir(dir), "picture_" + name_);
  try {
    if (FileExists(base + ".jpg"))
      LoadPictureFile(base + ".jpg");
    else if (FileExists(base + ".bmp"))
      LoadPictureFile(base + ".bmp");
  } catch (const ImageError&) {
    // An unreadable picture leaves the current one.
  } catch (const FileError&) {
  }
}

}  // namespace kv::skin
