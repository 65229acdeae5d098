// A multi-line EDIT control through the adapter, on the real system: its display rows
// (wrapped or not), where rows start, the first row in view, the scroll state of both
// directions, scroll requests (beyond the 16 bits a scroll message carries), and the
// report that it scrolled, whatever made it scroll.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "platform/win32/Win32WindowSystem.h"

namespace vormix {
namespace {

class ScrollRecorder : public INativeWindowHandler {
 public:
  void NativeScrolled() override { ++Scrolls; }
  int Scrolls = 0;
};

class Win32MemoScroll : public testing::Test {
 protected:
  Win32MemoScroll() {
    TNativeWindowParams params;
    params.Bounds = {100, 100, 500, 400};
    params.Text = "Memo";
    form = windows.CreateForm(params, TNativeFormStyle{}, formHandler);
    form->SetClientSize({400, 300});
    form->Show();
  }
  ~Win32MemoScroll() override {
    edit.reset();
    form.reset();
  }
  void Create(bool wrap) {
    TNativeWindowParams e;
    e.Parent = form.get();
    e.Bounds = {10, 10, 210, 130};
    e.Font.Name = "宋体";
    e.Font.Height = -12;
    TNativeEditStyle style;
    style.MultiLine = true;
    style.VerticalScrollBar = true;
    style.HorizontalScrollBar = !wrap;
    style.WordWrap = wrap;
    style.ClientEdge = false;
    edit = windows.CreateEdit(e, style, handler);
  }
  static std::string Lines(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += "line " + std::to_string(i) + "\r\n";
    return text;
  }

  Win32WindowSystem windows{GetModuleHandleW(nullptr)};
  INativeWindowHandler formHandler;
  ScrollRecorder handler;
  std::unique_ptr<INativeForm> form;
  std::unique_ptr<INativeEdit> edit;
};

TEST_F(Win32MemoScroll, RowsAreDisplayRows) {
  Create(true);
  const struct {
    std::string Text;
    std::size_t Rows;
    bool LastRowEmpty;
  } cases[] = {{"", 1, true}, {"a", 1, false}, {"a\r\n", 2, true}, {"a\r\n\r\n", 3, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.Text));
    edit->SetText(c.Text);
    EXPECT_EQ(edit->RowCount(), c.Rows);
    EXPECT_EQ(edit->RowStart(c.Rows - 1) == edit->TextLength(), c.LastRowEmpty);
  }
  // A line far wider than the control wraps into several rows, and stays one line.
  const std::string longLine(200, 'w');
  edit->SetText(longLine);
  EXPECT_GT(edit->RowCount(), 3u);
  EXPECT_GT(edit->RowStart(1), 0u);
  EXPECT_EQ(edit->Text(), longLine);
}

TEST_F(Win32MemoScroll, ScrollStateRequestsAndReports) {
  Create(false);
  edit->SetText(Lines(100));
  const TNativeScrollInfo vertical = edit->ScrollInfo(true);
  EXPECT_EQ(vertical.Min, 0);
  EXPECT_EQ(vertical.Max, 100);  // 101 rows, the last empty
  EXPECT_GT(vertical.Page, 3);
  EXPECT_EQ(vertical.Position, 0);

  int scrolls = handler.Scrolls;
  edit->Scroll(true, TNativeScrollCode::LineDown, 0);
  EXPECT_EQ(edit->FirstVisibleRow(), 1u);
  EXPECT_EQ(edit->ScrollInfo(true).Position, 1);
  EXPECT_GT(handler.Scrolls, scrolls);
  edit->Scroll(true, TNativeScrollCode::PageDown, 0);
  EXPECT_EQ(static_cast<int>(edit->FirstVisibleRow()), 1 + vertical.Page);
  edit->Scroll(true, TNativeScrollCode::Track, 40);
  EXPECT_EQ(edit->FirstVisibleRow(), 40u);
  edit->Scroll(true, TNativeScrollCode::Top, 0);
  EXPECT_EQ(edit->FirstVisibleRow(), 0u);

  // The caret at the end scrolls by itself, and the handler hears of it.
  scrolls = handler.Scrolls;
  edit->SetSelection(edit->TextLength(), 0);
  edit->ScrollCaretIntoView();
  EXPECT_GT(handler.Scrolls, scrolls);
  EXPECT_EQ(edit->ScrollInfo(true).Position, static_cast<int>(edit->FirstVisibleRow()));
  EXPECT_GT(edit->FirstVisibleRow(), 50u);

  // Sideways, in pixels: the end of a long line can be reached.
  edit->SetText(std::string(300, 'x'));
  const TNativeScrollInfo horizontal = edit->ScrollInfo(false);
  EXPECT_GT(horizontal.Max, horizontal.Page);
  edit->Scroll(false, TNativeScrollCode::Bottom, 0);
  const TNativeScrollInfo end = edit->ScrollInfo(false);
  EXPECT_GE(end.Position + end.Page, end.Max);
}

TEST_F(Win32MemoScroll, ThumbPositionsReachBeyondSixteenBits) {
  Create(false);
  std::string text;
  text.reserve(70000 * 3);
  for (int i = 0; i < 70000; ++i) text += "x\r\n";
  ASSERT_TRUE(edit->SetTextChecked(text));
  edit->Scroll(true, TNativeScrollCode::Track, 68000);
  EXPECT_EQ(edit->FirstVisibleRow(), 68000u);
  EXPECT_EQ(edit->ScrollInfo(true).Position, 68000);
}

}  // namespace
}  // namespace vormix
