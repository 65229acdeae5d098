// The editors' frame and the numeric field's spin buttons as they are drawn: the classic
// example field pixel for pixel, its pressed, hot and disabled buttons, the hot-flat
// frames, the window region, the shadow, a field too narrow for its buttons, the native
// look's theme parts and states, and how the style values resolve.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "editors/FrameForm.h"
#include "lookandfeel/dxUxTheme.h"

namespace vormix {
namespace {

using Border = TcxEditBorderStyle;
using Position = TcxSpinEditButtonsPosition;

// ---------------------------------------------------------------------------------------
// The classic look

TEST_F(FrameForm, TheClassicExampleFieldPixelForPixel) {
  EXPECT_EQ(field->FrameInset(), (TcxMargins{2, 2, 2, 2}));
  EXPECT_EQ(field->ContentMargins(), (TcxMargins{2, 2, 2, 2}));
  EXPECT_EQ(field->InnerRect(), (TRect{2, 2, 73, 18}));
  EXPECT_EQ(Button(sdUp).Bounds, (TRect{57, 2, 73, 10}));
  EXPECT_EQ(Button(sdDown).Bounds, (TRect{57, 10, 73, 18}));
  EXPECT_EQ(field->SpinArrowSize(), 3);
  EXPECT_EQ(field->ViewInfo().ClientRect, (TRect{2, 2, 57, 18}));
  EXPECT_EQ(Picture(),
            (Rows{
                "ssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssh",
                "sddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddlh",
                "sdwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwllllllllllllllldlh",
                "sdwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwlhhhhhhhhhhhhhsdlh",
                "sdwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwlhffffftffffffsdlh",
                "sdwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwlhfffftttfffffsdlh",
                "sdwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwlhffftttttffffsdlh",
                "sdwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwlhffffffffffffsdlh",
                "sdwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwlssssssssssssssdlh",
                "sdwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwddddddddddddddddlh",
                "sdwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwllllllllllllllldlh",
                "sdwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwlhhhhhhhhhhhhhsdlh",
                "sdwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwlhffftttttffffsdlh",
                "sdwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwlhfffftttfffffsdlh",
                "sdwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwlhffffftffffffsdlh",
                "sdwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwlhffffffffffffsdlh",
                "sdwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwlssssssssssssssdlh",
                "sdwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwddddddddddddddddlh",
                "slllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllh",
                "hhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhh",
            }));
  // The frame covers the whole control: the region is all of it.
  EXPECT_EQ(Frame().Region(), TRegion({0, 0, 75, 20}));
}

TEST_F(FrameForm, AHotButtonLooksNormalAPressedOneSinksAndADisabledOneIsEmbossed) {
  const TRect upButton{57, 2, 73, 10};
  const Rows normal = Picture(upButton);
  Hover({64, 5});
  EXPECT_EQ(Button(sdUp).State, TcxEditButtonState::ebsHot);
  EXPECT_EQ(Picture(upButton), normal);

  Press({64, 5});
  EXPECT_EQ(Button(sdUp).State, TcxEditButtonState::ebsPressed);
  EXPECT_EQ(Picture(upButton), (Rows{
                                   "ssssssssssssssss",
                                   "sffffffffffffffs",
                                   "sffffffffffffffs",
                                   "sffffffftffffffs",
                                   "sfffffftttfffffs",
                                   "sffffftttttffffs",
                                   "sffffffffffffffs",
                                   "ssssssssssssssss",
                               }));
  Release({64, 5});
  HoverAway();

  field->SetEnabled(false);
  EXPECT_EQ(Picture({57, 2, 73, 18}), (Rows{
                                          "llllllllllllllld",
                                          "lhhhhhhhhhhhhhsd",
                                          "lhfffffsffffffsd",
                                          "lhffffsssfffffsd",
                                          "lhfffsssssffffsd",
                                          "lhffffhhhhhfffsd",
                                          "lssssssssssssssd",
                                          "dddddddddddddddd",
                                          "llllllllllllllld",
                                          "lhhhhhhhhhhhhhsd",
                                          "lhfffsssssffffsd",
                                          "lhffffssshhfffsd",
                                          "lhfffffshhffffsd",
                                          "lhffffffhfffffsd",
                                          "lssssssssssssssd",
                                          "dddddddddddddddd",
                                      }));
  // A disabled field's background is the button face.
  EXPECT_EQ(Letter(PixelAt(20, 10)), 'f');
}

// Which sides of each hot-flat button are drawn, as "LTRB" letters.
std::string DrawnSides(FrameForm& test, const TRect& r) {
  auto line = [&](int x0, int y0, int x1, int y1) {
    for (int x = x0; x <= x1; ++x)
      for (int y = y0; y <= y1; ++y)
        if (FrameForm::Letter(test.Frame().Canvas().Pixel(x, y)) != 's') return false;
    return true;
  };
  std::string sides;
  if (line(r.Left, r.Top, r.Left, r.Bottom - 1)) sides += 'L';
  if (line(r.Left, r.Top, r.Right - 1, r.Top)) sides += 'T';
  if (line(r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1)) sides += 'R';
  if (line(r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1)) sides += 'B';
  return sides;
}

struct THotFlatRow {
  Position Where;
  bool Fast;
  const char* Sides[4];  // down, up, fast down, fast up
};

TEST_F(FrameForm, HotFlatButtonsLeaveTheSideTheyShareToTheirNeighbour) {
  const THotFlatRow rows[] = {
      {Position::sbpHorzLeftRight, false, {"LTRB", "LTRB"}},
      {Position::sbpHorzLeftRight, true, {"LTRB", "LTRB", "LTB", "TRB"}},
      {Position::sbpHorzRight, false, {"LTRB", "TRB"}},
      {Position::sbpHorzRight, true, {"TRB", "TRB", "LTRB", "TRB"}},
      {Position::sbpVert, false, {"LRB", "LTRB"}},
      {Position::sbpVert, true, {"RB", "TRB", "LTRB", "TRB"}},
  };
  field->Style().SetBorderStyle(Border::ebsSingle);  // its buttons are hot-flat
  for (const THotFlatRow& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.Where) * 2 + row.Fast);
    field->Properties().SetSpinButtons({row.Where, row.Fast});
    ASSERT_EQ(field->ViewInfo().Buttons.size(), row.Fast ? 4u : 2u);
    Frame().PaintNow();
    for (const TcxEditButtonViewInfo& button : field->ViewInfo().Buttons) {
      EXPECT_EQ(button.Style, TcxEditButtonStyle::btsHotFlat);
      EXPECT_EQ(DrawnSides(*this, button.Bounds), row.Sides[button.Index]) << "button " << button.Index;
    }
  }
}

TEST_F(FrameForm, HotFlatButtonsShowTheirStateInFaceAndArrow) {
  // Chosen outright: by default a hot-tracking single border thickens under the pointer,
  // and its buttons turn three-dimensional with it.
  field->Style().SetBorderStyle(Border::ebsSingle);
  field->Style().SetButtonStyle(TcxEditButtonStyle::btsHotFlat);
  const TRect up = Button(sdUp).Bounds;
  EXPECT_EQ(up, (TRect{57, 2, 73, 10}));
  // Face at the content's corner, arrow at its tip.
  auto look = [&] { return std::string{Letter(PixelAt(up.Left + 1, up.Top + 1)), Letter(PixelAt(64, 4))}; };
  EXPECT_EQ(look(), "ft");
  Hover({60, 5});
  EXPECT_EQ(look(), "sh");
  Press({60, 5});
  EXPECT_EQ(look(), "tt") << "the arrow moves a pixel, its old tip shows the face";
  EXPECT_EQ(Letter(PixelAt(65, 5)), 'h');
  Release({60, 5});
}

TEST_F(FrameForm, ANarrowFieldClipsItsButtonsToTheRoomLeftForThem) {
  field->SetBounds(8, 40, 12, 20);
  const TcxEditButtonViewInfo& up = Button(sdUp);
  EXPECT_EQ(up.Bounds, (TRect{-6, 2, 10, 10}));
  EXPECT_EQ(up.VisibleBounds, (TRect{2, 2, 10, 10}));
  EXPECT_EQ(field->ViewInfo().ClientRect.Width(), 0);
  // The frame stays whole; inside it the right part of the up button shows, with the
  // part of its arrow that falls there.
  EXPECT_EQ(Picture({0, 2, 12, 7}), (Rows{
                                        "sdllllllldlh",
                                        "sdhhhhhhsdlh",
                                        "sdffffffsdlh",
                                        "sdtfffffsdlh",
                                        "sdttffffsdlh",
                                    }));
}

TEST_F(FrameForm, HotTrackingRaisesASingleBorderUnderThePointer) {
  field->Style().SetBorderStyle(Border::ebsSingle);
  EXPECT_EQ(field->ViewInfo().FrameStyle, TcxContainerBorderStyle::cbsSingle);
  EXPECT_EQ(Letter(PixelAt(1, 10)), 'F');
  Hover({10, 10});
  ASSERT_TRUE(field->IsHot());
  EXPECT_EQ(field->ViewInfo().FrameStyle, TcxContainerBorderStyle::cbsThick);
  EXPECT_EQ(Button(sdUp).Style, TcxEditButtonStyle::bts3D);
  EXPECT_EQ(Picture({0, 10, 3, 11}), (Rows{"FFw"}));
  HoverAway();
  EXPECT_FALSE(field->IsHot());
  EXPECT_EQ(field->ViewInfo().FrameStyle, TcxContainerBorderStyle::cbsSingle);
}

struct TButtonLookRow {
  TcxEditButtonStyle Style;
  bool Hot;
  bool Pressed;
  Rows Up;  // the up button (57, 2, 73, 10)
};

TEST_F(FrameForm, EachButtonStyleHasItsClassicFrame) {
  const TButtonLookRow rows[] = {
      {TcxEditButtonStyle::btsFlat, false, false,
       {"fhhhhhhhhhhhhhhs", "fhfffffffffffffs", "fhfffffftffffffs", "fhffffftttfffffs", "fhfffftttttffffs",
        "fhfffffffffffffs", "fhfffffffffffffs", "fsssssssssssssss"}},
      {TcxEditButtonStyle::btsFlat, false, true,
       {"fssssssssssssssh", "fsfffffffffffffh", "fsfffffffffffffh", "fsffffffftfffffh", "fsfffffftttffffh",
        "fsffffftttttfffh", "fsfffffffffffffh", "fhhhhhhhhhhhhhhh"}},
      {TcxEditButtonStyle::btsSimple, false, false,
       {"wwwwwwwwwwwwwwww", "wwfffffffffffffw", "wwfffffftffffffw", "wwffffftttfffffw", "wwfffftttttffffw",
        "wwfffffffffffffw", "wwfffffffffffffw", "wwwwwwwwwwwwwwww"}},
      // Under the pointer a simple button turns flat.
      {TcxEditButtonStyle::btsSimple, true, false,
       {"fhhhhhhhhhhhhhhs", "fhfffffffffffffs", "fhfffffftffffffs", "fhffffftttfffffs", "fhfffftttttffffs",
        "fhfffffffffffffs", "fhfffffffffffffs", "fsssssssssssssss"}},
      {TcxEditButtonStyle::btsUltraFlat, false, false,
       {"wwwwwwwwwwwwwwww", "wffffffffffffffw", "wfffffftfffffffw", "wffffftttffffffw", "wfffftttttfffffw",
        "wffffffffffffffw", "wffffffffffffffw", "wwwwwwwwwwwwwwww"}},
      {TcxEditButtonStyle::btsUltraFlat, true, false,
       {"HHHHHHHHHHHHHHHH", "HffffffffffffffH", "HfffffftfffffffH", "HffffftttffffffH", "HfffftttttfffffH",
        "HffffffffffffffH", "HffffffffffffffH", "HHHHHHHHHHHHHHHH"}},
  };
  for (const TButtonLookRow& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.Style) * 10 + row.Hot * 2 + row.Pressed);
    field->Style().SetButtonStyle(row.Style);
    if (row.Hot || row.Pressed) Hover({61, 3});
    if (row.Pressed) Press({61, 3});
    EXPECT_EQ(Picture({57, 2, 73, 10}), row.Up);
    if (row.Pressed) Release({61, 3});
    HoverAway();
    other->SetFocus();
  }
}

struct TBorderRow {
  Border Style;
  const char* LeftEdge;  // x = 0, 1, 2 halfway down
  TRect Region;
};

TEST_F(FrameForm, EachBorderStyleHasItsClassicFrameAndRegion) {
  const TBorderRow rows[] = {
      {Border::ebsNone, "??w", {2, 2, 73, 18}},     {Border::ebsSingle, "?Fw", {1, 1, 74, 19}},
      {Border::ebsThick, "FFw", {0, 0, 75, 20}},    {Border::ebsFlat, "sfw", {0, 0, 75, 20}},
      {Border::ebs3D, "sdw", {0, 0, 75, 20}},       {Border::ebsUltraFlat, "?sw", {1, 1, 74, 19}},
      {Border::ebsOffice11, "?sw", {1, 1, 74, 19}},
  };
  for (const TBorderRow& row : rows) {
    field->Style().SetBorderStyle(row.Style);
    EXPECT_EQ(Picture({0, 10, 3, 11}), (Rows{row.LeftEdge})) << static_cast<int>(row.Style);
    EXPECT_EQ(Frame().Region(), TRegion(row.Region)) << static_cast<int>(row.Style);
  }
}

struct TLayoutRow {
  Position Where;
  bool Fast;
  TRect Down, Up, FastDown, FastUp, Text;
};

// The classic field: content (2, 2, 73, 18), a 16-pixel column, horizontal buttons 9
// pixels wide (four times the arrow size less 3) and fast ones 14 (one and a half,
// rounded up). Hot-flat buttons grow a pixel towards the text.
TEST_F(FrameForm, TheButtonsLieWhereTheirPositionPutsThem) {
  const TLayoutRow threeD[] = {
      {Position::sbpVert, false, {57, 10, 73, 18}, {57, 2, 73, 10}, {}, {}, {2, 2, 57, 18}},
      {Position::sbpVert, true, {43, 10, 59, 18}, {43, 2, 59, 10}, {29, 2, 43, 18}, {59, 2, 73, 18}, {2, 2, 29, 18}},
      {Position::sbpHorzRight, false, {55, 2, 64, 18}, {64, 2, 73, 18}, {}, {}, {2, 2, 55, 18}},
      {Position::sbpHorzRight, true, {41, 2, 50, 18}, {50, 2, 59, 18}, {27, 2, 41, 18}, {59, 2, 73, 18}, {2, 2, 27, 18}},
      {Position::sbpHorzLeftRight, false, {2, 2, 11, 18}, {64, 2, 73, 18}, {}, {}, {11, 2, 64, 18}},
      {Position::sbpHorzLeftRight, true, {16, 2, 25, 18}, {50, 2, 59, 18}, {2, 2, 16, 18}, {59, 2, 73, 18}, {25, 2, 50, 18}},
  };
  const TLayoutRow hotFlat[] = {
      {Position::sbpVert, false, {57, 10, 73, 18}, {57, 2, 73, 10}, {}, {}, {2, 2, 57, 18}},
      {Position::sbpVert, true, {43, 10, 59, 18}, {43, 2, 59, 10}, {28, 2, 43, 18}, {59, 2, 73, 18}, {2, 2, 28, 18}},
      {Position::sbpHorzRight, false, {54, 2, 64, 18}, {64, 2, 73, 18}, {}, {}, {2, 2, 54, 18}},
      {Position::sbpHorzRight, true, {41, 2, 50, 18}, {50, 2, 59, 18}, {26, 2, 41, 18}, {59, 2, 73, 18}, {2, 2, 26, 18}},
      {Position::sbpHorzLeftRight, false, {2, 2, 12, 18}, {63, 2, 73, 18}, {}, {}, {12, 2, 63, 18}},
      {Position::sbpHorzLeftRight, true, {17, 2, 27, 18}, {49, 2, 59, 18}, {2, 2, 17, 18}, {59, 2, 73, 18}, {27, 2, 49, 18}},
  };
  auto check = [&](const TLayoutRow& row) {
    SCOPED_TRACE(static_cast<int>(row.Where) * 2 + row.Fast);
    field->Properties().SetSpinButtons({row.Where, row.Fast});
    EXPECT_EQ(Button(sdDown).Bounds, row.Down);
    EXPECT_EQ(Button(sdUp).Bounds, row.Up);
    if (row.Fast) {
      EXPECT_EQ(Button(sdFastDown).Bounds, row.FastDown);
      EXPECT_EQ(Button(sdFastUp).Bounds, row.FastUp);
    }
    EXPECT_EQ(field->ViewInfo().ClientRect, row.Text);
    EXPECT_EQ(desk.EditOf(*field).Bounds().Right, row.Text.Right);
    Frame().PaintNow();
  };
  for (const TLayoutRow& row : threeD) check(row);
  field->Style().SetBorderStyle(Border::ebsSingle);
  for (const TLayoutRow& row : hotFlat) check(row);

  // An odd height: the upper hot-flat button would be the shorter, so the split moves
  // down a pixel; a three-dimensional column splits where the halves fall.
  field->Properties().SetSpinButtons({});
  field->SetAutoSize(false);
  field->SetBounds(8, 40, 75, 19);
  EXPECT_EQ(Button(sdUp).Bounds, (TRect{57, 2, 73, 10}));
  EXPECT_EQ(Button(sdDown).Bounds, (TRect{57, 10, 73, 17}));
  field->Style().SetBorderStyle(Border::ebs3D);
  EXPECT_EQ(Button(sdUp).Bounds, (TRect{57, 2, 73, 9}));
  EXPECT_EQ(Button(sdDown).Bounds, (TRect{57, 9, 73, 17}));
}

// ---------------------------------------------------------------------------------------
// The window region and the shadow

TEST_F(FrameForm, ASingleLineInsideTheTransparentBorderLeavesTheOuterRingToTheParent) {
  field->Style().SetBorderStyle(Border::ebsSingle);
  EXPECT_EQ(field->FrameInset(), (TcxMargins{2, 2, 2, 2}));
  EXPECT_EQ(Frame().Region(), TRegion({1, 1, 74, 19}));
  EXPECT_EQ(Picture({0, 9, 3, 10}), (Rows{"?Fw"})) << "the outer ring is not painted";
  // The pointer on the outer ring is over the form, one pixel further in over the field.
  const TPoint corner = Frame().ClientToScreen({0, 0});
  EXPECT_EQ(desk.windows.WindowAt(corner), desk.WindowOf(form));
  EXPECT_EQ(desk.windows.WindowAt({corner.X + 1, corner.Y + 1}), &Frame());
  // A copy painted elsewhere keeps to the region too.
  MemoryCanvas copy(75, 20, 0x123456);
  field->PaintCopy(copy, false);
  EXPECT_EQ(copy.Pixel(0, 9), 0x123456u);
  EXPECT_EQ(Letter(copy.Pixel(1, 9)), 'F');

  // Without the transparent border the frame fits the bounds, and the automatic height
  // shrinks with it.
  field->Style().SetTransparentBorder(false);
  EXPECT_EQ(field->FrameInset(), (TcxMargins{1, 1, 1, 1}));
  EXPECT_EQ(field->Height(), 18);
  EXPECT_EQ(Frame().Region(), TRegion({0, 0, 75, 18}));

  field->Style().SetBorderStyle(Border::ebs3D);
  field->Style().SetEdges(bLeft | bTop);
  EXPECT_EQ(field->FrameInset(), (TcxMargins{2, 2, 0, 0}));
  EXPECT_EQ(Frame().Region(), TRegion({0, 0, 75, 18}));
  EXPECT_EQ(Picture({73, 0, 75, 1}), (Rows{"ss"})) << "no right edge: the top line runs on";
}

TEST_F(FrameForm, AShadowLiesAlongTheRightAndBottomOfTheFrame) {
  field->Style().SetShadow(true);
  EXPECT_EQ(field->FrameInset(), (TcxMargins{2, 2, 5, 5}));
  EXPECT_EQ(field->Height(), 23) << "the automatic height makes room for the shadow";
  EXPECT_EQ(field->InnerRect(), (TRect{2, 2, 70, 18}));
  EXPECT_EQ(Frame().Region(), TRegion::FromRects({{0, 0, 72, 20}, {3, 3, 75, 23}}));
  const Rows picture = Picture();
  // Below the frame from x = 3, beside it from y = 3, three pixels wide.
  for (int y = 20; y < 23; ++y) EXPECT_EQ(picture[static_cast<std::size_t>(y)].substr(3), std::string(72, 's')) << y;
  for (int y = 3; y < 23; ++y) EXPECT_EQ(picture[static_cast<std::size_t>(y)].substr(72), "sss") << y;
  EXPECT_EQ(picture[19][71], 'h') << "the frame's own corner";
  EXPECT_EQ(picture[19].substr(0, 3), "hhh");

  // The native look has no shadow.
  desk.themes.Active = true;
  desk.windows.BroadcastThemeChanged();
  EXPECT_TRUE(field->ViewInfo().Native);
  EXPECT_FALSE(field->ViewInfo().HasShadow);
  EXPECT_EQ(field->FrameInset(), (TcxMargins{2, 2, 2, 2}));
}

// ---------------------------------------------------------------------------------------
// The native look

class NativeFrameForm : public FrameForm {
 public:
  NativeFrameForm() {
    desk.themes.SetContentMargins("Edit", 1, 1, {3, 3, 3, 3});
    desk.themes.Active = true;
    desk.windows.BroadcastThemeChanged();
  }
  // The state each drawn part of a class was last drawn in, by part.
  std::map<int, int> StatesDrawn(const std::string& className) {
    desk.themes.ClearCalls();
    Frame().PaintNow();
    std::map<int, int> states;
    for (const TThemeCall& call : desk.themes.CallsOf("DrawThemeBackground"))
      if (call.ClassName == className) states[call.Part] = call.State;
    return states;
  }
  using States = std::map<int, int>;
};

TEST_F(NativeFrameForm, TheFieldTakesItsMarginsFromTheThemeAndHasNoRegion) {
  ASSERT_TRUE(field->ViewInfo().Native);
  EXPECT_EQ(field->FrameInset(), (TcxMargins{2, 2, 2, 2}));
  EXPECT_EQ(field->ContentMargins(), (TcxMargins{3, 3, 3, 3}));
  EXPECT_EQ(field->Height(), 12 + 4 + 6) << "the automatic height follows the margins";
  EXPECT_EQ(Frame().Region(), std::nullopt);
  // The buttons: the column at the content's right, a row between them.
  EXPECT_EQ(Button(sdUp).Bounds, (TRect{56, 3, 72, 10}));
  EXPECT_EQ(Button(sdDown).Bounds, (TRect{56, 11, 72, 19}));
  EXPECT_EQ(Button(sdUp).ThemeClass, tcSpin);

  // Switched off, the field is classic again at once.
  desk.themes.Active = false;
  desk.windows.BroadcastThemeChanged();
  EXPECT_FALSE(field->ViewInfo().Native);
  EXPECT_EQ(field->Height(), 20);
  EXPECT_EQ(Frame().Region(), TRegion({0, 0, 75, 20}));
}

TEST_F(NativeFrameForm, TheSpinPartsShowTheButtonStatesAndTheEditPartTheFieldState) {
  constexpr int SPNP_UP = 1, SPNP_DOWN = 2;
  EXPECT_EQ(StatesDrawn("Spin"), (States{{SPNP_UP, 1}, {SPNP_DOWN, 1}}));
  EXPECT_EQ(StatesDrawn("Edit"), (States{{1, 1}}));
  const TRect up = Button(sdUp).Bounds;
  Hover({up.Left + 3, up.Top + 3});
  EXPECT_EQ(StatesDrawn("Spin"), (States{{SPNP_UP, 2}, {SPNP_DOWN, 1}}));
  EXPECT_EQ(StatesDrawn("Edit"), (States{{1, 2}})) << "the field is hot";
  Press({up.Left + 3, up.Top + 3});
  EXPECT_EQ(StatesDrawn("Spin"), (States{{SPNP_UP, 3}, {SPNP_DOWN, 1}}));
  EXPECT_EQ(StatesDrawn("Edit"), (States{{1, 5}})) << "the press gave the field the focus";
  Release({up.Left + 3, up.Top + 3});
  field->Properties().SetReadOnly(true);
  EXPECT_EQ(StatesDrawn("Edit"), (States{{1, 6}}));
  field->Properties().SetReadOnly(false);
  field->SetEnabled(false);
  EXPECT_EQ(StatesDrawn("Spin"), (States{{SPNP_UP, 4}, {SPNP_DOWN, 4}}));
  EXPECT_EQ(StatesDrawn("Edit"), (States{{1, 4}}));
}

TEST_F(NativeFrameForm, TheRowBetweenTheButtonsAndTheContentAreTheFieldsBackground) {
  const TcxEditButtonViewInfo up = Button(sdUp);
  const Rows row = Picture({up.Bounds.Left, up.Bounds.Bottom, up.Bounds.Right, up.Bounds.Bottom + 1});
  EXPECT_EQ(row, (Rows{std::string(16, 'w')}));
  EXPECT_EQ(Letter(PixelAt(20, 10)), 'w');
  // The themed part is what the theme drew: its frame colour around its fill.
  EXPECT_EQ(PixelAt(up.Bounds.Left, up.Bounds.Top), MemoryThemeLibrary::FrameColor("Spin"));
  EXPECT_EQ(PixelAt(0, 0), MemoryThemeLibrary::FrameColor("Edit"));
}

TEST_F(NativeFrameForm, ADisabledFieldTakesTheThemesFillColour) {
  field->SetEnabled(false);
  EXPECT_EQ(field->ViewInfo().BackgroundColor, clBtnFace) << "a theme without the colour leaves the style's";
  constexpr TColor fill = RGBColor(0x12, 0x34, 0x56);
  desk.themes.SetColor("Edit", 1, 4, TMT_FILLCOLOR, fill);
  field->StyleDisabled().SetColor(clInfoBk);
  EXPECT_EQ(field->ViewInfo().BackgroundColor, fill) << "the theme's colour wins over the style's";
  EXPECT_EQ(PixelAt(20, 10), fill);
  EXPECT_EQ(PixelAt(Button(sdUp).Bounds.Left + 2, Button(sdUp).Bounds.Bottom), fill) << "the row between the buttons";
}

// Content (3, 3, 72, 19); a pixel between the buttons; horizontal buttons 8 wide, half
// of the text height and the theme's vertical button margins, rounded up.
TEST_F(NativeFrameForm, ThemedButtonsLeaveAPixelBetweenThem) {
  const TLayoutRow rows[] = {
      {Position::sbpVert, false, {56, 11, 72, 19}, {56, 3, 72, 10}, {}, {}, {3, 3, 56, 19}},
      {Position::sbpHorzRight, false, {55, 3, 63, 19}, {64, 3, 72, 19}, {}, {}, {3, 3, 55, 19}},
      {Position::sbpHorzLeftRight, false, {3, 3, 11, 19}, {64, 3, 72, 19}, {}, {}, {11, 3, 63, 19}},
      {Position::sbpVert, true, {44, 11, 60, 19}, {44, 3, 60, 10}, {32, 3, 44, 19}, {60, 3, 72, 19}, {3, 3, 32, 19}},
  };
  constexpr int SPNP_UP = 1, SPNP_DOWN = 2, SPNP_UPHORZ = 3, SPNP_DOWNHORZ = 4;
  for (const TLayoutRow& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.Where) * 2 + row.Fast);
    field->Properties().SetSpinButtons({row.Where, row.Fast});
    EXPECT_EQ(Button(sdDown).Bounds, row.Down);
    EXPECT_EQ(Button(sdUp).Bounds, row.Up);
    const bool vertical = row.Where == Position::sbpVert;
    EXPECT_EQ(Button(sdDown).ThemePart, vertical ? SPNP_DOWN : SPNP_DOWNHORZ);
    EXPECT_EQ(Button(sdUp).ThemePart, vertical ? SPNP_UP : SPNP_UPHORZ);
    if (row.Fast) {
      EXPECT_EQ(Button(sdFastDown).Bounds, row.FastDown);
      EXPECT_EQ(Button(sdFastUp).Bounds, row.FastUp);
      EXPECT_EQ(Button(sdFastDown).ThemePart, SPNP_DOWNHORZ);
      EXPECT_EQ(Button(sdFastUp).ThemePart, SPNP_UPHORZ);
    }
    EXPECT_EQ(field->ViewInfo().ClientRect, row.Text);
  }
  // Side by side, the column between the down and the up button is the background.
  field->Properties().SetSpinButtons({Position::sbpHorzRight, false});
  EXPECT_EQ(Picture({63, 3, 64, 19}), Rows(16, "w"));
}

TEST_F(NativeFrameForm, WithoutTheSpinClassTheButtonsAreClassicInsideTheThemedFrame) {
  desk.themes.SetClassOpens("Spin", false);
  desk.windows.BroadcastThemeChanged();
  ASSERT_TRUE(field->ViewInfo().Native);
  EXPECT_EQ(Button(sdUp).ThemePart, 0);
  EXPECT_EQ(Button(sdUp).Bounds, (TRect{56, 3, 72, 11})) << "no row between the buttons";
  EXPECT_EQ(Button(sdDown).Bounds, (TRect{56, 11, 72, 19}));
}

// ---------------------------------------------------------------------------------------
// Buttons that hide, and the style values

TEST_F(FrameForm, ButtonsHiddenWhileInactiveGiveTheirRoomToTheText) {
  field->Style().SetButtonTransparency(TcxEditButtonTransparency::ebtHideInactive);
  EXPECT_TRUE(field->ViewInfo().Buttons.empty());
  EXPECT_EQ(field->ViewInfo().ClientRect, (TRect{2, 2, 73, 18}));
  EXPECT_EQ(desk.EditOf(*field).Bounds().Right, 73);
  field->SetFocus();
  EXPECT_EQ(field->ViewInfo().Buttons.size(), 2u);
  EXPECT_EQ(desk.EditOf(*field).Bounds().Right, 57);
  other->SetFocus();
  EXPECT_TRUE(field->ViewInfo().Buttons.empty());

  // Faces that are transparent while inactive take the field's background.
  field->Style().SetButtonTransparency(TcxEditButtonTransparency::ebtInactive);
  EXPECT_TRUE(Button(sdUp).FaceTransparent);
  EXPECT_EQ(Letter(PixelAt(60, 5)), 'w');
  Hover({10, 10});
  EXPECT_FALSE(Button(sdUp).FaceTransparent);
  EXPECT_EQ(Letter(PixelAt(60, 5)), 'f');
}

TEST_F(FrameForm, UnassignedStyleValuesResolveFromTheLookAndFeelAndTheMainStyle) {
  TcxEditStyle& style = field->Style();
  struct TKindRow {
    TcxLookAndFeelKind Kind;
    Border Main, Raised;
  };
  const TKindRow kinds[] = {
      {TcxLookAndFeelKind::lfFlat, Border::ebsFlat, Border::ebs3D},
      {TcxLookAndFeelKind::lfStandard, Border::ebs3D, Border::ebs3D},
      {TcxLookAndFeelKind::lfUltraFlat, Border::ebsUltraFlat, Border::ebsUltraFlat},
      {TcxLookAndFeelKind::lfOffice11, Border::ebsOffice11, Border::ebsOffice11},
  };
  for (const TKindRow& row : kinds) {
    style.LookAndFeel.SetKind(row.Kind);
    EXPECT_EQ(style.BorderStyle(), row.Main);
    EXPECT_EQ(field->StyleFocused().BorderStyle(), row.Raised);
    EXPECT_EQ(field->StyleHot().BorderStyle(), row.Raised);
    EXPECT_EQ(field->StyleDisabled().BorderStyle(), row.Main);
  }
  style.SetBorderStyle(Border::ebsNone);
  EXPECT_EQ(field->StyleHot().BorderStyle(), Border::ebsFlat);
  style.SetHotTrack(false);
  EXPECT_EQ(field->StyleHot().BorderStyle(), Border::ebsNone);

  EXPECT_EQ(style.BorderColor(), clWindowFrame);
  EXPECT_EQ(field->StyleDisabled().BorderColor(), clBtnShadow);
  EXPECT_EQ(style.Color(), clWindow);
  EXPECT_EQ(field->StyleFocused().Color(), clWindow);
  EXPECT_EQ(field->StyleDisabled().Color(), clBtnFace);
  style.SetColor(clInfoBk);
  EXPECT_EQ(field->StyleHot().Color(), clInfoBk);
  EXPECT_EQ(field->StyleDisabled().Color(), clBtnFace);
  field->StyleFocused().SetColor(clYellow);
  EXPECT_EQ(field->StyleFocused().Color(), clYellow);
  EXPECT_EQ(field->StyleFocused().AssignedValues(), svColor);

  // Only the main style has edges, shadow and the like; a state style answers its.
  field->StyleHot().SetShadow(true);
  EXPECT_FALSE(field->StyleHot().Shadow());
  style.SetShadow(true);
  EXPECT_TRUE(field->StyleHot().Shadow());
  style.RestoreDefaults();
  EXPECT_FALSE(style.Shadow());
  EXPECT_EQ(style.AssignedValues(), 0u);
}

TEST_F(FrameForm, TheButtonStyleFollowsTheBorderUnlessChosen) {
  const std::pair<Border, TcxEditButtonStyle> rows[] = {
      {Border::ebsNone, TcxEditButtonStyle::btsSimple},       {Border::ebsSingle, TcxEditButtonStyle::btsHotFlat},
      {Border::ebsThick, TcxEditButtonStyle::bts3D},          {Border::ebsFlat, TcxEditButtonStyle::btsFlat},
      {Border::ebs3D, TcxEditButtonStyle::bts3D},             {Border::ebsUltraFlat, TcxEditButtonStyle::btsUltraFlat},
      {Border::ebsOffice11, TcxEditButtonStyle::btsOffice11},
  };
  for (const auto& [border, buttons] : rows) {
    field->Style().SetBorderStyle(border);
    EXPECT_EQ(Button(sdUp).Style, buttons) << static_cast<int>(border);
    Frame().PaintNow();  // every style draws
  }
  // The ultra-flat and Office borders draw as a single line, lit while in use.
  field->Style().SetBorderStyle(Border::ebsUltraFlat);
  EXPECT_EQ(field->ViewInfo().FrameStyle, TcxContainerBorderStyle::cbsSingle);
  EXPECT_EQ(Letter(PixelAt(1, 10)), 's');
  field->SetFocus();
  EXPECT_EQ(Letter(PixelAt(1, 10)), 'H');
  field->Style().SetButtonStyle(TcxEditButtonStyle::btsFlat);
  EXPECT_EQ(Button(sdUp).Style, TcxEditButtonStyle::btsFlat);
}

}  // namespace
}  // namespace vormix
