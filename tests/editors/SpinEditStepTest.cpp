// Stepping the numeric field: the step keys, one step's number, text and state, the
// limits and the 64-bit wrap, a held mouse press on the manual clock, what ends a press,
// the wheel, and a field that may not be edited.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "editors/SpinEditForm.h"

namespace vormix {
namespace {

class SpinEditStep : public SpinEditForm {
 protected:
  MemoryWindow& FrameOf(const TcxSpinEdit& field) const { return *desk.WindowOf(field); }
  TPoint ButtonPoint(const TcxSpinEdit& field, int index) const {
    for (const TcxEditButtonViewInfo& b : field.ViewInfo().Buttons)
      if (b.Index == index) return {(b.Bounds.Left + b.Bounds.Right) / 2, (b.Bounds.Top + b.Bounds.Bottom) / 2};
    ADD_FAILURE() << "no button " << index;
    return {};
  }
  void PressButton(TcxSpinEdit& field, int index, TShiftState shift = 0) {
    desk.windows.MouseDown(FrameOf(field), ButtonPoint(field, index), TMouseButton::mbLeft, shift);
  }
  void ReleaseButton(TcxSpinEdit& field, int index) {
    desk.windows.MouseUp(FrameOf(field), ButtonPoint(field, index));
  }
  void ClickButton(TcxSpinEdit& field, int index) {
    PressButton(field, index);
    ReleaseButton(field, index);
  }
  // Onto the field's text, off its buttons, with the left button still held.
  void SlideOffButtons(TcxSpinEdit& field) { desk.windows.MoveMouse(FrameOf(field), {1, 1}, ssLeft); }
  void SlideBack(TcxSpinEdit& field, int index) {
    desk.windows.MoveMouse(FrameOf(field), ButtonPoint(field, index), ssLeft);
  }
  void Wait(int ms) { desk.windows.AdvanceTime(ms); }
  void Wheel(int delta, TShiftState shift = 0) { desk.windows.Wheel(delta, shift); }
};

// ---------------------------------------------------------------------------------------
// Keys

struct TKeyRow {
  TKey Key;
  TShiftState Shift;
  const char* Text;
};

TEST_F(SpinEditStep, TheArrowAndPageKeysStepByTheSmallAndTheLargeIncrement) {
  const TKeyRow rows[] = {
      {vk::Up, 0, "6"},     {vk::Down, 0, "4"},       {vk::Prior, 0, "15"},
      {vk::Next, 0, "-5"},  {vk::Up, ssCtrl, "6"},    {vk::Next, ssCtrl | ssShift, "-5"},
  };
  for (const TKeyRow& row : rows) {
    TypeInto(*base, "5");
    Press(row.Key, row.Shift);
    EXPECT_EQ(base->Text(), row.Text) << row.Key << " " << row.Shift;
  }
  EXPECT_EQ(Beeps(), 0u);
}

TEST_F(SpinEditStep, WithUseCtrlIncrementOnlyCtrlMakesTheKeysStep) {
  base->Properties().SetUseCtrlIncrement(true);
  TypeInto(*base, "5");
  Press(vk::Up);
  Press(vk::Prior);
  EXPECT_EQ(base->Text(), "5");
  Press(vk::Up, ssCtrl);
  EXPECT_EQ(base->Text(), "6");
  Press(vk::Next, ssCtrl);
  EXPECT_EQ(base->Text(), "-4");
}

TEST_F(SpinEditStep, AStepKeyIsNoTypingWhileItIsHeldTheButtonShowsPressed) {
  std::vector<std::string> seen;
  base->Properties().OnChange = [&](TObject&) {
    seen.push_back(std::to_string(base->KeyPressedButton()) + " " +
                   std::to_string(static_cast<int>(base->ViewInfo().Buttons.at(1).State)));
  };
  base->SetFocus();
  Press(vk::Up);
  // The change came while the key was down: the up button (index 1) held pressed.
  EXPECT_EQ(seen, (std::vector<std::string>{"2 " + std::to_string(static_cast<int>(TcxEditButtonState::ebsPressed))}));
  EXPECT_EQ(base->KeyPressedButton(), 0) << "the key came up";
  EXPECT_FALSE(base->TextFromUser());
  EXPECT_EQ(base->Value().AsInt64(), 1);
}

// ---------------------------------------------------------------------------------------
// One step

TEST_F(SpinEditStep, AStepStartsFromTheTypedTextTheLastNumberOrZero) {
  TypeInto(*base, "12");
  Press(vk::Up);
  EXPECT_EQ(base->Text(), "13") << "a typed text is read first";
  TypeInto(*base, "");
  Press(vk::Up);
  EXPECT_EQ(base->Text(), "1") << "an empty text counts as 0";
  TypeInto(*step, "-");
  Press(vk::Up);
  EXPECT_EQ(step->Text(), "2") << "an invalid text gives the last number, 1";
}

TEST_F(SpinEditStep, AStepChangesTextAndLastNumberAndLeavingCommitsIt) {
  base->SetFocus();
  log.clear();
  Press(vk::Up);
  Press(vk::Up);
  EXPECT_EQ(base->Text(), "2");
  EXPECT_EQ(Selection(*base), "1+0") << "the caret at the end, nothing selected";
  EXPECT_EQ(StateOf(*base), "Edited");
  EXPECT_EQ(Describe(base->LastNumber()), "Int64:2");
  EXPECT_EQ(Describe(base->Value()), "Int64:2");
  EXPECT_EQ(Describe(base->EditValue()), "Byte:0") << "the edit value waits for the field to be left";
  Leave();
  EXPECT_EQ(Describe(base->EditValue()), "Int64:2");
  EXPECT_EQ(log, (Strings{"value base", "exit base", "enter step"}));

  // Escape before leaving restores the value at entry.
  base->SetFocus();
  Press(vk::Down);
  EXPECT_EQ(base->Text(), "1");
  Press(vk::Escape);
  EXPECT_EQ(base->Text(), "2");
  EXPECT_EQ(StateOf(*base), "Clean");
}

TEST_F(SpinEditStep, WithImmediatePostEveryStepIsCommittedAtOnce) {
  base->Properties().SetImmediatePost(true);
  base->SetFocus();
  Press(vk::Up);
  EXPECT_EQ(Describe(base->EditValue()), "Int64:1");
  EXPECT_EQ(base->Text(), "1");
}

TEST_F(SpinEditStep, WithoutLimitsTheSumWrapsAroundTheEndsOfTheInt64Range) {
  TypeInto(*base, "9223372036854775807");
  Press(vk::Up);
  EXPECT_EQ(base->Text(), "-9223372036854775808");
  Press(vk::Down);
  EXPECT_EQ(base->Text(), "9223372036854775807");
  Press(vk::Next);
  EXPECT_EQ(base->Text(), "9223372036854775797");
}

struct TLimitRow {
  std::int64_t From;
  TKey Key;
  const char* Text;  // after the key
  bool Changed;
};

TEST_F(SpinEditStep, AtTheLimitsAStepStopsThereAndOutsideThemOnlyAStepBackMoves) {
  base->Properties().SetMinValue(0);
  base->Properties().SetMaxValue(10);
  const TLimitRow rows[] = {
      {10, vk::Up, "10", false}, {9, vk::Prior, "10", true},  {0, vk::Down, "0", false},
      {1, vk::Next, "0", true},  {-5, vk::Down, "-5", false}, {-5, vk::Up, "0", true},
      {15, vk::Up, "15", false}, {15, vk::Down, "10", true},  {5, vk::Up, "6", true},
  };
  int changes = 0;
  base->Properties().OnChange = [&](TObject&) { ++changes; };
  for (const TLimitRow& row : rows) {
    other->SetFocus();
    base->SetValue(row.From);  // writing ignores the limits
    base->SetFocus();
    changes = 0;
    Press(row.Key);
    EXPECT_EQ(base->Text(), row.Text) << row.From << " " << row.Key;
    EXPECT_EQ(changes, row.Changed ? 1 : 0) << row.From << " " << row.Key;
    EXPECT_EQ(StateOf(*base), row.Changed ? "Edited" : "Clean") << row.From << " " << row.Key;
  }
}

TEST_F(SpinEditStep, WholeNumbersStepByTheIncrementRoundedHalvesToEven) {
  base->SetFocus();
  base->Properties().SetIncrement(0.4);
  Press(vk::Up);
  EXPECT_EQ(base->Text(), "0") << "a step of 0";
  EXPECT_EQ(StateOf(*base), "Clean");
  base->Properties().SetIncrement(2.5);
  Press(vk::Up);
  EXPECT_EQ(base->Text(), "2");
  base->Properties().SetLargeIncrement(3.5);
  Press(vk::Prior);
  EXPECT_EQ(base->Text(), "6");
}

TEST_F(SpinEditStep, AFieldThatMayNotBeEditedDoesNotStep) {
  base->Properties().SetReadOnly(true);
  base->SetFocus();
  Press(vk::Up);
  Wheel(120);
  ClickButton(*base, sdUp);
  PressButton(*base, sdUp);
  EXPECT_FALSE(base->IsRepeating()) << "no auto-repeat for a read-only field";
  Wait(1000);
  ReleaseButton(*base, sdUp);
  EXPECT_EQ(base->Text(), "0");
  EXPECT_EQ(base->KeyPressedButton(), 0);

  // An OnEditing handler that refuses has the same effect; CanEdit off does not stop steps.
  base->Properties().SetReadOnly(false);
  int asked = 0;
  base->OnEditing = [&](TObject&, bool& canEdit) {
    ++asked;
    canEdit = false;
  };
  Press(vk::Up);
  EXPECT_EQ(base->Text(), "0");
  EXPECT_GT(asked, 0);
  base->OnEditing = nullptr;
  base->Properties().SetCanEdit(false);
  Press(vk::Up);
  EXPECT_EQ(base->Text(), "1");
}

// ---------------------------------------------------------------------------------------
// The mouse

TEST_F(SpinEditStep, AHeldPressStepsAtOnceAfter400msAndThenEvery100ms) {
  PressButton(*base, sdUp);
  EXPECT_TRUE(desk.HasFocus(*base)) << "the press gave the field the focus";
  EXPECT_EQ(base->Text(), "1");
  EXPECT_EQ(base->CapturedButton(), sdUp);
  Wait(399);
  EXPECT_EQ(base->Text(), "1");
  Wait(1);
  EXPECT_EQ(base->Text(), "2");
  Wait(100);
  EXPECT_EQ(base->Text(), "3");
  Wait(250);
  EXPECT_EQ(base->Text(), "5");

  // Off the button the count pauses; back on it, a new press: at once, then 400 ms.
  SlideOffButtons(*base);
  Wait(500);
  EXPECT_EQ(base->Text(), "5");
  EXPECT_TRUE(base->IsRepeating());
  SlideBack(*base, sdUp);
  EXPECT_EQ(base->Text(), "6");
  Wait(399);
  EXPECT_EQ(base->Text(), "6");
  Wait(1);
  EXPECT_EQ(base->Text(), "7");

  ReleaseButton(*base, sdUp);
  Wait(1000);
  EXPECT_EQ(base->Text(), "7");
  EXPECT_FALSE(base->IsRepeating());
  EXPECT_FALSE(desk.windows.IsMouseCaptured());
  EXPECT_EQ(base->CapturedButton(), -1);
}

TEST_F(SpinEditStep, APressIsEndedByLosingTheFocusByAnotherKeyAndByTheSystem) {
  struct TEnd {
    const char* Name;
    std::function<void()> End;
  };
  const TEnd ends[] = {
      {"another application", [&] { desk.windows.ActivateApplication(false); }},
      {"a key that does not step", [&] { Press(vk::Left); }},
      {"a dialog", [&] { desk.windows.CancelMode(); }},
  };
  for (const TEnd& end : ends) {
    desk.windows.ActivateApplication(true);
    other->SetFocus();
    TypeInto(*base, "0");
    PressButton(*base, sdDown);
    ASSERT_EQ(base->Text(), "-1") << end.Name;
    end.End();
    EXPECT_FALSE(base->IsRepeating()) << end.Name;
    Wait(1000);
    EXPECT_EQ(base->Text(), "-1") << end.Name;
    ReleaseButton(*base, sdDown);
  }
}

TEST_F(SpinEditStep, ADoubleClickOnAButtonIsAnotherPress) {
  ClickButton(*base, sdUp);
  PressButton(*base, sdUp, ssDouble);
  ReleaseButton(*base, sdUp);
  EXPECT_EQ(base->Text(), "2");
  // Elsewhere on the frame a double click steps nothing.
  desk.windows.MouseDown(FrameOf(*base), {1, 1}, TMouseButton::mbLeft, ssDouble);
  desk.windows.MouseUp(FrameOf(*base), {1, 1});
  EXPECT_EQ(base->Text(), "2");
}

TEST_F(SpinEditStep, APressIsDroppedWhenAnotherFieldKeepsTheFocus) {
  TypeInto(*step, "-");
  PressButton(*base, sdUp);
  EXPECT_TRUE(desk.HasFocus(*step)) << "the invalid text kept the focus";
  EXPECT_FALSE(desk.windows.IsMouseCaptured());
  EXPECT_FALSE(base->IsRepeating());
  Wait(1000);
  ReleaseButton(*base, sdUp);
  EXPECT_EQ(base->Text(), "0");
  EXPECT_EQ(step->Text(), "-");
}

// ---------------------------------------------------------------------------------------
// The wheel

TEST_F(SpinEditStep, TheWheelStepsOncePerNotchKeepingWhatIsLeftOver) {
  base->SetFocus();
  Wheel(120);
  EXPECT_EQ(base->Text(), "1");
  Wheel(60);
  EXPECT_EQ(base->Text(), "1");
  Wheel(60);
  EXPECT_EQ(base->Text(), "2");
  Wheel(-240);
  EXPECT_EQ(base->Text(), "0");
  for (int i = 0; i < 3; ++i) Wheel(40);
  EXPECT_EQ(base->Text(), "1") << "a fine wheel steps once per three messages";
  Wheel(120, ssCtrl | ssShift);
  EXPECT_EQ(base->Text(), "2") << "modifiers change nothing";
}

TEST_F(SpinEditStep, AnUnfocusedFieldIgnoresTheWheel) {
  other->SetFocus();
  desk.windows.MoveMouse(FrameOf(*base), {10, 10});
  Wheel(120);
  EXPECT_EQ(base->Text(), "0");
  EXPECT_EQ(other->Text(), "");
}

}  // namespace
}  // namespace vormix
