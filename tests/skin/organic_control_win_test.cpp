#include "skin/organic_control_win.h"

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "base/text_win.h"
#include "codecs/encoders.h"
#include "codecs/file_io.h"
#include "skin/organic_glass_form_win.h"
#include "skin/organic_shape_error.h"
#include "widgets/process_counts_win.h"

namespace kv::skin {
namespace {

constexpr Colour kMagenta = MakeColour(255, 0, 255);
constexpr Colour kRed = MakeColour(255, 0, 0);
constexpr Colour kGreen = MakeColour(0, 255, 0);
constexpr Colour kBlue = MakeColour(0, 0, 255);

Bitmap Solid(int w, int h, Colour c) {
  Bitmap b(w, h);
  b.Fill(c);
  return b;
}

// A 30 x 20 mask whose right half is magenta.
Bitmap HalfMask(Colour left) {
  Bitmap b = Solid(30, 20, kMagenta);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 15; ++x) b.SetPixel(x, y, left);
  return b;
}

// Lets a test paint a control into a bitmap of its own.
template <typename Base>
struct Paintable : Base {
  Bitmap Painted() {
    TSpeedBitmap canvas(Base::Width(), Base::Height());
    canvas.Fill(MakeColour(1, 2, 3));
    this->PaintControl(canvas.DC());
    GdiFlush();
    return canvas.ToBitmap();
  }
};
using Button = Paintable<TOrganicShapeButton>;
using Label = Paintable<TOrganicShapeLabel>;

class ControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_.Create({});
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    dir_ = Narrow(temp) + "kv_skin_controls_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryW(Widen(dir_).c_str(), nullptr);
  }
  void TearDown() override {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Widen(dir_ + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do DeleteFileW((Widen(dir_) + L"\\" + data.cFileName).c_str());
      while (FindNextFileW(find, &data));
      FindClose(find);
    }
    RemoveDirectoryW(Widen(dir_).c_str());
  }
  TOrganicShapeControl::CreateArgs At(const std::string& name, int left = 5, int top = 6) {
    TOrganicShapeControl::CreateArgs a;
    a.parent = parent_.hwnd();
    a.name = name;
    a.left = left;
    a.top = top;
    return a;
  }
  std::string Coord() {
    const auto bytes = ReadFileBytes(dir_ + "\\coord.ini");
    return std::string(bytes.begin(), bytes.end());
  }
  void Write(const std::string& name, const std::string& text) {
    WriteFileAtomic(dir_ + "\\" + name, text.data(), text.size());
  }
  TOrganicShapeForm parent_;
  std::string dir_;
};

TEST_F(ControlTest, ButtonWithoutMaskIsARectangleOfItsColourInEveryState) {
  Button b;
  b.SetColor(kBlue);
  b.Create(At("Plain"));
  EXPECT_EQ(b.Width(), 40);
  EXPECT_EQ(b.Height(), 40);
  EXPECT_EQ(b.Painted(), Solid(40, 40, kBlue));
  SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_TRUE(b.Pressed());
  EXPECT_EQ(b.Painted(), Solid(40, 40, kBlue));
  SendMessageW(b.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  b.SetEnabled(false);
  EXPECT_EQ(b.Painted(), Solid(40, 40, kBlue));
}

TEST_F(ControlTest, ButtonShowsTheOverPressedAndDisabledPictures) {
  Button b;
  b.Create(At("States"));
  b.SetInvisibleColor(kMagenta);
  b.SetMask(Solid(30, 20, kRed));
  EXPECT_EQ(b.Width(), 30) << "a button takes its mask's size";
  b.SetPressedBmp(Solid(30, 20, kGreen));
  EXPECT_EQ(b.Painted().Pixel(4, 4), kRed);
  SendMessageW(b.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
  EXPECT_TRUE(b.MouseOver());
  EXPECT_EQ(b.Painted().Pixel(4, 4), kRed) << "no over picture: the normal one";
  b.SetOverBmp(Solid(30, 20, kBlue));
  EXPECT_EQ(b.Painted().Pixel(4, 4), kBlue);
  SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  EXPECT_EQ(b.Painted().Pixel(4, 4), kGreen);
  SendMessageW(b.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  SendMessageW(b.hwnd(), WM_MOUSELEAVE, 0, 0);
  b.SetDisabledBmp(Solid(30, 20, MakeColour(9, 9, 9)));
  b.SetEnabled(false);
  EXPECT_EQ(b.Painted().Pixel(4, 4), MakeColour(9, 9, 9));
}

TEST_F(ControlTest, ButtonIsShapedByItsMask) {
  Button b;
  b.Create(At("Shaped"));
  b.SetInvisibleColor(kMagenta);
  b.SetMask(HalfMask(kRed));
  GdiRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(b.hwnd(), region.get()), ERROR);
  EXPECT_TRUE(PtInRegion(region.get(), 3, 3));
  EXPECT_FALSE(PtInRegion(region.get(), 20, 3));
  b.SetMask(Bitmap());
  EXPECT_EQ(GetWindowRgn(b.hwnd(), region.get()), ERROR) << "no mask, no region";
}

TEST_F(ControlTest, MouseEnterLeaveAndClickEventsArriveInOrder) {
  Button b;
  b.ClickSound = "Z:\\no\\such\\sound.wav";  // missing: plays nothing
  b.Create(At("Events"));
  std::string log;
  b.onMouseEnter = [&] { log += "enter "; };
  b.onMouseLeave = [&] { log += "leave "; };
  b.onClick = [&] { log += "click "; };
  b.onMouseDown = [&](int button, int x, int y) {
    log +=
        "down" + std::to_string(button) + "@" + std::to_string(x) + "," + std::to_string(y) + " ";
  };
  SendMessageW(b.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  SendMessageW(b.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 2));
  SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 2));
  SendMessageW(b.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(3, 2));
  // Released outside the button: no click.
  SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 2));
  SendMessageW(b.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(300, 2));
  SendMessageW(b.hwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(log, "enter down0@3,2 click down0@3,2 leave ");
}

// The top and bottom rows that hold dark (text) pixels.
std::pair<int, int> TextRows(const Bitmap& b) {
  int top = -1, bottom = -1;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (RedOf(b.Pixel(x, y)) < 128) {
        if (top < 0) top = y;
        bottom = y;
      }
  return {top, bottom};
}

TEST_F(ControlTest, CaptionLayoutMovesTheTextDownByTheMeasuredRest) {
  Button b;
  b.Create(At("Caption"));
  b.SetMask(Solid(60, 40, MakeColour(255, 255, 254)));
  b.SetCaption("OK");
  b.SetLayout(tlTop);
  const auto top = TextRows(b.Painted());
  ASSERT_GE(top.first, 0);
  // The same measurement the control makes.
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = CreateFontW(-MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0, 0,
                           0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Sans Serif");
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{0, 0, 60, 40};
  DrawTextW(dc, L"OK", 2, &r, DT_EXPANDTABS | DT_CENTER | DT_CALCRECT);
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
  b.SetLayout(tlBottom);
  EXPECT_EQ(TextRows(b.Painted()).first, top.first + (40 - r.bottom));
  b.SetLayout(tlCenter);
  EXPECT_EQ(TextRows(b.Painted()).first, top.first + (40 - r.bottom) / 2);
}

TEST_F(ControlTest, MarginAndAlignmentPlaceTheCaption) {
  Button b;
  b.Create(At("Align"));
  b.SetMask(Solid(80, 20, MakeColour(255, 255, 254)));
  b.SetCaption("I");
  b.SetAlignment(taLeftJustify);
  const auto leftmost = [](const Bitmap& bm) {
    for (int x = 0; x < bm.Width(); ++x)
      for (int y = 0; y < bm.Height(); ++y)
        if (RedOf(bm.Pixel(x, y)) < 128) return x;
    return -1;
  };
  const int atLeft = leftmost(b.Painted());
  b.SetMargin(10);
  EXPECT_EQ(leftmost(b.Painted()), atLeft + 10);
  b.SetAlignment(taRightJustify);
  EXPECT_GT(leftmost(b.Painted()), 60);
}

TEST_F(ControlTest, OnAGlassFormThePictureIsComposedLikeTheForm) {
  auto glass = std::make_unique<TOrganicShapeGlassForm>();
  glass->Create({});
  glass->Skin().Assign(Solid(100, 100, MakeColour(10, 10, 10)));
  glass->SetRedIntensity(50);
  Button b;
  auto args = At("OnGlass");
  args.parent = glass->hwnd();
  b.Create(args);
  b.SetMask(Solid(30, 20, MakeColour(200, 100, 50)));
  EXPECT_EQ(b.Painted().Pixel(5, 5), MakeColour(100, 100, 50));
}

TEST_F(ControlTest, SaveToDirWritesCoordIniAsSpecifiedAndLoadFromDirRestores) {
  {
    Button b;
    b.Create(At("Btn", 7, 9));
    b.SetInvisibleColor(kGreen);
    b.SetMask(HalfMask(kRed));
    b.SetOverBmp(Solid(30, 20, kBlue));
    b.SetAlignment(taRightJustify);
    b.SetLayout(tlBottom);
    FontSpec f;
    f.name = "Tahoma";
    f.size = 10;
    f.bold = true;
    f.color = kRed;
    b.SetFont(f);
    b.SaveToDir(dir_);
  }
  const std::string ini = Coord();
  EXPECT_NE(ini.find("[Btn]"), std::string::npos);
  EXPECT_NE(ini.find("InvisibleColor=00ff00"), std::string::npos);
  EXPECT_NE(ini.find("Left=7"), std::string::npos);
  EXPECT_NE(ini.find("Width=30"), std::string::npos);
  EXPECT_NE(ini.find("Alignment=right"), std::string::npos);
  EXPECT_NE(ini.find("Layout=bottom"), std::string::npos);
  EXPECT_NE(ini.find("FontBold=1"), std::string::npos);
  EXPECT_NE(ini.find("FontColor=ff0000"), std::string::npos);
  EXPECT_NE(ini.find("DisabledFontName=MS Sans Serif"), std::string::npos);
  EXPECT_TRUE(FileExists(dir_ + "\\mask_Btn.bmp"));
  EXPECT_TRUE(FileExists(dir_ + "\\overBmp_Btn.bmp"));
  EXPECT_FALSE(FileExists(dir_ + "\\pressedBmp_Btn.bmp")) << "empty pictures leave no file";

  Button back;
  back.Create(At("Btn", 0, 0));
  back.LoadFromDir(dir_);
  EXPECT_EQ(back.InvisibleColor(), kGreen);
  EXPECT_EQ(back.Mask(), HalfMask(kRed));
  EXPECT_EQ(back.OverBmp(), Solid(30, 20, kBlue));
  EXPECT_TRUE(back.PressedBmp().Empty());
  EXPECT_EQ(back.Left(), 7);
  EXPECT_EQ(back.Top(), 9);
  EXPECT_EQ(back.Width(), 30);
  EXPECT_EQ(back.Alignment(), taRightJustify);
  EXPECT_EQ(back.Layout(), tlBottom);
  EXPECT_EQ(back.Font().name, "Tahoma");
  EXPECT_TRUE(back.Font().bold);
  EXPECT_EQ(back.Font().color, kRed);
  EXPECT_EQ(back.ClickSound, dir_ + "\\Btn.wav");
  GdiRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(back.hwnd(), region.get()), ERROR);
  EXPECT_TRUE(PtInRegion(region.get(), 20, 3)) << "cut with green: the magenta half stays";
}

TEST_F(ControlTest, LoadFromDirReadsLooseValuesAndFallsBackToTheMasksSize) {
  SaveBmp(Solid(22, 11, kRed), dir_ + "\\mask_Lbl.bmp");
  Write("coord.ini",
        "[Lbl]\nAlignment=Center\nLayout=middle\nColor=00ff00\nFontBold=0\nLeft=abc\n");
  Label l;
  l.Create(At("Lbl", 3, 4));
  FontSpec bold;
  bold.bold = true;
  l.SetFont(bold);
  l.SetAlignment(taLeftJustify);
  l.LoadFromDir(dir_);
  EXPECT_EQ(l.Alignment(), taCenter);
  EXPECT_EQ(l.Layout(), tlCenter);
  EXPECT_EQ(l.Color(), kGreen);
  EXPECT_TRUE(l.Font().bold) << "a stored false removes no style";
  EXPECT_EQ(l.Left(), 3) << "an unreadable number keeps the current value";
  EXPECT_EQ(l.Width(), 22);
  EXPECT_EQ(l.Height(), 11);
}

TEST_F(ControlTest, LoadFromAnEmptyDirectoryKeepsValuesAndEmptiesPictures) {
  Label l;
  l.Create(At("None", 3, 4));
  l.SetMask(Solid(10, 10, kRed));
  l.SetColor(kBlue);
  l.LoadFromDir(dir_);
  EXPECT_TRUE(l.Mask().Empty());
  EXPECT_EQ(l.Color(), kBlue);
  EXPECT_EQ(l.Left(), 3);
  EXPECT_EQ(l.Width(), 0);
}

TEST_F(ControlTest, OutOfRangeSizesAreHeldToWhatTheSystemTakes) {
  Write("coord.ini", "[Big]\nWidth=-50\nHeight=99999999\nTop=-99999999\n");
  Label l;
  l.Create(At("Big"));
  l.LoadFromDir(dir_);
  EXPECT_EQ(l.Width(), 0);
  EXPECT_EQ(l.Height(), 32767);
  EXPECT_EQ(l.Top(), -32768);
}

TEST_F(ControlTest, UnreadablePictureCountsAsMissing) {
  Write("mask_Bad.bmp", "BM not really");
  Label l;
  l.Create(At("Bad"));
  l.SetMask(Solid(10, 10, kRed));
  l.LoadFromDir(dir_);
  EXPECT_TRUE(l.Mask().Empty());
}

TEST_F(ControlTest, SaveToAnUncreatableDirectoryRaisesCanNotCreateFolder) {
  Label l;
  l.Create(At("L"));
  const std::string bad = dir_ + "\\missing\\deeper";
  try {
    l.SaveToDir(bad);
    FAIL() << "no exception";
  } catch (const OrganicShapeException& e) {
    EXPECT_EQ(std::string(e.what()), "Can not create folder: " + bad);
  }
}

TEST_F(ControlTest, ImageSavesItsPictureByKindAndKeepsJpegBytes) {
  TOrganicShapeImage image;
  image.Create(At("Img"));
  image.SetPicture(Solid(8, 6, kRed));
  image.SaveToDir(dir_);
  EXPECT_TRUE(FileExists(dir_ + "\\picture_Img.bmp"));
  TOrganicShapeImage back;
  back.Create(At("Img"));
  back.LoadFromDir(dir_);
  EXPECT_EQ(back.Picture(), Solid(8, 6, kRed));
  EXPECT_EQ(back.Kind(), TOrganicShapeImage::PictureKind::Bitmap);

  SaveJpeg(Solid(16, 16, kBlue), 90, dir_ + "\\source.jpg");
  TOrganicShapeImage jpeg;
  jpeg.Create(At("Jpg"));
  jpeg.LoadPictureFile(dir_ + "\\source.jpg");
  EXPECT_EQ(jpeg.Kind(), TOrganicShapeImage::PictureKind::Jpeg);
  jpeg.SaveToDir(dir_);
  EXPECT_EQ(ReadFileBytes(dir_ + "\\picture_Jpg.jpg"), ReadFileBytes(dir_ + "\\source.jpg"));
}

TEST_F(ControlTest, ImageAutoSizesAndReportsItsPicture) {
  TOrganicShapeImage image;
  image.Create(At("Auto"));
  int progress = 0;
  image.OnProgress = [&](int percent, const RECT&) { progress = percent; };
  image.AutoSize = true;
  image.SetPicture(Solid(12, 7, kRed));
  EXPECT_EQ(image.Width(), 12);
  EXPECT_EQ(image.Height(), 7);
  EXPECT_EQ(progress, 100);
}

struct HintSearch {
  HWND control;
  std::vector<HWND> found;
};

BOOL CALLBACK FindHintWindow(HWND w, LPARAM lp) {
  auto& s = *reinterpret_cast<HintSearch*>(lp);
  wchar_t cls[32] = {};
  GetClassNameW(w, cls, 32);
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = s.control;
  info.uId = reinterpret_cast<UINT_PTR>(s.control);
  if (std::wstring(cls) == TOOLTIPS_CLASSW &&
      SendMessageW(w, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)))
    s.found.push_back(w);
  return TRUE;
}

// The tooltip windows that show a control's hint, found by the tool they hold.
std::vector<HWND> HintWindowsOf(HWND control) {
  HintSearch search{control, {}};
  EnumThreadWindows(GetCurrentThreadId(), FindHintWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring HintText(HWND tooltip, HWND control) {
  wchar_t text[80] = {};
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = control;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  info.lpszText = text;
  SendMessageW(tooltip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
  return text;
}

// The hint's window comes with the mouse, once, and follows later changes of
// the hint and of whether hints show.
TEST_F(ControlTest, AHintGetsItsWindowWhenTheMouseFirstComesOver) {
  Button b;
  b.Create(At("Hinted"));
  b.SetMask(HalfMask(kRed));
  const auto moveOver = [&] { SendMessageW(b.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2)); };
  moveOver();
  EXPECT_TRUE(HintWindowsOf(b.hwnd()).empty()) << "no hint, no window";
  b.SetHint("Close Kestrova");
  moveOver();
  EXPECT_TRUE(HintWindowsOf(b.hwnd()).empty()) << "hints off, no window";
  b.SetShowHint(true);
  EXPECT_TRUE(HintWindowsOf(b.hwnd()).empty()) << "made only when the mouse comes";
  moveOver();
  moveOver();
  const std::vector<HWND> windows = HintWindowsOf(b.hwnd());
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(HintText(windows[0], b.hwnd()), L"Close Kestrova");
  b.SetHint("Minimize");
  EXPECT_EQ(HintText(windows[0], b.hwnd()), L"Minimize");
  EXPECT_EQ(HintWindowsOf(b.hwnd()).size(), 1u);
}

TEST_F(ControlTest, CreatingAndReshapingControlsLeavesNoHandlesBehind) {
  const auto cycle = [&] {
    Button b;
    b.Create(At("Leak"));
    b.SetHint("hint");
    b.SetShowHint(true);
    SendMessageW(b.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));  // makes the hint's window
    b.SetCaption("Caption");
    for (int i = 0; i < 4; ++i) {
      b.SetMask(HalfMask(i % 2 ? kRed : kBlue));
      b.SetInvisibleColor(i % 2 ? kMagenta : kRed);
      (void)b.Painted();
    }
    Label l;
    l.Create(At("Leak2"));
    l.SetMask(HalfMask(kRed));
    (void)l.Painted();
    TOrganicShapeImage image;
    image.Create(At("Leak3"));
    image.SetPicture(Solid(5, 5, kRed));
  };
  cycle();
  ui::ProcessMessages();
  const int gdi = GdiObjectCount(), user = UserObjectCount();
  for (int i = 0; i < 30; ++i) cycle();
  ui::ProcessMessages();
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(UserObjectCount(), user);
}

}  // namespace
}  // namespace kv::skin
