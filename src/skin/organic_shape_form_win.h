#pragma once
// TOrganicShapeForm: a borderless window with the shape of its skin picture,
// dragged by its body, snapped to the screen's edges, and placed where it was at
// the last exit ("Forms\" + its component name under the settings root).

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "skin/geometry.h"
#include "skin/organic_skin_win.h"
#include "widgets/window_win.h"

namespace kv::skin {

// Where shaped windows remember their places (HKEY_CURRENT_USER).
inline constexpr char kFormsSubkey[] = "Forms\\";

class TOrganicShapeForm : public ui::Form {
 public:
  struct CreateArgs {
    std::string name;  // component name; empty: the position is not remembered
    std::string title;
    HWND owner = nullptr;
    DWORD exStyle = 0;
  };

  TOrganicShapeForm();
  // Saves the position (when named) and destroys the window.
  ~TOrganicShapeForm() override;

  // Creates the (hidden) window at the remembered position, top 1 and left 1
  // when none is stored, and applies a skin assigned before.
  void Create(const CreateArgs& args);
  [[nodiscard]] const std::string& Name() const noexcept { return name_; }

  // The window's picture. Assigning to it reshapes the window.
  [[nodiscard]] TOrganicSkin& Skin() noexcept { return skin_; }
  [[nodiscard]] const TOrganicSkin& Skin() const noexcept { return skin_; }

  void SetInvisibleColor(Colour c);
  [[nodiscard]] Colour InvisibleColor() const noexcept { return invisible_; }
  bool dragByBody = true;

  // Removes the region of an empty skin; otherwise cuts the skin with the form's
  // invisible colour, takes its size, applies its region and repaints.
  void shapeIt();

  // The typed events (close, show, timer, menu command, mouse, keys, dropped
  // files...) are the form base's; a press of the left button on the body
  // raises onMouseDown before the drag starts.

 protected:
  // A press of the left button drags the window by its body.
  void MouseDown(int button, int x, int y) override;
  void PaintFace(HDC dc) override;
  // The shaped form snaps to the screen less the taskbar, 30 pixels.
  void PositionChanging(WINDOWPOS& pos) override;
  // The screen position of the window's top-left corner.
  [[nodiscard]] Point ScreenPosition() const noexcept;

 private:
  void SavePosition() noexcept;

  std::string name_;
  Colour invisible_ = TOrganicSkin::kDefaultInvisible;
  TOrganicSkin skin_;
};

// The taskbar's rectangle, when there is one.
[[nodiscard]] bool TaskbarRect(Rect& out);
// `work` less the taskbar, recognised against the primary screen's size.
[[nodiscard]] Rect WithoutScreenTaskbar(const Rect& work);
// Moves a proposed window position onto the edges of `work` it comes near.
void SnapWindowPos(WINDOWPOS& pos, const Rect& work, int threshold);
// A remembered integer of a shaped form, or nothing when absent or unreadable.
[[nodiscard]] std::optional<int> ReadFormValue(const std::string& form, const char* value);
void WriteFormValue(const std::string& form, const char* value, int data) noexcept;

}  // namespace kv::skin
