// The main window's seventeen fields with their frames and spin buttons in both looks,
// stepped by their buttons and keys, and what the generator reads after stepping.
#include <gtest/gtest.h>

#include <string>

#include "app/MainFormFixture.h"

namespace vormix {
namespace {

using MainFormFields = MainFormTest;

TPoint ButtonPoint(const TNumericField& field, int index) {
  for (const TcxEditButtonViewInfo& b : field.ViewInfo().Buttons)
    if (b.Index == index) return {(b.Bounds.Left + b.Bounds.Right) / 2, (b.Bounds.Top + b.Bounds.Bottom) / 2};
  ADD_FAILURE() << field.Name() << " has no button " << index;
  return {};
}

TEST_F(MainFormFields, EveryFieldHasItsFrameAndTwoSpinButtonsInBothLooks) {
  for (int n = 1; n <= 17; ++n) {
    const TNumericField& field = form.Field(n);
    SCOPED_TRACE(field.Name());
    EXPECT_FALSE(field.ViewInfo().Native);
    EXPECT_EQ(field.ViewInfo().FrameStyle, TcxContainerBorderStyle::cbs3D);
    ASSERT_EQ(field.ViewInfo().Buttons.size(), 2u);
    EXPECT_EQ(field.ViewInfo().Buttons[0].Style, TcxEditButtonStyle::bts3D);
    EXPECT_EQ(field.Height(), 20);
    EXPECT_EQ(desk.WindowOf(field)->Region(), TRegion({0, 0, 75, 20}));
  }
  desk.themes.Active = true;
  desk.windows.BroadcastThemeChanged();
  for (int n = 1; n <= 17; ++n) {
    const TNumericField& field = form.Field(n);
    SCOPED_TRACE(field.Name());
    EXPECT_TRUE(field.ViewInfo().Native);
    ASSERT_EQ(field.ViewInfo().Buttons.size(), 2u);
    EXPECT_EQ(field.ViewInfo().Buttons[1].ThemeClass, tcSpin);
    EXPECT_EQ(field.ViewInfo().Buttons[1].ThemePart, 1);
    EXPECT_EQ(desk.WindowOf(field)->Region(), std::nullopt);
  }
}

TEST_F(MainFormFields, ASteppedValueIsWhatTheGeneratorUses) {
  form.cxMemo1->SetText("x%d");
  auto click = [&](int button) {
    MemoryWindow& frame = *desk.WindowOf(*form.cxSpinEdit1);
    desk.windows.MouseDown(frame, ButtonPoint(*form.cxSpinEdit1, button));
    desk.windows.MouseUp(frame, ButtonPoint(*form.cxSpinEdit1, button));
  };
  click(sdUp);
  EXPECT_EQ(form.cxSpinEdit1->Text(), "1");
  click(sdDown);
  click(sdDown);
  EXPECT_EQ(form.cxSpinEdit1->Text(), "-1");
  EXPECT_EQ(VariantToInt64(form.cxSpinEdit1->Value()), -1) << "read while still focused";

  // The count by keys: Page Down from 100, then Up; then typed and stepped once more.
  form.cxSpinEdit17->SetFocus();
  desk.windows.PressKey(vk::Next);
  desk.windows.PressKey(vk::Up);
  EXPECT_EQ(form.cxSpinEdit17->Text(), "91");
  Type(*form.cxSpinEdit17, "2");
  desk.windows.PressKey(vk::Up);
  Press(*form.cxButton1);
  EXPECT_EQ(Results(), "x-1\r\nx0\r\nx1\r\n");
  // Leaving for the button committed both.
  EXPECT_EQ(form.cxSpinEdit1->EditValue().Type(), VarType::Int64);
  EXPECT_EQ(VariantToInt64(form.cxSpinEdit1->EditValue()), -1);
  EXPECT_EQ(VariantToInt64(form.cxSpinEdit17->EditValue()), 3);
}

}  // namespace
}  // namespace vormix
