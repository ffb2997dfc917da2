#pragma once
// TPreviewForm, the full-screen preview: one wallpaper laid out as its style
// would put it on the desktop (list/preview_layout.h gives the arithmetic),
// on a borderless topmost window the size of the screen. "Apply Image" makes
// the shown picture the wallpaper without rendering it again; a click leaves.

#include <windows.h>

#include <functional>
#include <string>

#include "base/handle_win.h"
#include "codecs/bitmap.h"
#include "list/preview_layout.h"
#include "program/forms.h"
#include "widgets/menu_win.h"
#include "widgets/window_win.h"

namespace kv {

// The image control: draws its picture at its top-left corner, one pixel for
// one, on the background its window gives its children, and shows the hint
// "Right Click For Options".
class TPreviewImage : public ui::Window {
 public:
  void Create(HWND parent);
  void SetPicture(Bitmap picture);
  [[nodiscard]] const Bitmap& Picture() const noexcept { return picture_; }

 protected:
  void PaintFace(HDC dc) override;

 private:
  Bitmap picture_;
  OwnedWindow tooltip_;
};

class TPreviewForm : public ui::Form, public program::IPreviewForm {
 public:
  ~TPreviewForm() override;
  // FormCreate: the window, hidden, the size of the screen; sets
  // program::PreviewForm.
  void Create();

  // --- IPreviewForm
  void ShowPreview(const std::string& fullName, const std::string& style) override;

  void ApplyImage1Click();
  void Exit1Click();
  void PreviewImageClick();

  ui::PopupMenu PreviewFormPopup;
  [[nodiscard]] TPreviewImage& previewImage() { return previewImage_; }
  [[nodiscard]] const PreviewLayout& Layout() const noexcept { return layout_; }
  [[nodiscard]] COLORREF Background() const noexcept { return background_; }

 protected:
  // The background colour round the picture, on the window and its image.
  bool EraseBackground(HDC dc) override;
  HBRUSH ChildBackground(HDC dc, HWND child) override;

 private:
  void HidePreview();

  TPreviewImage previewImage_;
  PreviewLayout layout_;
  std::string shownName_;
  COLORREF background_ = RGB(0, 0, 0);
};

// The picture the preview shows of `wallpaper` by `layout`, on a screen of
// screenW x screenH; `scaledFilter` as the "Scaled Filter" option (0 the plain
// stretch, k filter k - 1); `backdrop` fills what the wallpaper does not cover.
[[nodiscard]] Bitmap BuildPreviewPicture(const Bitmap& wallpaper, const PreviewLayout& layout,
                                         int scaledFilter, Colour backdrop);

}  // namespace kv
