#pragma once
// The skin controls: TOrganicShapeControl and its button, label and image. Each is
// a child window shaped by its mask picture (the same region machinery as the
// forms), shows a picture per state, draws its caption over it with its own
// alignment, layout and fonts, and on a glass form is composed like the form
// around it. SaveToDir and LoadFromDir keep a control in a directory: "coord.ini"
// (section = the control's name) plus one file per picture.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "base/handle_win.h"
#include "codecs/bitmap.h"
#include "skin/control_values.h"
#include "skin/organic_skin_win.h"
#include "skin/speed_bitmap_win.h"
#include "widgets/window_win.h"

namespace kv::skin {

// The system's button face colour.
[[nodiscard]] Colour ButtonFaceColour() noexcept;

class TOrganicShapeControl : public ui::Window {
 public:
  struct CreateArgs {
    HWND parent = nullptr;
    std::string name;  // component name: the "coord.ini" section and file names
    int left = 0, top = 0;
    bool visible = true;
  };

  TOrganicShapeControl();
  ~TOrganicShapeControl() override;

  void Create(const CreateArgs& args);
  [[nodiscard]] const std::string& Name() const noexcept { return name_; }
  void SetName(const std::string& name) { name_ = name; }

  // Properties; each setter repaints or reshapes as the property needs.
  [[nodiscard]] TAlignment Alignment() const noexcept { return alignment_; }
  void SetAlignment(TAlignment a);
  [[nodiscard]] TTextLayout Layout() const noexcept { return layout_; }
  void SetLayout(TTextLayout l);
  [[nodiscard]] int Margin() const noexcept { return margin_; }
  void SetMargin(int m);
  [[nodiscard]] bool WordWrap() const noexcept { return wordWrap_; }
  void SetWordWrap(bool w);
  [[nodiscard]] const FontSpec& Font() const noexcept { return font_; }
  void SetFont(const FontSpec& f);
  [[nodiscard]] const FontSpec& DisabledFont() const noexcept { return disabledFont_; }
  void SetDisabledFont(const FontSpec& f);
  [[nodiscard]] Colour InvisibleColor() const noexcept { return invisible_; }
  void SetInvisibleColor(Colour c);
  // The normal-state picture and the control's shape.
  [[nodiscard]] const Bitmap& Mask() const noexcept { return skin_.Picture(); }
  virtual void SetMask(const Bitmap& picture);
  [[nodiscard]] const Bitmap& DisabledBmp() const noexcept { return disabledBmp_; }
  void SetDisabledBmp(const Bitmap& picture);
  [[nodiscard]] Colour Color() const noexcept { return color_; }
  void SetColor(Colour c);
  [[nodiscard]] const std::string& Caption() const noexcept { return caption_; }
  void SetCaption(const std::string& caption);
  [[nodiscard]] bool Enabled() const noexcept { return enabled_; }
  void SetEnabled(bool enabled);
  // Right-to-left reading: right and left alignment swap, text reads from the right.
  void SetRightToLeft(bool rtl);
  // The hint shown while the mouse rests on the control, when ShowHint is on.
  void SetHint(const std::string& hint);
  void SetShowHint(bool show);
  [[nodiscard]] const std::string& Hint() const noexcept { return hint_; }
  [[nodiscard]] bool ShowHint() const noexcept { return showHint_; }
  void SetBoundsRect(int left, int top, int width, int height);
  [[nodiscard]] int Left() const noexcept;
  [[nodiscard]] int Top() const noexcept;
  [[nodiscard]] int Width() const noexcept;
  [[nodiscard]] int Height() const noexcept;

  // Free text of the program's (a preview's entry, a button's label number).
  std::string DataString;
  // Free number of the program's (the entry a preview shows).
  int Tag = 0;

  // Cuts the mask with InvisibleColor and applies its region; an empty mask
  // removes the region.
  void shapeIt();

  // A relative `dir` lies in the program directory. SaveToDir raises
  // OrganicShapeException "Can not create folder: " + dir when the directory is
  // missing and cannot be made.
  virtual void SaveToDir(const std::string& dir);
  virtual void LoadFromDir(const std::string& dir);

  // The mouse events are the window's (onMouseDown, onDoubleClick, ...); a
  // left press of a control that does not track presses is a click at once,
  // one that does is a click when released over it.
  std::function<void()> onClick;
  // The control got or lost the keyboard focus.
  std::function<void()> onEnter;
  std::function<void()> onExit;

  [[nodiscard]] bool MouseOver() const noexcept { return mouseOver_; }
  [[nodiscard]] bool Pressed() const noexcept { return pressed_; }

 protected:
  void PaintFace(HDC dc) override { PaintControl(dc); }
  void MouseDown(int button, int x, int y) override;
  void DoubleClick(int button, int x, int y) override;
  void MouseUp(int button, int x, int y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  // The picture for the current state (the mask, unless a subclass knows better).
  [[nodiscard]] virtual const Bitmap& StatePicture() const;
  virtual void PaintControl(HDC dc);
  // The click of the control (a button adds its sound).
  virtual void Click();
  [[nodiscard]] virtual bool TracksPress() const { return false; }
  // Fills `face` with `picture` (or the control's colour when the mask is empty),
  // draws the caption into it, composes it through a glass parent and draws it.
  void PaintPicture(HDC dc, const Bitmap& picture);
  void DrawCaption(TSpeedBitmap& face);
  void Repaint() noexcept;
  // Reads picture `base` + ".bmp", else `base` + ".jpg", else empties it.
  static void LoadPicture(Bitmap& picture, const std::string& base);
  // Saves `picture` as `path`, or removes an older file when it is empty.
  static void SavePicture(const Bitmap& picture, const std::string& path);
  [[nodiscard]] std::string ResolveDir(const std::string& dir) const;
  void UpdateHint();
  void MakeHintWindow(WPARAM wp, LPARAM lp);
  // A left press; `second` when it is the second of a double click.
  void LeftPress(int x, int y, bool second);
  // Focus, enabling and the loss of the mouse capture, which only these
  // controls follow; true when the message is answered.
  bool StateMessage(UINT msg);

  std::string name_;
  TAlignment alignment_ = taCenter;
  TTextLayout layout_ = tlCenter;
  int margin_ = 0;
  bool wordWrap_ = false;
  bool rightToLeft_ = false;
  FontSpec font_;
  FontSpec disabledFont_;
  Colour invisible_ = TOrganicSkin::kDefaultInvisible;
  TOrganicSkin skin_;
  Bitmap disabledBmp_;
  Colour color_;
  std::string caption_;
  bool enabled_ = true;
  std::string hint_;
  bool showHint_ = false;
  bool mouseOver_ = false;
  bool pressed_ = false;
  GdiFont fontHandle_, disabledFontHandle_;
  OwnedWindow tooltip_;
  TSpeedBitmap face_;
};

class TOrganicShapeButton : public TOrganicShapeControl {
 public:
  TOrganicShapeButton();
  void SetMask(const Bitmap& picture) override;  // also takes the picture's size
  [[nodiscard]] const Bitmap& PressedBmp() const noexcept { return pressedBmp_; }
  void SetPressedBmp(const Bitmap& p);
  [[nodiscard]] const Bitmap& OverBmp() const noexcept { return overBmp_; }
  void SetOverBmp(const Bitmap& p);
  // A wave file played (asynchronously) on each click; nothing when it is missing.
  std::string ClickSound;
  bool DisableSound = false;

  void SaveToDir(const std::string& dir) override;
  void LoadFromDir(const std::string& dir) override;

 protected:
  [[nodiscard]] const Bitmap& StatePicture() const override;
  void Click() override;
  [[nodiscard]] bool TracksPress() const override { return true; }

 private:
  Bitmap pressedBmp_, overBmp_;
};

class TOrganicShapeLabel : public TOrganicShapeControl {
 public:
  TOrganicShapeLabel();
  void SetMask(const Bitmap& picture) override;  // also takes the picture's size
  [[nodiscard]] const Bitmap& OverBmp() const noexcept { return overBmp_; }
  void SetOverBmp(const Bitmap& p);

  void SaveToDir(const std::string& dir) override;
  void LoadFromDir(const std::string& dir) override;

 protected:
  [[nodiscard]] const Bitmap& StatePicture() const override;

 private:
  Bitmap overBmp_;
};

class TOrganicShapeImage : public TOrganicShapeControl {
 public:
  enum class PictureKind { None, Bitmap, Jpeg, Other };

  [[nodiscard]] const Bitmap& Picture() const noexcept { return picture_; }
  [[nodiscard]] PictureKind Kind() const noexcept { return kind_; }
  // A picture held as a bitmap.
  void SetPicture(const Bitmap& picture);
  // A picture read from a file; its kind follows the file's format (a JPEG file
  // is kept as it is, to be saved again unchanged).
  void LoadPictureFile(const std::string& path);

  bool AutoSize = false;
  bool Center = false;
  bool Stretch = false;
  // The picture's bottom-left colour is not drawn (the control's colour shows).
  bool Transparent = false;
  bool IncrementalDisplay = false;
  // Runs once a new picture is in place (the decoders hand over whole pictures):
  // percent 100, the picture's rectangle.
  std::function<void(int percent, const RECT& area)> OnProgress;

  void SaveToDir(const std::string& dir) override;
  void LoadFromDir(const std::string& dir) override;

 protected:
  void PaintControl(HDC dc) override;

 private:
  void PictureChanged();

  Bitmap picture_;
  PictureKind kind_ = PictureKind::None;
  std::vector<std::uint8_t> jpegData_;
};

}  // namespace kv::skin
