// Stepping the real program's numeric fields under Wine, in the native look and in the
// classic one: clicks on the spin buttons, a held press, the step keys, the wheel, the
// generator reading a stepped value, and (classic) the frame and arrow pixels of a field.
// Each look starts the program once and runs everything on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "Driver.h"
#include "win32/WineTheme.h"

namespace vormix::e2e {
namespace {

constexpr int kMemo1 = 201, kMemo2 = 202, kGenerate = 301;
constexpr int Field(int n) { return 100 + n; }

// Where a field's parts lie, worked out from its window the way the field lays itself
// out: the content margin (the inner edit control starts a pixel inside it), the button
// column at the right, as wide as a horizontal scroll bar's arrow, up above down.
struct TFieldGeometry {
  HWND Frame = nullptr;
  int Width = 0, Height = 0, Margin = 0, Column = 0;

  explicit TFieldGeometry(HWND edit) : Frame(GetParent(edit)) {
    RECT client{}, inner{};
    GetClientRect(Frame, &client);
    GetWindowRect(edit, &inner);
    MapWindowPoints(HWND_DESKTOP, Frame, reinterpret_cast<POINT*>(&inner), 2);
    Width = client.right;
    Height = client.bottom;
    Margin = inner.left - 1;
    Column = GetSystemMetrics(SM_CYHSCROLL);
  }
  POINT Screen(int x, int y) const {
    POINT p{x, y};
    ClientToScreen(Frame, &p);
    return p;
  }
  int ColumnLeft() const { return Width - Margin - Column; }
  POINT UpButton() const { return Screen(ColumnLeft() + Column / 2, Margin + (Height - 2 * Margin) / 4); }
  POINT DownButton() const { return Screen(ColumnLeft() + Column / 2, Margin + 3 * (Height - 2 * Margin) / 4); }
};

class SpinStepE2e : public ::testing::TestWithParam<bool> {
 protected:
  bool Classic() const { return GetParam(); }
  std::string FieldText(int id) const { return app->Text(app->Control(id)); }
  bool TextBecomes(int id, const std::string& text) const {
    return WaitUntil([&] { return FieldText(id) == text; }, 3000);
  }
  void Click(POINT at) { app->ClickAt(at); }

  std::optional<wine::TThemeSettingScope> theme;
  std::optional<VormixProcess> app;
};

TEST_P(SpinStepE2e, ButtonsKeysAndWheelStepTheFieldsAndTheGeneratorTakesTheSteppedValue) {
  if (Classic()) theme.emplace(false);
  app.emplace();
  ASSERT_TRUE(app->Started()) << "vormix.exe did not show its main window";

  // A click on field 1's up button, then two on its down button.
  const TFieldGeometry first(app->Control(Field(1)));
  Click(first.UpButton());
  EXPECT_TRUE(TextBecomes(Field(1), "1")) << FieldText(Field(1));
  Click(first.DownButton());
  Click(first.DownButton());
  EXPECT_TRUE(TextBecomes(Field(1), "-1")) << FieldText(Field(1));

  // Held for a little over a second: a step at once, one after 400 ms, then one every
  // 100 ms, so about ten.
  const TFieldGeometry third(app->Control(Field(3)));
  const DWORD start = GetTickCount();
  app->MouseDownAt(third.UpButton());
  Sleep(1100);
  const DWORD held = GetTickCount() - start;
  app->MouseUpAt(third.UpButton());
  const int steps = std::stoi(FieldText(Field(3)));
  EXPECT_GE(steps, 8) << "held " << held << " ms";
  EXPECT_LE(steps, 12) << "held " << held << " ms";
  RecordProperty("held_ms", static_cast<int>(held));
  RecordProperty("steps", steps);

  // The step keys in a field showing 0.
  app->Click(app->Control(Field(5)));
  const std::pair<WORD, const char*> keys[] = {{VK_UP, "1"}, {VK_PRIOR, "11"}, {VK_DOWN, "10"}, {VK_NEXT, "0"}};
  for (const auto& [key, text] : keys) {
    app->PressKey(key);
    EXPECT_TRUE(TextBecomes(Field(5), text)) << key << ": " << FieldText(Field(5));
  }

  // Three wheel notches away from the user.
  app->Click(app->Control(Field(7)));
  for (int i = 0; i < 3; ++i) app->Wheel(120);
  EXPECT_TRUE(TextBecomes(Field(7), "3")) << FieldText(Field(7));

  // The generator sees the stepped base of parameter 1: -1, then -1 + 1.
  app->Click(app->Control(kMemo1));
  app->TypeText("n%d");
  app->SetText(app->Control(Field(17)), "2");
  app->Click(app->Control(kGenerate));
  EXPECT_TRUE(WaitUntil([&] { return app->Text(app->Control(kMemo2)) == "n-1\r\nn0\r\n"; }, 5000))
      << app->Text(app->Control(kMemo2));

  if (!Classic()) return;
  // The classic frame and the up arrow of a field nobody touched, in the system's colours.
  const TFieldGeometry ninth(app->Control(Field(9)));
  ASSERT_EQ(ninth.Margin, 2);
  const int w = ninth.Width, h = ninth.Height, column = ninth.ColumnLeft();
  const int inner = h - 4;  // the height the buttons share
  const int upBottom = 2 + inner / 2;
  // The arrow: its size fits the column, its block is centred in the button's content.
  int s = (std::min(ninth.Column + 2, inner / 2 + 2) - 1) / 2;
  if (s % 2 == 0) ++s;
  const int a = s / 2 + 1;
  const RECT content{column + 2, 4, w - 4, upBottom - 2};
  const int x = content.left + (content.right - content.left - (2 * a - 1)) / 2;
  const int y = content.top + (content.bottom - content.top - a) / 2;
  struct TProbe {
    int X, Y, Color;
    const char* What;
  };
  const TProbe probes[] = {
      {0, h / 2, COLOR_BTNSHADOW, "outer left"},
      {w / 2, 0, COLOR_BTNSHADOW, "outer top"},
      {w - 1, h / 2, COLOR_BTNHIGHLIGHT, "outer right"},
      {1, h / 2, COLOR_3DDKSHADOW, "inner left"},
      {w / 2, 1, COLOR_3DDKSHADOW, "inner top"},
      {w - 2, h / 2, COLOR_3DLIGHT, "inner right"},
      {column, 2, COLOR_3DLIGHT, "up button's outer top-left"},
      {w - 3, 2, COLOR_3DDKSHADOW, "up button's outer right"},
      {column + 1, 3, COLOR_BTNHIGHLIGHT, "up button's inner top-left"},
      {w - 4, 4, COLOR_BTNSHADOW, "up button's inner right"},
      {content.left, content.top, COLOR_BTNFACE, "up button's face"},
      {x + a - 1, y, COLOR_BTNTEXT, "the arrow's tip"},
      {x, y + a - 1, COLOR_BTNTEXT, "the arrow's base, left end"},
      {x + 2 * a - 2, y + a - 1, COLOR_BTNTEXT, "the arrow's base, right end"},
      {x, y, COLOR_BTNFACE, "beside the tip"},
      {column - 1, 2, COLOR_WINDOW, "the text area"},
  };
  for (const TProbe& p : probes)
    EXPECT_EQ(ScreenPixel(ninth.Screen(p.X, p.Y)), GetSysColor(p.Color)) << p.What << " (" << p.X << ", " << p.Y << ")";
}

INSTANTIATE_TEST_SUITE_P(Looks, SpinStepE2e, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Classic" : "Native"; });

}  // namespace
}  // namespace vormix::e2e
