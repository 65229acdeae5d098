// The text areas of the real program under Wine, in the native look and in the classic
// one: a long template line wraps on screen yet reads back as one line; after 500
// generated lines the results area's own scroll bars scroll the text (arrow, page area,
// thumb drag, the horizontal bar to the end of a long line) and follow it (wheel,
// Ctrl+End); Ctrl+A selects everything. Each look starts the program once.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Driver.h"
#include "win32/WineTheme.h"

namespace vormix::e2e {
namespace {

constexpr int kMemo1 = 201, kMemo2 = 202, kGenerate = 301, kCount = 117;

// The area's own scroll bars: the windows inside its frame beside the native edit control.
struct TAreaBars {
  HWND Vertical = nullptr, Horizontal = nullptr;

  explicit TAreaBars(HWND edit) {
    for (HWND child = GetWindow(GetParent(edit), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (child == edit || !IsWindowVisible(child)) continue;
      RECT r{};
      GetWindowRect(child, &r);
      (r.bottom - r.top > r.right - r.left ? Vertical : Horizontal) = child;
    }
  }
};

RECT ScreenRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

// The middle column of a vertical bar between its arrows, as it shows: where its thumb is.
std::vector<COLORREF> Track(HWND bar) {
  const RECT r = ScreenRect(bar);
  const int arrow = GetSystemMetrics(SM_CYVSCROLL);
  std::vector<COLORREF> column;
  HDC dc = GetDC(nullptr);
  for (int y = r.top + arrow; y < r.bottom - arrow; ++y) column.push_back(GetPixel(dc, (r.left + r.right) / 2, y));
  ReleaseDC(nullptr, dc);
  return column;
}

int FirstVisibleLine(HWND edit) { return static_cast<int>(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0)); }

// Rows the control shows at once: its height over the distance between two rows.
int VisibleRows(HWND edit) {
  const LRESULT first = SendMessageW(edit, EM_POSFROMCHAR, SendMessageW(edit, EM_LINEINDEX, 0, 0), 0);
  const LRESULT second = SendMessageW(edit, EM_POSFROMCHAR, SendMessageW(edit, EM_LINEINDEX, 1, 0), 0);
  const int rowHeight = static_cast<short>(HIWORD(second)) - static_cast<short>(HIWORD(first));
  RECT client{};
  GetClientRect(edit, &client);
  return rowHeight > 0 ? client.bottom / rowHeight : 0;
}

class MemoE2e : public ::testing::TestWithParam<bool> {
 protected:
  bool Classic() const { return GetParam(); }
  bool Becomes(const std::function<bool()>& condition) const { return WaitUntil(condition, 3000); }

  std::optional<wine::TThemeSettingScope> theme;
  std::optional<VormixProcess> app;
};

TEST_P(MemoE2e, TextAreasWrapScrollByTheirOwnBarsAndSelectAll) {
  if (Classic()) theme.emplace(false);
  app.emplace();
  ASSERT_TRUE(app->Started()) << "vormix.exe did not show its main window";
  HWND templ = app->EditOf(app->Control(kMemo1));
  HWND results = app->EditOf(app->Control(kMemo2));

  // The template area wraps a line longer than it is wide, without breaking the text.
  std::string longLine = "echo %d";
  while (longLine.size() < 160) longLine += " abcdefghij";
  app->Click(templ);
  app->TypeText(longLine);
  EXPECT_TRUE(Becomes([&] { return app->Text(templ) == longLine; })) << app->Text(templ);
  EXPECT_GT(SendMessageW(templ, EM_GETLINECOUNT, 0, 0), 1) << "the long line does not wrap";
  const TAreaBars templBars(templ);
  EXPECT_NE(templBars.Vertical, nullptr);
  EXPECT_EQ(templBars.Horizontal, nullptr);

  // 500 lines of it.
  app->SetText(app->Control(kCount), "500");
  app->Click(app->Control(kGenerate));
  ASSERT_TRUE(WaitUntil([&] { return SendMessageW(results, EM_GETLINECOUNT, 0, 0) == 501; }, 10000))
      << SendMessageW(results, EM_GETLINECOUNT, 0, 0);
  const TAreaBars bars(results);
  ASSERT_NE(bars.Vertical, nullptr);
  ASSERT_NE(bars.Horizontal, nullptr);
  const RECT v = ScreenRect(bars.Vertical);
  const int arrow = GetSystemMetrics(SM_CYVSCROLL), middle = (v.left + v.right) / 2;
  const int page = VisibleRows(results);
  ASSERT_GT(page, 3);
  // The pointer rests away from the bars whenever their picture is compared: a part
  // under it may show hot.
  const RECT label = ScreenRect(app->Control(kCount));
  auto pointerAway = [&] { app->MouseMoveTo({label.left - 30, label.top + 5}); };

  std::wstring picture = VormixExePath();
  picture = picture.substr(0, picture.rfind(L'\\') + 1) + (Classic() ? L"e2e-memo-classic.bmp" : L"e2e-memo-native.bmp");
  EXPECT_TRUE(SaveWindowPicture(app->MainWindow(), picture));
  RecordProperty("picture", U(picture));

  // The caret ended at the last line; Ctrl+Home goes back to the top, the thumb with it.
  pointerAway();
  const std::vector<COLORREF> atEnd = Track(bars.Vertical);
  app->Click(results);
  app->PressKey(VK_HOME, false, true);
  EXPECT_TRUE(Becomes([&] { return FirstVisibleLine(results) == 0; })) << FirstVisibleLine(results);
  pointerAway();
  const std::vector<COLORREF> atTop = Track(bars.Vertical);
  EXPECT_NE(atTop, atEnd) << "the own thumb did not follow Ctrl+Home";

  // A few pixels of the bars as drawn: the square between them in both looks; in the
  // classic look the raised arrow's rings and the checkered page area below the thumb.
  auto barPixel = [](HWND bar, int x, int y) {
    POINT p{x, y};
    ClientToScreen(bar, &p);
    return ScreenPixel(p);
  };
  const RECT hb = ScreenRect(bars.Horizontal);
  EXPECT_EQ(ScreenPixel({v.left + 2, hb.top + 2}), GetSysColor(COLOR_BTNFACE)) << "the corner";
  if (Classic()) {
    const int w = v.right - v.left, pageY = v.bottom - v.top - arrow - 2;
    EXPECT_EQ(barPixel(bars.Vertical, 0, 0), GetSysColor(COLOR_BTNFACE)) << "the up arrow's outer ring";
    EXPECT_EQ(barPixel(bars.Vertical, w - 1, arrow - 1), GetSysColor(COLOR_3DDKSHADOW)) << "its dark corner";
    EXPECT_EQ(barPixel(bars.Vertical, 3, pageY), GetSysColor((3 + pageY) % 2 ? COLOR_BTNHIGHLIGHT : COLOR_BTNFACE))
        << "the page area";
  }

  // The own down arrow: one line.
  app->ClickAt({middle, v.bottom - arrow / 2});
  EXPECT_TRUE(Becomes([&] { return FirstVisibleLine(results) == 1; })) << FirstVisibleLine(results);
  // The page area below the thumb: a page.
  app->ClickAt({middle, v.bottom - arrow - 3});
  EXPECT_TRUE(Becomes([&] { return FirstVisibleLine(results) >= page && FirstVisibleLine(results) <= page + 2; }))
      << FirstVisibleLine(results) << ", a page of " << page;
  // The thumb, dragged from the top to the middle of the track: about half way.
  app->PressKey(VK_HOME, false, true);
  ASSERT_TRUE(Becomes([&] { return FirstVisibleLine(results) == 0; }));
  app->MouseDownAt({middle, v.top + arrow + 3});
  app->MouseMoveTo({middle, v.top + (v.bottom - v.top) / 4});
  app->MouseMoveTo({middle, (v.top + v.bottom) / 2});
  app->MouseUpAt({middle, (v.top + v.bottom) / 2});
  const int dragged = FirstVisibleLine(results);
  EXPECT_GT(dragged, 150);
  EXPECT_LT(dragged, 350);
  pointerAway();
  const std::vector<COLORREF> afterDrag = Track(bars.Vertical);

  // The wheel and Ctrl+End scroll the native control; the own thumb follows.
  const RECT text = ScreenRect(results);
  app->MouseMoveTo({(text.left + text.right) / 2, (text.top + text.bottom) / 2});
  app->Wheel(-120);
  pointerAway();
  EXPECT_TRUE(Becomes([&] { return FirstVisibleLine(results) > dragged; })) << FirstVisibleLine(results);
  EXPECT_TRUE(Becomes([&] { return Track(bars.Vertical) != afterDrag; })) << "the own thumb did not follow the wheel";
  app->PressKey(VK_END, false, true);
  EXPECT_TRUE(Becomes([&] { return FirstVisibleLine(results) >= 500 - page; })) << FirstVisibleLine(results);
  EXPECT_TRUE(Becomes([&] { return Track(bars.Vertical) == atEnd; })) << "the own thumb is not back at the end";

  // The horizontal bar reaches the end of the long line: held on its right page area.
  const RECT h = ScreenRect(bars.Horizontal);
  const int lineEnd = static_cast<int>(SendMessageW(results, EM_LINEINDEX, 0, 0) + SendMessageW(results, EM_LINELENGTH, 0, 0));
  RECT client{};
  GetClientRect(results, &client);
  auto endX = [&] {
    const LRESULT at = SendMessageW(results, EM_POSFROMCHAR, static_cast<WPARAM>(lineEnd - 1), 0);
    return static_cast<short>(LOWORD(at));
  };
  EXPECT_GT(endX(), client.right) << "the long line fits: nothing to scroll";
  for (int i = 0; i < 10 && endX() > client.right; ++i) app->ClickAt({h.right - arrow - 3, (h.top + h.bottom) / 2});
  EXPECT_LE(endX(), client.right) << "the end of the long line is still out of view";
  EXPECT_GE(endX(), 0);

  // Ctrl+A selects the whole text.
  app->Click(results);
  app->PressKey('A', false, true);
  const std::size_t length = W(app->Text(results)).size();
  DWORD from = 1, to = 0;
  EXPECT_TRUE(Becomes([&] {
    SendMessageW(results, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    return from == 0 && to == length;
  })) << from << "-" << to << " of " << length;
  EXPECT_EQ(app->Text(templ), longLine);
}

INSTANTIATE_TEST_SUITE_P(Looks, MemoE2e, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Classic" : "Native"; });

}  // namespace
}  // namespace vormix::e2e
