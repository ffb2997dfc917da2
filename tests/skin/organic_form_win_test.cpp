#include <gtest/gtest.h>

#include <memory>

#include "skin/organic_glass_form_win.h"
#include "skin/organic_shape_error.h"
#include "skin/organic_shape_form_win.h"
#include "skin/pictures.h"
#include "support/registry_win.h"
#include "widgets/process_counts_win.h"
#include "widgets/window_win.h"

namespace kv::skin {
namespace {

constexpr Colour kMagenta = MakeColour(255, 0, 255);
const std::wstring kTestFormKey = L"Software\\Tollvard\\Kestrova\\Forms\\KvSkinTestForm";

// A 60 x 40 picture: a blue disc on magenta, a red square in the top-left corner.
Bitmap DiscPicture() {
  Bitmap b = test::Disc(60, 40, 30, 20, 18, MakeColour(0, 0, 200));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) b.SetPixel(x, y, MakeColour(255, 0, 0));
  return b;
}

RECT WindowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

// The window's region, or null when it has none.
GdiRegion WindowRegion(HWND hwnd) {
  GdiRegion r(CreateRectRgn(0, 0, 0, 0));
  if (GetWindowRgn(hwnd, r.get()) == ERROR) return {};
  return r;
}

class ShapeFormTest : public ::testing::Test {
 protected:
  static TOrganicShapeForm::CreateArgs Named() {
    TOrganicShapeForm::CreateArgs args;
    args.name = "KvSkinTestForm";
    return args;
  }
  void SetUp() override { test::DeleteTree(HKEY_CURRENT_USER, kTestFormKey); }
  void TearDown() override { test::DeleteTree(HKEY_CURRENT_USER, kTestFormKey); }
};

TEST_F(ShapeFormTest, TakesTheShapeAndSizeOfItsSkin) {
  TOrganicShapeForm form;
  form.Create({});
  form.SetInvisibleColor(kMagenta);
  form.Skin().Assign(DiscPicture());
  const RECT r = WindowRect(form.hwnd());
  EXPECT_EQ(r.right - r.left, 60);
  EXPECT_EQ(r.bottom - r.top, 40);
  const GdiRegion region = WindowRegion(form.hwnd());
  ASSERT_TRUE(region);
  EXPECT_TRUE(PtInRegion(region.get(), 30, 20));
  EXPECT_TRUE(PtInRegion(region.get(), 0, 0));
  EXPECT_FALSE(PtInRegion(region.get(), 59, 39));
}

TEST_F(ShapeFormTest, SkinAssignedBeforeCreationIsAppliedAtCreation) {
  TOrganicShapeForm form;
  form.SetInvisibleColor(kMagenta);  // no window yet: nothing to reshape
  form.Skin().SetInvisibleColor(kMagenta);
  form.Skin().Assign(DiscPicture());
  form.Create({});
  const GdiRegion region = WindowRegion(form.hwnd());
  ASSERT_TRUE(region);
  EXPECT_FALSE(PtInRegion(region.get(), 59, 39));
  EXPECT_EQ(WindowRect(form.hwnd()).right - WindowRect(form.hwnd()).left, 60);
}

TEST_F(ShapeFormTest, ChangingTheInvisibleColourReshapes) {
  TOrganicShapeForm form;
  form.Create({});
  form.SetInvisibleColor(kMagenta);
  form.Skin().Assign(DiscPicture());
  form.SetInvisibleColor(MakeColour(255, 0, 0));  // now the red corner is cut out
  const GdiRegion region = WindowRegion(form.hwnd());
  ASSERT_TRUE(region);
  EXPECT_FALSE(PtInRegion(region.get(), 0, 0));
  EXPECT_TRUE(PtInRegion(region.get(), 59, 39));
}

TEST_F(ShapeFormTest, EmptySkinRemovesTheRegion) {
  TOrganicShapeForm form;
  form.Create({});
  form.Skin().Assign(DiscPicture());
  ASSERT_TRUE(WindowRegion(form.hwnd()));
  form.Skin().Assign(Bitmap());
  EXPECT_FALSE(WindowRegion(form.hwnd()));
}

TEST_F(ShapeFormTest, RemembersItsPositionUnderItsName) {
  test::CreateKey(HKEY_CURRENT_USER, kTestFormKey);
  WriteFormValue("KvSkinTestForm", "Left", 70);
  WriteFormValue("KvSkinTestForm", "Top", 80);
  {
    TOrganicShapeForm form;
    form.Create(Named());
    const RECT r = WindowRect(form.hwnd());
    EXPECT_EQ(r.left, 70);
    EXPECT_EQ(r.top, 80);
    SetWindowPos(form.hwnd(), nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  EXPECT_EQ(ReadFormValue("KvSkinTestForm", "Left"), 200);
  EXPECT_EQ(ReadFormValue("KvSkinTestForm", "Top"), 150);
}

TEST_F(ShapeFormTest, APositionOffEveryMonitorOpensOnTheScreen) {
  test::CreateKey(HKEY_CURRENT_USER, kTestFormKey);
  WriteFormValue("KvSkinTestForm", "Left", -5000);
  WriteFormValue("KvSkinTestForm", "Top", 90);
  TOrganicShapeForm form;
  form.Create(Named());
  const RECT r = WindowRect(form.hwnd());
  EXPECT_EQ(r.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
  EXPECT_EQ(r.top, 90);
}

TEST_F(ShapeFormTest, WithoutStoredPositionStartsAtOneOne) {
  TOrganicShapeForm form;
  form.Create(Named());
  EXPECT_EQ(WindowRect(form.hwnd()).left, 1);
  EXPECT_EQ(WindowRect(form.hwnd()).top, 1);
}

TEST_F(ShapeFormTest, SnapsToTheScreenEdgeWithinThirtyPixels) {
  TOrganicShapeForm form;
  form.Create({});
  form.Skin().Assign(DiscPicture());
  SetWindowPos(form.hwnd(), nullptr, 20, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(WindowRect(form.hwnd()).left, 0);
  SetWindowPos(form.hwnd(), nullptr, 31, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(WindowRect(form.hwnd()).left, 31);
  const int right = GetSystemMetrics(SM_CXSCREEN);
  SetWindowPos(form.hwnd(), nullptr, right - 70, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(WindowRect(form.hwnd()).left, right - 60);
}

TEST(GlassForm, LayeredFormStartsAtAlpha191AndFollowsItsTransparency) {
  auto form = std::make_unique<TOrganicShapeGlassForm>();
  form->Create({});
  ASSERT_TRUE(form->LayeredAvailable());
  EXPECT_TRUE(GetWindowLongW(form->hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(form->hwnd(), nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 191);
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
  form->SetTransparency(0);
  GetLayeredWindowAttributes(form->hwnd(), nullptr, &alpha, &flags);
  EXPECT_EQ(alpha, 255);
  form->SetTransparency(100);
  GetLayeredWindowAttributes(form->hwnd(), nullptr, &alpha, &flags);
  EXPECT_EQ(alpha, 0);
  form->SetTransparency(150);  // ignored
  EXPECT_EQ(form->GetTransparency(), 100);
}

TEST(GlassForm, ComposesThePaintedFaceWithTheIntensities) {
  auto form = std::make_unique<TOrganicShapeGlassForm>();
  form->Create({});
  form->SetInvisibleColor(kMagenta);
  form->Skin().Assign(DiscPicture());
  form->SetRedIntensity(50);
  TSpeedBitmap face;
  form->Compose(form->Skin().Picture(), form->CompositionOrigin(), face);
  EXPECT_EQ(face.Pixel(0, 0), MakeColour(127, 0, 0));
  EXPECT_EQ(face.Pixel(30, 20), MakeColour(0, 0, 200));
}

TEST(GlassForm, EmulatedFormBlendsWithItsCapture) {
  auto form = std::make_unique<TOrganicShapeGlassForm>(false);
  form->Create({});
  EXPECT_FALSE(form->LayeredAvailable());
  EXPECT_FALSE(GetWindowLongW(form->hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
  form->SetInvisibleColor(kMagenta);
  form->Skin().Assign(DiscPicture());
  TSpeedBitmap face;
  // No capture yet: the picture as it is.
  form->Compose(form->Skin().Picture(), form->CompositionOrigin(), face);
  EXPECT_EQ(face.Pixel(30, 20), MakeColour(0, 0, 200));
  form->CaptureBackground();
  ASSERT_TRUE(form->HasCapture());
  EXPECT_EQ(WindowRect(form->hwnd()).left, 1) << "back in place after the capture";
  form->Compose(form->Skin().Picture(), form->CompositionOrigin(), face);
  // Blended a quarter with whatever the screen showed there.
  const Colour c = face.Pixel(30, 20);
  EXPECT_LE(BlueOf(c), 0.75 * 200 + 0.25 * 255 + 1);
  EXPECT_GE(BlueOf(c), 0.75 * 200 - 1);
}

TEST(GlassForm, SnapsToTheMonitorEdgeOnlyWhenAsked) {
  auto form = std::make_unique<TOrganicShapeGlassForm>();
  form->Create({});
  form->Skin().Assign(DiscPicture());
  SetWindowPos(form->hwnd(), nullptr, 10, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(WindowRect(form->hwnd()).left, 10);
  form->snapToEdge = true;
  SetWindowPos(form->hwnd(), nullptr, 10, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(WindowRect(form->hwnd()).left, 0);
  // The form's own snapping runs first, on the proposed position.
  form->onSnap = [](int& x, int&) { x = 500; };
  SetWindowPos(form->hwnd(), nullptr, 10, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(WindowRect(form->hwnd()).left, 500);
}

TEST(GlassForm, FadesOutToHiddenAndBackIn) {
  auto form = std::make_unique<TOrganicShapeGlassForm>();
  form->Create({});
  form->Skin().Assign(DiscPicture());
  form->Fade().enabled = true;
  form->Fade().delay = 1;
  form->Fade().step = 40;
  form->ShowFaded(true);
  EXPECT_TRUE(IsWindowVisible(form->hwnd()));
  EXPECT_EQ(form->GetTransparency(), 25);
  form->ShowFaded(false);
  EXPECT_FALSE(IsWindowVisible(form->hwnd()));
  EXPECT_EQ(form->GetTransparency(), 100);
  form->ShowFaded(true);
  EXPECT_TRUE(IsWindowVisible(form->hwnd()));
  EXPECT_EQ(form->GetTransparency(), 25);
}

TEST(GlassForm, FindsItsFormFromAChildWindow) {
  auto form = std::make_unique<TOrganicShapeGlassForm>();
  form->Create({});
  HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, form->hwnd(), nullptr,
                               nullptr, nullptr);
  EXPECT_EQ(GlassFormOf(child), form.get());
  EXPECT_EQ(GlassFormOf(nullptr), nullptr);
  DestroyWindow(child);
}

TEST(ShapeFormResources, TheCounterSeesOneLeakedObject) {
  const int before = GdiObjectCount();
  GdiRegion leak(CreateRectRgn(0, 0, 1, 1));
  EXPECT_EQ(GdiObjectCount(), before + 1);
}

TEST(ShapeFormResources, CreatingAndReshapingLeavesNoHandlesBehind) {
  const auto cycle = [] {
    auto form = std::make_unique<TOrganicShapeGlassForm>();
    form->Create({});
    form->SetInvisibleColor(kMagenta);
    for (int i = 0; i < 5; ++i) {
      form->Skin().Assign(DiscPicture());
      form->SetInvisibleColor(i % 2 ? kMagenta : MakeColour(255, 0, 0));
      form->SetRedIntensity(10 * i);
      UpdateWindow(form->hwnd());
    }
    TSpeedBitmap face;
    form->Compose(form->Skin().Picture(), {}, face);
    TOrganicShapeForm plain;
    plain.Create({});
    plain.Skin().Assign(DiscPicture());
    plain.Skin().Assign(Bitmap());
  };
  cycle();  // first use creates the classes and caches
  ui::ProcessMessages();
  const int gdi = GdiObjectCount(), user = UserObjectCount();
  for (int i = 0; i < 40; ++i) cycle();
  ui::ProcessMessages();
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(UserObjectCount(), user);
}

}  // namespace
}  // namespace kv::skin
