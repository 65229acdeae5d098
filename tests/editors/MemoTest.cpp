// The text area on the memory desktop: its line list (counting display rows, appending,
// the held batch), setting and clearing the whole text, its capacity, its keys, and its
// own scroll bars over the native control's.
#include "editors/cxMemo.h"

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

// "Null" or "String:" and the text.
std::string Describe(const Variant& value) {
  if (value.IsNull()) return "Null";
  return value.IsString() ? "String:" + VariantToString(value) : "other";
}

class MemoTest : public testing::Test {
 protected:
  MemoTest() {
    // Both as the results area: no wrapping, so rows are lines.
    lineByLine->Properties().SetScrollBars(TScrollStyle::ssBoth);
    batched->Properties().SetScrollBars(TScrollStyle::ssBoth);
    form.SetClientSize(400, 400);
    form.Show();
  }
  MemoryEdit& Edit(const TcxMemo& memo) const { return desk.EditOf(memo); }

  TMemoryDesktop desk;
  TCustomForm form{desk.app, "Form"};
  std::unique_ptr<TcxMemo> lineByLine = Place<TcxMemo>(form, "LineByLine", 0, 0, 200, 100);
  std::unique_ptr<TcxMemo> batched = Place<TcxMemo>(form, "Batched", 0, 100, 200, 100);
  std::unique_ptr<TcxMemo> wrapping = Place<TcxMemo>(form, "Wrapping", 200, 0, 100, 100);
};

using MemoLines = MemoTest;
using MemoLinesBatch = MemoTest;
using MemoCapacity = MemoTest;
using MemoText = MemoTest;
using MemoScrollBars = MemoTest;

TEST_F(MemoText, SettingsStartAtTheirDefaults) {
  TcxMemo fresh("Fresh");
  const TcxMemoProperties& p = fresh.Properties();
  EXPECT_EQ(p.ScrollBars(), TScrollStyle::ssNone);
  EXPECT_TRUE(p.WordWrap());
  EXPECT_TRUE(p.WantReturns());
  EXPECT_FALSE(p.WantTabs());
  EXPECT_EQ(p.Alignment().Horz, TAlignment::taLeftJustify);
  EXPECT_FALSE(p.AutoSelect());
  EXPECT_TRUE(p.HideSelection());
  EXPECT_EQ(p.MaxLength(), 0);
  EXPECT_FALSE(p.ReadOnly());
  EXPECT_EQ(p.CharCase(), TcxEditCharCase::ecNormal);
  EXPECT_FALSE(p.OEMConvert());
  EXPECT_EQ(fresh.Width(), 185);
  EXPECT_EQ(fresh.Height(), 89);
  EXPECT_EQ(fresh.Lines().Count(), 0u) << "no native control yet";
}

// Rows of the native control, less an empty last one; a wrapped line is several rows.
TEST_F(MemoLines, CountDisplayRows) {
  const std::string sixty(60, 'w');
  const struct {
    const char* Text;
    TcxMemo* Memo;
    std::size_t Count;
  } cases[] = {
      {"", batched.get(), 0},
      {"a", batched.get(), 1},
      {"a\r\n", batched.get(), 1},
      {"a\r\n\r\n", batched.get(), 2},
      {"a\r\nb", batched.get(), 2},
      {sixty.c_str(), batched.get(), 1},  // scrolls sideways instead
      {"", wrapping.get(), 0},
      {"a\r\n\r\n", wrapping.get(), 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Memo->Name() << " " << testing::PrintToString(std::string(c.Text)));
    c.Memo->SetText(c.Text);
    EXPECT_EQ(c.Memo->Lines().Count(), c.Count);
  }
  // 60 characters of 6 pixels in a text area under 100 pixels wide: several rows, yet
  // the text reads back as the one line it is.
  wrapping->SetText(sixty);
  EXPECT_GT(wrapping->Lines().Count(), 3u);
  EXPECT_EQ(wrapping->Lines().Count(), Edit(*wrapping).RowCount());
  EXPECT_EQ(wrapping->Text(), sixty);
}

TEST_F(MemoLines, AppendingFollowsTheLineBreakRules) {
  const struct {
    const char* Start;
    const char* Line;
    const char* Text;
    std::size_t Count;
  } cases[] = {
      {"", "x", "x\r\n", 1},
      {"a", "b", "a\r\nb", 2},
      {"a\r\n", "b\r\nc", "a\r\nb\r\nc\r\n", 3},   // an inner CR LF adds two lines
      {"", "x\n\ry", "x\r\n\r\ny\r\n", 3},          // LF CR becomes CR LF CR LF
      {"", "x\r\n\ry", "x\r\n\ry\r\n", 2},          // a CR LF is passed over whole
      {"", "\n\r\n\r", "\r\n\r\n\r\n\r\n\r\n", 5},  // after a replacement the scan goes on behind it
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << testing::PrintToString(std::string(c.Start)) << " + "
                                    << testing::PrintToString(std::string(c.Line)));
    batched->SetText(c.Start);
    batched->Lines().Add(c.Line);
    EXPECT_EQ(batched->Text(), c.Text);
    EXPECT_EQ(batched->Lines().Count(), c.Count);
    EXPECT_EQ(Edit(*batched).Caret(), Edit(*batched).TextLength()) << "the caret after the inserted text";
    EXPECT_EQ(Describe(batched->EditValue()), std::string("String:") + c.Text) << "the value follows the text";
  }
}

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

    Edit(*lineByLine).SetText(start);
    Edit(*batched).SetText(start);
    const int changesBefore = Edit(*batched).ChangeNotifications();

    batched->Lines().BeginUpdate();
    for (const std::string& line : lines) {
      SCOPED_TRACE(testing::PrintToString(line));
      EXPECT_EQ(batched->Lines().Add(line), lineByLine->Lines().Add(line));
      EXPECT_EQ(batched->Lines().Count(), lineByLine->Lines().Count());
    }
    EXPECT_EQ(Edit(*batched).Text(), start) << "the native control waits for the end of the batch";
    batched->Lines().EndUpdate();

    EXPECT_EQ(Edit(*batched).Text(), Edit(*lineByLine).Text());
    EXPECT_EQ(batched->Text(), lineByLine->Text());
    EXPECT_EQ(Edit(*batched).ChangeNotifications() - changesBefore, 1);
    EXPECT_EQ(Edit(*batched).Caret(), Edit(*batched).TextLength());
    EXPECT_EQ(Edit(*lineByLine).Caret(), Edit(*lineByLine).TextLength());
  }
}

TEST_F(MemoLinesBatch, HandsOverOnlyAtTheOutermostEnd) {
  TcxMemoLines& lines = batched->Lines();
  lines.BeginUpdate();
  lines.Add("one");
  lines.BeginUpdate();
  lines.Add("two");
  lines.EndUpdate();
  EXPECT_EQ(Edit(*batched).Text(), "");
  lines.EndUpdate();
  EXPECT_EQ(Edit(*batched).Text(), "one\r\ntwo\r\n");
  EXPECT_EQ(Describe(batched->EditValue()), "String:one\r\ntwo\r\n");
  EXPECT_FALSE(lines.Updating());
  lines.Add("three");  // after the batch, appends go straight to the control again
  EXPECT_EQ(Edit(*batched).Text(), "one\r\ntwo\r\nthree\r\n");
}

TEST_F(MemoLinesBatch, AddAnswersTheIndexOfTheNewLine) {
  for (bool updating : {false, true}) {
    SCOPED_TRACE(updating ? "in a batch" : "line by line");
    batched->ClearValue();
    TcxMemoLines& lines = batched->Lines();
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
    TcxMemoLines& lines = batched->Lines();
    if (updating) lines.BeginUpdate();
    lines.Add("0123456789");                                                 // 12 units
    EXPECT_EQ(ErrorTextOf([&] { lines.Add("abcdefgh"); }), kCapacityError);  // 12 + 10
    EXPECT_EQ(batched->Text(), "0123456789\r\n");
    EXPECT_EQ(lines.Add("ab\r\ncd"), 1);  // 12 + 8: exactly full
    EXPECT_EQ(ErrorTextOf([&] { lines.Add(""); }), kCapacityError);
    if (updating) lines.EndUpdate();
    EXPECT_EQ(Edit(*batched).Text(), "0123456789\r\nab\r\ncd\r\n");
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
  EXPECT_EQ(Describe(batched->EditValue()), "String:old");
  batched->SetText("a\nb");
  EXPECT_EQ(batched->Text(), "a\r\nb");
}

TEST_F(MemoCapacity, NativeControlRefusingTheTextFails) {
  Edit(*batched).MaxTextLength = 5;
  EXPECT_EQ(ErrorTextOf([&] { batched->SetText("123456"); }), kCapacityError);
  EXPECT_EQ(batched->Text(), "");
  EXPECT_EQ(Describe(batched->EditValue()), "String:") << "the value stands for the text that stayed";

  batched->SetText("ab");
  batched->Lines().BeginUpdate();
  batched->Lines().Add("cdefg");
  EXPECT_EQ(ErrorTextOf([&] { batched->Lines().EndUpdate(); }), kCapacityError);
  EXPECT_FALSE(batched->Lines().Updating());
  EXPECT_EQ(batched->Text(), "ab");
}

TEST_F(MemoText, SettingTheTextMakesLineBreaksUniform) {
  batched->SetText("a\nb\rc\r\nd");
  EXPECT_EQ(Edit(*batched).Text(), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(Describe(batched->EditValue()), "String:a\r\nb\r\nc\r\nd");
  const int changes = Edit(*batched).ChangeNotifications();
  batched->SetText("a\r\nb\nc\rd");  // the same text once made uniform: nothing happens
  EXPECT_EQ(Edit(*batched).ChangeNotifications(), changes);
}

TEST_F(MemoText, ClearValueEmptiesTheArea) {
  batched->SetText("a\r\nb\r\n");
  batched->ClearValue();
  EXPECT_EQ(batched->Text(), "");
  EXPECT_TRUE(batched->EditValue().IsNull());
  EXPECT_EQ(batched->Lines().Count(), 0u);
  batched->Lines().Add("x");
  EXPECT_EQ(batched->Text(), "x\r\n");
}

TEST_F(MemoText, KeysOfTheTextArea) {
  std::unique_ptr<TcxMemo> after = Place<TcxMemo>(form, "After", 0, 300, 100, 50);
  batched->SetText("ab\r\n文件");
  batched->SetFocus();
  // Ctrl+A selects everything, and its character goes nowhere.
  Edit(*batched).SetSelection(1, 0);
  desk.windows.PressKey(vk::Letter('A'), ssCtrl);
  std::size_t start = 0, length = 0;
  Edit(*batched).GetSelection(start, length);
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(length, 6u);
  EXPECT_EQ(batched->Text(), "ab\r\n文件");
  // Enter breaks the line.
  Edit(*batched).SetSelection(2, 0);
  desk.windows.PressKey(vk::Return);
  EXPECT_EQ(batched->Text(), "ab\r\n\r\n文件");
  // Tab goes on to the next control and leaves no tab behind.
  desk.windows.PressKey(vk::Tab);
  EXPECT_EQ(batched->Text(), "ab\r\n\r\n文件");
  EXPECT_FALSE(desk.HasFocus(*batched));

  // Told otherwise, Enter inserts nothing and Tab a tab character.
  batched->Properties().SetWantReturns(false);
  batched->Properties().SetWantTabs(true);
  batched->SetFocus();
  Edit(*batched).SetSelection(0, 0);
  desk.windows.PressKey(vk::Return);
  desk.windows.PressKey(vk::Tab);
  EXPECT_EQ(batched->Text(), "\tab\r\n\r\n文件");
  EXPECT_TRUE(desk.HasFocus(*batched));
}

TEST_F(MemoText, WrapsOnlyWithoutAHorizontalScrollBarAndKeepsTheTextOnReCreation) {
  const struct {
    TScrollStyle ScrollBars;
    bool WordWrap;
    bool Horizontal, Vertical, Wraps;
  } cases[] = {
      {TScrollStyle::ssNone, true, false, false, true},    {TScrollStyle::ssVertical, true, false, true, true},
      {TScrollStyle::ssHorizontal, true, true, false, false}, {TScrollStyle::ssBoth, true, true, true, false},
      {TScrollStyle::ssVertical, false, false, true, false},
  };
  wrapping->SetText("a long line that does not fit\r\nb");
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(c.ScrollBars) << " wrap " << c.WordWrap);
    wrapping->Properties().SetScrollBars(c.ScrollBars);
    wrapping->Properties().SetWordWrap(c.WordWrap);
    const TNativeEditStyle& style = Edit(*wrapping).Style();
    EXPECT_TRUE(style.MultiLine);
    EXPECT_EQ(style.HorizontalScrollBar, c.Horizontal);
    EXPECT_EQ(style.VerticalScrollBar, c.Vertical);
    EXPECT_EQ(style.WordWrap, c.Wraps);
    EXPECT_EQ(wrapping->Text(), "a long line that does not fit\r\nb");
    EXPECT_EQ(wrapping->HorzScrollBar().Visible(), c.Horizontal);
    EXPECT_EQ(wrapping->VertScrollBar().Visible(), c.Vertical);
  }
}

// The area's own bars lie exactly where the native control's would show, which the
// control's region leaves out; the square between them is the area's.
TEST_F(MemoScrollBars, LieOverTheNativeControlsPlaces) {
  MemoryEdit& edit = Edit(*batched);
  const TRect b = edit.Bounds();
  EXPECT_EQ(edit.ClientSize(), (TSize{b.Width() - 17, b.Height() - 17}));
  EXPECT_EQ(batched->VertScrollBar().BoundsRect(), (TRect{b.Right - 17, b.Top, b.Right, b.Bottom - 17}));
  EXPECT_EQ(batched->HorzScrollBar().BoundsRect(), (TRect{b.Left, b.Bottom - 17, b.Right - 17, b.Bottom}));
  EXPECT_EQ(batched->ScrollBarCorner(), (TRect{b.Right - 17, b.Bottom - 17, b.Right, b.Bottom}));
  ASSERT_TRUE(edit.Region().has_value());
  EXPECT_EQ(*edit.Region(), TRegion(TRect{0, 0, b.Width() - 17, b.Height() - 17}));
  EXPECT_EQ(desk.windows.WindowFromPoint(TMemoryDesktop::WindowOf(*batched)->ClientToScreen({b.Right - 5, b.Top + 5})),
            batched->VertScrollBar().Window());
  // With nothing to scroll the bars are there, disabled.
  EXPECT_TRUE(batched->VertScrollBar().Visible());
  EXPECT_FALSE(batched->VertScrollBar().Enabled());
  EXPECT_FALSE(batched->HorzScrollBar().Enabled());
  // Resized, they follow.
  batched->SetBounds(0, 100, 150, 90);
  const TRect resized = edit.Bounds();
  EXPECT_EQ(batched->VertScrollBar().BoundsRect(),
            (TRect{resized.Right - 17, resized.Top, resized.Right, resized.Bottom - 17}));
}

TEST_F(MemoScrollBars, FollowTheNativeControlAndScrollIt) {
  MemoryEdit& edit = Edit(*batched);
  TcxControlScrollBar& bar = batched->VertScrollBar();
  TcxMemoLines& lines = batched->Lines();
  lines.BeginUpdate();
  for (int i = 0; i < 50; ++i) lines.Add("line " + std::to_string(i) + std::string(static_cast<std::size_t>(i), 'x'));
  lines.EndUpdate();
  const TNativeScrollInfo info = edit.ScrollInfo(true);
  EXPECT_TRUE(bar.Enabled());
  EXPECT_EQ(bar.Max(), 50);  // 51 rows, the last empty
  EXPECT_EQ(bar.PageSize(), info.Page);
  EXPECT_EQ(bar.Position(), info.Position) << "the caret at the end is in view";
  EXPECT_GT(bar.Position(), 0);

  // The own arrow, page area and thumb scroll the native control.
  batched->VertScrollBar().Scroll(scTop);
  EXPECT_EQ(edit.FirstVisibleRow(), 0u);
  MemoryWindow& barWindow = *TMemoryDesktop::WindowOf(bar);
  desk.windows.MouseDown(barWindow, {8, bar.Height() - 5});  // the down arrow
  desk.windows.MouseUp(barWindow, {8, bar.Height() - 5});
  EXPECT_EQ(edit.FirstVisibleRow(), 1u);
  EXPECT_EQ(bar.Position(), 1);
  EXPECT_TRUE(batched->Focused()) << "a press on the bar gives the area the focus";
  const TRect pageAfter = bar.PartRect(sbpPageDown);
  desk.windows.MouseDown(barWindow, {8, pageAfter.Bottom - 1});
  desk.windows.MouseUp(barWindow, {8, pageAfter.Bottom - 1});
  EXPECT_EQ(static_cast<int>(edit.FirstVisibleRow()), 1 + info.Page);
  EXPECT_EQ(bar.Position(), 1 + info.Page);
  const TRect thumb = bar.PartRect(sbpThumbnail);
  desk.windows.MouseDown(barWindow, {8, thumb.Top + 1});
  desk.windows.MoveMouse(barWindow, {8, bar.Height() - 17}, ssLeft);
  EXPECT_EQ(static_cast<int>(edit.FirstVisibleRow()), bar.Position()) << "tracking scrolls at once";
  desk.windows.MouseUp(barWindow, {8, bar.Height() - 17});
  EXPECT_EQ(static_cast<int>(edit.FirstVisibleRow()), 51 - info.Page);
  EXPECT_EQ(bar.Position(), 51 - info.Page);

  // The native control scrolling by itself moves the own thumb: the wheel, the caret.
  batched->SetFocus();
  desk.windows.Wheel(120);
  EXPECT_EQ(bar.Position(), 51 - info.Page - 3);
  edit.SetSelection(0, 0);
  edit.ScrollCaretIntoView();
  EXPECT_EQ(bar.Position(), 0);
  desk.windows.PressKey(vk::End, ssCtrl);
  EXPECT_EQ(bar.Position(), 51 - info.Page);

  // Sideways: the longest line's end is reachable.
  TcxControlScrollBar& horz = batched->HorzScrollBar();
  EXPECT_TRUE(horz.Enabled());
  horz.Scroll(scBottom);
  const TNativeScrollInfo sideways = edit.ScrollInfo(false);
  EXPECT_EQ(sideways.Position, sideways.Max + 1 - sideways.Page);
  EXPECT_EQ(horz.Position(), sideways.Position);

  // Clearing: nothing to scroll any more.
  batched->ClearValue();
  EXPECT_FALSE(bar.Enabled());
  EXPECT_FALSE(horz.Enabled());
}

TEST_F(MemoScrollBars, ABatchBringsThemInStepOnceAtItsEnd) {
  TcxControlScrollBar& bar = batched->VertScrollBar();
  int changes = 0;
  bar.OnChange = [&](TObject&) { ++changes; };
  batched->Lines().BeginUpdate();
  for (int i = 0; i < 100; ++i) batched->Lines().Add("x");
  EXPECT_FALSE(bar.Enabled());
  batched->Lines().EndUpdate();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(bar.Max(), 100);
}

}  // namespace
}  // namespace vormix
