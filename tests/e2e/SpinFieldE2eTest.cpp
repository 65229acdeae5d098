// The numeric fields of the real program under Wine, typed into as a person would: the
// check when leaving a field, the characters a field refuses, and a 64-bit number that
// the generator cannot take.
#include <gtest/gtest.h>

#include <string>

#include "Driver.h"

namespace vormix::e2e {
namespace {

constexpr int kMemo1 = 201, kMemo2 = 202, kGenerate = 301;
constexpr int Field(int n) { return 100 + n; }
constexpr int kCount = Field(17);

class SpinFieldE2e : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(app.Started()) << "vormix.exe did not show its main window"; }

  // The template area is empty and has the focus when the program starts.
  void TypeTemplate(const std::string& text) {
    app.Click(app.Control(kMemo1));
    app.TypeText(text);
  }
  // Into the field, its whole text selected and deleted, then the new text typed: a sign
  // is only taken as the first character of an empty field.
  void TypeIntoField(int id, const std::string& text) {
    app.Click(app.Control(id));
    SendMessageW(app.Control(id), EM_SETSEL, 0, -1);
    app.PressKey(VK_DELETE);
    app.TypeText(text);
  }
  void Generate() {
    app.Click(app.Control(kGenerate));
    app.Settle();
  }
  std::string Results() const { return app.Text(app.Control(kMemo2)); }
  std::string FieldText(int id) const { return app.Text(app.Control(id)); }
  // "start+length" of the field's selection.
  std::string Selection(int id) const {
    DWORD start = 0, end = 0;
    SendMessageW(app.Control(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return std::to_string(start) + "+" + std::to_string(end - start);
  }

  VormixProcess app;
};

TEST_F(SpinFieldE2e, AnInvalidTextKeepsTheFocusAndTheGenerateClickIsDroppedUntilANumberIsLeft) {
  TypeTemplate("n%d %d");
  TypeIntoField(kCount, "2");
  Generate();
  const std::string first = "n0 0\r\nn1 1\r\n";
  ASSERT_TRUE(WaitUntil([&] { return Results() == first; }, 5000)) << Results();

  // A count of 3 that a generation would show, then a lone minus in the second
  // parameter's base and Tab: the field keeps the focus and selects its whole text,
  // silently.
  TypeIntoField(kCount, "3");
  TypeIntoField(Field(3), "-");
  app.PressKey(VK_TAB);
  EXPECT_TRUE(WaitUntil([&] { return app.Focused() == app.Control(Field(3)); }, 3000));
  EXPECT_EQ(FieldText(Field(3)), "-");
  EXPECT_EQ(Selection(Field(3)), "0+1");
  EXPECT_TRUE(app.Dialogs().empty()) << "no message for an invalid text";

  // The press on the generate button takes the focus only to have it pulled back.
  Generate();
  Sleep(300);
  EXPECT_TRUE(app.Dialogs().empty()) << "nothing was generated, so nothing was reported";
  EXPECT_EQ(Results(), first);
  EXPECT_EQ(app.Focused(), app.Control(Field(3)));
  EXPECT_EQ(FieldText(Field(3)), "-");
  EXPECT_EQ(Selection(Field(3)), "0+1");

  // '1e3' typed over the selection reads as 1000 when the field is left.
  app.TypeText("1e3");
  app.PressKey(VK_TAB);
  EXPECT_EQ(FieldText(Field(3)), "1000");
  EXPECT_TRUE(WaitUntil([&] { return app.Focused() == app.Control(Field(4)); }, 3000));
  Generate();
  EXPECT_TRUE(WaitUntil([&] { return Results() == "n0 1000\r\nn1 1001\r\nn2 1002\r\n"; }, 5000)) << Results();
}

TEST_F(SpinFieldE2e, OnlyNumberCharactersCanBeTypedAndA64BitNumberOverflowsOnGenerating) {
  // Letters other than E and e, spaces, commas and points never reach the text.
  TypeIntoField(Field(1), "1a2 3,4.5xZ");
  EXPECT_EQ(FieldText(Field(1)), "12345");
  TypeIntoField(kCount, "x y,z.");
  EXPECT_EQ(FieldText(kCount), "");
  TypeIntoField(kCount, "2");

  // A number beyond 32 bits is a fine field value, but the generator cannot take it.
  TypeTemplate("n%d");
  TypeIntoField(Field(1), "2147483648");
  Generate();
  TMessageBoxSeen box = app.WaitForMessageBox();
  ASSERT_NE(box.Window, nullptr) << "no overflow message";
  EXPECT_EQ(box.Caption, "Vormix");
  EXPECT_EQ(box.Text, "Overflow while converting variant of type (Int64) into type (Integer)");
  EXPECT_TRUE(box.ErrorIcon);
  app.CloseMessageBox(box);
  EXPECT_EQ(FieldText(Field(1)), "2147483648");
}

}  // namespace
}  // namespace vormix::e2e
