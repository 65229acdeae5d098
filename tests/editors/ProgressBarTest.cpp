#include "editors/cxProgressBar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/MemoryDesktop.h"

namespace vormix {
namespace {

// A bar as the main window has it: 578 x 20, standard look with native style.
class ProgressBarTest : public testing::Test {
 protected:
  void SetUp() override { form.Show(); }

  std::unique_ptr<TcxProgressBar> MakeBar(int width, int height = 20) {
    auto made = Place<TcxProgressBar>(form, "bar", 13, 20, width, height);
    made->Style().LookAndFeel.SetKind(TcxLookAndFeelKind::lfStandard);
    made->Style().LookAndFeel.SetNativeStyle(true);
    return made;
  }
  void UseNativeLook() {
    desk.themes.Active = true;
    desk.windows.BroadcastThemeChanged();
  }
  TcxProgressBarProperties& Props() const { return bar->Properties(); }
  // Paints the bar into its window and answers a pixel of the picture.
  const MemoryCanvas& Painted() {
    desk.WindowOf(*bar)->PaintNow();
    return desk.WindowOf(*bar)->Canvas();
  }
  TColor Face() const { return ResolveMemoryColor(clBtnFace); }
  TColor Ink() const { return ResolveMemoryColor(clWindowText); }

  TMemoryDesktop desk;
  TCustomForm form{desk.app, "Form"};
  std::unique_ptr<TcxProgressBar> bar = MakeBar(578);
};

using ProgressBarValues = ProgressBarTest;
using ProgressBarLayout = ProgressBarTest;
using ProgressBarPaint = ProgressBarTest;

constexpr TColor kNavy = 0x800000;

// ---- values and settings ------------------------------------------------------------------

TEST_F(ProgressBarValues, DefaultsAtFiftyFillHalfTheContent) {
  EXPECT_EQ(Props().Min(), 0);
  EXPECT_EQ(Props().Max(), 100);
  EXPECT_EQ(Props().BeginColor(), kNavy);
  EXPECT_TRUE(Props().ShowText());
  EXPECT_FALSE(bar->CanFocus());
  EXPECT_EQ(bar->Height(), 20) << "the height follows the 12-pixel font";
  bar->SetPosition(50);
  const TcxCustomProgressBarViewInfo& vi = bar->BarViewInfo();
  EXPECT_EQ(vi.Content, (TRect{2, 2, 576, 18}));
  EXPECT_EQ(vi.FilledRect, (TRect{2, 2, 2 + 574 * 50 / 100, 18}));
  EXPECT_EQ(vi.Text(), "50 %");
  EXPECT_EQ(Props().DisplayText(bar->EditValue()), "50 %");
}

TEST_F(ProgressBarValues, PercentagesRoundHalvesToEven) {
  Props().SetMax(8);
  const char* texts[] = {"12 %", "25 %", "38 %", "50 %", "62 %", "75 %", "88 %", "100 %"};
  for (int k = 1; k <= 8; ++k) {
    bar->SetPosition(k);
    EXPECT_EQ(bar->BarViewInfo().Text(), texts[k - 1]) << k;
  }
  Props().SetShowTextStyle(TcxProgressBarTextStyle::cxtsPosition);
  bar->SetPosition(2.5);
  EXPECT_EQ(bar->BarViewInfo().Text(), "2.5");
}

TEST_F(ProgressBarValues, RangeRulesClampRefuseAndDrag) {
  bar->SetPosition(150);
  EXPECT_EQ(bar->Position(), 100);
  Props().SetMax(0);
  EXPECT_EQ(Props().Max(), 100) << "a maximum not above the minimum is refused";
  bar->SetPosition(40);
  Props().SetMax(10);
  EXPECT_EQ(bar->Position(), 10);
  EXPECT_EQ(VariantToDouble(bar->EditValue()), 10);
  Props().SetMax(20);
  EXPECT_EQ(bar->Position(), 10) << "a higher maximum leaves the position";
  Props().SetOverloadValue(500);
  EXPECT_EQ(Props().OverloadValue(), 20);
  Props().SetMin(30);
  EXPECT_EQ(Props().Max(), 30) << "a minimum above the maximum drags it up";
  EXPECT_EQ(Props().OverloadValue(), 30);
  // Min = Max: the range counts as 1 and nothing is clamped.
  bar->SetPosition(31);
  EXPECT_EQ(bar->Position(), 31);
  EXPECT_EQ(bar->BarViewInfo().Text(), "100 %");
  bar->SetPosition(29);
  EXPECT_EQ(bar->BarViewInfo().Text(), "-100 %");
  EXPECT_EQ(bar->BarViewInfo().FilledRect.Width(), -574);
}

TEST_F(ProgressBarValues, ValuesShowAsTheNumbersTheyStandFor) {
  struct Case {
    Variant value;
    double shown;
  };
  const Case cases[] = {{Variant::FromString("42.5"), 42.5}, {Variant::FromString(" -3e1"), 0},
                        {Variant::FromString("7 "), 0},      {Variant::FromString("abc"), 0},
                        {Variant::FromInt64(12), 12},        {Variant::FromBoolean(true), 0},
                        {Variant::Null(), 0},                {Variant::FromDate(3), 3}};
  for (const Case& c : cases) {
    bar->SetEditValue(c.value);
    EXPECT_EQ(bar->Position(), c.shown) << VariantToString(c.value);
  }
}

TEST_F(ProgressBarValues, ClearValueEmptiesTheBarAndAnUnchangedPositionTellsNoOne) {
  int changes = 0;
  Props().OnEditValueChanged = [&](TObject&) { ++changes; };
  bar->SetPosition(70);
  EXPECT_EQ(changes, 1);
  bar->RepaintNow();
  const int paints = desk.WindowOf(*bar)->PaintCount();
  bar->SetPosition(70);
  bar->RepaintNow();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(desk.WindowOf(*bar)->PaintCount(), paints);
  EXPECT_FALSE(desk.WindowOf(*bar)->IsInvalid());

  bar->ClearValue();
  EXPECT_TRUE(bar->EditValue().IsNull());
  EXPECT_EQ(bar->Position(), 0);
  EXPECT_EQ(bar->BarViewInfo().FilledRect.Width(), 0);
  EXPECT_EQ(bar->BarViewInfo().Text(), "0 %");
  EXPECT_TRUE(desk.WindowOf(*bar)->IsInvalid()) << "a change invalidates; it never paints by itself";
}

TEST_F(ProgressBarValues, TransparentCallsTheChangeHook) {
  int hooked = 0;
  auto invalidate = Props().ChangeHook;
  Props().ChangeHook = [&] {
    ++hooked;
    invalidate();
  };
  Props().SetTransparent(true);
  Props().SetTransparent(true);
  EXPECT_EQ(hooked, 1);
}

// ---- layout -------------------------------------------------------------------------------

TEST_F(ProgressBarLayout, ClassicLengthsOfAThirdAndNativeInsets) {
  Props().SetMax(3);
  const int classic[] = {191, 382, 574};
  for (int k = 1; k <= 3; ++k) {
    bar->SetPosition(k);
    EXPECT_EQ(bar->BarViewInfo().FilledRect.Width(), classic[k - 1]) << k;
  }
  UseNativeLook();
  bar->SetPosition(1);
  const TcxCustomProgressBarViewInfo& vi = bar->BarViewInfo();
  ASSERT_TRUE(vi.Native);
  EXPECT_EQ(vi.BarBounds, (TRect{0, 0, 578, 20}));
  EXPECT_EQ(vi.Content, (TRect{3, 3, 576, 18}));
  EXPECT_EQ(vi.FilledRect, (TRect{3, 3, 194, 18})) << "columns 3 to 193";
  Props().SetBorderWidth(4);
  EXPECT_EQ(bar->BarViewInfo().Content, (TRect{7, 7, 572, 14}));
}

TEST_F(ProgressBarLayout, OverloadAndPeakCutTheFilledPart) {
  Props().SetShowOverload(true);
  Props().SetShowPeak(true);
  bar->SetPosition(90);
  const TcxCustomProgressBarViewInfo& vi = bar->BarViewInfo();
  ASSERT_TRUE(vi.OverloadShown);
  EXPECT_EQ(vi.FilledRect.Right, 2 + 574 * 80 / 100);
  EXPECT_EQ(vi.OverloadRect, (TRect{2 + 574 * 80 / 100, 2, 2 + 574 * 90 / 100, 18}));
  EXPECT_EQ(vi.PeakRect.Left, 2 + 574 * 90 / 100);
  bar->SetPosition(20);
  EXPECT_EQ(Props().PeakValue(), 90) << "the peak stays at the highest position";
  EXPECT_EQ(bar->BarViewInfo().PeakRect.Width(), 2);
}

// ---- painting -----------------------------------------------------------------------------

// '50 %' is 24 x 12 at (277, 4); the bar ends at 289, so '5' and '0' lie over it.
TEST_F(ProgressBarPaint, TextOverTheBarIsInvertedPixelByPixel) {
  bar->SetPosition(50);
  const MemoryCanvas& c = Painted();
  const TColor inverse = kNavy ^ 0xFFFFFF;
  struct Probe {
    int x, y;
    TColor color;
    const char* what;
  };
  const Probe probes[] = {
      {277, 4, inverse, "'5' over the bar"},   {281, 14, inverse, "'5', last pixel"},
      {282, 4, kNavy, "gap after '5'"},         {288, 8, kNavy, "gap after '0'"},
      {283, 10, inverse, "'0' over the bar"},   {289, 8, Face(), "the space, past the bar"},
      {295, 4, Ink(), "'%' beyond the bar"},    {300, 4, Face(), "gap after '%'"},
      {276, 4, kNavy, "bar left of the text"},  {277, 3, kNavy, "bar above the text"},
      {2, 2, kNavy, "the bar's first pixel"},   {288, 17, kNavy, "the bar's last column"},
      {1, 1, ResolveMemoryColor(cl3DDkShadow), "the frame's inner ring"},
  };
  for (const Probe& p : probes) EXPECT_EQ(c.Pixel(p.x, p.y), p.color) << p.what;

  Props().SetSolidTextColor(true);
  EXPECT_EQ(Painted().Pixel(277, 4), Ink()) << "solid text ignores the bar";
  Props().SetShowText(false);
  EXPECT_EQ(Painted().Pixel(277, 4), kNavy);
  EXPECT_EQ(Painted().Pixel(295, 4), Face());
}

TEST_F(ProgressBarPaint, LedsAndGradientColours) {
  Props().SetShowText(false);
  Props().SetBarStyle(TcxProgressBarBarStyle::cxbsLEDs);
  bar->SetPosition(100);
  const MemoryCanvas& leds = Painted();
  // Blocks of 10 with a pitch of 12, the first flush with the content's left end.
  for (int x : {2, 11, 14, 23}) EXPECT_EQ(leds.Pixel(x, 9), kNavy) << x;
  for (int x : {12, 13, 24, 25}) EXPECT_EQ(leds.Pixel(x, 9), Face()) << x;

  auto narrow = MakeBar(104);
  narrow->Properties().SetBarStyle(TcxProgressBarBarStyle::cxbsGradient);
  narrow->SetPosition(100);
  desk.WindowOf(*narrow)->PaintNow();
  EXPECT_EQ(desk.WindowOf(*narrow)->Canvas().Pixel(52, 2), RGBColor(127, 127, 191));
  EXPECT_EQ(desk.WindowOf(*narrow)->Canvas().Pixel(2, 2), kNavy);
}

TEST_F(ProgressBarPaint, ATextWiderThanTheBarIsClippedToIt) {
  auto tiny = MakeBar(20);
  tiny->SetPosition(100);
  desk.WindowOf(*tiny)->PaintNow();
  const MemoryCanvas& c = desk.WindowOf(*tiny)->Canvas();
  EXPECT_EQ(c.Pixel(0, 9), ResolveMemoryColor(clBtnShadow)) << "the frame stays";
  EXPECT_EQ(c.Pixel(1, 9), ResolveMemoryColor(cl3DDkShadow));
  EXPECT_EQ(c.Pixel(19, 9), ResolveMemoryColor(clBtnHighlight));
  // '100 %' is 30 wide, so it starts 7 pixels left of the bar: the bar's first column
  // is the second column of the first '0', inverted over the navy bar.
  EXPECT_EQ(c.Pixel(2, 9), kNavy ^ 0xFFFFFF);
}

TEST_F(ProgressBarPaint, NativeBarRepeatsTheChunkStripAndIsDrawnByTheTheme) {
  UseNativeLook();
  desk.themes.ClearCalls();
  Props().SetMax(3);
  Props().SetShowText(false);
  bar->SetPosition(1);
  const MemoryCanvas& c = Painted();
  const TColor chunk = MemoryThemeLibrary::FrameColor("Progress");  // the strip of the chunk pattern
  const TColor frameFill = MemoryThemeLibrary::FillColor("Progress", 1, 1);
  for (int x : {3, 100, 193}) EXPECT_EQ(c.Pixel(x, 10), chunk) << x;
  EXPECT_EQ(c.Pixel(194, 10), frameFill);
  EXPECT_EQ(c.Pixel(0, 0), MemoryThemeLibrary::FrameColor("Progress")) << "the theme's frame covers the control";
  EXPECT_EQ(desk.themes.CallsOf("DrawThemeBackground").size(), 2u) << "the frame and one strip";
  desk.themes.ClearCalls();
  bar->SetPosition(2);
  bar->RepaintNow();
  EXPECT_TRUE(desk.themes.CallsOf("DrawThemeBackground").empty()) << "both come from the cache";
  EXPECT_EQ(desk.WindowOf(*bar)->Canvas().Pixel(384, 10), chunk);
}

// Every style in every orientation and look: an empty bar shows only its background,
// a full one fills its content, and nothing reaches past the control's frame.
TEST_F(ProgressBarPaint, SweepOfStylesOrientationsAndLooks) {
  using S = TcxProgressBarBarStyle;
  TImage pattern(4, 4, 0x00FF00);
  pattern.Set(0, 3, 0x123456);  // the transparent colour
  Props().SetForegroundImage(pattern);
  Props().SetShowPeak(true);
  Props().SetPeakValue(0);
  for (bool native : {false, true}) {
    if (native) UseNativeLook();
    for (S style : {S::cxbsSolid, S::cxbsLEDs, S::cxbsGradient, S::cxbsGradientLEDs, S::cxbsBitmap, S::cxbsBitmapLEDs})
      for (auto orientation : {TcxProgressBarOrientation::cxorHorizontal, TcxProgressBarOrientation::cxorVertical})
        for (bool overload : {false, true}) {
          SCOPED_TRACE(testing::Message() << "native " << native << " style " << static_cast<int>(style)
                                          << " vertical " << static_cast<int>(orientation) << " overload " << overload);
          Props().SetBarStyle(style);
          Props().SetOrientation(orientation);
          Props().SetTextOrientation(orientation);
          Props().SetShowOverload(overload);
          Props().SetBarBevelOuter(overload ? TcxProgressBarBevelOuter::cxbvRaised : TcxProgressBarBevelOuter::cxbvLowered);
          Props().SetShowText(false);
          Props().SetShowPeak(false);
          bar->SetPosition(0);
          const TRect content = bar->BarViewInfo().Content;
          const TColor empty = Painted().Pixel(content.Left + 5, content.Top + 5);
          EXPECT_EQ(Painted().Pixel(content.Right - 5, content.Bottom - 5), empty);
          Props().SetShowPeak(true);
          Props().SetShowText(true);
          bar->SetPosition(100);
          const MemoryCanvas& full = Painted();
          EXPECT_NE(full.Pixel(content.Left + 3, content.Bottom - 3), empty) << "the full bar is drawn";
          if (!native) {
            EXPECT_EQ(full.Pixel(0, 0), ResolveMemoryColor(clBtnShadow)) << "the frame stays";
          }
        }
  }
}

}  // namespace
}  // namespace vormix
