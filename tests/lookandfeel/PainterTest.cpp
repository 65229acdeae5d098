// The painters on the memory canvas: the documented geometry and pixels of the classic
// drawing, what the native painter asks of the theme, and its fallback call by call.
#include <gmock/gmock.h>

#include <functional>
#include <string>
#include <vector>

#include "LookAndFeelFixture.h"
#include "platform/memory/MemoryCanvas.h"

namespace vormix {
namespace {

using testing::ElementsAre;

TColor Rgb(TColor c) { return ResolveMemoryColor(c); }

class PainterTest : public LookAndFeelFixture {
 protected:
  MemoryCanvas canvas{40, 40, clWhite};
  const TcxCustomLookAndFeelPainter& standard = StandardPainter();
  const TcxCustomLookAndFeelPainter& native = WinXPPainter();
};

TEST(ArrowPoints, DocumentedExamplesAndTheOtherDirections) {
  struct TCase {
    TRect Rect;
    TcxArrowDirection Direction;
    bool Proportional;
    std::array<TPoint, 3> Points;
  };
  const TCase cases[] = {
      {{0, 0, 11, 20}, adDown, true, {{{3, 9}, {7, 9}, {5, 11}}}},
      {{0, 0, 11, 20}, adUp, true, {{{5, 9}, {3, 11}, {7, 11}}}},
      // Plain mode keeps the tall rectangle: the same width gives the same arrow, centred
      // in the whole height.
      {{0, 0, 11, 20}, adDown, false, {{{3, 9}, {7, 9}, {5, 11}}}},
      // Left and right take their size from the height; a wide rectangle is cut evenly.
      {{0, 0, 20, 11}, adLeft, true, {{{8, 5}, {10, 3}, {10, 7}}}},
      {{0, 0, 20, 11}, adRight, true, {{{8, 3}, {10, 5}, {8, 7}}}},
      {{2, 3, 18, 19}, adUp, true, {{{9, 9}, {6, 12}, {12, 12}}}},
  };
  for (const TCase& c : cases) {
    const auto p = ArrowPoints(c.Rect, c.Direction, c.Proportional);
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(p[i], c.Points[i]) << "direction " << c.Direction << " point " << i << " of (" << c.Rect.Left << ","
                                   << c.Rect.Top << "," << c.Rect.Right << "," << c.Rect.Bottom << ")";
  }
}

TEST_F(PainterTest, FrameTwoToneGivesTheCornersWhereTheSidesMeetToTheSecondColour) {
  FrameTwoTone(canvas, {2, 2, 8, 6}, clRed, clBlue);
  EXPECT_EQ(canvas.Pixel(2, 2), clRed);    // top-left
  EXPECT_EQ(canvas.Pixel(7, 2), clBlue);   // top-right
  EXPECT_EQ(canvas.Pixel(2, 5), clBlue);   // bottom-left
  EXPECT_EQ(canvas.Pixel(7, 5), clBlue);   // bottom-right
  EXPECT_EQ(canvas.Pixel(4, 3), clWhite);  // inside
  FrameSolid(canvas, {20, 20, 20, 30}, clRed, 3);  // empty: nothing
  EXPECT_EQ(canvas.Pixel(20, 20), clWhite);
  FrameSolid(canvas, {20, 20, 23, 23}, clLime, 2);  // strips kept inside
  EXPECT_EQ(canvas.Pixel(23, 21), clWhite);
  EXPECT_EQ(canvas.Pixel(21, 21), clLime);
}

TEST_F(PainterTest, FocusBoundsLieFourPixelsInsideUnlessThatLeavesNothing) {
  EXPECT_EQ(standard.PushFocusBounds(canvas, {0, 0, 6, 6}), (TRect{0, 0, 6, 6}));
  EXPECT_EQ(standard.PushFocusBounds(canvas, {0, 0, 70, 25}), (TRect{4, 4, 66, 21}));
  themes.SetClassOpens("Button", false);
  EXPECT_EQ(native.PushFocusBounds(canvas, {0, 0, 6, 6}), (TRect{0, 0, 6, 6}));
}

// The classic push button, ring by ring from the outside, against the table of looks.
TEST_F(PainterTest, ClassicPushFramesOfEveryState) {
  struct TRing {
    TColor LeftTop, RightBottom;
  };
  struct TCase {
    TcxButtonState State;
    std::vector<TRing> Rings;
  };
  const TRing raisedOuter{clBtnHighlight, cl3DDkShadow}, raisedInner{cl3DLight, clBtnShadow};
  const TCase cases[] = {
      {cxbsNormal, {raisedOuter, raisedInner}},
      {cxbsHot, {raisedOuter, raisedInner}},
      {cxbsDisabled, {raisedOuter, raisedInner}},
      {cxbsDefault, {{clBlack, clBlack}, raisedOuter, raisedInner}},
      {cxbsPressed, {{clBlack, clBlack}, {clBtnShadow, clBtnShadow}}},
  };
  for (const TCase& c : cases) {
    MemoryCanvas button(20, 16, clWhite);
    standard.PaintPushButtonPlain(button, {0, 0, 20, 16}, c.State);
    for (int i = 0; i < static_cast<int>(c.Rings.size()); ++i) {
      SCOPED_TRACE("state " + std::to_string(c.State) + " ring " + std::to_string(i));
      EXPECT_EQ(button.Pixel(i, 8), Rgb(c.Rings[i].LeftTop));
      EXPECT_EQ(button.Pixel(10, i), Rgb(c.Rings[i].LeftTop));
      EXPECT_EQ(button.Pixel(19 - i, 8), Rgb(c.Rings[i].RightBottom));
      EXPECT_EQ(button.Pixel(10, 15 - i), Rgb(c.Rings[i].RightBottom));
    }
    const int face = static_cast<int>(c.Rings.size());
    EXPECT_EQ(button.Pixel(face, face + 1), Rgb(clBtnFace)) << "state " << c.State;
    EXPECT_EQ(standard.PushFrameWidth(c.State), c.State == cxbsDefault ? 3 : 2);
  }
}

TEST_F(PainterTest, ClassicPushButtonCaptionColoursAndPlaces) {
  canvas.SetFont({"宋体", -12});
  standard.PaintPushButton(canvas, {0, 0, 40, 25}, "OK", cxbsPressed, true, clDefault, clDefault);
  standard.PaintPushButton(canvas, {0, 0, 40, 21}, "OK", cxbsDisabled, true, clRed, clDefault);
  ASSERT_EQ(canvas.Texts().size(), 3u);
  // Pressed: the face shrinks by the frame (2), the odd height loses its last row, then
  // the caption moves one pixel right and down.
  EXPECT_EQ(canvas.Texts()[0].Rect, (TRect{3, 3, 39, 23}));
  EXPECT_EQ(canvas.Texts()[0].Font.Color, clBtnText);
  // Disabled, and lower: the height left below 18 grows a row upwards; the caption is
  // embossed, a highlight copy one pixel right and down first.
  EXPECT_EQ(canvas.Texts()[1].Rect, (TRect{3, 2, 39, 19}));
  EXPECT_EQ(canvas.Texts()[1].Font.Color, clBtnHighlight);
  EXPECT_EQ(canvas.Texts()[2].Rect, (TRect{2, 1, 38, 18}));
  EXPECT_EQ(canvas.Texts()[2].Font.Color, clBtnShadow);
  EXPECT_EQ(canvas.Pixel(4, 4), clRed);  // the given face colour
}

// Every scroll bar part in every state under the Standard painter.
TEST_F(PainterTest, StandardScrollBarPartsInEveryState) {
  const TRect r{0, 0, 17, 17};
  auto draw = [&](TcxScrollBarPart part, TcxButtonState state, bool horizontal = false) {
    MemoryCanvas c(17, 17, clWhite);
    standard.PaintScrollBarPart(c, horizontal, state, part, r);
    return c;
  };
  for (TcxScrollBarPart page : {sbpPageUp, sbpPageDown}) {
    const MemoryCanvas normal = draw(page, cxbsNormal), pressed = draw(page, cxbsPressed);
    for (int y = 0; y < 17; ++y)
      for (int x = 0; x < 17; ++x) {
        const bool odd = (x % 2) != (y % 2);
        ASSERT_EQ(normal.Pixel(x, y), Rgb(odd ? clBtnHighlight : clBtnFace)) << x << "," << y;
        ASSERT_EQ(pressed.Pixel(x, y), Rgb(odd ? cl3DDkShadow : clBlack)) << x << "," << y;
      }
    EXPECT_EQ(draw(page, cxbsHot).Image(), normal.Image());
  }
  const MemoryCanvas thumb = draw(sbpThumbnail, cxbsNormal);
  EXPECT_EQ(thumb.Pixel(0, 8), Rgb(clBtnFace));
  EXPECT_EQ(thumb.Pixel(16, 8), Rgb(cl3DDkShadow));
  EXPECT_EQ(thumb.Pixel(1, 8), Rgb(clBtnHighlight));
  EXPECT_EQ(thumb.Pixel(15, 8), Rgb(clBtnShadow));
  EXPECT_EQ(thumb.Pixel(8, 8), Rgb(clBtnFace));
  EXPECT_EQ(draw(sbpThumbnail, cxbsHot).Image(), thumb.Image());
  EXPECT_EQ(draw(sbpThumbnail, cxbsDisabled).Image(), MemoryCanvas(17, 17, clWhite).Image());
  for (bool horizontal : {false, true})
    for (TcxScrollBarPart arrow : {sbpLineUp, sbpLineDown}) {
      SCOPED_TRACE("arrow " + std::to_string(arrow) + (horizontal ? " horizontal" : " vertical"));
      const MemoryCanvas normal = draw(arrow, cxbsNormal, horizontal), pressed = draw(arrow, cxbsPressed, horizontal);
      EXPECT_EQ(draw(arrow, cxbsHot, horizontal).Image(), normal.Image());
      EXPECT_EQ(normal.Pixel(0, 8), Rgb(clBtnFace));
      EXPECT_EQ(normal.Pixel(16, 8), Rgb(cl3DDkShadow));
      EXPECT_EQ(pressed.Pixel(0, 8), Rgb(clBtnShadow));
      EXPECT_EQ(pressed.Pixel(16, 16), Rgb(clBtnShadow));
      EXPECT_EQ(pressed.Pixel(1, 8), Rgb(clBtnFace));
      EXPECT_EQ(pressed.Pixel(15, 15), Rgb(clBtnFace));
      // The glyph of a pressed arrow sits one pixel right and down of the normal one.
      std::vector<TPoint> normalInk, pressedInk;
      for (int y = 2; y < 15; ++y)
        for (int x = 2; x < 15; ++x) {
          if (normal.Pixel(x, y) == Rgb(clBtnText)) normalInk.push_back({x + 1, y + 1});
          if (pressed.Pixel(x, y) == Rgb(clBtnText)) pressedInk.push_back({x, y});
        }
      EXPECT_FALSE(normalInk.empty());
      EXPECT_EQ(pressedInk, normalInk);
    }
}

// The page areas' patterns hold the colours of the time they were built; a change of
// the system colours rebuilds them before any control repaints.
TEST_F(PainterTest, PageAreaPatternsFollowAChangeOfTheSystemColours) {
  TMemorySystemColorScope palette;
  auto pageColour = [&] {
    MemoryCanvas c(4, 4, clWhite);
    standard.PaintScrollBarPart(c, false, cxbsNormal, sbpPageUp, {0, 0, 4, 4});
    return c.Pixel(1, 0);  // x and y of different parity: the highlight colour
  };
  EXPECT_EQ(pageColour(), MemorySystemColor(20));
  SetMemorySystemColor(20, 0x123456);
  EXPECT_NE(pageColour(), 0x123456u);  // not yet told
  const int rebuilds = TcxPainterModule::Current()->Rebuilds();
  SystemColorsChange();
  EXPECT_EQ(TcxPainterModule::Current()->Rebuilds(), rebuilds + 1);
  EXPECT_EQ(pageColour(), 0x123456u);
}

TEST_F(PainterTest, NativePainterAsksTheThemeForItsPartsAndStates) {
  themes.SetContentMargins("Button", 1, -1, {3, 4, 3, 4});
  themes.SetColor("Button", 1, 3, TMT_BUTTONFACE, clYellow);
  themes.SetColor("Button", 1, 4, TMT_TEXTCOLOR, clGray);
  EXPECT_EQ(native.PushFrameWidth(cxbsNormal), 3);
  EXPECT_EQ(native.PushFaceColor(cxbsPressed), clYellow);
  EXPECT_EQ(native.PushFaceColor(cxbsNormal), clBtnFace);  // a colour the theme lacks
  EXPECT_EQ(native.PushInkColor(cxbsDisabled), clGray);
  EXPECT_EQ(native.PushFocusBounds(canvas, {0, 0, 70, 25}), (TRect{3, 4, 67, 21}));
  EXPECT_EQ(native.FrameWidth(), 1);

  themes.ClearCalls();
  native.PaintPushButton(canvas, {0, 0, 30, 20}, "Go", cxbsDefault, true, clRed, clRed);
  EXPECT_EQ(canvas.Pixel(2, 2), MemoryThemeLibrary::FillColor("Button", 1, 5));
  const auto text = themes.CallsOf("DrawThemeText");
  ASSERT_EQ(text.size(), 1u);
  EXPECT_EQ(text[0].State, 5);

  // Scroll bar parts: vertical and horizontal part numbers, the gripper over the thumb.
  themes.ClearCalls();
  native.PaintScrollBarPart(canvas, false, cxbsPressed, sbpThumbnail, {0, 0, 17, 30});
  native.PaintScrollBarPart(canvas, true, cxbsHot, sbpThumbnail, {0, 0, 30, 17});
  native.PaintScrollBarPart(canvas, false, cxbsNormal, sbpPageUp, {0, 0, 17, 30});
  native.PaintScrollBarPart(canvas, false, cxbsDisabled, sbpPageDown, {0, 0, 17, 30});
  native.PaintScrollBarPart(canvas, true, cxbsNormal, sbpPageUp, {0, 0, 17, 30});
  native.PaintScrollBarPart(canvas, true, cxbsNormal, sbpPageDown, {0, 0, 17, 30});
  native.PaintScrollBarPart(canvas, false, cxbsPressed, sbpLineDown, {0, 0, 17, 17});
  native.PaintScrollBarPart(canvas, true, cxbsHot, sbpLineUp, {0, 0, 17, 17});
  native.PaintScrollBarPart(canvas, true, cxbsDisabled, sbpLineDown, {0, 0, 0, 17});  // empty: nothing
  std::vector<std::string> drawn;
  for (const TThemeCall& c : themes.CallsOf("DrawThemeBackground"))
    drawn.push_back(c.ClassName + " " + std::to_string(c.Part) + "/" + std::to_string(c.State));
  EXPECT_THAT(drawn, ElementsAre("ScrollBar 3/3", "ScrollBar 9/0", "ScrollBar 2/2", "ScrollBar 8/0", "ScrollBar 6/1",
                                 "ScrollBar 7/4", "ScrollBar 4/1", "ScrollBar 5/1", "ScrollBar 1/7",
                                 "ScrollBar 1/10"));
}

TEST_F(PainterTest, NativeFrameIsTheListViewPartAroundAnUntouchedInside) {
  themes.ClearCalls();
  native.PaintFrame(canvas, {0, 0, 20, 20});
  EXPECT_EQ(canvas.Pixel(0, 0), MemoryThemeLibrary::FrameColor("ListView"));
  EXPECT_EQ(canvas.Pixel(10, 10), clWhite);
  ASSERT_EQ(themes.CallsOf("DrawThemeBackground").size(), 1u);
  EXPECT_EQ(themes.CallsOf("DrawThemeBackground")[0].Part, 5);
}

// One sweep: every operation the controls use, in every state, with both painters,
// while the theme is active, active with every class failing, and inactive. Without a
// theme class the native painter draws exactly as the Standard one, but for the press
// shift it does not have.
TEST_F(PainterTest, SweepEveryOperationInEveryStateWithBothPainters) {
  using TOperation = std::function<void(const TcxCustomLookAndFeelPainter&, ICanvas&, TcxButtonState)>;
  struct TNamed {
    const char* Name;
    bool UsesPressShift;
    TOperation Draw;
  };
  const TRect r{1, 1, 31, 23};
  const TNamed operations[] = {
      {"FillArrow", false, [&](auto& p, ICanvas& c, TcxButtonState) { p.FillArrow(c, r, adDown, clBtnText); }},
      {"PaintArrowButton", false, [&](auto& p, ICanvas& c, TcxButtonState s) { p.PaintArrowButton(c, r, s, adLeft, true); }},
      {"PaintButtonBox", false, [&](auto& p, ICanvas& c, TcxButtonState s) { p.PaintButtonBox(c, r, s); }},
      {"PaintStateArrow", true, [&](auto& p, ICanvas& c, TcxButtonState s) { p.PaintStateArrow(c, r, s, adUp); }},
      {"PaintFrame", false, [&](auto& p, ICanvas& c, TcxButtonState) { p.PaintFrame(c, r); }},
      {"PaintPushButton", true, [&](auto& p, ICanvas& c, TcxButtonState s) { p.PaintPushButton(c, r, "A", s, true, clDefault, clDefault); }},
      {"PaintPushFrame", false, [&](auto& p, ICanvas& c, TcxButtonState s) { p.PaintPushFrame(c, r, s); }},
      {"FocusRect", false, [&](auto& p, ICanvas& c, TcxButtonState) { c.DrawFocusRect(p.PushFocusBounds(c, r)); }},
      {"ScrollArrowV", false, [&](auto& p, ICanvas& c, TcxButtonState s) { p.PaintScrollBarPart(c, false, s, sbpLineUp, r); }},
      {"ScrollArrowH", false, [&](auto& p, ICanvas& c, TcxButtonState s) { p.PaintScrollBarPart(c, true, s, sbpLineDown, r); }},
      {"Thumb", false, [&](auto& p, ICanvas& c, TcxButtonState s) { p.PaintScrollBarPart(c, false, s, sbpThumbnail, r); }},
      {"PageArea", false, [&](auto& p, ICanvas& c, TcxButtonState s) { p.PaintScrollBarPart(c, true, s, sbpPageUp, r); }},
  };
  enum class TTheme { Active, ClassesFail, Inactive };
  for (TTheme theme : {TTheme::Active, TTheme::ClassesFail, TTheme::Inactive}) {
    for (const char* cls : {"Button", "ScrollBar", "ListView"}) themes.SetClassOpens(cls, theme != TTheme::ClassesFail);
    SwitchTheme(theme != TTheme::Inactive);
    for (const TNamed& op : operations)
      for (TcxButtonState state : {cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled}) {
        SCOPED_TRACE(std::string(op.Name) + " state " + std::to_string(state) + " theme " +
                     std::to_string(static_cast<int>(theme)));
        MemoryCanvas classic(32, 24, clWhite), themed(32, 24, clWhite);
        classic.SetFont({"宋体", -12});
        themed.SetFont({"宋体", -12});
        op.Draw(standard, classic, state);
        themes.ClearCalls();
        op.Draw(native, themed, state);
        const bool asked = !themes.CallsOf("DrawThemeBackground").empty();
        if (theme == TTheme::Active) {
          const bool themedOperation = std::string(op.Name) != "FillArrow" && std::string(op.Name) != "PaintStateArrow" &&
                                       std::string(op.Name) != "PaintPushFrame" && std::string(op.Name) != "FocusRect";
          EXPECT_EQ(asked, themedOperation);
        } else {
          EXPECT_FALSE(asked);
          if (!(op.UsesPressShift && state == cxbsPressed)) {
            EXPECT_EQ(themed.Image(), classic.Image());
            EXPECT_EQ(themed.Texts().size(), classic.Texts().size());
          }
        }
      }
  }
  EXPECT_EQ(native.StyleCode(), 3);
  EXPECT_EQ(native.PushCaptionInset(), 2);
  EXPECT_EQ(native.PushPressShift(), 0);
  EXPECT_TRUE(native.TracksHotPush());
  EXPECT_FALSE(standard.TracksHotPush());
}

}  // namespace
}  // namespace vormix
