#include "forms/TextLines.h"

#include <gtest/gtest.h>

#include <string>

namespace vormix {
namespace {

TEST(TextLinesCount, CountsRowsLessAnEmptyLastRow) {
  struct Case {
    const char* text;
    std::size_t lines;
  };
  const Case cases[] = {
      {"", 0},          {"a", 1},         {"a\r\n", 1},   {"a\r\n\r\n", 2}, {"a\r\nb", 2},
      {"\r\n", 1},      {"\r\n\r\n\r\n", 3}, {"a\nb", 1}, {"a\rb", 1},      {"a\r\r\nb", 2},
      {"文件\r\n命令", 2},
  };
  for (const Case& c : cases) EXPECT_EQ(LineCount(c.text), c.lines) << testing::PrintToString(c.text);
}

TEST(TextLinesCount, OnlyCrLfEndsALine) {
  for (const char* text : {"", "a\r\n", "\r\n"}) EXPECT_TRUE(EndsAtLineStart(text)) << testing::PrintToString(text);
  for (const char* text : {"a", "a\n", "a\r", "a\n\r", "\n"}) EXPECT_FALSE(EndsAtLineStart(text)) << testing::PrintToString(text);
}

struct AppendCase {
  const char* name;
  std::string text;
  std::string line;
  std::string expected;
};

class TextLinesAppend : public testing::TestWithParam<AppendCase> {};

TEST_P(TextLinesAppend, GivesTheTextTheEditControlWouldHold) {
  const AppendCase& c = GetParam();
  std::string text = c.text;
  AppendLineTo(text, c.line);
  EXPECT_EQ(text, c.expected);
  // What was inserted is exactly what the insertion rule hands to the control.
  EXPECT_EQ(c.text + LineInsertion(EndsAtLineStart(c.text), c.line), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TextLinesAppend,
    testing::Values(
        AppendCase{"ToEmptyText", "", "x", "x\r\n"},
        AppendCase{"EmptyLineToEmptyText", "", "", "\r\n"},
        AppendCase{"AfterALineBreak", "a\r\n", "b", "a\r\nb\r\n"},
        AppendCase{"WithoutFinalBreakStaysWithout", "a", "b", "a\r\nb"},
        AppendCase{"EmptyLineWithoutFinalBreak", "a", "", "a\r\n"},
        AppendCase{"InnerCrLfAddsTwoLines", "", "a\r\nb", "a\r\nb\r\n"},
        AppendCase{"LfCrBecomesTwoBreaks", "", "a\n\rb", "a\r\n\r\nb\r\n"},
        AppendCase{"CrLfThenCrUnchanged", "", "x\r\n\ry", "x\r\n\ry\r\n"},
        AppendCase{"CrLfThenCrUnchangedWithoutFinalBreak", "a", "x\r\n\ry", "a\r\nx\r\n\ry"},
        // The line's own LF and the CR of the break behind it form an LF CR pair.
        AppendCase{"LineEndingInLf", "", "a\n", "a\r\n\r\n\n"},
        AppendCase{"LineEndingInLfWithoutFinalBreak", "x", "a\n", "x\r\na\n"},
        AppendCase{"LineEndingInCrLf", "", "a\r\n", "a\r\n\r\n"},
        AppendCase{"LineEndingInCr", "", "a\r", "a\r\r\n"},
        // A text ending in a lone LF or CR has no line break at its end.
        AppendCase{"AfterLoneLf", "a\n", "b", "a\n\r\nb"},
        AppendCase{"AfterLoneCr", "a\r", "b", "a\r\r\nb"},
        // The scan: a CR LF is passed over whole and never lends its LF to an LF CR pair;
        // after a replacement it goes on behind what was written.
        AppendCase{"ScanTwoLfCrPairs", "a", "\n\r\n\r", "a\r\n\r\n\r\n\r\n\r\n"},
        AppendCase{"ScanCrLfCr", "a", "\r\n\r", "a\r\n\r\n\r"},
        AppendCase{"ScanLfCrCr", "a", "\n\r\r", "a\r\n\r\n\r\n\r"},
        AppendCase{"ScanLfLfCr", "a", "\n\n\r", "a\r\n\n\r\n\r\n"},
        AppendCase{"ScanCrLfCrLf", "a", "\r\n\r\n", "a\r\n\r\n\r\n"},
        AppendCase{"ChineseText", "命令", "文件\n\r测试", "命令\r\n文件\r\n\r\n测试"}),
    [](const testing::TestParamInfo<AppendCase>& info) { return std::string(info.param.name); });

TEST(TextLinesAppend, LineCountGrowsByTheLinesOfTheAppendedText) {
  std::string text;
  AppendLineTo(text, "one");
  EXPECT_EQ(LineCount(text), 1u);
  AppendLineTo(text, "two\r\nthree");
  EXPECT_EQ(LineCount(text), 3u);
  AppendLineTo(text, "");
  EXPECT_EQ(LineCount(text), 4u);
  EXPECT_EQ(text, "one\r\ntwo\r\nthree\r\n\r\n");
}

TEST(TextLinesNormalize, MakesEveryLineBreakCrLf) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"", ""},
      {"a\nb", "a\r\nb"},
      {"a\rb", "a\r\nb"},
      {"a\r\nb", "a\r\nb"},
      {"\n\r", "\r\n\r\n"},
      {"\r\r\n", "\r\n\r\n"},
      {"a\n\nb\r", "a\r\n\r\nb\r\n"},
      {"文件\n", "文件\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(NormalizeLineBreaks(c.text), c.expected) << testing::PrintToString(c.text);
}

}  // namespace
}  // namespace vormix
