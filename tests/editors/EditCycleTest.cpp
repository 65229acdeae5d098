// The edit cycle of a focused text editor: its states, the order keys travel in, Enter,
// Escape and Tab, a check that fails on leaving, and selecting on entry.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "editors/EditorForm.h"

namespace vormix {
namespace {

using EditCycleStates = EditorForm;
using EditKeys = EditorForm;
using EditEnter = EditorForm;
using EditEscape = EditorForm;
using EditFailedCheck = EditorForm;
using EditAutoSelect = EditorForm;

TEST_F(EditCycleStates, FollowTypingEnterEscapeAndFocusMoves) {
  first->Properties().SetValidateOnEnter(true);
  first->SetEditValue(Variant::FromString("start"));
  int checks = 0;
  first->Properties().OnValidate = [&](TObject&, Variant&, std::string&, bool&) { ++checks; };
  struct TStep {
    const char* Action;
    std::function<void()> Act;
    const char* State;
    const char* Text;
    const char* Value;
    int Checks;
  };
  const TStep steps[] = {
      // Without its native control an editor has no text to read.
      {"before the form is shown", [] {}, "Unfocused", "", "String:start", 0},
      {"focus arrives", [&] { form.Show(); }, "Clean", "start", "String:start", 0},
      {"typing", [&] { Type("ab"); }, "Edited", "ab", "String:start", 0},
      {"Enter", [&] { Press(vk::Return); }, "Checked", "ab", "String:ab", 1},
      {"a further change", [&] { Type("c"); }, "Edited", "abc", "String:ab", 1},
      {"Escape", [&] { Press(vk::Escape); }, "Clean", "start", "String:start", 1},
      {"typing again", [&] { Type("d"); }, "Edited", "d", "String:start", 1},
      {"Enter again", [&] { Press(vk::Return); }, "Checked", "d", "String:d", 2},
      {"Escape when checked", [&] { Press(vk::Escape); }, "Clean", "start", "String:start", 2},
      {"typing once more", [&] { Type("e"); }, "Edited", "e", "String:start", 2},
      {"leaving with a passing check", [&] { Press(vk::Tab); }, "Unfocused", "e", "String:e", 3},
      {"coming back", [&] { Press(vk::Tab, ssShift); }, "Clean", "e", "String:e", 3},
      {"Enter without an edit", [&] { Press(vk::Return); }, "Clean", "e", "String:e", 3},
      {"typing after coming back", [&] { Type("f"); }, "Edited", "f", "String:e", 3},
      {"Enter after coming back", [&] { Press(vk::Return); }, "Checked", "f", "String:f", 4},
      {"leaving when checked", [&] { Press(vk::Tab); }, "Unfocused", "f", "String:f", 4},
  };
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.Action);
    step.Act();
    EXPECT_EQ(StateOf(*first), step.State);
    EXPECT_EQ(first->Text(), step.Text);
    EXPECT_EQ(Describe(first->EditValue()), step.Value);
    EXPECT_EQ(checks, step.Checks);
    EXPECT_TRUE(!first->EditedSinceEnter() || first->UserModified());
  }
  EXPECT_EQ(Messages(), Strings{});
}

TEST_F(EditKeys, OnKeyPressSeesEveryCharacterBetweenKeyDownAndKeyUp) {
  ShowForm();
  Type("a");
  Press(vk::Back);
  Press(vk::Left);
  EXPECT_EQ(keys, (Strings{"down first 65", "press first a", "up first 65", "down first 8", "press first #8",
                           "up first 8", "down first 37", "up first 37"}));
}

TEST_F(EditKeys, ACharacterZeroedByOnKeyPressNeverReachesTheEditor) {
  int asked = 0;
  first->OnEditing = [&](TObject&, bool&) { ++asked; };
  first->OnKeyPress = [](TObject&, char16_t& ch) {
    if (ch == u'x') ch = 0;
  };
  ShowForm();
  Type("x");
  EXPECT_EQ(first->Text(), "");
  EXPECT_EQ(asked, 0) << "the editor's own processing did not run";
  EXPECT_EQ(StateOf(*first), "Clean");
  Type("y");
  EXPECT_EQ(first->Text(), "y");
  EXPECT_EQ(asked, 1);
}

TEST_F(EditKeys, TabMovesTheFocusAfterOnKeyDownAndNeverInsertsATab) {
  first->OnKeyDown = [this](TObject&, TKey& key, TShiftState) { log.push_back("down first " + std::to_string(key)); };
  second->OnKeyUp = [this](TObject&, TKey& key, TShiftState) { log.push_back("up second " + std::to_string(key)); };
  ShowForm();
  Type("ab");
  log.clear();
  keys.clear();
  Press(vk::Tab);
  EXPECT_EQ(log, (Strings{"down first 9", "value first", "exit first", "enter second", "up second 9"}));
  EXPECT_EQ(first->Text(), "ab");
  EXPECT_EQ(Describe(first->EditValue()), "String:ab");
  for (const std::string& k : keys) EXPECT_EQ(k.find("press"), std::string::npos) << k;

  struct TRow {
    TShiftState Shift;
    const char* FocusAfter;
  };
  const TRow rows[] = {
      {ssShift, "first"},   // back
      {ssShift, "button"},  // back past the start wraps to the end
      {0, "first"},         // on past the end wraps to the start
      {ssCtrl, "first"},    // Ctrl+Tab is not the editor's key, and no dialog key
  };
  for (const TRow& row : rows) {
    Press(vk::Tab, row.Shift);
    const std::string focus = first->Focused() ? "first" : second->Focused() ? "second" : button->Focused() ? "button" : "?";
    EXPECT_EQ(focus, row.FocusAfter) << "shift " << row.Shift;
  }
  EXPECT_EQ(first->Text(), "ab");
  EXPECT_EQ(second->Text(), "");
}

TEST_F(EditEnter, CommitsAndKeepsTheFocusThenTheNativeControlBeepsUnlessBeepOnEnterIsOff) {
  for (bool beepOnEnter : {true, false}) {
    SCOPED_TRACE(beepOnEnter ? "BeepOnEnter" : "no BeepOnEnter");
    first->Properties().SetValidateOnEnter(true);
    first->BeepOnEnter = beepOnEnter;
    ShowForm();
    first->SetFocus();
    first->SelectAll();
    const char* typed = beepOnEnter ? "hello" : "world";
    Type(typed);
    log.clear();
    keys.clear();
    desk.beep.Beeps.clear();
    Press(vk::Return);
    EXPECT_EQ(Describe(first->EditValue()), std::string("String:") + typed);
    EXPECT_EQ(StateOf(*first), "Checked");
    EXPECT_EQ(log, Strings{"value first"}) << "the focus did not move";
    EXPECT_EQ(keys, (Strings{"down first 13", "press first #13", "up first 13"}));
    EXPECT_EQ(desk.beep.Beeps, beepOnEnter ? std::vector<unsigned>{0} : std::vector<unsigned>{});
    EXPECT_EQ(first->Text(), typed);
  }
}

TEST_F(EditEnter, WithoutValidateOnEnterCommitsNothing) {
  int checks = 0;
  first->Properties().OnValidate = [&](TObject&, Variant&, std::string&, bool&) { ++checks; };
  ShowForm();
  Type("hello");
  Press(vk::Return);
  EXPECT_EQ(StateOf(*first), "Edited");
  EXPECT_EQ(Describe(first->EditValue()), "Null");
  EXPECT_EQ(checks, 0);
  EXPECT_EQ(desk.beep.Beeps, std::vector<unsigned>{0}) << "the native control still answers the Enter";
}

TEST_F(EditEscape, WithoutAnEditIsLeftToTheNativeControl) {
  first->SetEditValue(Variant::FromString("start"));
  ShowForm();
  Press(vk::Escape);
  EXPECT_EQ(keys, (Strings{"down first 27", "press first #27", "up first 27"}));
  EXPECT_FALSE(first->EscapeConsumed());
  EXPECT_EQ(first->Text(), "start");
  EXPECT_EQ(StateOf(*first), "Clean");
  EXPECT_EQ(log, Strings{});
}

TEST_F(EditEscape, AfterAnEditRestoresTheValueAtEntrySelectsAllAndSwallowsTheCharacter) {
  first->SetEditValue(Variant::FromString("start"));
  ShowForm();
  Type("xyz");
  Press(vk::Left);
  keys.clear();
  log.clear();
  Press(vk::Escape);
  EXPECT_EQ(keys, (Strings{"down first 27", "up first 27"})) << "OnKeyPress never sees the Escape";
  EXPECT_FALSE(first->EscapeConsumed()) << "the swallowed character used the mark up";
  EXPECT_EQ(first->Text(), "start");
  EXPECT_EQ(Describe(first->EditValue()), "String:start");
  EXPECT_EQ(Describe(first->ValueAtEnter()), "String:start");
  EXPECT_EQ(Selection(*first), WholeText(*first));
  EXPECT_EQ(StateOf(*first), "Clean");
  EXPECT_TRUE(first->UserModified());
  EXPECT_EQ(log, Strings{"change first"}) << "the value itself never changed";

  keys.clear();
  Press(vk::Escape);
  EXPECT_EQ(keys, (Strings{"down first 27", "press first #27", "up first 27"})) << "a second Escape is not consumed";
}

// What the user sees when the check on leaving fails, by the error text the check
// ends with. The application's report adds a full stop after a last character above ".".
struct TFailedCheckRow {
  const char* Name;
  std::optional<std::string> ErrorText;  // what OnValidate sets; none leaves it alone
  Strings Messages;
};

void PrintTo(const TFailedCheckRow& row, std::ostream* os) { *os << row.Name; }

class EditFailedCheckOnLeaving : public EditorForm, public testing::WithParamInterface<TFailedCheckRow> {};

TEST_P(EditFailedCheckOnLeaving, KeepsTheFocusSelectsAllAndReportsTheErrorText) {
  const TFailedCheckRow& row = GetParam();
  first->Properties().OnValidate = [&](TObject&, Variant&, std::string& errorText, bool& error) {
    error = true;
    if (row.ErrorText) errorText = *row.ErrorText;
  };
  std::vector<bool> focusedDuringMessage;
  desk.messageBox.WhileShown = [&](const TShownMessage&) { focusedDuringMessage.push_back(first->Focused()); };
  ShowForm();
  Type("bad");
  Press(vk::Left);
  log.clear();
  Press(vk::Tab);

  EXPECT_TRUE(first->Focused());
  EXPECT_EQ(form.ActiveControl(), first.get());
  EXPECT_EQ(Selection(*first), "0+3");
  EXPECT_EQ(log, (Strings{})) << "neither OnExit here nor OnEnter there";
  EXPECT_EQ(StateOf(*first), "Edited");
  EXPECT_EQ(Describe(first->EditValue()), "Null");
  EXPECT_EQ(first->Text(), "bad");
  EXPECT_EQ(Messages(), row.Messages);
  EXPECT_EQ(focusedDuringMessage, std::vector<bool>(row.Messages.size(), true))
      << "the focus is back before the message shows";
  for (const TShownMessage& m : desk.messageBox.Shown) {
    EXPECT_EQ(m.Caption, "Vormix");
    EXPECT_EQ(m.Icon, TMessageIcon::Error);
  }
  EXPECT_EQ(Beeps(), 0u) << "no beep without BeepOnError";
}

INSTANTIATE_TEST_SUITE_P(
    ErrorTexts, EditFailedCheckOnLeaving,
    testing::Values(TFailedCheckRow{"Empty", std::string(), {}},
                    TFailedCheckRow{"Default", std::nullopt,
                                    {"Invalid input value. Use escape key to abandon changes."}},
                    TFailedCheckRow{"Own", std::string("Too short"), {"Too short."}},
                    TFailedCheckRow{"OwnWithStop", std::string("Bad value."), {"Bad value."}},
                    TFailedCheckRow{"Chinese", std::string("数值太小"), {"数值太小."}}),
    [](const testing::TestParamInfo<TFailedCheckRow>& info) { return std::string(info.param.Name); });

TEST_F(EditFailedCheck, HoldsTheFocusAgainstEveryWayOutUntilTheEditIsUndone) {
  bool reject = true;
  first->Properties().SetBeepOnError(true);
  first->Properties().OnValidate = [&](TObject&, Variant&, std::string& errorText, bool& error) {
    error = reject;
    errorText.clear();
  };
  ShowForm();
  Type("bad");
  log.clear();
  struct TWayOut {
    const char* Name;
    std::function<void()> Try;
  };
  const TWayOut ways[] = {
      {"Tab", [&] { Press(vk::Tab); }},
      {"Shift+Tab", [&] { Press(vk::Tab, ssShift); }},
      {"click into the other field", [&] { ClickInto(*second); }},
      {"click on the button", [&] { desk.windows.Click(*button->Window()); }},
      {"focus set by the program", [&] { second->SetFocus(); }},
  };
  std::size_t beeps = 0;
  for (const TWayOut& way : ways) {
    SCOPED_TRACE(way.Name);
    first->SetSelection(1, 0);
    way.Try();
    EXPECT_TRUE(first->Focused());
    EXPECT_EQ(Selection(*first), "0+3");
    EXPECT_EQ(Beeps(), ++beeps) << "BeepOnError beeps once per failure";
    EXPECT_EQ(desk.beep.Beeps.back(), 0u);
  }
  EXPECT_EQ(log, Strings{}) << "no exit, no entry, no click";
  EXPECT_EQ(Messages(), Strings{});

  Press(vk::Escape);
  Press(vk::Tab);
  EXPECT_TRUE(second->Focused());
  EXPECT_EQ(log, (Strings{"change first", "exit first", "enter second"}));
  EXPECT_EQ(Beeps(), beeps);
}

TEST_F(EditFailedCheck, ACorrectedDisplayValueIsShownAndSelectedOrCommitted) {
  bool reject = true;
  first->Properties().OnValidate = [&](TObject&, Variant& displayValue, std::string& errorText, bool& error) {
    displayValue = Variant::FromString(reject ? "fix me" : "fixed");
    errorText.clear();
    error = reject;
  };
  ShowForm();
  Type("bad");
  Press(vk::Tab);
  EXPECT_TRUE(first->Focused());
  EXPECT_EQ(first->Text(), "fix me");
  EXPECT_EQ(Selection(*first), "0+6");
  EXPECT_EQ(Describe(first->EditValue()), "Null");

  reject = false;
  log.clear();
  Press(vk::Tab);
  EXPECT_EQ(first->Text(), "fixed");
  EXPECT_EQ(Describe(first->EditValue()), "String:fixed");
  EXPECT_EQ(log, (Strings{"change first", "value first", "exit first", "enter second"}));
}

TEST_F(EditFailedCheck, OnEnterKeepsTheValueAndTheFocusAndReportsTheError) {
  first->Properties().SetValidateOnEnter(true);
  first->SetEditValue(Variant::FromString("good"));
  first->Properties().OnValidate = [&](TObject&, Variant&, std::string& errorText, bool& error) {
    error = first->Text() != "good";
    errorText = "Not good";
  };
  ShowForm();
  Type("bad");
  Press(vk::Left);
  Press(vk::Return);
  EXPECT_EQ(Messages(), Strings{"Not good."});
  EXPECT_TRUE(first->Focused());
  EXPECT_EQ(Selection(*first), "0+3");
  EXPECT_EQ(Describe(first->EditValue()), "String:good");
  EXPECT_EQ(StateOf(*first), "Edited");
  Press(vk::Escape);
  EXPECT_EQ(first->Text(), "good");
  EXPECT_EQ(StateOf(*first), "Clean");
  Press(vk::Tab);
  EXPECT_TRUE(second->Focused());
  EXPECT_EQ(Messages(), Strings{"Not good."});
}

TEST_F(EditAutoSelect, EntryByKeyboardSelectsAllAndAClickPlacesTheCaret) {
  second->SetEditValue(Variant::FromString("hello"));
  ShowForm();
  Press(vk::Tab);
  EXPECT_TRUE(second->Focused());
  EXPECT_EQ(Selection(*second), "0+5");

  Press(vk::Tab, ssShift);
  ClickInto(*second);
  EXPECT_TRUE(second->Focused());
  EXPECT_EQ(second->SelLength(), 0u);
  Type("!");
  EXPECT_EQ(second->Text(), "hello!");

  second->Properties().SetAutoSelect(false);
  Press(vk::Tab, ssShift);
  Press(vk::Tab);
  EXPECT_TRUE(second->Focused());
  EXPECT_EQ(second->SelLength(), 0u);
}

}  // namespace
}  // namespace vormix
