// The numeric field's number model: how a text reads as a number, what Value yields in
// every state and what writing it stores, which characters can be typed, and which
// pastes and cuts are let through.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "base/Error.h"
#include "base/Utf.h"
#include "editors/SpinEditForm.h"

namespace vormix {
namespace {

// ---------------------------------------------------------------------------------------
// Text to number

enum class TRead { Number, Invalid, OutOfBounds };

struct TReadRow {
  const char* Text;
  TRead Outcome;
  const char* Number = "";  // for a number: what it reads as
};

// The count field's last number is 100: a failure answers it.
const TReadRow kReadRows[] = {
    {"", TRead::Number, "Null"},
    {"12", TRead::Number, "Int64:12"},
    {" 12 ", TRead::Number, "Int64:12"},
    {"   7", TRead::Number, "Int64:7"},
    {"+5", TRead::Number, "Int64:5"},
    {"-42", TRead::Number, "Int64:-42"},
    {"-0", TRead::Number, "Int64:0"},
    {"007", TRead::Number, "Int64:7"},
    {"1e3", TRead::Number, "Int64:1000"},
    {"1E3", TRead::Number, "Int64:1000"},
    {"1e+2", TRead::Number, "Int64:100"},
    {"15e-1", TRead::Number, "Int64:2"},
    {"1e", TRead::Number, "Int64:1"},
    {"1e0500", TRead::OutOfBounds},  // a leading zero in the exponent is just a digit
    {"5.", TRead::Number, "Int64:5"},
    {".", TRead::Number, "Int64:0"},
    {"1.4999", TRead::Number, "Int64:1"},
    {"1.5", TRead::Number, "Int64:2"},
    {"2.5", TRead::Number, "Int64:2"},
    {"3.5", TRead::Number, "Int64:4"},
    {"-2.5", TRead::Number, "Int64:-2"},
    {"-3.5", TRead::Number, "Int64:-4"},
    {".5", TRead::Number, "Int64:0"},
    {"2147483648", TRead::Number, "Int64:2147483648"},
    {"9223372036854775807", TRead::Number, "Int64:9223372036854775807"},
    {"-9223372036854775808", TRead::Number, "Int64:-9223372036854775808"},
    {"9223372036854775808", TRead::OutOfBounds},
    {"-9223372036854775809", TRead::OutOfBounds},
    {"18446744073709551616", TRead::OutOfBounds},
    {"1e19", TRead::OutOfBounds},
    {"1e500", TRead::OutOfBounds},
    {"1e5000", TRead::Invalid},  // the exponent stops at 500 with a digit left over
    {" ", TRead::Invalid},
    {"-", TRead::Invalid},
    {"+", TRead::Invalid},
    {"e5", TRead::Invalid},
    {"-e5", TRead::Invalid},
    {"--5", TRead::Invalid},
    {"+-1", TRead::Invalid},
    {"1-2", TRead::Invalid},
    {"- 1", TRead::Invalid},
    {"1 2", TRead::Invalid},
    {"1e5e", TRead::Invalid},
    {"1e2.5", TRead::Invalid},
    {"\t1", TRead::Invalid},
    {"1,5", TRead::Invalid},
    {"abc", TRead::Invalid},
    {"0x10", TRead::Invalid},
    {"１２", TRead::Invalid},  // full-width digits
};

using SpinEditTextToNumber = SpinEditForm;

TEST_F(SpinEditTextToNumber, ReadsTheDecimalGrammarWithinTheInt64Range) {
  for (const TReadRow& row : kReadRows) {
    SCOPED_TRACE(std::string("text '") + row.Text + "'");
    count->Properties().SetExceptionOnInvalidInput(false);
    TcxTextToNumberResult quiet = count->TextToNumber(row.Text, true);
    EXPECT_EQ(quiet.Success, row.Outcome == TRead::Number);
    EXPECT_EQ(Describe(quiet.Number), row.Outcome == TRead::Number ? row.Number : "Int64:100");
    EXPECT_EQ(quiet.ErrorText, "") << "no error text unless ExceptionOnInvalidInput";

    count->Properties().SetExceptionOnInvalidInput(true);
    const std::string expectedError = row.Outcome == TRead::Invalid       ? "Invalid numeric value"
                                      : row.Outcome == TRead::OutOfBounds ? "Value out of bounds"
                                                                          : "";
    TcxTextToNumberResult loud = count->TextToNumber(row.Text, false);
    EXPECT_EQ(loud.Success, quiet.Success);
    EXPECT_EQ(loud.ErrorText, expectedError);
    std::string raised;
    try {
      count->TextToNumber(row.Text, true);
    } catch (const Error& e) {
      raised = e.Text();
    }
    EXPECT_EQ(raised, expectedError);
  }
  EXPECT_EQ(log, Strings{}) << "reading a text changes nothing";
}

// ---------------------------------------------------------------------------------------
// Reading Value

using F = SpinEditForm;
using TArrange = std::function<TcxSpinEdit&(F&)>;

TArrange Untouched(std::unique_ptr<TcxSpinEdit> F::*field) {
  return [field](F& f) -> TcxSpinEdit& { return *(f.*field); };
}
// The count field (100) with the text typed over it, and left when asked.
TArrange Typed(const char* text, bool leave = false) {
  return [=](F& f) -> TcxSpinEdit& {
    f.TypeInto(*f.count, text);
    if (leave) f.Leave();
    return *f.count;
  };
}
// The count field after something the program did.
TArrange Program(std::function<void(TcxSpinEdit&)> act) {
  return [=](F& f) -> TcxSpinEdit& {
    act(*f.count);
    return *f.count;
  };
}

struct TValueRow {
  const char* Situation;
  TArrange Arrange;
  bool Focused;
  const char* Value;
  const char* Text;
};

void PrintTo(const TValueRow& row, std::ostream* os) { *os << row.Situation; }

class SpinEditValue : public SpinEditForm, public testing::WithParamInterface<TValueRow> {};

TEST_P(SpinEditValue, YieldsTheNumberOfTheSituation) {
  TcxSpinEdit& field = GetParam().Arrange(*this);
  EXPECT_EQ(field.Focused(), GetParam().Focused);
  EXPECT_EQ(Describe(field.Value()), GetParam().Value);
  EXPECT_EQ(field.Text(), GetParam().Text);
  EXPECT_EQ(Messages(), Strings{}) << "reading Value never reports anything";
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpinEditValue,
    testing::Values(
        TValueRow{"not focused, a base never edited", Untouched(&F::base), false, "Int64:0", "0"},
        TValueRow{"not focused, a step never edited", Untouched(&F::step), false, "Int64:1", "1"},
        TValueRow{"not focused, the count never edited", Untouched(&F::count), false, "Int64:100", "100"},
        TValueRow{"not focused, left with 12", Typed("12", true), false, "Int64:12", "12"},
        TValueRow{"not focused, left empty", Typed("", true), false, "Int64:0", "0"},
        TValueRow{"not focused, cleared", Program([](TcxSpinEdit& c) { c.ClearValue(); }), false, "Int64:0", "0"},
        TValueRow{"not focused, a string stored",
                  Program([](TcxSpinEdit& c) { c.SetEditValue(Variant::FromString("abc")); }), false,
                  "String:abc", "0"},
        TValueRow{"not focused, a number string stored",
                  Program([](TcxSpinEdit& c) { c.SetEditValue(Variant::FromString(" 12 ")); }), false,
                  "String: 12 ", "12"},
        TValueRow{"focused, nothing typed yet", Program([](TcxSpinEdit& c) { c.SetFocus(); }), true, "Int64:100",
                  "100"},
        TValueRow{"focused, the program stored a number over typing",
                  [](F& f) -> TcxSpinEdit& {
                    f.TypeInto(*f.count, "12");
                    f.count->SetValue(7);
                    return *f.count;
                  },
                  true, "Int64:7", "7"},
        TValueRow{"focused, typed 12", Typed("12"), true, "Int64:12", "12"},
        TValueRow{"focused, emptied", Typed(""), true, "Int64:0", ""},
        TValueRow{"focused, typed a lone minus", Typed("-"), true, "Int64:100", "-"},
        TValueRow{"focused, typed e5", Typed("e5"), true, "Int64:100", "e5"},
        TValueRow{"focused, typed 1-2", Typed("1-2"), true, "Int64:100", "1-2"},
        TValueRow{"focused, typed 2147483648", Typed("2147483648"), true, "Int64:2147483648", "2147483648"},
        TValueRow{"focused, typed beyond the range", Typed("9223372036854775808"), true, "Int64:100",
                  "9223372036854775808"},
        TValueRow{"focused, refused on leaving", Typed("1-2", true), true, "Int64:100", "1-2"}),
    [](const testing::TestParamInfo<TValueRow>& info) { return "Row" + std::to_string(info.index); });

// ---------------------------------------------------------------------------------------
// Writing Value

using SpinEditWrite = SpinEditForm;

TEST_F(SpinEditWrite, StoresNumbersConvertedToInt64AndIgnoresTheRest) {
  struct TRow {
    const char* Written;
    Variant Value;
    const char* Stored;  // nullptr: ignored
  };
  const TRow rows[] = {
      {"a string", Variant::FromString("abc"), nullptr},
      {"a number string", Variant::FromString("12"), nullptr},
      {"Null", Variant::Null(), nullptr},
      {"a Boolean", Variant::FromBoolean(true), nullptr},
      {"a date", Variant::FromDate(5), nullptr},
      {"Double 2.7", Variant::FromDouble(2.7), "Int64:3"},
      {"Double 2.5", Variant::FromDouble(2.5), "Int64:2"},
      {"Double 3.5", Variant::FromDouble(3.5), "Int64:4"},
      {"Double -2.5", Variant::FromDouble(-2.5), "Int64:-2"},
      {"Double -0.4", Variant::FromDouble(-0.4), "Int64:0"},
      {"Double 1e19", Variant::FromDouble(1e19), nullptr},
      {"Integer 42", Variant::FromInteger(42), "Int64:42"},
      {"Byte 5", Variant::FromByte(5), "Int64:5"},
      {"the largest Int64", Variant::FromInt64(INT64_MAX), "Int64:9223372036854775807"},
      {"the smallest Int64", Variant::FromInt64(INT64_MIN), "Int64:-9223372036854775808"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Written);
    count->SetValue(100);
    log.clear();
    count->SetValue(row.Value);
    if (!row.Stored) {
      EXPECT_EQ(Describe(count->EditValue()), "Int64:100");
      EXPECT_EQ(log, Strings{});
      continue;
    }
    EXPECT_EQ(Describe(count->EditValue()), row.Stored);
    EXPECT_EQ(Describe(count->Value()), row.Stored);
    EXPECT_EQ(count->Text(), std::string(row.Stored).substr(6));
    EXPECT_EQ(log, Strings{"value count"});
  }

  // Null stored as the edit value itself shows as 0.
  count->SetEditValue(Variant::Null());
  EXPECT_EQ(count->Text(), "0");
  EXPECT_EQ(Describe(count->Value()), "Int64:0");
}

// ---------------------------------------------------------------------------------------
// Typing: the character filter

using SpinEditFilter = SpinEditForm;

TEST_F(SpinEditFilter, TakesDigitsSignsAndExponentLettersAndBeepsAtTheRestAfterOnKeyPress) {
  struct TRow {
    const char* Typed;
    bool Accepted;
    bool Beeps;
  };
  const TRow rows[] = {
      {"0", true, false}, {"5", true, false},  {"9", true, false},  {"+", true, false},  {"-", true, false},
      {"E", true, false}, {"e", true, false},  {"a", false, true},  {"x", false, true},  {"Z", false, true},
      {" ", false, true}, {",", false, true},  {".", false, true},  {"!", false, true},  {"/", false, true},
      {"=", false, true}, {"é", false, true},
      // Beyond code 255, as an input method delivers them: refused with the same beep.
      {"Ā", false, true}, {"中", false, true}, {"，", false, true}, {"€", false, true},
  };
  std::vector<std::pair<char16_t, std::size_t>> seen;  // the character and the beeps so far
  base->OnKeyPress = [&](TObject&, char16_t& ch) { seen.emplace_back(ch, Beeps()); };
  for (const TRow& row : rows) {
    SCOPED_TRACE(std::string("typed '") + row.Typed + "'");
    TypeInto(*base, "");
    seen.clear();
    const std::size_t before = Beeps();
    Type(row.Typed);
    EXPECT_EQ(base->Text(), row.Accepted ? row.Typed : "");
    EXPECT_EQ(Beeps() - before, row.Beeps ? 1u : 0u);
    if (row.Beeps) {
      EXPECT_EQ(desk.beep.Beeps.back(), 0u);
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].first, Utf8ToUtf16(row.Typed)[0]) << "OnKeyPress sees the character as typed";
    EXPECT_EQ(seen[0].second, before) << "and before any beep";
  }

  // Backspace deletes without a beep.
  TypeInto(*base, "12");
  const std::size_t before = Beeps();
  Press(vk::Back);
  EXPECT_EQ(base->Text(), "1");
  EXPECT_EQ(Beeps(), before);
}

TEST_F(SpinEditFilter, OnKeyPressThatSwallowsACharacterSwallowsTheBeepToo) {
  base->OnKeyPress = [](TObject&, char16_t& ch) {
    if (ch == u'a' || ch == u'.') ch = 0;
  };
  TypeInto(*base, "1a.2");
  EXPECT_EQ(base->Text(), "12");
  EXPECT_EQ(Beeps(), 0u);
  Type("b");
  EXPECT_EQ(base->Text(), "12");
  EXPECT_EQ(Beeps(), 1u);
}

TEST_F(SpinEditFilter, ACommaBecomesTheDecimalSeparatorWhichOnlyFloatFieldsTake) {
  std::u16string seen;
  base->OnKeyPress = [&](TObject&, char16_t& ch) { seen += ch; };
  base->Properties().SetValueType(TcxSpinEditValueType::vtFloat);
  TypeInto(*base, "1,5");
  EXPECT_EQ(base->Text(), "1.5");
  EXPECT_EQ(seen, u"1,5") << "OnKeyPress still sees the comma";
  Type(".2");
  EXPECT_EQ(base->Text(), "1.5.2");
  EXPECT_EQ(Beeps(), 0u);

  base->Properties().SetValueType(TcxSpinEditValueType::vtInt);
  TypeInto(*base, "1,5.2");
  EXPECT_EQ(base->Text(), "152");
  EXPECT_EQ(Beeps(), 2u);
}

TEST_F(SpinEditFilter, WithoutCanEditNothingCanBeTypedOrPasted) {
  base->Properties().SetCanEdit(false);
  base->SetFocus();
  Type("5中");
  EXPECT_EQ(base->Text(), "0");
  EXPECT_EQ(Beeps(), 2u);
  base->SelectAll();
  Paste("12");
  EXPECT_EQ(base->Text(), "0");
  EXPECT_EQ(Beeps(), 2u) << "a refused paste is silent";
  Leave();
  EXPECT_EQ(Describe(base->EditValue()), "Byte:0");
}

// ---------------------------------------------------------------------------------------
// Paste and cut

struct TPasteRow {
  const char* Name;
  const char* Before;  // typed into the emptied field
  std::size_t SelStart, SelLength;
  const char* Clipboard;
  const char* After;
  const char* Value;
};

void PrintTo(const TPasteRow& row, std::ostream* os) { *os << row.Name; }

class SpinEditPaste : public SpinEditForm, public testing::WithParamInterface<TPasteRow> {};

TEST_P(SpinEditPaste, HappensOnlyWhenTheResultIsEmptyOrANumberInRange) {
  const TPasteRow& row = GetParam();
  TypeInto(*base, row.Before);
  base->SetSelection(row.SelStart, row.SelLength);
  Paste(row.Clipboard);
  EXPECT_EQ(base->Text(), row.After);
  EXPECT_EQ(Describe(base->Value()), row.Value);
  EXPECT_EQ(Beeps(), 0u);
  EXPECT_EQ(*desk.clipboard.Text(), row.Clipboard) << "the clipboard is left as it was";
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, SpinEditPaste,
    testing::Values(TPasteRow{"OverTheWholeText", "7", 0, 1, "12", "12", "Int64:12"},
                    TPasteRow{"SpacesAround", "", 0, 0, " 12 ", " 12 ", "Int64:12"},
                    TPasteRow{"AHalf", "", 0, 0, "2.5", "2.5", "Int64:2"},
                    TPasteRow{"ANegativeHalf", "", 0, 0, "-2.5", "-2.5", "Int64:-2"},
                    TPasteRow{"AtTheCaret", "1", 1, 0, "5", "15", "Int64:15"},
                    TPasteRow{"ASignBefore", "5", 0, 0, "-", "-5", "Int64:-5"},
                    TPasteRow{"AnExponentLetter", "1", 1, 0, "e", "1e", "Int64:1"},
                    TPasteRow{"NothingOverEverything", "12", 0, 2, "", "", "Int64:0"},
                    TPasteRow{"TheLargestNumber", "", 0, 0, "9223372036854775807", "9223372036854775807",
                              "Int64:9223372036854775807"},
                    TPasteRow{"TheFirstOfSeveralLines", "", 0, 0, "12\r\n34", "12", "Int64:12"}),
    [](const testing::TestParamInfo<TPasteRow>& info) { return std::string(info.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    Refused, SpinEditPaste,
    testing::Values(TPasteRow{"AComma", "7", 0, 1, "1,5", "7", "Int64:7"},
                    TPasteRow{"Letters", "7", 0, 1, "abc", "7", "Int64:7"},
                    TPasteRow{"ALoneSign", "", 0, 0, "-", "", "Int64:0"},
                    TPasteRow{"ASecondSign", "-5", 0, 0, "-", "-5", "Int64:-5"},
                    TPasteRow{"ASignInside", "12", 1, 0, "-", "12", "Int64:12"},
                    TPasteRow{"BeyondTheRange", "7", 0, 1, "9223372036854775808", "7", "Int64:7"},
                    TPasteRow{"AnExponentBeyondTheRange", "7", 1, 0, "e500", "7", "Int64:7"},
                    TPasteRow{"ATab", "7", 0, 1, "\t1", "7", "Int64:7"},
                    TPasteRow{"OnlySpaces", "7", 0, 1, "  ", "7", "Int64:7"}),
    [](const testing::TestParamInfo<TPasteRow>& info) { return std::string(info.param.Name); });

using SpinEditCut = SpinEditForm;

TEST_F(SpinEditCut, AnEmptyClipboardPastesNothing) {
  TypeInto(*base, "7");
  desk.clipboard.Clear();
  Press(vk::Letter('V'), ssCtrl);
  EXPECT_EQ(base->Text(), "7");
}

TEST_F(SpinEditCut, ACutMustLeaveAnEmptyTextOrANumber) {
  struct TRow {
    const char* Before;
    std::size_t SelStart, SelLength;
    const char* After;
    const char* Clipboard;
  };
  const TRow rows[] = {
      {"12", 0, 2, "", "12"},
      {"15", 0, 1, "5", "1"},
      {"1e3", 1, 2, "1", "e3"},
      {"-5", 1, 1, "-5", "kept"},
      {"1e5", 0, 1, "1e5", "kept"},
      {"1-2", 0, 1, "-2", "1"},
      {"1-2", 2, 1, "1-2", "kept"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Before);
    TypeInto(*base, row.Before);
    base->SetSelection(row.SelStart, row.SelLength);
    desk.clipboard.SetText("kept");
    Press(vk::Letter('X'), ssCtrl);
    EXPECT_EQ(base->Text(), row.After);
    EXPECT_EQ(*desk.clipboard.Text(), row.Clipboard);
  }
  EXPECT_EQ(Beeps(), 0u);
}

}  // namespace
}  // namespace vormix
