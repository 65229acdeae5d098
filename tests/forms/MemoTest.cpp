#include "forms/StdCtrls.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "forms/MemoryDesktop.h"

namespace vormix {
namespace {

// The text of the error a piece of code throws, or nothing when it throws none.
std::string ErrorTextOf(const std::function<void()>& body) {
  try {
    body();
  } catch (const Error& e) {
    return e.Text();
  }
  return {};
}

constexpr const char* kCapacityError = "Text exceeds memo capacity";

class MemoTest : public testing::Test {
 protected:
  void SetUp() override { form.Show(); }

  TMemoryDesktop desk;
  TCustomForm form{desk.app, "Form"};
  std::unique_ptr<TMemo> lineByLine = Place<TMemo>(form, "LineByLine", 0, 0, 200, 100);
  std::unique_ptr<TMemo> batched = Place<TMemo>(form, "Batched", 0, 100, 200, 100);
};

using MemoLinesBatch = MemoTest;
using MemoCapacity = MemoTest;
using MemoText = MemoTest;

// Pieces that random lines are made of: every kind of line break the rules treat apart.
const char* const kPieces[] = {"a", "xyz", "文件", "命令 %d", "\r\n", "\r", "\n", "\n\r", "\r\n\r", " ", "\t"};
// Texts the native control may already hold, typed or pasted, before a batch starts.
const char* const kStartTexts[] = {"", "a", "a\r\n", "a\r\n\r\n", "a\r", "a\n", "文件\r\nb", "\n\r"};

TEST_F(MemoLinesBatch, GivesTheTextOfAppendingLineByLine) {
  std::mt19937 random(20240501);
  auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  for (int round = 0; round < 300; ++round) {
    const std::string start = kStartTexts[pick(std::size(kStartTexts))];
    std::vector<std::string> lines(1 + pick(12));
    for (std::string& line : lines)
      for (std::size_t n = pick(5); n > 0; --n) line += kPieces[pick(std::size(kPieces))];
    SCOPED_TRACE(testing::Message() << "round " << round << ", start " << testing::PrintToString(start));

    desk.EditOf(*lineByLine).SetText(start);
    desk.EditOf(*batched).SetText(start);
    const int changesBefore = desk.EditOf(*batched).ChangeNotifications();

    batched->Lines().BeginUpdate();
    for (const std::string& line : lines) {
      SCOPED_TRACE(testing::PrintToString(line));
      EXPECT_EQ(batched->Lines().Add(line), lineByLine->Lines().Add(line));
      EXPECT_EQ(batched->Lines().Count(), lineByLine->Lines().Count());
    }
    EXPECT_EQ(desk.EditOf(*batched).Text(), start) << "the native control waits for the end of the batch";
    batched->Lines().EndUpdate();

    EXPECT_EQ(desk.EditOf(*batched).Text(), desk.EditOf(*lineByLine).Text());
    EXPECT_EQ(batched->Text(), lineByLine->Text());
    EXPECT_EQ(desk.EditOf(*batched).ChangeNotifications() - changesBefore, 1);
    EXPECT_EQ(desk.EditOf(*batched).Caret(), desk.EditOf(*batched).TextLength());
    EXPECT_EQ(desk.EditOf(*lineByLine).Caret(), desk.EditOf(*lineByLine).TextLength());
  }
}

TEST_F(MemoLinesBatch, HandsOverOnlyAtTheOutermostEnd) {
  TMemoLines& lines = batched->Lines();
  lines.BeginUpdate();
  lines.Add("one");
  lines.BeginUpdate();
  lines.Add("two");
  lines.EndUpdate();
  EXPECT_EQ(desk.EditOf(*batched).Text(), "");
  lines.EndUpdate();
  EXPECT_EQ(desk.EditOf(*batched).Text(), "one\r\ntwo\r\n");
  EXPECT_FALSE(lines.Updating());
  lines.Add("three");  // after the batch, appends go straight to the control again
  EXPECT_EQ(desk.EditOf(*batched).Text(), "one\r\ntwo\r\nthree\r\n");
}

TEST_F(MemoLinesBatch, AddAnswersTheIndexOfTheNewLine) {
  for (bool updating : {false, true}) {
    SCOPED_TRACE(updating ? "in a batch" : "line by line");
    batched->ClearValue();
    TMemoLines& lines = batched->Lines();
    if (updating) lines.BeginUpdate();
    EXPECT_EQ(lines.Add("a"), 0);
    EXPECT_EQ(lines.Add("b\r\nc"), 1);
    EXPECT_EQ(lines.Add("d"), 3);
    EXPECT_EQ(lines.Count(), 4u);
    if (updating) lines.EndUpdate();
    EXPECT_EQ(batched->Text(), "a\r\nb\r\nc\r\nd\r\n");
  }
}

// With room for 20 UTF-16 units: an append that would go beyond is refused whole, and
// what was appended before stays exactly as it was.
TEST_F(MemoCapacity, AppendBeyondCapacityFailsAndKeepsEverythingBefore) {
  for (bool updating : {false, true}) {
    SCOPED_TRACE(updating ? "in a batch" : "line by line");
    batched->ClearValue();
    batched->Capacity = 20;
    TMemoLines& lines = batched->Lines();
    if (updating) lines.BeginUpdate();
    lines.Add("0123456789");                                                 // 12 units
    EXPECT_EQ(ErrorTextOf([&] { lines.Add("abcdefgh"); }), kCapacityError);  // 12 + 10
    EXPECT_EQ(batched->Text(), "0123456789\r\n");
    EXPECT_EQ(lines.Add("ab\r\ncd"), 1);  // 12 + 8: exactly full
    EXPECT_EQ(ErrorTextOf([&] { lines.Add(""); }), kCapacityError);
    if (updating) lines.EndUpdate();
    EXPECT_EQ(desk.EditOf(*batched).Text(), "0123456789\r\nab\r\ncd\r\n");
    EXPECT_EQ(lines.Count(), 3u);
  }
}

TEST_F(MemoCapacity, CountsUtf16UnitsNotBytes) {
  batched->Capacity = 6;
  batched->Lines().Add("文件");  // 2 units and a line break, though 6 bytes in UTF-8
  EXPECT_EQ(ErrorTextOf([&] { batched->Lines().Add("测"); }), kCapacityError);
  EXPECT_EQ(batched->Text(), "文件\r\n");
}

TEST_F(MemoCapacity, SettingTooLongATextFailsAndKeepsTheOldOne) {
  batched->SetText("old");
  batched->Capacity = 4;
  EXPECT_EQ(ErrorTextOf([&] { batched->SetText("a\nbc"); }), kCapacityError);  // 5 units once it has CR LF
  EXPECT_EQ(batched->Text(), "old");
  batched->SetText("a\nb");
  EXPECT_EQ(batched->Text(), "a\r\nb");
}

TEST_F(MemoCapacity, NativeControlRefusingTheTextFails) {
  desk.EditOf(*batched).MaxTextLength = 5;
  EXPECT_EQ(ErrorTextOf([&] { batched->SetText("123456"); }), kCapacityError);
  EXPECT_EQ(batched->Text(), "");

  batched->SetText("ab");
  batched->Lines().BeginUpdate();
  batched->Lines().Add("cdefg");
  EXPECT_EQ(ErrorTextOf([&] { batched->Lines().EndUpdate(); }), kCapacityError);
  EXPECT_FALSE(batched->Lines().Updating());
  EXPECT_EQ(batched->Text(), "ab");
}

TEST_F(MemoText, SettingTheTextMakesLineBreaksUniform) {
  batched->SetText("a\nb\rc\r\nd");
  EXPECT_EQ(desk.EditOf(*batched).Text(), "a\r\nb\r\nc\r\nd");
  const int changes = desk.EditOf(*batched).ChangeNotifications();
  batched->SetText("a\r\nb\nc\rd");  // the same text once made uniform: nothing happens
  EXPECT_EQ(desk.EditOf(*batched).ChangeNotifications(), changes);
}

TEST_F(MemoText, ClearValueEmptiesTheArea) {
  batched->SetText("a\r\nb\r\n");
  batched->ClearValue();
  EXPECT_EQ(batched->Text(), "");
  EXPECT_EQ(batched->Lines().Count(), 0u);
  batched->Lines().Add("x");
  EXPECT_EQ(batched->Text(), "x\r\n");
}

TEST_F(MemoText, CtrlASelectsTheWholeText) {
  batched->SetText("ab\r\n文件");
  batched->SetFocus();
  desk.EditOf(*batched).SetSelection(1, 0);
  desk.windows.PressKey(vk::Letter('A'), ssCtrl);
  std::size_t start = 0, length = 0;
  desk.EditOf(*batched).GetSelection(start, length);
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(length, 6u);
  EXPECT_EQ(batched->Text(), "ab\r\n文件");
}

}  // namespace
}  // namespace vormix
