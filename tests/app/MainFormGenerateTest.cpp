#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/MainFormFixture.h"

namespace vormix {
namespace {

constexpr const char* kOverflow = "Overflow while converting variant of type (Int64) into type (Integer)";

// --- Batches as they arrive in the results area -------------------------------------------

struct BatchCase {
  const char* name;
  std::string templ;
  std::vector<std::pair<int, const char*>> fields;  // field number and its text
  std::int64_t count;
  std::string results;
};

class MainFormGenerate : public MainFormTest, public testing::WithParamInterface<BatchCase> {};

TEST_P(MainFormGenerate, ResultsAreaHoldsEveryCommandFollowedByALineBreak) {
  const BatchCase& c = GetParam();
  for (const auto& [n, text] : c.fields) Type(form.Field(n), text);
  const int paintsBefore = desk.WindowOf(*form.cxProgressBar1)->PaintCount();
  Generate(c.templ, c.count);

  EXPECT_EQ(Results(), c.results);
  EXPECT_TRUE(desk.messageBox.Shown.empty());
  const MemoryEdit& results = desk.EditOf(*form.cxMemo2);
  EXPECT_EQ(results.Caret(), results.TextLength()) << "the caret stands after the last command";
  EXPECT_EQ(form.cxProgressBar1->Properties().Max(), static_cast<double>(c.count));
  EXPECT_EQ(form.cxProgressBar1->Position(), 0) << "the bar ends cleared";
  // Few commands on a wide bar: each one changes the picture, so each is painted.
  EXPECT_EQ(desk.WindowOf(*form.cxProgressBar1)->PaintCount() - paintsBefore, c.count);
  EXPECT_TRUE(desk.HasFocus(*form.cxButton1));
}

INSTANTIATE_TEST_SUITE_P(
    Batches, MainFormGenerate,
    testing::Values(
        BatchCase{"TwoFiles", "copy a%d.txt b%d.txt", {{3, "100"}, {4, "5"}}, 3,
                  "copy a0.txt b100.txt\r\ncopy a1.txt b105.txt\r\ncopy a2.txt b110.txt\r\n"},
        BatchCase{"NinthMarkerStays",
                  "%d %d %d %d %d %d %d %d %d",
                  {{1, "1"}, {3, "2"}, {5, "3"}, {7, "4"}, {9, "5"}, {11, "6"}, {13, "7"}, {15, "8"}},
                  1,
                  "1 2 3 4 5 6 7 8 %d\r\n"},
        BatchCase{"AdjacentMarkers", "%d%d", {{1, "7"}, {2, "1"}, {3, "-3"}, {4, "-1"}}, 2, "7-3\r\n8-4\r\n"},
        BatchCase{"MarkersAtBothEnds", "%d middle %d", {{3, "9"}}, 2, "0 middle 9\r\n1 middle 10\r\n"},
        BatchCase{"ChineseTemplate", "文件%d.txt", {}, 2, "文件0.txt\r\n文件1.txt\r\n"},
        BatchCase{"TwoLineTemplate", "echo %d\r\necho %d", {{1, "1"}, {2, "1"}, {3, "10"}, {4, "10"}}, 2,
                  "echo 1\r\necho 10\r\necho 2\r\necho 20\r\n"},
        BatchCase{"TemplateEndingInLineBreak", "echo %d\r\n", {}, 2, "echo 0\r\n\r\necho 1\r\n\r\n"},
        BatchCase{"WrapsAtTheTop", "%d", {{1, "2147483647"}}, 2, "2147483647\r\n-2147483648\r\n"},
        BatchCase{"NegativeStep", "%d", {{2, "-1"}}, 3, "0\r\n-1\r\n-2\r\n"},
        BatchCase{"CountOneShowsTheBases", "%d,%d", {{1, "4"}, {2, "9"}, {3, "-2"}, {4, "9"}}, 1, "4,-2\r\n"}),
    [](const testing::TestParamInfo<BatchCase>& info) { return std::string(info.param.name); });

using MainFormRun = MainFormTest;
using MainFormValidation = MainFormTest;
using MainFormOverflow = MainFormTest;
using MainFormCapacity = MainFormTest;

TEST_F(MainFormRun, TemplateTypedWithEnterGivesTwoLinesPerCommand) {
  form.cxSpinEdit17->SetValue(2);
  form.cxMemo1->SetFocus();
  desk.windows.TypeText("a %d\rb %d");
  Press(*form.cxButton1);
  EXPECT_EQ(Results(), "a 0\r\nb 0\r\na 1\r\nb 1\r\n");
}

TEST_F(MainFormRun, ClickIsDroppedWhileAFieldKeepsTheFocus) {
  Generate("%d", 2);
  // A field whose text fails its check keeps the focus when left, silently.
  Type(*form.cxSpinEdit17, "-");
  form.cxMemo1->SetText("other %d");
  Press(*form.cxButton1);
  EXPECT_TRUE(desk.HasFocus(*form.cxSpinEdit17));
  EXPECT_EQ(form.cxSpinEdit17->Text(), "-");
  EXPECT_EQ(form.cxSpinEdit17->SelLength(), 1u) << "the whole text is selected";
  EXPECT_EQ(Results(), "0\r\n1\r\n");
  EXPECT_TRUE(desk.messageBox.Shown.empty());
}

TEST_F(MainFormRun, GeneratingAgainReplacesTheFirstBatch) {
  Generate("x%d", 3);
  Generate("y%d", 2);
  EXPECT_EQ(Results(), "y0\r\ny1\r\n");
  EXPECT_EQ(form.cxProgressBar1->Properties().Max(), 2);
}

// The bar is painted once for each distinct picture it shows during the run: a new
// filled length or a new percentage, however many commands lie between them.
TEST_F(MainFormRun, ProgressBarIsPaintedOncePerDistinctPicture) {
  TcxProgressBar& bar = *form.cxProgressBar1;
  bar.RepaintNow();
  const int paintsBefore = desk.WindowOf(bar)->PaintCount();
  constexpr int kCount = 20000;
  Generate("%d", kCount);
  EXPECT_EQ(form.cxMemo2->Lines().Count(), static_cast<std::size_t>(kCount));

  const int width = bar.BarViewInfo().Content.Width();
  ASSERT_EQ(width, 574);
  auto picture = [&](long long k) {
    long long pct = k * 100 / kCount;  // rounded, halves to the even neighbour
    const long long twice = 2 * (k * 100 % kCount);
    if (twice > kCount || (twice == kCount && pct % 2 == 1)) ++pct;
    return std::make_pair(k * width / kCount, pct);
  };
  int distinct = 0;
  for (long long k = 1; k <= kCount; ++k) distinct += picture(k) != picture(k - 1);
  EXPECT_EQ(desk.WindowOf(bar)->PaintCount() - paintsBefore, distinct);
  EXPECT_GT(distinct, width);
}

TEST_F(MainFormRun, ResultsAreaChangesOnceForTheWholeBatch) {
  const int changesBefore = desk.EditOf(*form.cxMemo2).ChangeNotifications();
  Generate("%d", 500);
  EXPECT_EQ(desk.EditOf(*form.cxMemo2).ChangeNotifications() - changesBefore, 1);
}

// --- The two prompts ---------------------------------------------------------------------

TEST_F(MainFormValidation, TemplateWithoutMarkerAsksAndFocusesTheTemplate) {
  for (const char* templ : {"", "%D", "copy a.txt b.txt", "100%", "% d", "%\r\nd"}) {
    SCOPED_TRACE(testing::PrintToString(templ));
    desk.messageBox.Shown.clear();
    form.cxMemo2->SetText("earlier results\r\n");
    form.cxProgressBar1->SetPosition(30);
    std::string resultsMeanwhile = "not shown";
    desk.messageBox.WhileShown = [&](const TShownMessage&) { resultsMeanwhile = Results(); };
    Generate(templ, 5);

    const TShownMessage& shown = OnlyMessage();
    EXPECT_EQ(shown.Text, "请输入带有\"%d\"格式参数的命令模板！");
    EXPECT_EQ(shown.Caption, "提示");
    EXPECT_EQ(shown.Icon, TMessageIcon::Information);
    EXPECT_EQ(shown.Owner, form.Window());
    EXPECT_EQ(resultsMeanwhile, "");
    EXPECT_EQ(Results(), "");
    EXPECT_TRUE(desk.HasFocus(*form.cxMemo1));
    EXPECT_EQ(form.cxProgressBar1->Position(), 30);
    EXPECT_EQ(form.cxProgressBar1->Properties().Max(), 100);
  }
}

TEST_F(MainFormValidation, CountNotAboveZeroAsksAndFocusesCountField) {
  for (const char* count : {"0", "-1", "", "-2147483649", "-9223372036854775808"}) {
    SCOPED_TRACE(testing::PrintToString(count));
    desk.messageBox.Shown.clear();
    form.cxMemo2->SetText("earlier results\r\n");
    form.cxProgressBar1->SetPosition(30);
    form.cxMemo1->SetText("echo %d");
    Type(*form.cxSpinEdit17, count);
    Press(*form.cxButton1);

    const TShownMessage& shown = OnlyMessage();
    EXPECT_EQ(shown.Text, "命令数量要>0！");
    EXPECT_EQ(shown.Caption, "提示");
    EXPECT_EQ(shown.Icon, TMessageIcon::Information);
    EXPECT_EQ(Results(), "");
    EXPECT_TRUE(desk.HasFocus(*form.cxSpinEdit17));
    EXPECT_EQ(form.cxProgressBar1->Position(), 30);
  }
}

// --- Values beyond 32 bits -----------------------------------------------------------------

TEST_F(MainFormOverflow, ParameterBeyond32BitsIsReportedAndResultsStay) {
  Generate("%d", 2);
  for (int n = 1; n <= 16; ++n) {
    SCOPED_TRACE(n);
    desk.messageBox.Shown.clear();
    form.cxProgressBar1->SetPosition(1);
    const std::string before = form.Field(n).Text();
    Type(form.Field(n), n % 2 ? "2147483648" : "-2147483649");
    Press(*form.cxButton1);
    Type(form.Field(n), before);

    const TShownMessage& shown = OnlyMessage();
    EXPECT_EQ(shown.Text, kOverflow);
    EXPECT_EQ(shown.Caption, "Vormix");
    EXPECT_EQ(shown.Icon, TMessageIcon::Error);
    EXPECT_EQ(Results(), "0\r\n1\r\n");
    EXPECT_EQ(form.cxProgressBar1->Position(), 1);
    EXPECT_EQ(form.cxProgressBar1->Properties().Max(), 2);
  }
}

TEST_F(MainFormOverflow, CountBeyond32BitsClearsResultsAndLeavesTheBarFilled) {
  Generate("%d", 2);
  form.cxProgressBar1->SetPosition(1);
  Generate("%d", 2147483649);

  EXPECT_EQ(OnlyMessage().Text, kOverflow);
  EXPECT_EQ(OnlyMessage().Caption, "Vormix");
  EXPECT_EQ(Results(), "");
  EXPECT_EQ(form.cxProgressBar1->Properties().Max(), 2147483649.0);
  EXPECT_EQ(form.cxProgressBar1->Position(), 1) << "the bar is not cleared";
}

// --- More commands than the results area can hold ----------------------------------------

TEST_F(MainFormCapacity, RunStopsWithAnErrorAndKeepsTheCompleteLines) {
  form.cxMemo2->Capacity = 100;
  Generate("line %d", 1000);

  const TShownMessage& shown = OnlyMessage();
  EXPECT_EQ(shown.Text, "Text exceeds memo capacity.");
  EXPECT_EQ(shown.Caption, "Vormix");
  EXPECT_EQ(shown.Icon, TMessageIcon::Error);
  std::string expected;
  for (int k = 0; k < 12; ++k) expected += "line " + std::to_string(k) + "\r\n";  // 98 units; one more is 107
  EXPECT_EQ(Results(), expected);
  EXPECT_EQ(desk.EditOf(*form.cxMemo2).Text(), expected);

  desk.messageBox.Shown.clear();
  Generate("again %d", 3);
  EXPECT_TRUE(desk.messageBox.Shown.empty());
  EXPECT_EQ(Results(), "again 0\r\nagain 1\r\nagain 2\r\n");
  EXPECT_EQ(form.cxProgressBar1->Position(), 0);
}

TEST_F(MainFormCapacity, LargestCountEndsWithTheErrorAtOnce) {
  form.cxMemo2->Capacity = 10000;
  for (std::int64_t count : {std::int64_t{2147483647}, std::int64_t{2147483648}}) {
    SCOPED_TRACE(count);
    desk.messageBox.Shown.clear();
    Generate("%d", count);
    EXPECT_EQ(OnlyMessage().Text, "Text exceeds memo capacity.");
    EXPECT_EQ(form.cxProgressBar1->Properties().Max(), static_cast<double>(count));
    EXPECT_LE(desk.EditOf(*form.cxMemo2).TextLength(), 10000u);
    EXPECT_TRUE(Results().starts_with("0\r\n1\r\n2\r\n"));
    EXPECT_TRUE(Results().ends_with("\r\n"));
  }
}

}  // namespace
}  // namespace vormix
