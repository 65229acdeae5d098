// The numeric field's check when the user leaves it: the text is normalised to the plain
// decimal digits of its number, an invalid text keeps the focus silently, the limits
// and ExceptionOnInvalidInput report in a message, and OnGetValue reads other texts.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "base/Error.h"
#include "editors/SpinEditForm.h"

namespace vormix {
namespace {

// ---------------------------------------------------------------------------------------
// Leaving with a number

struct TCommitRow {
  const char* Entered;
  bool Pasted;  // spaces and the decimal separator cannot be typed
  const char* Text;
};

void PrintTo(const TCommitRow& row, std::ostream* os) { *os << "'" << row.Entered << "'"; }

class SpinEditLeaving : public SpinEditForm, public testing::WithParamInterface<TCommitRow> {};

TEST_P(SpinEditLeaving, CommitsTheNumberAndShowsItsPlainDigits) {
  const TCommitRow& row = GetParam();
  if (row.Pasted) PasteInto(*count, row.Entered);
  else TypeInto(*count, row.Entered);
  ASSERT_EQ(count->Text(), row.Entered);
  log.clear();
  Leave();
  EXPECT_FALSE(count->Focused());
  EXPECT_EQ(count->Text(), row.Text);
  EXPECT_EQ(Describe(count->EditValue()), std::string("Int64:") + row.Text);
  EXPECT_EQ(Describe(count->Value()), std::string("Int64:") + row.Text);
  const Strings expectedLog =
      std::string(row.Text) != "100" ? Strings{"value count", "exit count"} : Strings{"exit count"};
  EXPECT_EQ(log, expectedLog);
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(Beeps(), 0u);

  // Coming back shows the same text, and the number is the field's last number.
  count->SetFocus();
  EXPECT_EQ(count->Text(), row.Text);
  EXPECT_EQ(Describe(count->LastNumber()), std::string("Int64:") + row.Text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SpinEditLeaving,
    testing::Values(TCommitRow{"12", false, "12"}, TCommitRow{"007", false, "7"}, TCommitRow{"+5", false, "5"},
                    TCommitRow{"-0", false, "0"}, TCommitRow{"1e3", false, "1000"}, TCommitRow{"1E3", false, "1000"},
                    TCommitRow{"1e", false, "1"}, TCommitRow{"1e-1", false, "0"}, TCommitRow{"", false, "0"},
                    TCommitRow{"100", false, "100"}, TCommitRow{" 12 ", true, "12"}, TCommitRow{"2.5", true, "2"},
                    TCommitRow{"3.5", true, "4"}, TCommitRow{"-2.5", true, "-2"}, TCommitRow{".5", true, "0"},
                    TCommitRow{"1.5e1", true, "15"}, TCommitRow{"2147483648", false, "2147483648"},
                    TCommitRow{"9223372036854775807", false, "9223372036854775807"},
                    TCommitRow{"-9223372036854775808", false, "-9223372036854775808"}),
    [](const testing::TestParamInfo<TCommitRow>& info) { return "Row" + std::to_string(info.index); });

using SpinEditFirstCommit = SpinEditForm;

TEST_F(SpinEditFirstCommit, ReplacesTheInitialByteZeroAndCountsAsAChangeEvenForZero) {
  EXPECT_EQ(Describe(base->EditValue()), "Byte:0");
  base->SetFocus();
  Leave();  // entered and left without an edit: nothing is checked
  EXPECT_EQ(Describe(base->EditValue()), "Byte:0");

  struct TRound {
    const char* Typed;
    const char* Stored;
    Strings Log;
  };
  const TRound rounds[] = {
      {"0", "Int64:0", {"value base", "exit base", "enter step"}},  // the first commit, though still 0
      {"00", "Int64:0", {"exit base", "enter step"}},               // the same Int64 0 again
      {"", "Int64:0", {"exit base", "enter step"}},
      {"3", "Int64:3", {"value base", "exit base", "enter step"}},
  };
  for (const TRound& round : rounds) {
    SCOPED_TRACE(round.Typed);
    TypeInto(*base, round.Typed);
    log.clear();
    Leave();
    EXPECT_EQ(Describe(base->EditValue()), round.Stored);
    EXPECT_EQ(log, round.Log);
  }
}

// ---------------------------------------------------------------------------------------
// Leaving with a text that is not a number of the field

class SpinEditInvalid : public SpinEditForm, public testing::WithParamInterface<const char*> {};

TEST_P(SpinEditInvalid, KeepsTheFocusSilentlyWithTheWholeTextSelected) {
  const std::string typed = GetParam();
  TypeInto(*count, typed);
  count->SetSelection(1, 0);
  log.clear();
  Leave();
  EXPECT_TRUE(count->Focused());
  EXPECT_EQ(form.ActiveControl(), count.get());
  EXPECT_EQ(count->Text(), typed);
  EXPECT_EQ(Selection(*count), WholeText(*count));
  EXPECT_EQ(log, Strings{}) << "no OnExit, no OnEnter elsewhere, no value change";
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(Beeps(), 0u);
  EXPECT_EQ(Describe(count->EditValue()), "Int64:100");
  EXPECT_EQ(Describe(count->Value()), "Int64:100") << "the number before the edit";

  // Enter fails the same way; Escape brings the number back and the field can be left.
  Press(vk::Return);
  EXPECT_EQ(count->Text(), typed);
  EXPECT_EQ(Messages(), Strings{});
  Press(vk::Escape);
  EXPECT_EQ(count->Text(), "100");
  Leave();
  EXPECT_FALSE(count->Focused());
  EXPECT_EQ(log, Strings{"exit count"});
}

INSTANTIATE_TEST_SUITE_P(Texts, SpinEditInvalid,
                         testing::Values("-", "+", "e5", "--5", "1-2", "+-1", "1e5000", "1e500",
                                         "9223372036854775808", "-9223372036854775809"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           return "Row" + std::to_string(info.index);
                         });

// ---------------------------------------------------------------------------------------
// Limits

using SpinEditLimits = SpinEditForm;

TEST_F(SpinEditLimits, ApplyOnlyWhenTheRoundedMaximumExceedsTheRoundedMinimum) {
  struct TRow {
    double Min, Max;
    double EffectiveMin, EffectiveMax;
    bool Active;
  };
  const TRow rows[] = {
      {0, 0, 0, 0, false},     {1, 10, 1, 10, true},      {10, 10, 10, 10, false},
      {10, 1, 10, 1, false},   {1.5, 2.5, 2, 2, false},   {0.5, 1.5, 0, 2, true},
      {-2.5, -1.4, -2, -1, true}, {-1e30, 5, -9223372036854775808.0, 5, true},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(std::to_string(row.Min) + " .. " + std::to_string(row.Max));
    TcxSpinEditProperties& props = base->Properties();
    props.SetMinValue(row.Min);
    props.SetMaxValue(row.Max);
    EXPECT_EQ(props.EffectiveMinValue(), row.EffectiveMin);
    EXPECT_EQ(props.EffectiveMaxValue(), row.EffectiveMax);
    EXPECT_EQ(props.LimitsActive(), row.Active);
  }
  base->Properties().ClearAssignedValues(evMinValue | evMaxValue);
  EXPECT_EQ(base->Properties().MinValue(), 0);
  EXPECT_EQ(base->Properties().MaxValue(), 0);
}

TEST_F(SpinEditLimits, ANumberOutsideThemFailsWithAMessageWhateverExceptionOnInvalidInputSays) {
  count->Properties().SetMinValue(5);
  count->Properties().SetMaxValue(200);
  std::vector<bool> focusedDuringMessage;
  desk.messageBox.WhileShown = [&](const TShownMessage&) { focusedDuringMessage.push_back(count->Focused()); };
  for (const char* typed : {"300", "4", "-1"}) {
    SCOPED_TRACE(typed);
    TypeInto(*count, typed);
    log.clear();
    desk.messageBox.Shown.clear();
    Leave();
    EXPECT_EQ(Messages(), Strings{"Value out of bounds."});
    EXPECT_EQ(desk.messageBox.Shown.at(0).Caption, "Vormix");
    EXPECT_EQ(desk.messageBox.Shown.at(0).Icon, TMessageIcon::Error);
    EXPECT_TRUE(count->Focused());
    EXPECT_EQ(count->Text(), typed);
    EXPECT_EQ(Selection(*count), WholeText(*count));
    EXPECT_EQ(Describe(count->EditValue()), "Int64:100");
    EXPECT_EQ(log, Strings{});
  }
  EXPECT_EQ(focusedDuringMessage, std::vector<bool>(3, true)) << "the focus is back before the message";

  // At the limits and between them the text passes; an empty text commits the limit
  // nearest to 0.
  const std::pair<const char*, const char*> passing[] = {{"5", "5"}, {"200", "200"}, {"", "5"}, {"1e2", "100"}};
  for (const auto& [typed, shown] : passing) {
    SCOPED_TRACE(typed);
    TypeInto(*count, typed);
    Leave();
    EXPECT_FALSE(count->Focused());
    EXPECT_EQ(count->Text(), shown);
  }
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(SpinEditLimits, PlayNoPartInWritingValueOrPastingButClampAReadOfNothing) {
  count->Properties().SetMinValue(5);
  count->Properties().SetMaxValue(10);
  count->SetValue(50);
  EXPECT_EQ(Describe(count->EditValue()), "Int64:50");
  EXPECT_EQ(count->Text(), "50");

  count->ClearValue();
  EXPECT_EQ(count->Text(), "0");
  EXPECT_EQ(Describe(count->Value()), "Int64:5") << "nothing reads as 0 clamped into the limits";

  count->SetEditValue(Variant::FromString("abc"));
  EXPECT_EQ(count->Text(), "5") << "a text that is no number shows 0 clamped into the limits";

  PasteInto(*count, "50");
  EXPECT_EQ(count->Text(), "50");
}

TEST_F(SpinEditLimits, BecomingActiveWhileTypingClampsTheTypedNumber) {
  TypeInto(*count, "50");
  count->Properties().SetMinValue(1);  // maximum 0: not active yet
  EXPECT_EQ(count->Text(), "50");
  count->Properties().SetMaxValue(10);
  EXPECT_EQ(count->Text(), "10");
  EXPECT_EQ(Describe(count->Value()), "Int64:10");
  EXPECT_TRUE(count->EditedSinceEnter()) << "the correction counts as the user's change";
  log.clear();
  Leave();
  EXPECT_FALSE(count->Focused());
  EXPECT_EQ(Describe(count->EditValue()), "Int64:10");
  EXPECT_EQ(Messages(), Strings{});

  // Below the minimum the other way round; an unedited field is left alone.
  TypeInto(*step, "-7");
  step->Properties().SetMaxValue(10);
  step->Properties().SetMinValue(2);
  EXPECT_EQ(step->Text(), "2");
  base->Properties().SetMinValue(2);
  base->Properties().SetMaxValue(10);
  EXPECT_EQ(base->Text(), "0");
}

// ---------------------------------------------------------------------------------------
// ExceptionOnInvalidInput

using SpinEditExceptionOnInvalidInput = SpinEditForm;

TEST_F(SpinEditExceptionOnInvalidInput, ReportsTheInvalidTextInAMessageAndRaisesOnReadingValue) {
  count->Properties().SetExceptionOnInvalidInput(true);
  struct TRow {
    const char* Typed;
    TKey Key;
    const char* Message;
  };
  const TRow rows[] = {
      {"-", vk::Tab, "Invalid numeric value."},
      {"1-2", vk::Return, "Invalid numeric value."},
      {"1e500", vk::Tab, "Value out of bounds."},
      {"9223372036854775808", vk::Return, "Value out of bounds."},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Typed);
    TypeInto(*count, row.Typed);
    std::string raised;
    try {
      count->Value();
    } catch (const Error& e) {
      raised = e.Text();
    }
    EXPECT_EQ(raised + ".", row.Message);
    desk.messageBox.Shown.clear();
    log.clear();
    Press(row.Key);
    EXPECT_EQ(Messages(), Strings{row.Message});
    EXPECT_TRUE(count->Focused());
    EXPECT_EQ(Selection(*count), WholeText(*count));
    EXPECT_EQ(Describe(count->EditValue()), "Int64:100");
    EXPECT_EQ(log, Strings{});
  }
  TypeInto(*count, "7");
  Leave();
  EXPECT_EQ(Describe(count->EditValue()), "Int64:7");
}

// ---------------------------------------------------------------------------------------
// OnGetValue

using SpinEditOnGetValue = SpinEditForm;

TEST_F(SpinEditOnGetValue, ReadsTextsThatAreNoNumberAndLetsEveryCharacterBeTyped) {
  std::vector<std::string> asked;
  count->Properties().OnGetValue = [&](TObject& sender, const std::string& text, Variant& value,
                                       std::string& errorText, bool& error) {
    EXPECT_EQ(&sender, count.get());
    EXPECT_TRUE(error) << "Error is set on entry";
    EXPECT_EQ(errorText, "");
    asked.push_back(text);
    if (text == "ten") {
      value = Variant::FromInt64(10);
      error = false;
    } else if (text == "half") {
      value = Variant::FromDouble(2.5);
      error = false;
    } else if (text == "name") {
      value = Variant::FromString("name");
      error = false;
    } else if (text == "boom") {
      throw Error("No such number");
    } else {
      errorText = "Not a number I know";
    }
  };

  TypeInto(*count, "十");
  EXPECT_EQ(count->Text(), "十");
  TypeInto(*count, "ten");
  EXPECT_EQ(count->Text(), "ten");
  EXPECT_EQ(Beeps(), 0u) << "letters, Chinese ones too, are let through";
  Leave();
  EXPECT_EQ(count->Text(), "10");
  EXPECT_EQ(Describe(count->EditValue()), "Int64:10");

  // Numbers, also those beyond the range, never reach the handler.
  asked.clear();
  for (const char* text : {"12", "1e500", ""}) count->TextToNumber(text, false);
  EXPECT_EQ(asked, Strings{});

  struct TRow {
    const char* Text;
    bool Success;
    const char* Number;
    const char* QuietError;  // ExceptionOnInvalidInput False
    const char* LoudError;   // ExceptionOnInvalidInput True
  };
  const TRow rows[] = {
      {"half", true, "Int64:2", "", ""},
      {"name", true, "String:name", "", ""},
      {"xyz", false, "Int64:10", "", "Not a number I know"},
      {"boom", false, "Int64:10", "", "No such number"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Text);
    for (bool loud : {false, true}) {
      count->Properties().SetExceptionOnInvalidInput(loud);
      const TcxTextToNumberResult result = count->TextToNumber(row.Text, false);
      EXPECT_EQ(result.Success, row.Success);
      EXPECT_EQ(Describe(result.Number), row.Number);
      EXPECT_EQ(result.ErrorText, loud ? row.LoudError : row.QuietError);
    }
  }
  // Asked to raise, the handler's own error goes on even without ExceptionOnInvalidInput.
  count->Properties().SetExceptionOnInvalidInput(false);
  EXPECT_THROW(count->TextToNumber("boom", true), Error);
  EXPECT_NO_THROW(count->TextToNumber("xyz", true));

  // A text the handler does not know fails silently on leaving.
  TypeInto(*count, "xyz");
  Leave();
  EXPECT_TRUE(count->Focused());
  EXPECT_EQ(Messages(), Strings{});
}

// ---------------------------------------------------------------------------------------
// A failed check and the text

// The check fails on a number outside the limits 1 .. 100 (with its message); the text
// stays as the user typed it, not the normalised number, unless OnValidate gave another
// display value. The value stays the field's old one.
TEST_F(SpinEditLimits, AFailedCheckLeavesTheTextAsTypedUnlessOnValidateGaveAnother) {
  struct TRow {
    const char* Typed;
    const char* Corrected;  // the display value OnValidate gives, if any
    const char* Text;
  };
  const TRow rows[] = {
      {"+150", nullptr, "+150"}, {"0150", nullptr, "0150"}, {"15e1", nullptr, "15e1"},
      {"-0", nullptr, "-0"},     {"+150", "99", "99"},
  };
  count->Properties().SetMinValue(1);
  count->Properties().SetMaxValue(100);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Typed);
    const char* corrected = row.Corrected;
    std::vector<std::string> checked;
    count->Properties().OnValidate = [&](TObject&, Variant& displayValue, std::string&, bool& error) {
      checked.push_back(VariantToString(displayValue));
      if (error && corrected) displayValue = Variant::FromString(corrected);
    };
    TypeInto(*count, row.Typed);
    desk.messageBox.Shown.clear();
    Leave();
    EXPECT_EQ(checked.size(), 1u);
    EXPECT_EQ(Messages(), Strings{"Value out of bounds."});
    EXPECT_TRUE(count->Focused());
    EXPECT_EQ(count->Text(), row.Text);
    EXPECT_EQ(Selection(*count), WholeText(*count));
    EXPECT_EQ(Describe(count->EditValue()), "Int64:100");
    Press(vk::Escape);
  }
  count->Properties().OnValidate = nullptr;
}

// ---------------------------------------------------------------------------------------
// ImmediatePost

// With ImmediatePost every change the user makes is checked and committed at once: the
// value follows the typing, quietly, while the text stays as typed (a number half typed
// is neither selected nor rewritten). Leaving runs the full check and shows the value's
// own text. Without ImmediatePost the value waits for the leaving.
using EditImmediatePost = SpinEditForm;

TEST_F(EditImmediatePost, CommitsEveryChangeTheUserMakesQuietlyAndLeavesTheTextAsTyped) {
  struct TRow {
    const char* Name;
    TcxCustomTextEdit* Edit;
    bool ImmediatePost;
    bool Limits;  // 1 .. 50
    const char* Typed;
    const char* Values;  // EditValue after each typed character
    const char* Left;    // the text once the field is left ("" when the check keeps the focus)
    Strings Messages;
  };
  const TRow rows[] = {
      {"text editor", other.get(), true, false, "ab", "String:a String:ab", "ab", {}},
      {"number", count.get(), true, false, "12", "Int64:1 Int64:12", "12", {}},
      {"sign first", count.get(), true, false, "-5", "Int64:0 Int64:-5", "-5", {}},
      {"leading zeros", count.get(), true, false, "007", "Int64:0 Int64:0 Int64:7", "7", {}},
      {"exponent", count.get(), true, false, "1e3", "Int64:1 Int64:1 Int64:1000", "1000", {}},
      {"beyond the limits", count.get(), true, true, "70", "Int64:7 Int64:7", "", {"Value out of bounds."}},
      {"without ImmediatePost", count.get(), false, false, "12", "Int64:100 Int64:100", "12", {}},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    count->Properties().ClearAssignedValues(evMinValue | evMaxValue);
    count->SetValue(100);
    if (row.Limits) {
      count->Properties().SetMinValue(1);
      count->Properties().SetMaxValue(50);
    }
    row.Edit->Properties().SetImmediatePost(row.ImmediatePost);
    row.Edit->SetFocus();
    row.Edit->SelectAll();
    Press(vk::Delete);
    desk.messageBox.Shown.clear();
    const std::size_t beeps = Beeps();
    std::string values;
    for (const char* c = row.Typed; *c; ++c) {
      Type(std::string(1, *c));
      values += (values.empty() ? "" : " ") + Describe(row.Edit->EditValue());
    }
    EXPECT_EQ(values, row.Values);
    EXPECT_EQ(row.Edit->Text(), row.Typed);
    EXPECT_EQ(Selection(*row.Edit), std::to_string(std::string(row.Typed).size()) + "+0") << "the caret stays put";
    EXPECT_EQ(Messages(), Strings{});
    EXPECT_EQ(Beeps(), beeps);
    Leave();
    EXPECT_EQ(Messages(), row.Messages);
    if (*row.Left) {
      EXPECT_FALSE(row.Edit->Focused());
      EXPECT_EQ(row.Edit->Text(), row.Left);
    } else {
      EXPECT_TRUE(row.Edit->Focused());
      Press(vk::Escape);
      Leave();
    }
    row.Edit->Properties().SetImmediatePost(false);
  }
}

}  // namespace
}  // namespace vormix
