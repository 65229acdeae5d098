// Generating commands in the real program under Wine, typed in as a person would: what
// the results area and the progress bar show, the messages for wrong input, values beyond
// 32 bits, and a batch larger than the results area can hold.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Driver.h"

namespace vormix::e2e {
namespace {

constexpr int kMemo1 = 201, kMemo2 = 202, kGenerate = 301, kProgressBar = 400;
constexpr int Field(int n) { return 100 + n; }
constexpr int kCount = Field(17);

constexpr const char* kOverflow = "Overflow while converting variant of type (Int64) into type (Integer)";

class GenerateE2e : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(app.Started()) << "vormix.exe did not show its main window"; }

  void Generate() {
    app.Click(app.Control(kGenerate));
    app.Settle();
  }
  // Generates and waits until the results area shows the expected text.
  void GenerateAndExpect(const std::string& expected) {
    Generate();
    WaitUntil([&] { return Results() == expected; }, 5000);
    EXPECT_EQ(Results(), expected);
    EXPECT_TRUE(WaitUntil([&] { return BarLooksEmpty(); }, 3000)) << "the progress bar was not cleared after the run";
  }
  std::string Results() const { return app.Text(app.Control(kMemo2)); }
  std::string FieldText(int n) const { return app.Text(app.Control(Field(n))); }
  // An empty bar shows the same colour at its start as near its end.
  bool BarLooksEmpty() const {
    HWND bar = app.Control(kProgressBar);
    RECT r{};
    GetClientRect(bar, &r);
    POINT start{6, r.bottom / 2}, end{r.right - 8, r.bottom / 2};
    ClientToScreen(bar, &start);
    ClientToScreen(bar, &end);
    return ScreenPixel(start) == ScreenPixel(end);
  }

  void ExpectError(const TMessageBoxSeen& box, const std::string& text) {
    ASSERT_NE(box.Window, nullptr) << "no message box for: " << text;
    EXPECT_EQ(box.Caption, "Vormix");
    EXPECT_EQ(box.Text, text);
    EXPECT_TRUE(box.ErrorIcon);
  }

  VormixProcess app;
};

TEST_F(GenerateE2e, MultiLineTemplatesWrapAroundAndEachRunReplacesTheLast) {
  // A marker on the second line takes the next parameter.
  app.SetText(app.Control(kMemo1), "echo %d\recho %d");
  app.SetText(app.Control(Field(1)), "1");
  app.SetText(app.Control(Field(3)), "10");
  app.SetText(app.Control(Field(4)), "10");
  app.SetText(app.Control(kCount), "2");
  GenerateAndExpect("echo 1\r\necho 10\r\necho 2\r\necho 20\r\n");

  // A template ending with a line break leaves an empty line after every command; the
  // batch before is gone.
  app.SetText(app.Control(kMemo1), "echo %d\r");
  GenerateAndExpect("echo 1\r\n\r\necho 2\r\n\r\n");

  // Values wrap around at 32 bits.
  app.SetText(app.Control(kMemo1), "%d");
  app.SetText(app.Control(Field(1)), "2147483647");
  GenerateAndExpect("2147483647\r\n-2147483648\r\n");
}

TEST_F(GenerateE2e, ACountNotAboveZeroEmptiesTheResultsAndFocusesTheCount) {
  app.SetText(app.Control(kMemo1), "a%d");
  app.SetText(app.Control(kCount), "2");
  GenerateAndExpect("a0\r\na1\r\n");

  app.SetText(app.Control(kCount), "0");
  Generate();
  TMessageBoxSeen box = app.WaitForMessageBox();
  ASSERT_NE(box.Window, nullptr);
  EXPECT_EQ(box.Caption, "提示");
  EXPECT_EQ(box.Text, "命令数量要>0！");
  EXPECT_TRUE(box.InformationIcon);
  app.CloseMessageBox(box);
  EXPECT_EQ(Results(), "");
  EXPECT_TRUE(WaitUntil([&] { return app.HasFocus(app.Control(kCount)); }, 3000))
      << "the focus is on control " << app.FocusedControlId();
}

TEST_F(GenerateE2e, ValuesBeyond32BitsAreReportedAsAnOverflow) {
  app.SetText(app.Control(kMemo1), "n%d");
  app.SetText(app.Control(kCount), "2");
  GenerateAndExpect("n0\r\nn1\r\n");

  // In a parameter field, base or step: the results stay as they were.
  for (int n : {9, 16}) {
    SCOPED_TRACE("field " + std::to_string(n));
    const std::string before = FieldText(n);
    app.SetText(app.Control(Field(n)), "2147483648");
    Generate();
    TMessageBoxSeen box = app.WaitForMessageBox();
    ExpectError(box, kOverflow);
    app.CloseMessageBox(box);
    EXPECT_EQ(Results(), "n0\r\nn1\r\n");
    app.SetText(app.Control(Field(n)), before);
  }

  // In the count: the results area has been emptied by then.
  app.SetText(app.Control(kCount), "2147483649");
  Generate();
  TMessageBoxSeen box = app.WaitForMessageBox();
  ExpectError(box, kOverflow);
  app.CloseMessageBox(box);
  EXPECT_EQ(Results(), "");
}

TEST_F(GenerateE2e, AHugeBatchStopsAtTheResultsCapacityAndTheProgramGoesOn) {
  app.SetText(app.Control(kMemo1), "x%d");
  app.SetText(app.Control(kCount), "2147483647");
  const ULONGLONG start = GetTickCount64();
  app.Click(app.Control(kGenerate));
  TMessageBoxSeen box = app.WaitForMessageBox(150000);
  const ULONGLONG elapsed = GetTickCount64() - start;
  std::printf("[          ] count 2147483647: the capacity error came after %llu ms\n", elapsed);
  RecordProperty("capacity_error_ms", std::to_string(elapsed));
  ExpectError(box, "Text exceeds memo capacity.");
  // Under Wine nearly all of it is the results area taking in what fitted, in one piece.
  EXPECT_LT(elapsed, 60000u) << "the run took too long to stop";
  app.CloseMessageBox(box);

  // Whatever the results area kept is whole commands in order, each on its own line:
  // x0 up to the one before the last (empty) line, and exactly as many characters as
  // those commands with their line breaks.
  HWND results = app.EditOf(app.Control(kMemo2));
  const LRESULT length = SendMessageW(results, WM_GETTEXTLENGTH, 0, 0);
  if (length > 0) {
    const LRESULT lines = SendMessageW(results, EM_GETLINECOUNT, 0, 0);
    ASSERT_GE(lines, 2);
    LRESULT expected = 0;
    for (LRESULT k = 0; k <= lines - 2; ++k) expected += static_cast<LRESULT>(("x" + std::to_string(k) + "\r\n").size());
    EXPECT_EQ(length, expected) << lines - 1 << " commands kept";
    wchar_t head[16] = {};
    SendMessageW(results, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(head));
    EXPECT_EQ(U(head), "x0\r\nx1\r\nx2\r\nx3\r");
  }

  app.SetText(app.Control(kCount), "3");
  GenerateAndExpect("x0\r\nx1\r\nx2\r\n");
}

}  // namespace
}  // namespace vormix::e2e
