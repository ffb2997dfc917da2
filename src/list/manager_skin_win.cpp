// The manager's skin: the built-in one and the one a skin file describes, and
// the commands its buttons carry.
#include <windows.h>

#include "base/error.h"
#include "base/program_dir_win.h"
#include "base/text_win.h"
#include "codecs/image_file.h"
#include "list/manager_form_win.h"
#include "skin/profile_ini_win.h"
#include "skin/resource_bitmap_win.h"
#include "skin/skin_controls_win.h"
#include "skin/skin_file.h"
#include "widgets/prompts.h"

namespace kv {
namespace {

using program::MainForm;

constexpr char kMissingManagerImage[] = "Skin file must contain ManagerImage in misc section";

Bitmap LoadPicture(const std::string& fileName) {
  Bitmap picture;
  LoadImageFile(picture, fileName);
  return picture;
}

COLORREF ToColorRef(std::uint32_t colour) {
  // System colours are stored as 0x80000000 plus the index.
  if (colour & 0x80000000u) return GetSysColor(static_cast<int>(colour & 0xFF));
  return static_cast<COLORREF>(colour & 0xFFFFFF);
}

std::uint32_t ParseColour(const std::string& text) {
  if (const auto c = skin::SkinColour(text)) return *c;
  throw Error("Invalid colour value '" + text + "' in the skin file");
}

}  // namespace

void TManagerForm::ClearSkin() {
  buttons_.clear();
  labels_.clear();
}

void TManagerForm::SetButtonHints(bool on) {
  for (auto& b : buttons_) b->SetShowHint(on);
}

skin::TOrganicShapeButton& TManagerForm::AddButton(
    std::unique_ptr<skin::TOrganicShapeButton> button) {
  button->onMouseMove = [](int, int) { program::IdleCounter = 0; };
  SetWindowPos(button->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  buttons_.push_back(std::move(button));
  return *buttons_.back();
}

void TManagerForm::BindButton(skin::TOrganicShapeButton& button, const std::string& command) {
  const skin::ManagerCommand c = skin::ParseManagerCommand(command);
  button.SetHint(skin::ManagerCommandHint(c));
  std::function<void()> action;
  switch (c) {
    case skin::ManagerCommand::Close:
      if (!MainForm) {
        prompts_.Information("mainform not assigned");
        return;
      }
      action = [] {
        if (MainForm) MainForm->SysManagerClick();
      };
      break;
    case skin::ManagerCommand::AddWall:
      action = [this] { AddWallpaper1Click(); };
      break;
    case skin::ManagerCommand::AddDir:
      action = [this] { AddDirectory1Click(); };
      break;
    case skin::ManagerCommand::DelWall:
      action = [this] { RemoveSelectedWallpaper1Click(); };
      break;
    case skin::ManagerCommand::ClearList:
      action = [this] { ClearAllWallpapers1Click(); };
      break;
    case skin::ManagerCommand::LoadList:
      action = [this] { LoadWallPaperList1Click(); };
      break;
    case skin::ManagerCommand::SaveList:
      action = [this] { SaveWallpaperList1Click(); };
      break;
    case skin::ManagerCommand::ManMenu:
      action = [this] { WallpaperListActions1Click(); };
      break;
    case skin::ManagerCommand::ChangeStyle:
      action = [this] { BatchStyleChange1Click(); };
      break;
    case skin::ManagerCommand::ApplyImage:
      action = [this] { PopupApplyImageClick(); };
      break;
    case skin::ManagerCommand::FullscrPreview:
      action = [this] { PreviewImage1Click(); };
      break;
    default:
      break;
  }
  button.onClick = std::move(action);
}

void TManagerForm::SetListColours(std::uint32_t background, std::uint32_t text) {
  const COLORREF bk = ToColorRef(background);
  SendMessageW(listView_.hwnd(), LVM_SETBKCOLOR, 0, static_cast<LPARAM>(bk));
  SendMessageW(listView_.hwnd(), LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(bk));
  SendMessageW(listView_.hwnd(), LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ToColorRef(text)));
  listView_.Invalidate();
}

bool TManagerForm::LoadManagerSkin(const std::string& fileName) {
  // Any error on the way (an unreadable picture, a colour text that is none)
  // fails the loader, and the user is asked for another skin.
  try {
    skin::ProfileIniFile ini(fileName);
    const skin::ManagerSkin desc = skin::ReadManagerSkin(ini, ProgramDir(), SkinDir);
    if (!desc.managerImage) {
      prompts_.Warning(kMissingManagerImage);
      ShowFaded(false);
      return true;
    }
    Skin().Assign(LoadPicture(*desc.managerImage));
    previewImage_.SetBoundsRect(desc.previewX, desc.previewY, desc.previewWidth,
                                desc.previewHeight);
    previewImage_.SetInvisibleColor(kManagerInvisibleColour);
    if (desc.previewMask) previewImage_.SetMask(LoadPicture(*desc.previewMask));
    listView_.SetBounds(desc.listX, desc.listY, desc.listWidth, desc.listHeight);
    SetListColours(ParseColour(desc.foregroundColor), ParseColour(desc.fontColor));
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(desc.fontSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    listFont_.reset(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH, Widen(desc.fontName).c_str()));
    if (listFont_) listView_.SetFont(listFont_.get());
    FitColumns();
    for (const skin::SkinLabel& l : desc.labels) labels_.push_back(skin::MakeSkinLabel(hwnd_, l));
    for (const skin::SkinButton& b : desc.buttons) {
      buttons_.push_back(skin::MakeSkinButton(hwnd_, b, labels_));
      skin::TOrganicShapeButton& button = *buttons_.back();
      button.onMouseMove = [](int, int) { program::IdleCounter = 0; };
      // Brought to the front, over the list and the preview.
      SetWindowPos(button.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      BindButton(button, b.click);
    }
    return true;
  } catch (const std::exception& e) {
    prompts_.Error(e.what());
    return false;
  }
}

void TManagerForm::BuildDefaultManagerSkin() {
  ClearSkin();
  struct DefaultButton {
    const char* name;
    const char* images[3];
    int x, y;
    const char* command;
  };
  static const DefaultButton kButtons[] = {
      {"MClearButton",
       {"manager_clear", "manager_clear_h", "manager_clear_d"},
       160,
       174,
       "clear_list()"},
      {"MCloseButton", {"manager_close", "manager_close_h", "manager_close_d"}, 261, 0, "close()"},
      {"MremoveButton", {"manager_rem", "manager_rem_h", "manager_rem_d"}, 204, 157, "del_wall()"},
      {"MAddButton", {"manager_add", "manager_add_h", "manager_add_d"}, 160, 157, "add_wall()"},
  };
  // A missing built-in picture ends the building silently; what was made stays.
  try {
    Skin().Assign(skin::LoadBitmapResource("manager_back"));
    previewImage_.SetBoundsRect(6, 158, 150, 113);
    listView_.SetBounds(5, 16, 267, 137);
    SetListColours(0x80000000u | COLOR_WINDOW, 0x80000000u | COLOR_WINDOWTEXT);
    for (const DefaultButton& d : kButtons) {
      const skin::ButtonPictures pictures{skin::LoadBitmapResource(d.images[0]),
                                          skin::LoadBitmapResource(d.images[1]),
                                          skin::LoadBitmapResource(d.images[2])};
      BindButton(AddButton(skin::MakeSkinButton(hwnd_, d.name, d.x, d.y, pictures, {}, labels_)),
                 d.command);
    }
  } catch (const std::exception&) {
  }
}

}  // namespace kv
