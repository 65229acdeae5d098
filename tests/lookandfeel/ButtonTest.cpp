// The drawn push button on the memory desktop: where glyph and caption go, what each
// state looks like under both painters, the focus mark, the hot look on the manual
// clock, and the keys and presses that click it.
#include <gtest/gtest.h>
// On Windows the test framework brings in the system headers, whose DrawText and
// TextOut macros would rename the canvas operations that the failing canvas inherits.
#undef DrawText
#undef TextOut

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "forms/MemoryDesktop.h"
#include "forms/Menus.h"
#include "forms/StdCtrls.h"
#include "lookandfeel/cxButtons.h"

namespace vormix {
namespace {

TColor Rgb(TColor c) { return ResolveMemoryColor(c); }
TColor Inverted(TColor c) { return ~Rgb(c) & 0xFFFFFF; }

// "生成命令" measures 48 x 12 in the memory canvas's cells, as the documented example.
constexpr const char* kCaption = "生成命令";

class ButtonTest : public testing::Test {
 protected:
  ButtonTest() {
    form.SetClientSize(300, 200);
    for (TcxButton* b : {button.get(), other.get()}) {
      b->LookAndFeel().SetKind(TcxLookAndFeelKind::lfStandard);
      b->LookAndFeel().SetNativeStyle(true);
      b->OnClick = [this, b](TObject&) { clicks.push_back(b->Name()); };
    }
    button->SetCaption(kCaption);
    other->SetCaption("退出");
    form.Show();  // the focus goes to the edit, first in the tab order
  }

  MemoryWindow& Win(TWinControl& c) const { return *TMemoryDesktop::WindowOf(c); }
  // The button's picture, painted now through its draw request.
  const MemoryCanvas& Picture() {
    Win(*button).PaintNow();
    return Win(*button).Canvas();
  }
  TColor Px(int x, int y) { return Win(*button).Canvas().Pixel(x, y); }
  // The texts one paint draws, on a canvas of the button's size (the themed face's
  // own empty text left out).
  std::vector<TDrawnText> PaintedTexts() {
    MemoryCanvas canvas(button->Width(), button->Height());
    button->Paint(canvas);
    std::vector<TDrawnText> texts;
    for (const TDrawnText& t : canvas.Texts())
      if (!t.Text.empty()) texts.push_back(t);
    return texts;
  }
  // Whether the control's window is the newest of the system: made anew just now.
  bool IsNewestWindow(const TWinControl& c) const { return desk.windows.Windows().back() == TMemoryDesktop::WindowOf(c); }
  void SwitchTheme(bool active) {
    desk.themes.Active = active;
    desk.windows.BroadcastThemeChanged();
  }
  TPoint Centre(TWinControl& c) const { return {c.Width() / 2, c.Height() / 2}; }

  TMemoryDesktop desk;
  TCustomForm form{desk.app, "Form"};
  std::unique_ptr<TEdit> edit = Place<TEdit>(form, "edit", 0, 0, 100, 20);
  std::unique_ptr<TcxButton> button = Place<TcxButton>(form, "button", 10, 40, 70, 25);
  std::unique_ptr<TcxButton> other = Place<TcxButton>(form, "other", 10, 100, 70, 25);
  std::vector<std::string> clicks;
};

// ---------------------------------------------------------------------------------------
// Layout of glyph and caption

TEST(ButtonLayout, PlacesGlyphAndCaptionWithTheDocumentedArithmetic) {
  struct TCase {
    const char* What;
    TSize Client, Glyph, TextSize;
    TButtonLayout Layout;
    int Margin, Spacing;
    TPoint GlyphAt;
    TRect TextBox;
  };
  const TCase cases[] = {
      // No glyph: the spacing counts as 0 and the margin centres the caption.
      {"caption only", {70, 25}, {0, 0}, {48, 12}, blGlyphLeft, -1, 4, {11, 12}, {11, 6, 59, 18}},
      // An odd free height puts the caption half a pixel higher.
      {"odd free height", {70, 24}, {0, 0}, {48, 12}, blGlyphLeft, -1, 4, {11, 12}, {11, 5, 59, 17}},
      // Margin and spacing both free: a third each of what is left.
      {"both free", {70, 25}, {16, 16}, {30, 12}, blGlyphLeft, -1, -1, {8, 4}, {32, 6, 62, 18}},
      {"margin free", {70, 25}, {16, 16}, {30, 12}, blGlyphLeft, -1, 4, {10, 4}, {30, 6, 60, 18}},
      {"spacing free", {70, 25}, {16, 16}, {30, 12}, blGlyphLeft, 2, -1, {2, 4}, {29, 6, 59, 18}},
      {"glyph right", {70, 25}, {16, 16}, {30, 12}, blGlyphRight, 3, 4, {51, 4}, {17, 6, 47, 18}},
      {"glyph top", {60, 50}, {16, 16}, {30, 12}, blGlyphTop, -1, 4, {22, 9}, {15, 29, 45, 41}},
      {"glyph bottom", {60, 50}, {16, 16}, {30, 12}, blGlyphBottom, 5, 2, {22, 29}, {15, 15, 45, 27}},
      // Glyph without caption: no spacing either.
      {"glyph only", {70, 25}, {16, 16}, {0, 0}, blGlyphLeft, -1, 4, {27, 4}, {43, 12, 43, 12}},
  };
  for (const TCase& c : cases) {
    const TcxButtonContentPlace place = LayoutGlyphAndCaption(c.Client, c.Glyph, c.TextSize, c.Layout, c.Margin, c.Spacing);
    EXPECT_EQ(place.Glyph, c.GlyphAt) << c.What;
    EXPECT_EQ(place.Text, c.TextBox) << c.What;
  }
}

TEST_F(ButtonTest, CaptionBoxMovesWhenPressedUnderTheStandardPainterOnly) {
  std::vector<TDrawnText> texts = PaintedTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].Rect, (TRect{11, 6, 59, 18}));
  EXPECT_EQ(texts[0].Flags, dtCenter | dtVCenter);
  EXPECT_EQ(texts[0].Font.Color, clBtnText);
  // The pixels of the window itself: the first character's block starts at the box.
  EXPECT_EQ(Picture().Pixel(11, 6), Rgb(clBtnText));
  EXPECT_EQ(Px(10, 6), Rgb(clBtnFace));
  EXPECT_EQ(Px(11, 5), Rgb(clBtnFace));

  desk.windows.MouseDown(*button->Window(), Centre(*button));
  ASSERT_EQ(button->PaintState(), cxbsPressed);
  EXPECT_EQ(Px(12, 7), Rgb(clBtnText)) << "the window was drawn pressed at once";
  EXPECT_EQ(Px(11, 6), Rgb(clBtnFace));
  EXPECT_EQ(PaintedTexts().at(0).Rect, (TRect{12, 7, 60, 19}));
  desk.windows.MouseUp(*button->Window(), Centre(*button));

  SwitchTheme(true);
  desk.windows.MouseDown(*button->Window(), Centre(*button));
  ASSERT_EQ(button->PaintState(), cxbsPressed);
  EXPECT_EQ(PaintedTexts().at(0).Rect, (TRect{11, 6, 59, 18})) << "the native painter does not shift";
  desk.windows.MouseUp(*button->Window(), Centre(*button));
}

TEST_F(ButtonTest, TheCaptionIsClippedInsideTheFrameOfItsState) {
  button->SetCaption("a very long caption indeed");  // wider than the button
  Picture();
  for (int y = 0; y < 25; ++y) {
    EXPECT_NE(Px(1, y), Rgb(clBtnText)) << "row " << y;
    EXPECT_NE(Px(68, y), Rgb(clBtnText)) << "row " << y;
  }
  EXPECT_EQ(Px(2, 6), Rgb(clBtnText)) << "the caption reaches the frame";
  // Focused, the Standard frame is a line thicker, and so is the clip.
  button->SetFocus();
  Picture();
  EXPECT_EQ(Px(2, 7), Rgb(cl3DLight));
  EXPECT_EQ(Px(3, 7), Rgb(clBtnText));
}

// A canvas that cannot draw pictures, as one out of memory for a bitmap would.
class TFailingPictureCanvas : public MemoryCanvas {
 public:
  using MemoryCanvas::MemoryCanvas;
  void DrawImageTransparent(TPoint, const TImage&, TColor) override { throw std::runtime_error("no pictures today"); }
};

TEST_F(ButtonTest, AFailingGlyphStillGivesTheCanvasItsClipBack) {
  button->SetGlyph(TImage(8, 8, clRed));
  TFailingPictureCanvas canvas(70, 25);
  EXPECT_THROW(button->Paint(canvas), std::runtime_error);
  EXPECT_FALSE(canvas.GetClipRegion().has_value()) << "no clip, as before the paint";
  canvas.IntersectClipRect({0, 0, 50, 20});
  const std::optional<TRegion> before = canvas.GetClipRegion();
  EXPECT_THROW(button->Paint(canvas), std::runtime_error);
  EXPECT_EQ(canvas.GetClipRegion(), before);
}

// ---------------------------------------------------------------------------------------
// What the states look like

TEST_F(ButtonTest, FocusedButtonDrawsTheDefaultFrameAndTheFocusMarkFourPixelsInside) {
  button->SetFocus();
  ASSERT_EQ(button->PaintState(), cxbsDefault);
  Picture();
  // Black all round, then the normal two rings.
  EXPECT_EQ(Px(0, 0), Rgb(clBlack));
  EXPECT_EQ(Px(69, 24), Rgb(clBlack));
  EXPECT_EQ(Px(1, 1), Rgb(clBtnHighlight));
  EXPECT_EQ(Px(68, 23), Rgb(cl3DDkShadow));
  EXPECT_EQ(Px(2, 2), Rgb(cl3DLight));
  EXPECT_EQ(Px(67, 22), Rgb(clBtnShadow));
  EXPECT_EQ(Px(3, 3), Rgb(clBtnFace));
  // The dotted mark on the rectangle (4, 4)-(66, 21): every other pixel inverted.
  int inverted = 0;
  for (int x = 4; x < 66; ++x) inverted += Px(x, 4) == Inverted(clBtnFace);
  EXPECT_EQ(inverted, 31);
  EXPECT_EQ(Px(65, 4) == Inverted(clBtnFace), Px(64, 4) != Inverted(clBtnFace)) << "dotted";
  for (int y = 4; y < 21; ++y) EXPECT_NE(Px(3, y), Inverted(clBtnFace));
  EXPECT_NE(Px(10, 10), Inverted(clBtnFace)) << "nothing inside the mark";

  // Without the focus: the normal frame and no mark.
  edit->SetFocus();
  Picture();
  EXPECT_EQ(Px(0, 0), Rgb(clBtnHighlight));
  for (int x = 4; x < 66; ++x) EXPECT_EQ(Px(x, 4), Rgb(clBtnFace)) << x;
}

TEST_F(ButtonTest, NativeFocusMarkLiesOnTheThemesContentRectangle) {
  SwitchTheme(true);
  desk.themes.SetContentMargins("Button", 1, 1, {3, 3, 3, 3});
  button->SetFocus();
  Picture();
  const TColor face = MemoryThemeLibrary::FillColor("Button", 1, 5);
  EXPECT_EQ(Px(6, 3), ~face & 0xFFFFFF);
  EXPECT_EQ(Px(6, 2), face);
  EXPECT_EQ(Px(6, 4), face);
}

TEST_F(ButtonTest, DisabledCaptionIsEmbossedWithEveryPainter) {
  button->SetEnabled(false);
  ASSERT_EQ(button->PaintState(), cxbsDisabled);
  Picture();
  EXPECT_EQ(Px(11, 6), Rgb(clBtnShadow));
  EXPECT_EQ(Px(22, 17), Rgb(clBtnHighlight)) << "the highlight copy shows below and right of each block";
  EXPECT_EQ(Px(10, 6), Rgb(clBtnFace));

  SwitchTheme(true);
  desk.themes.SetColor("Button", 1, 4, TMT_TEXTCOLOR, clGray);
  const std::vector<TDrawnText> texts = PaintedTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Rect, (TRect{12, 7, 60, 19}));
  EXPECT_EQ(texts[0].Font.Color, clBtnHighlight);
  EXPECT_EQ(texts[1].Rect, (TRect{11, 6, 59, 18}));
  EXPECT_EQ(texts[1].Font.Color, clGray) << "the theme's disabled text colour";
}

TEST_F(ButtonTest, GetDrawParamsRedFaceShowsUnderStandardButNotUnderTheTheme) {
  std::vector<TcxButtonState> asked;
  button->OnGetDrawParams = [&](TcxCustomButton&, TcxButtonState state, TColor& color, TFontSpec& font) {
    asked.push_back(state);
    color = clRed;
    font.Color = clBlue;
  };
  Picture();
  EXPECT_EQ(Px(5, 12), Rgb(clRed));
  EXPECT_EQ(Px(11, 6), Rgb(clBlue));
  EXPECT_EQ(asked, std::vector<TcxButtonState>{cxbsNormal});

  SwitchTheme(true);
  Picture();
  EXPECT_EQ(Px(5, 12), MemoryThemeLibrary::FillColor("Button", 1, 1));
  EXPECT_EQ(Px(11, 6), Rgb(clBlue)) << "the font still comes from the handler";

  // Without the "Button" class the native painter draws classic, with the handler's face.
  desk.themes.SetClassOpens("Button", false);
  desk.windows.BroadcastThemeChanged();
  Picture();
  EXPECT_EQ(Px(5, 12), Rgb(clRed));
}

TEST_F(ButtonTest, ColorsPerStateOnlyReplaceTheDefaultsTheyAssign) {
  button->Colors().SetHot(clLime);
  button->Colors().SetNormal(clYellow);
  EXPECT_EQ(button->Colors().AssignedColors(), ButtonStateBit(cxbsHot) | ButtonStateBit(cxbsNormal));
  Picture();
  EXPECT_EQ(Px(5, 12), Rgb(clYellow));
  button->Colors().SetNormal(clNone);  // back to the painter's choice
  EXPECT_EQ(button->Colors().Normal(), clDefault);
  EXPECT_EQ(button->Colors().AssignedColors(), ButtonStateBit(cxbsHot));
  EXPECT_TRUE(Win(*button).IsInvalid()) << "every write repaints";
  Picture();
  EXPECT_EQ(Px(5, 12), Rgb(clBtnFace));
}

TEST_F(ButtonTest, PartlyTransparentThemedPartsGetTheParentsBackgroundFirst) {
  SwitchTheme(true);
  Picture();
  EXPECT_TRUE(desk.themes.CallsOf("DrawThemeParentBackground").empty());
  desk.themes.SetPartiallyTransparent("Button", 1, 1, true);
  desk.themes.ClearCalls();
  Picture();
  const std::vector<TThemeCall> calls = desk.themes.CallsOf("DrawThemeParentBackground");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Rect, (TRect{0, 0, 70, 25}));
  // Before the face is drawn.
  const std::vector<TThemeCall>& all = desk.themes.Calls();
  auto parent = std::find_if(all.begin(), all.end(), [](const TThemeCall& c) { return c.Operation == "DrawThemeParentBackground"; });
  auto face = std::find_if(all.begin(), all.end(), [](const TThemeCall& c) { return c.Operation == "DrawThemeBackground"; });
  EXPECT_LT(parent - all.begin(), face - all.begin());
}

TEST_F(ButtonTest, StateForDrawingTakesTheFirstRuleThatMatches) {
  EXPECT_EQ(button->PaintState(), cxbsNormal);
  button->SetFocus();
  EXPECT_EQ(button->PaintState(), cxbsDefault) << "focused";

  SwitchTheme(true);
  desk.windows.MoveMouse(*button->Window(), {5, 5});
  EXPECT_EQ(button->PaintState(), cxbsHot) << "hot before focused";
  desk.windows.MouseDown(*button->Window(), {5, 5});
  EXPECT_EQ(button->PaintState(), cxbsPressed) << "pressed before hot";
  button->SetEnabled(false);
  EXPECT_EQ(button->PaintState(), cxbsDisabled) << "disabled before everything";
  button->SetEnabled(true);
  desk.windows.MouseUp(*button->Window(), {5, 5});

  // The default button looks like one while the focus is on a control that is no button.
  other->Default = true;
  edit->SetFocus();
  EXPECT_TRUE(other->IsDefaultLook());
  EXPECT_EQ(other->PaintState(), cxbsDefault);
  button->SetFocus();
  EXPECT_FALSE(other->IsDefaultLook()) << "another button has the focus";
  EXPECT_TRUE(button->IsDefaultLook());
  EXPECT_EQ(other->PaintState(), cxbsNormal);
}

TEST_F(ButtonTest, ActiveButtonLookIsRepaintedAtOnceOnEveryFocusChange) {
  other->Default = true;
  button->SetFocus();
  const int before = Win(*other).PaintCount();
  edit->SetFocus();
  EXPECT_EQ(Win(*other).PaintCount(), before + 1) << "it now looks like the default button";
  EXPECT_EQ(Win(*other).Canvas().Pixel(0, 0), Rgb(clBlack));
  button->SetFocus();
  EXPECT_EQ(Win(*other).PaintCount(), before + 2);
  EXPECT_EQ(Win(*other).Canvas().Pixel(0, 0), Rgb(clBtnHighlight));
}

TEST_F(ButtonTest, BackgroundIsErasedOnlyUnderTheNativePainter) {
  INativeWindowHandler& handler = Win(*button).Handler();
  EXPECT_TRUE(handler.NativeEraseBackground()) << "classic: the paint covers every pixel";
  SwitchTheme(true);
  EXPECT_FALSE(handler.NativeEraseBackground());
}

// ---------------------------------------------------------------------------------------
// The hot look on the manual clock

TEST_F(ButtonTest, HotLookUnderTheNativePainterEntersAtOnceAndLeavesWithTheCursorWatch) {
  SwitchTheme(true);
  const int before = Win(*button).PaintCount();
  desk.windows.MoveMouse(*button->Window(), {5, 5});
  EXPECT_TRUE(button->IsHot());
  EXPECT_EQ(Win(*button).PaintCount(), before + 1) << "repainted at once";
  EXPECT_EQ(Px(5, 12), MemoryThemeLibrary::FillColor("Button", 1, 2));
  desk.windows.MoveMouse(*button->Window(), {30, 10});
  EXPECT_EQ(Win(*button).PaintCount(), before + 1) << "moving inside changes nothing";

  // The pointer leaves without the window hearing of it: the 10 ms watch sees it.
  desk.windows.SetCursorPos(button->Window()->ClientToScreen({80, 10}));
  desk.windows.AdvanceTime(9);
  EXPECT_TRUE(button->IsHot());
  desk.windows.AdvanceTime(1);
  EXPECT_FALSE(button->IsHot());
  EXPECT_TRUE(Win(*button).IsInvalid()) << "repainted normal through the next paint";
  Win(*button).Update();
  EXPECT_EQ(Px(5, 12), MemoryThemeLibrary::FillColor("Button", 1, 1));

  // Leaving through the window's own notification ends it the same way.
  desk.windows.MoveMouse(*button->Window(), {5, 5});
  ASSERT_TRUE(button->IsHot());
  desk.windows.MoveMouse(*edit->Window(), {5, 5});
  EXPECT_FALSE(button->IsHot());
}

TEST_F(ButtonTest, StandardPainterShowsNoHotLookAndWatchesNothing) {
  const int before = Win(*button).PaintCount();
  desk.windows.MoveMouse(*button->Window(), {5, 5});
  EXPECT_FALSE(button->IsHot());
  EXPECT_EQ(Win(*button).PaintCount(), before);
  desk.windows.SetCursorPos({0, 0});
  desk.windows.AdvanceTime(100);
  EXPECT_EQ(Win(*button).PaintCount(), before);

  // Disabled, the native painter shows none either.
  SwitchTheme(true);
  button->SetEnabled(false);
  desk.windows.MoveMouse(*button->Window(), {6, 6});
  EXPECT_FALSE(button->IsHot());
}

TEST_F(ButtonTest, HotLookWaitsWhileTheMouseIsCapturedAndComesBackWhenTheCaptureEnds) {
  SwitchTheme(true);
  // Another control holds the capture: entering the button does not make it hot.
  edit->Window()->SetCapture();
  desk.windows.MoveMouse(*button->Window(), {5, 5});
  EXPECT_FALSE(button->IsHot());
  desk.windows.CancelMode();  // the capture ends; the system moves the pointer where it is
  EXPECT_TRUE(button->IsHot()) << "the pointer is over the button";

  // A press on the button captures the mouse; released over it, it is hot again.
  desk.windows.MouseDown(*button->Window(), {5, 5});
  desk.windows.MouseUp(*button->Window(), {5, 5});
  EXPECT_TRUE(button->IsHot());
  EXPECT_EQ(clicks, std::vector<std::string>{"button"});

  // Released elsewhere, it is not.
  desk.windows.MouseDown(*button->Window(), {5, 5});
  desk.windows.MouseUp(*button->Window(), {120, 5});
  EXPECT_FALSE(button->IsHot());
  EXPECT_EQ(clicks.size(), 1u) << "released outside: no click";

  // Becoming disabled ends the hot look.
  desk.windows.MoveMouse(*button->Window(), {5, 5});
  ASSERT_TRUE(button->IsHot());
  button->SetEnabled(false);
  EXPECT_FALSE(button->IsHot());
  EXPECT_TRUE(Win(*button).IsInvalid());
}

// ---------------------------------------------------------------------------------------
// Keys and clicks

TEST_F(ButtonTest, SpaceAndEnterClickTheFocusedButtonEscapeTheCancelButton) {
  button->SetFocus();
  desk.windows.PressKey(vk::Space);
  desk.windows.PressKey(vk::Return);
  EXPECT_EQ(clicks, (std::vector<std::string>{"button", "button"}));
  desk.windows.PressKey(vk::Return, ssShift);
  desk.windows.PressKey(vk::Return, ssCtrl);
  EXPECT_EQ(clicks.size(), 2u) << "not with a modifier";

  other->Cancel = true;
  desk.windows.PressKey(vk::Escape);
  EXPECT_EQ(clicks.back(), "other");

  // From a control that is no button, Enter clicks the default button, and only that.
  clicks.clear();
  edit->SetFocus();
  desk.windows.PressKey(vk::Return);
  EXPECT_TRUE(clicks.empty());
  other->Default = true;
  desk.windows.PressKey(vk::Return);
  EXPECT_EQ(clicks, std::vector<std::string>{"other"});
  button->SetFocus();
  desk.windows.PressKey(vk::Return);
  EXPECT_EQ(clicks.back(), "button") << "a focused button is the active one";
}

TEST_F(ButtonTest, AmpersandCaptionUnderlinesItsLetterAndTheLetterClicks) {
  button->SetCaption("&Save");
  Picture();
  // "Save" is 24 wide: the box starts at 23; the S has the underline on its last row.
  EXPECT_EQ(Px(23, 6), Rgb(clBtnText));
  EXPECT_EQ(Px(28, 17), Rgb(clBtnText));
  EXPECT_EQ(Px(29, 17), Rgb(clBtnFace)) << "the a is not underlined";

  other->SetFocus();
  desk.windows.TypeText("s");
  EXPECT_EQ(clicks, std::vector<std::string>{"button"}) << "typed on a control that takes no characters";
  edit->SetFocus();
  desk.windows.TypeText("S");
  EXPECT_EQ(clicks.size(), 1u) << "typed into the edit, it is text";
  EXPECT_EQ(edit->Text(), "S");
  desk.windows.PressKey(vk::Letter('S'), ssAlt);
  EXPECT_EQ(clicks.size(), 2u) << "Alt+S from anywhere";
  button->SetEnabled(false);
  desk.windows.PressKey(vk::Letter('S'), ssAlt);
  EXPECT_EQ(clicks.size(), 2u) << "not while it cannot take the focus";

  EXPECT_EQ(AcceleratorOf("&Save"), u'S');
  EXPECT_EQ(AcceleratorOf("Fish && &Chips"), u'C');
  EXPECT_EQ(AcceleratorOf("No && accelerator"), 0);
  EXPECT_EQ(AcceleratorOf("End&"), 0);
}

TEST_F(ButtonTest, ClickGivesTheFormTheButtonsModalResult) {
  button->ModalResult = 2;
  button->SetFocus();
  desk.windows.PressKey(vk::Space);
  EXPECT_EQ(form.ModalResult(), 2);
  other->SetFocus();
  desk.windows.PressKey(vk::Space);
  EXPECT_EQ(form.ModalResult(), 0) << "0 keeps a modal form open";
}

TEST_F(ButtonTest, TwoQuickClicksAreTwoClicks) {
  desk.windows.MouseDown(*button->Window(), {5, 5});
  desk.windows.MouseUp(*button->Window(), {5, 5});
  desk.windows.MouseDown(*button->Window(), {5, 5}, TMouseButton::mbLeft, ssDouble);
  desk.windows.MouseUp(*button->Window(), {5, 5});
  EXPECT_EQ(clicks, (std::vector<std::string>{"button", "button"}));
}

// ---------------------------------------------------------------------------------------
// The window and its look-and-feel

TEST_F(ButtonTest, IsAnOwnerDrawnSystemButtonOfDefaultSize) {
  TcxButton fresh;
  EXPECT_EQ(fresh.Width(), 75);
  EXPECT_EQ(fresh.Height(), 25);
  EXPECT_TRUE(fresh.TabStop());
  EXPECT_EQ(fresh.Margin(), -1);
  EXPECT_EQ(fresh.Spacing(), 4);
  EXPECT_EQ(fresh.Kind(), cxbkStandard);
  EXPECT_EQ(fresh.Layout(), blGlyphLeft);
  fresh.SetMargin(-2);
  EXPECT_EQ(fresh.Margin(), -1) << "below -1 is ignored";

  auto& native = dynamic_cast<MemoryButton&>(Win(*button));
  EXPECT_TRUE(native.Style().OwnerDraw);
  EXPECT_FALSE(native.Style().Default);
  other->Default = true;
  other->WordWrap = true;
  other->DestroyHandle();
  other->HandleNeeded();
  EXPECT_TRUE(dynamic_cast<MemoryButton&>(Win(*other)).Style().Default);
  EXPECT_TRUE(dynamic_cast<MemoryButton&>(Win(*other)).Style().MultiLine);
}

TEST_F(ButtonTest, LookAndFeelChangeRecreatesTheWindowKeepingCaptionOrderFocusAndEnabledState) {
  other->SetEnabled(false);
  button->SetFocus();
  button->LookAndFeel().SetNativeStyle(false);
  EXPECT_TRUE(IsNewestWindow(*button));
  other->LookAndFeel().SetKind(TcxLookAndFeelKind::lfFlat);
  EXPECT_TRUE(IsNewestWindow(*other));
  EXPECT_EQ(button->Window()->Text(), kCaption);
  EXPECT_TRUE(desk.HasFocus(*button));
  EXPECT_FALSE(other->Window()->IsEnabled());
  EXPECT_TRUE(dynamic_cast<MemoryButton&>(Win(*button)).Style().OwnerDraw);
  EXPECT_EQ(form.FindNextControl(edit.get(), true), button.get()) << "the tab order is the same";

  // Setting a value equal to the one in force changes nothing.
  button->LookAndFeel().SetNativeStyle(false);
  EXPECT_FALSE(IsNewestWindow(*button));
  // A system colour change reaches every look-and-feel and recreates the window too.
  desk.windows.BroadcastSystemColorsChanged();
  EXPECT_TRUE(IsNewestWindow(*button) || IsNewestWindow(*other));
  const std::vector<MemoryWindow*>& windows = desk.windows.Windows();
  EXPECT_EQ(std::count(windows.end() - 2, windows.end(), TMemoryDesktop::WindowOf(*button)), 1);
  EXPECT_TRUE(desk.HasFocus(*button));
}

TEST_F(ButtonTest, OfficePainterBecomesNativeOrStandardByTheButtonClass) {
  button->LookAndFeel().SetKind(TcxLookAndFeelKind::lfOffice11);
  button->LookAndFeel().SetNativeStyle(false);
  EXPECT_EQ(&button->ButtonPainter(), &StandardPainter());
  SwitchTheme(true);
  EXPECT_EQ(&button->ButtonPainter(), &WinXPPainter());
  button->LookAndFeel().SetKind(TcxLookAndFeelKind::lfStandard);
  EXPECT_EQ(&button->ButtonPainter(), &StandardPainter());
}

// ---------------------------------------------------------------------------------------
// Glyphs

TImage Strip(int cells, int size, std::vector<TColor> colours) {
  TImage strip(cells * size, size, TcxButtonGlyph::kDefaultTransparentColor);
  for (int c = 0; c < cells; ++c)
    for (int y = 2; y < size - 2; ++y)
      for (int x = 2; x < size - 2; ++x) strip.Set(c * size + x, y, colours.at(static_cast<std::size_t>(c)));
  return strip;
}

TEST(ButtonGlyph, CellForEachStateAndCount) {
  struct TCase {
    TcxButtonState State;
    int Cells[4];  // for NumGlyphs 1 to 4
  };
  const TCase cases[] = {
      {cxbsNormal, {0, 0, 0, 0}},  {cxbsDefault, {0, 0, 0, 0}}, {cxbsHot, {0, 0, 0, 0}},
      {cxbsPressed, {0, 0, 2, 2}}, {cxbsDisabled, {0, 1, 1, 1}},
  };
  for (const TCase& c : cases)
    for (int n = 1; n <= 4; ++n)
      EXPECT_EQ(TcxButtonGlyph::CellFor(c.State, n), c.Cells[n - 1]) << "state " << c.State << ", " << n << " cells";
}

TEST(ButtonGlyph, SquareCellsSetTheCountAndEveryChangeDropsTheBuiltImages) {
  TcxButtonGlyph glyph;
  int changes = 0;
  glyph.OnChange = [&] { ++changes; };
  glyph.SetGlyph(Strip(3, 8, {clRed, clGreen, clBlue}));
  EXPECT_EQ(glyph.NumGlyphs(), 3);
  EXPECT_EQ(glyph.CellSize(), (TSize{8, 8}));
  EXPECT_EQ(glyph.ImageFor(cxbsPressed).At(4, 4), clBlue);
  EXPECT_EQ(glyph.ImageFor(cxbsDisabled).At(4, 4), clGreen);
  EXPECT_EQ(glyph.ImageFor(cxbsHot).At(4, 4), clRed);
  EXPECT_EQ(glyph.BuiltImages(), 3);
  glyph.ImageFor(cxbsNormal);
  EXPECT_EQ(glyph.BuiltImages(), 3) << "built once";

  glyph.SetNumGlyphs(9);
  EXPECT_EQ(glyph.NumGlyphs(), 4) << "clamped";
  EXPECT_EQ(glyph.BuiltImages(), 0);
  glyph.SetGlyph(Strip(5, 8, {clRed, clRed, clRed, clRed, clRed}));
  EXPECT_EQ(glyph.NumGlyphs(), 1) << "five square cells are one picture";
  glyph.SetGlyph(TImage(10, 8));
  EXPECT_EQ(glyph.NumGlyphs(), 1) << "not square: the count stays";
  glyph.SetGlyph(TImage());
  EXPECT_TRUE(glyph.IsEmpty());
  EXPECT_EQ(glyph.CellSize(), (TSize{0, 0}));
  EXPECT_EQ(changes, 5);
}

TEST(ButtonGlyph, OneCellIsEmbossedForTheDisabledLookAndAnOwnDisabledCellKeepsItsDrawing) {
  TcxButtonGlyph glyph;
  glyph.SetGlyph(Strip(1, 8, {clRed}));
  const TImage& disabled = glyph.ImageFor(cxbsDisabled);
  EXPECT_EQ(disabled.At(0, 0), clBtnFace);
  EXPECT_EQ(disabled.At(2, 2), clBtnShadow);
  EXPECT_EQ(disabled.At(6, 6), clBtnHighlight) << "the highlight copy one pixel right and down";
  EXPECT_EQ(disabled.At(6, 2), clBtnFace);

  TImage strip = Strip(2, 8, {clRed, clGray});
  strip.Set(8 + 3, 3, clSilver);
  glyph.SetGlyph(strip);
  const TImage& own = glyph.ImageFor(cxbsDisabled);
  EXPECT_EQ(own.At(2, 2), clBtnShadow);
  EXPECT_EQ(own.At(3, 3), clBtnFace);
  EXPECT_EQ(own.At(0, 0), TcxButtonGlyph::kDefaultTransparentColor);
}

TEST_F(ButtonTest, GlyphIsDrawnTransparentlyBesideTheCaption) {
  button->SetCaption("ab");  // 12 x 12
  button->SetGlyph(Strip(1, 8, {clRed}));
  button->SetSpacing(2);
  Picture();
  // Margin (70 - 8 - 2 - 12) / 2 = 24: glyph at x 24, y (25 - 8) / 2 = 8; text at 34.
  EXPECT_EQ(Px(24, 8), Rgb(clBtnFace)) << "the transparent border of the cell";
  EXPECT_EQ(Px(26, 10), Rgb(clRed));
  EXPECT_EQ(Px(34, 6), Rgb(clBtnText));
  EXPECT_EQ(Px(33, 6), Rgb(clBtnFace));

  button->SetEnabled(false);
  Picture();
  EXPECT_EQ(Px(26, 10), Rgb(clBtnShadow));
}


// ---------------------------------------------------------------------------------------
// The drop-down kinds and the context menu

class ButtonMenuTest : public ButtonTest {
 protected:
  ButtonMenuTest() {
    menu.Add("一", [this](TObject&) { clicks.push_back("item 1"); });
    menu.Add("二", [this](TObject&) { clicks.push_back("item 2"); }, {vk::Letter('S'), ssCtrl});
    button->SetDropDownMenu(&menu);
  }
  MemoryPopupMenus& Menus() { return desk.windows.Menus(); }
  TPoint ScreenOf(TPoint client) { return button->Window()->ClientToScreen(client); }

  TPopupMenu menu{form, "menu"};
};

TEST_F(ButtonMenuTest, DropDownButtonOpensItsMenuFromTheArrowPartAndClicksFromTheRest) {
  button->SetKind(cxbkDropDownButton);
  Picture();
  EXPECT_EQ(Px(62, 12), Rgb(clBtnText)) << "the arrow, in the part of its own";
  EXPECT_EQ(Px(55, 12), Rgb(clBtnHighlight)) << "the arrow part's frame over the main part's";

  TcxButtonState whileOpen = cxbsNormal;
  Menus().Choose = [&](const TPopupMenuRequest&) {
    whileOpen = button->PaintState();
    return 1;
  };
  desk.windows.MouseDown(*button->Window(), {62, 12});
  desk.windows.MouseUp(*button->Window(), {62, 12});
  EXPECT_TRUE(Menus().Tracked.empty()) << "it opens from the message loop, after the press";
  EXPECT_TRUE(clicks.empty()) << "the arrow part does not click";
  desk.windows.AdvanceTime(10);
  ASSERT_EQ(Menus().Tracked.size(), 1u);
  const TPopupMenuRequest& request = Menus().Tracked[0];
  EXPECT_EQ(request.At, ScreenOf({0, 25})) << "below the button, on its left edge";
  EXPECT_EQ(request.Horizontal, TMenuHorizontalAlign::mhaLeft);
  EXPECT_EQ(request.Vertical, TMenuVerticalAlign::mvaTop);
  ASSERT_EQ(request.Items.size(), 2u);
  EXPECT_EQ(request.Items[1].Caption, "二");
  EXPECT_EQ(request.Items[1].ShortCutText, "Ctrl+S");
  EXPECT_EQ(whileOpen, cxbsPressed);
  EXPECT_EQ(clicks, std::vector<std::string>{"item 2"});
  EXPECT_FALSE(button->IsMenuShowing());
  EXPECT_EQ(button->PaintState(), cxbsDefault) << "focused, no longer pressed";

  desk.windows.Click(*button->Window(), {20, 12});
  EXPECT_EQ(clicks.back(), "button");
  desk.windows.AdvanceTime(100);
  EXPECT_EQ(Menus().Tracked.size(), 1u);

  // From the keyboard: Alt or Shift with an arrow up or down.
  desk.windows.PressKey(vk::Down, ssAlt);
  desk.windows.AdvanceTime(10);
  desk.windows.PressKey(vk::Up, ssShift);
  desk.windows.AdvanceTime(10);
  desk.windows.PressKey(vk::Down);
  desk.windows.AdvanceTime(10);
  EXPECT_EQ(Menus().Tracked.size(), 3u);
}

TEST_F(ButtonMenuTest, DropDownOpensInsteadOfClickingAndAPressWhileOpenIsSwallowed) {
  button->SetKind(cxbkDropDown);
  desk.windows.Click(*button->Window());
  button->SetFocus();
  desk.windows.PressKey(vk::Space);
  desk.windows.AdvanceTime(10);
  EXPECT_EQ(Menus().Tracked.size(), 1u) << "the press and the Space made one request before it opened";
  EXPECT_TRUE(clicks.empty());

  // The user presses the button again while the menu shows: it closes, and no click.
  const int systemClicks = dynamic_cast<MemoryButton&>(Win(*button)).Clicks();
  Menus().Choose = [&](const TPopupMenuRequest&) {
    EXPECT_EQ(button->PaintState(), cxbsPressed);
    desk.windows.MouseDown(*button->Window(), {20, 12});
    EXPECT_FALSE(button->IsMenuShowing());
    desk.windows.MouseUp(*button->Window(), {20, 12});
    return -1;
  };
  desk.windows.PressKey(vk::Return);
  desk.windows.AdvanceTime(10);
  EXPECT_EQ(Menus().Tracked.size(), 2u);
  EXPECT_TRUE(clicks.empty());
  EXPECT_EQ(dynamic_cast<MemoryButton&>(Win(*button)).Clicks(), systemClicks + 1) << "the system button did click";

  // The owner may handle the request, or hand over another menu.
  TPopupMenu second{form, "second"};
  second.Add("三", [this](TObject&) { clicks.push_back("item 3"); });
  bool handle = true;
  button->OnDropDownMenuPopup = [&](TcxCustomButton&, TPopupMenu*& m, bool& handled) {
    handled = handle;
    m = &second;
  };
  Menus().Choose = [](const TPopupMenuRequest&) { return 0; };
  desk.windows.PressKey(vk::Space);
  desk.windows.AdvanceTime(10);
  EXPECT_EQ(Menus().Tracked.size(), 2u);
  handle = false;
  desk.windows.PressKey(vk::Space);
  desk.windows.AdvanceTime(10);
  ASSERT_EQ(Menus().Tracked.size(), 3u);
  EXPECT_EQ(Menus().Tracked[2].Items.at(0).Caption, "三");
  EXPECT_EQ(clicks, std::vector<std::string>{"item 3"});
  button->OnDropDownMenuPopup = nullptr;
}

TEST_F(ButtonMenuTest, DropDownMenuAlignsToTheButtonAndOpensAboveWhereTheScreenEnds) {
  button->SetKind(cxbkDropDown);
  struct TCase {
    TPopupAlignment Alignment;
    int RoomBelow;  // from the button's bottom to the end of the work area
    TPoint At;
    TMenuHorizontalAlign Horizontal;
    TMenuVerticalAlign Vertical;
  };
  // The menu is two items of 19 and a border of 4: 42 high.
  const TCase cases[] = {
      {paLeft, 500, {0, 25}, TMenuHorizontalAlign::mhaLeft, TMenuVerticalAlign::mvaTop},
      {paRight, 500, {70, 25}, TMenuHorizontalAlign::mhaRight, TMenuVerticalAlign::mvaTop},
      {paCenter, 500, {35, 25}, TMenuHorizontalAlign::mhaCenter, TMenuVerticalAlign::mvaTop},
      {paLeft, 42, {0, 25}, TMenuHorizontalAlign::mhaLeft, TMenuVerticalAlign::mvaTop},
      {paLeft, 41, {0, -2}, TMenuHorizontalAlign::mhaLeft, TMenuVerticalAlign::mvaBottom},
      {paCenter, 10, {35, -2}, TMenuHorizontalAlign::mhaCenter, TMenuVerticalAlign::mvaBottom},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Alignment) + ", room " + std::to_string(c.RoomBelow));
    button->SetPopupAlignment(c.Alignment);
    Menus().WorkArea.Bottom = ScreenOf({0, 25}).Y + c.RoomBelow;
    Menus().Tracked.clear();
    button->Click();
    desk.windows.AdvanceTime(10);
    ASSERT_EQ(Menus().Tracked.size(), 1u);
    EXPECT_EQ(Menus().Tracked[0].At, ScreenOf(c.At));
    EXPECT_EQ(Menus().Tracked[0].Horizontal, c.Horizontal);
    EXPECT_EQ(Menus().Tracked[0].Vertical, c.Vertical);
  }
}

TEST_F(ButtonMenuTest, PopupMenuRunsItsShortcutsAndOpensForTheContextMenuRequest) {
  button->SetDropDownMenu(nullptr);
  button->SetPopupMenu(&menu);
  button->SetFocus();
  desk.windows.PressKey(vk::Letter('S'), ssCtrl);
  EXPECT_EQ(clicks, std::vector<std::string>{"item 2"});
  desk.windows.PressKey(vk::Letter('S'), ssCtrl | ssShift);
  EXPECT_EQ(clicks.size(), 1u) << "another combination";

  Menus().Choose = [](const TPopupMenuRequest&) { return 0; };
  desk.windows.MouseDown(*button->Window(), {30, 10}, TMouseButton::mbRight);
  desk.windows.MouseUp(*button->Window(), {30, 10}, TMouseButton::mbRight);
  ASSERT_EQ(Menus().Tracked.size(), 1u);
  EXPECT_EQ(Menus().Tracked[0].At, ScreenOf({30, 10})) << "at the pointer";
  EXPECT_EQ(clicks.back(), "item 1");
  desk.windows.PressKey(vk::F10, ssShift);
  ASSERT_EQ(Menus().Tracked.size(), 2u);
  EXPECT_EQ(Menus().Tracked[1].At, ScreenOf({0, 0})) << "from the keyboard, at the top-left corner";
  // Without a menu the request goes on to the parent, which has none.
  other->SetFocus();
  desk.windows.PressKey(vk::Apps);
  EXPECT_EQ(Menus().Tracked.size(), 2u);

  // Only a component with the popup-menu interface is taken.
  TComponent plain("plain");
  button->SetPopupMenu(&plain);
  EXPECT_EQ(button->PopupMenu(), nullptr);
}

TEST_F(ButtonMenuTest, AMenuThatGoesAwayIsNoLongerTheButtonsMenu) {
  auto gone = std::make_unique<TPopupMenu>(form, "gone");
  button->SetDropDownMenu(gone.get());
  other->SetPopupMenu(gone.get());
  other->SetDropDownMenu(gone.get());
  gone.reset();
  EXPECT_EQ(button->DropDownMenu(), nullptr);
  EXPECT_EQ(other->PopupMenu(), nullptr);
  EXPECT_EQ(other->DropDownMenu(), nullptr);
  EXPECT_EQ(menu.Items.size(), 2u);
}

}  // namespace
}  // namespace vormix
