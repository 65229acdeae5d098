// The effect label on the memory desktop: where its depth copies and style copies land
// and in which colours, its automatic size, rotation, accelerator marks, clicks, and
// the cached picture that an unchanged label is repainted from.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "editors/cxLabel.h"
#include "editors/cxTextEdit.h"
#include "forms/MemoryDesktop.h"

namespace vormix {
namespace {

struct TOutput {
  TPoint At;
  TColor Color;
  bool operator==(const TOutput&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TOutput& o) {
  return out << "(" << o.At.X << ", " << o.At.Y << ") " << std::hex << o.Color << std::dec;
}

TFontSpec Font(const char* name, int height, bool bold = false) {
  TFontSpec font;
  font.Name = name;
  font.Height = -height;
  font.Bold = bold;
  return font;
}

class LabelTest : public testing::Test {
 protected:
  LabelTest() {
    form.SetClientSize(400, 300);
    label = Place<TcxLabel>(form, "cxLabel1", 10, 10);
    edit = Place<TcxTextEdit>(form, "cxTextEdit1", 10, 200);
    edit->SetTabOrder(0);
    edit->SetTabStop(true);
  }

  // The About dialog's title: depth 8 in the fun effect, lowered, bold at 25 pixels.
  void MakeTitle() {
    label->SetFont(Font("华文中宋", 25, true));
    label->SetCaption("Vormix ");
    label->Properties().SetLabelEffect(TcxLabelEffect::cxleFun);
    label->Properties().SetLabelStyle(TcxLabelStyle::cxlsLowered);
    label->Properties().SetDepth(8);
  }

  MemoryWindow& Win() { return *TMemoryDesktop::WindowOf(*label); }
  const MemoryCanvas& Paint() {
    if (!form.IsShowing()) form.Show();
    Win().PaintNow();
    return Win().Canvas();
  }
  // Every text output of the last rendering, relative to the content rectangle.
  std::vector<TOutput> Outputs() {
    Paint();
    std::vector<TOutput> outputs;
    const auto* cache = dynamic_cast<const MemoryCanvas*>(label->LabelViewInfo().LabelCache.get());
    if (!cache) return outputs;
    for (const TDrawnText& t : cache->Texts()) outputs.push_back({t.Rect.TopLeft(), t.Font.Color});
    return outputs;
  }
  const TDrawnText& LastText() {
    Paint();
    return dynamic_cast<const MemoryCanvas&>(*label->LabelViewInfo().LabelCache).Texts().back();
  }
  // A pixel of the label relative to its content rectangle.
  TColor ContentPixel(int x, int y) {
    const TRect c = label->LabelViewInfo().ContentRect;
    return Paint().Pixel(c.Left + x, c.Top + y);
  }

  TMemoryDesktop desk;
  TCustomForm form{desk.app, "Form"};
  std::unique_ptr<TcxLabel> label;
  std::unique_ptr<TcxTextEdit> edit;
};

TEST_F(LabelTest, TitleDrawsEightBlendedCopiesThenTheLoweredText) {
  MakeTitle();
  form.Show();
  EXPECT_EQ(label->Properties().DepthShift(), (TPoint{8, 8}));
  EXPECT_EQ(FontPointSize(label->Font(), 96), 19);
  EXPECT_EQ(LabelStyleOffset(TcxLabelStyle::cxlsLowered, 19), 2);

  const TColor face = ResolveMemoryColor(clBtnFace), gray = ResolveMemoryColor(clGrayText);
  std::vector<TOutput> expected;
  for (int i = 1; i <= 8; ++i) expected.push_back({{11 - i, 11 - i}, BlendLabelColor(face, gray, i, 8)});
  expected.push_back({{0, 0}, clBtnShadow});
  expected.push_back({{2, 2}, clBtnHighlight});
  expected.push_back({{1, 1}, clWindowText});
  EXPECT_EQ(Outputs(), expected);
  EXPECT_EQ(expected[7].Color, gray) << "the nearest copy is exactly the shadowed colour";

  // The content starts 2 pixels inside the label; pixels where one copy shows alone.
  EXPECT_EQ(label->LabelViewInfo().ContentRect.TopLeft(), (TPoint{2, 2}));
  EXPECT_EQ(ContentPixel(10, 33), BlendLabelColor(face, gray, 1, 8)) << "the farthest copy, nearest the face";
  EXPECT_EQ(ContentPixel(5, 26), gray) << "the copy at (3, 3)";
  EXPECT_EQ(ContentPixel(0, 5), ResolveMemoryColor(clBtnShadow));
  EXPECT_EQ(ContentPixel(12, 5), ResolveMemoryColor(clBtnHighlight));
  EXPECT_EQ(ContentPixel(3, 3), ResolveMemoryColor(clWindowText));

  // The caption's extent (7 cells of 12 x 25) plus depth 8, offset 2 and the border area.
  EXPECT_EQ(label->Width(), 84 + 8 + 2 + 4);
  EXPECT_EQ(label->Height(), 25 + 8 + 2 + 4);
}

TEST_F(LabelTest, BlendTruncatesEachByteBetweenTheColours) {
  EXPECT_EQ(BlendLabelColor(RGBColor(0xF0, 0xF0, 0xF0), RGBColor(0x6D, 0x6D, 0x6D), 1, 8),
            RGBColor(0xDF, 0xDF, 0xDF));  // 240 - 131/8 = 223.6
  EXPECT_EQ(BlendLabelColor(RGBColor(0, 10, 255), RGBColor(255, 0, 0), 1, 3), RGBColor(85, 6, 170));
  EXPECT_EQ(BlendLabelColor(RGBColor(1, 2, 3), RGBColor(4, 5, 6), 3, 3), RGBColor(4, 5, 6));
}

struct TEffectCase {
  const char* Name;
  TcxLabelEffect Effect;
  int Depth;
  TcxLabelOrientation Orientation;
  TcxLabelStyle Style;
  int FontHeight;
  std::vector<TOutput> Expected;  // clNone: the shadowed colour's turn
};

TEST_F(LabelTest, DepthCopiesAndStyleCopiesByEffectOrientationAndSize) {
  const TColor face = ResolveMemoryColor(clBtnFace), gray = ResolveMemoryColor(clGrayText);
  std::vector<TOutput> leftTop;
  for (int i = 1; i <= 8; ++i) leftTop.push_back({{i - 1, i - 1}, BlendLabelColor(face, gray, i, 8)});
  leftTop.insert(leftTop.end(), {{{8, 8}, clBtnShadow}, {{10, 10}, clBtnHighlight}, {{9, 9}, clWindowText}});
  const TEffectCase cases[] = {
      {"left top", TcxLabelEffect::cxleFun, 8, TcxLabelOrientation::cxoLeftTop, TcxLabelStyle::cxlsLowered, 25,
       leftTop},
      {"extrude", TcxLabelEffect::cxleExtrude, 3, TcxLabelOrientation::cxoRight, TcxLabelStyle::cxlsNormal, 20,
       {{{3, 0}, clGrayText}, {{2, 0}, clGrayText}, {{1, 0}, clGrayText}, {{0, 0}, clWindowText}}},
      {"cool", TcxLabelEffect::cxleCool, 5, TcxLabelOrientation::cxoRightBottom, TcxLabelStyle::cxlsNormal, 20,
       {{{5, 5}, clGrayText}, {{0, 0}, clWindowText}}},
      {"raised below 12 points", TcxLabelEffect::cxleNormal, 0, TcxLabelOrientation::cxoRightBottom,
       TcxLabelStyle::cxlsRaised, 15, {{{0, 0}, clBtnHighlight}, {{1, 1}, clWindowText}}},
      {"raised from 12 points", TcxLabelEffect::cxleNormal, 0, TcxLabelOrientation::cxoRightBottom,
       TcxLabelStyle::cxlsRaised, 16, {{{0, 0}, clBtnHighlight}, {{2, 2}, clBtnShadow}, {{1, 1}, clWindowText}}},
      {"fun without depth", TcxLabelEffect::cxleFun, 0, TcxLabelOrientation::cxoRightBottom,
       TcxLabelStyle::cxlsNormal, 20, {{{0, 0}, clWindowText}}},
  };
  for (const TEffectCase& c : cases) {
    SCOPED_TRACE(c.Name);
    label->SetFont(Font("Arial", c.FontHeight));
    label->SetCaption("AB");
    label->Properties().SetLabelEffect(c.Effect);
    label->Properties().SetDepth(static_cast<unsigned short>(c.Depth));
    label->Properties().SetOrientation(c.Orientation);
    label->Properties().SetLabelStyle(c.Style);
    EXPECT_EQ(Outputs(), c.Expected);
  }
  // Without depth nothing is shifted: the label is the text's extent plus the border area.
  EXPECT_EQ(label->Properties().DepthShift(), (TPoint{0, 0}));
  EXPECT_EQ(label->Width(), 20 + 4);
  EXPECT_EQ(label->Height(), 20 + 4);
}

TEST_F(LabelTest, AutoSizeIsTheTextExtentPlusTheBorderAreaAndFollowsChanges) {
  label->SetFont(Font("MS Sans Serif", 11));
  label->SetCaption("Kelvane");
  form.Show();
  EXPECT_EQ(label->Height(), 11 + 4) << "a line of the memory canvas is the character height";
  EXPECT_EQ(label->Width(), 7 * 5 + 4);
  label->SetCaption("");
  EXPECT_EQ(label->Width(), 5 + 4) << "an empty caption measures one space";
  EXPECT_TRUE(Outputs().empty() || LastText().Text.empty()) << "and draws nothing";
  label->SetCaption("Kelvane Corporation");
  EXPECT_EQ(label->Width(), 19 * 5 + 4);
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 50, 30);
  label->SetCaption("x");
  EXPECT_EQ(label->Width(), 50);
}

TEST_F(LabelTest, CaptionAndEditValueStayInStep) {
  label->SetCaption("abc");
  EXPECT_EQ(VariantToString(label->EditValue()), "abc");
  label->SetEditValue(Variant::FromInt64(42));
  EXPECT_EQ(label->Caption(), "42");
  EXPECT_EQ(label->LabelViewInfo().Text, "42");
}

TEST_F(LabelTest, OnlyTrueTypeFontsTurnAndATurnIsCentred) {
  struct TCase {
    const char* FontName;
    int Angle;
    bool Turned;
  };
  for (const TCase& c : {TCase{"Arial", 360, false}, TCase{"Arial", -360, false}, TCase{"Arial", 90, true},
                         TCase{"Arial", -270, true}, TCase{"MS Sans Serif", 90, false}}) {
    SCOPED_TRACE(std::string(c.FontName) + " " + std::to_string(c.Angle));
    label->SetFont(Font(c.FontName, 20));
    label->SetCaption("ABCD");
    label->Properties().SetAngle(c.Angle);
    const TDrawnText text = LastText();
    EXPECT_EQ(text.AtPoint, c.Turned);
    EXPECT_EQ(text.Font.Escapement, c.Turned ? 900 : 0);
    if (c.Turned) {
      // Turned a quarter: 20 wide and 40 high, the text running upwards from the bottom left.
      EXPECT_EQ(label->Width(), 20 + 4);
      EXPECT_EQ(label->Height(), 40 + 4);
      EXPECT_EQ(text.Rect.TopLeft(), (TPoint{0, 40}));
      EXPECT_EQ(ContentPixel(5, 35), ResolveMemoryColor(clWindowText));
    } else {
      EXPECT_EQ(label->Width(), 40 + 4);
      EXPECT_EQ(label->Height(), 20 + 4);
    }
  }
}

TEST_F(LabelTest, AccelCharUnderlinesAndPassesTheFocusOrShowsLiterally) {
  label->SetFont(Font("Arial", 20));
  label->SetCaption("A&B");
  label->SetFocusControl(edit.get());
  form.Show();
  EXPECT_EQ(label->Width(), 20 + 4) << "'AB' with B underlined";
  EXPECT_EQ(ContentPixel(15, 19), ResolveMemoryColor(clWindowText)) << "the underline below B";
  EXPECT_EQ(AccelCharOf(label->Caption()), U'B');
  edit->SetTabStop(false);
  form.FocusControl(nullptr);
  EXPECT_TRUE(form.DialogChar(u'b'));
  EXPECT_TRUE(desk.HasFocus(*edit));

  label->Properties().SetShowAccelChar(false);
  EXPECT_EQ(label->Width(), 30 + 4) << "'A&B' shown literally";
  EXPECT_FALSE(form.DialogChar(u'b'));
  EXPECT_EQ(RemoveAccelChars("A&B&&C&"), "AB&C_");

  label->Properties().SetShowAccelChar(true);
  label->SetFocusControl(label.get());
  EXPECT_EQ(label->FocusControl(), edit.get()) << "the label itself is refused";
  edit.reset();
  EXPECT_EQ(label->FocusControl(), nullptr) << "cleared when the control goes";
  EXPECT_FALSE(form.DialogChar(u'b'));
}

TEST_F(LabelTest, ClickFiresOnReleaseOverTheLabelOnly) {
  int clicks = 0;
  label->SetCaption("link");
  label->OnClick = [&](TObject&) { ++clicks; };
  form.Show();
  MemoryWindow& formWindow = *TMemoryDesktop::WindowOf(form);
  desk.windows.MouseDown(Win(), {3, 3});
  desk.windows.MouseUp(Win(), {3, 3});
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(desk.HasFocus(*label)) << "the label never takes the focus";
  desk.windows.MouseDown(Win(), {3, 3});
  desk.windows.MouseUp(formWindow, {300, 250});
  EXPECT_EQ(clicks, 1) << "released outside";
  desk.windows.MouseDown(formWindow, {300, 250});
  desk.windows.MouseUp(Win(), {3, 3});
  EXPECT_EQ(clicks, 2) << "any release over the label counts";
}

TEST_F(LabelTest, AnUnchangedLabelRepaintsFromItsCache) {
  MakeTitle();
  form.Show();
  Paint();
  const int renders = label->LabelViewInfo().CacheRenders;
  const TImage first = Paint().Image();
  Paint();
  EXPECT_EQ(label->LabelViewInfo().CacheRenders, renders) << "painted by one copy";
  EXPECT_EQ(Paint().Image(), first);
  label->SetCaption("Vormix");
  Paint();
  EXPECT_EQ(label->LabelViewInfo().CacheRenders, renders + 1) << "a new caption renders again";
  label->SetBounds(20, 20, label->Width(), label->Height());
  Paint();
  EXPECT_EQ(label->LabelViewInfo().CacheRenders, renders + 2) << "so does a move";
  label->Properties().SetTransparent(true);
  Paint();
  Paint();
  EXPECT_EQ(label->LabelViewInfo().CacheRenders, renders + 4) << "a transparent label renders every time";
}

TEST_F(LabelTest, BorderlessLabelKeepsTheClassicLookAndTheFaceColour) {
  desk.themes.Active = true;
  desk.windows.BroadcastThemeChanged();
  label->Style().LookAndFeel.SetNativeStyle(true);
  label->SetParentColor(false);
  form.Show();
  EXPECT_FALSE(label->ViewInfo().Native);
  EXPECT_EQ(label->Style().BorderStyle(), TcxEditBorderStyle::ebsNone);
  EXPECT_EQ(label->LabelViewInfo().BackgroundColor, clBtnFace);
  EXPECT_EQ(ContentPixel(0, 0), ResolveMemoryColor(clBtnFace));
}

}  // namespace
}  // namespace vormix
