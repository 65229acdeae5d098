// The main window of the real program under Wine: layout, focus and tab order, the
// sign-key rule, generating, its messages, and closing.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "Driver.h"

namespace vormix::e2e {
namespace {

constexpr int kMemo1 = 201, kMemo2 = 202, kGenerate = 301, kSave = 302, kAbout = 303, kExit = 304;
constexpr int Field(int n) { return 100 + n; }

// The program's icon as a person sees it: "." lets the background through, B is blue,
// Y yellow, L lime.
constexpr const char* kIconPicture[32] = {
    "...............BBBBBBBBBBBBBBBBB", "...............BBBBBBBBBBBBBBBBB",
    "...............BBYYYYYYYYYYYYYBB", "...............BBYYYYYYYYYYYYYBB",
    "...............BBYYYYYYYYYYYYYBB", "...............BBYYYYYYYYYYYYYBB",
    "...............BBYYYYYYYYYYYYYBB", "...............BBYYYYYYYYYYYYYBB",
    "...............BBYYYYYYYYYYYYYBB", "...............BBYYYYYYYYYYYYYBB",
    "...............BBYYYYYYYYYYYYYBB", "...............BBYYYYYYYYYYYYYBB",
    "...............BBYYYYYYYYYYYYYBB", "...............BBYYYYYYYYYYYYYBB",
    "...............BBYYYYYYYYYYYYYBB", "BBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBB",
    "BBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBB", "BBLLLLLLLLLLLLLBB...............",
    "BBLLLLLLLLLLLLLBB...............", "BBLLLLLLLLLLLLLBB...............",
    "BBLLLLLLLLLLLLLBB...............", "BBLLLLLLLLLLLLLBB...............",
    "BBLLLLLLLLLLLLLBB...............", "BBLLLLLLLLLLLLLBB...............",
    "BBLLLLLLLLLLLLLBB...............", "BBLLLLLLLLLLLLLBB...............",
    "BBLLLLLLLLLLLLLBB...............", "BBLLLLLLLLLLLLLBB...............",
    "BBLLLLLLLLLLLLLBB...............", "BBLLLLLLLLLLLLLBB...............",
    "BBBBBBBBBBBBBBBBB...............", "BBBBBBBBBBBBBBBBB...............",
};

COLORREF PictureColour(char c, COLORREF background) {
  switch (c) {
    case 'B': return RGB(0, 0, 255);
    case 'Y': return RGB(255, 255, 0);
    case 'L': return RGB(0, 255, 0);
    default: return background;
  }
}

// Draws an icon at 32 x 32 on a plain background and reads back what shows.
std::vector<COLORREF> DrawnIcon(HICON icon, COLORREF background) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(background);
  RECT r{0, 0, 32, 32};
  FillRect(dc, &r, brush);
  DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) pixels.push_back(GetPixel(dc, x, y));
  DeleteObject(brush);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// How many pixels of the screen area show exactly that colour.
int PixelsOfColour(const RECT& area, COLORREF colour) {
  HDC screen = GetDC(nullptr);
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) n += GetPixel(screen, x, y) == colour;
  ReleaseDC(nullptr, screen);
  return n;
}

class MainWindowE2e : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(app.Started()) << "vormix.exe did not show its main window"; }

  void Generate() {
    app.Click(app.Control(kGenerate));
    app.Settle();
  }
  // Clicks into a field, selects what it shows and types over it.
  void TypeOver(int id, const std::string& text) {
    app.Click(app.Control(id));
    app.SelectAll(app.Control(id));
    app.TypeText(text);
  }
  std::string FieldText(int n) { return app.Text(app.Control(Field(n))); }

  VormixProcess app;
};

TEST_F(MainWindowE2e, StartsWithTitleInitialValuesAndFocusInTheTemplate) {
  EXPECT_EQ(app.Text(app.MainWindow()), "Vormix V2.0");
  RECT client{};
  GetClientRect(app.MainWindow(), &client);
  EXPECT_EQ(client.right, 722);
  EXPECT_EQ(client.bottom, 566);
  EXPECT_EQ(app.Text(app.Control(Field(1))), "0");
  EXPECT_EQ(app.Text(app.Control(Field(2))), "1");
  EXPECT_EQ(app.Text(app.Control(Field(17))), "100");
  EXPECT_EQ(app.Focused(), app.Control(kMemo1));
}

TEST_F(MainWindowE2e, GeneratesTheBatchIntoTheResultsArea) {
  app.Click(app.Control(kMemo1));
  app.TypeText("copy a%d.txt b%d.txt");
  app.SetText(app.Control(Field(3)), "100");
  app.SetText(app.Control(Field(4)), "5");
  app.SetText(app.Control(Field(17)), "3");
  Generate();
  EXPECT_TRUE(WaitUntil([&] { return !app.Text(app.Control(kMemo2)).empty(); }));
  EXPECT_EQ(app.Text(app.Control(kMemo2)),
            "copy a0.txt b100.txt\r\ncopy a1.txt b105.txt\r\ncopy a2.txt b110.txt\r\n");
}

TEST_F(MainWindowE2e, TemplateWithoutMarkerAsksForOneAndFocusesTheTemplate) {
  app.Click(app.Control(kMemo1));
  app.TypeText("echo %D");
  Generate();
  TMessageBoxSeen box = app.WaitForMessageBox();
  ASSERT_NE(box.Window, nullptr);
  EXPECT_EQ(box.Caption, "提示");
  EXPECT_EQ(box.Text, "请输入带有\"%d\"格式参数的命令模板！");
  EXPECT_TRUE(box.InformationIcon);
  app.CloseMessageBox(box);
  EXPECT_TRUE(WaitUntil([&] { return app.Focused() == app.Control(kMemo1); }));
}

TEST_F(MainWindowE2e, ExitButtonEndsTheProgram) {
  Generate();  // any state will do
  for (HWND dialog : app.Dialogs()) SendMessageW(dialog, WM_CLOSE, 0, 0);
  app.Click(app.Control(kExit));
  EXPECT_TRUE(app.Exited());
}

TEST_F(MainWindowE2e, IsAFixedSizeWindowCentredOnTheScreenThatCanOnlyBeMinimised) {
  HWND main = app.MainWindow();
  EXPECT_EQ(app.Text(main), "Vormix V2.0");
  RECT client{};
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 722);
  EXPECT_EQ(client.bottom, 566);

  RECT window{};
  GetWindowRect(main, &window);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_NEAR(window.left, screenWidth - window.right, 1) << "not centred horizontally";
  EXPECT_NEAR(window.top, screenHeight - window.bottom, 1) << "not centred vertically";

  const LONG style = GetWindowLongW(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);

  // Nowhere on the frame does the pointer turn into a sizing arrow.
  const std::map<int, POINT> parts = app.FrameParts();
  for (int sizing : {HTLEFT, HTRIGHT, HTTOP, HTBOTTOM, HTTOPLEFT, HTTOPRIGHT, HTBOTTOMLEFT, HTBOTTOMRIGHT})
    EXPECT_FALSE(parts.count(sizing)) << "a sizing edge (hit-test " << sizing << ")";

  // A maximise button, where the system still draws one, is dead.
  if (parts.count(HTMAXBUTTON)) {
    app.ClickAt(parts.at(HTMAXBUTTON));
    EXPECT_FALSE(IsZoomed(main));
    RECT after{};
    GetWindowRect(main, &after);
    EXPECT_TRUE(EqualRect(&after, &window)) << "the window changed its size or place";
  }

  ASSERT_TRUE(parts.count(HTMINBUTTON)) << "no minimise button on the title bar";
  app.ClickAt(parts.at(HTMINBUTTON));
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; }, 5000)) << "the minimise button did not minimise";
}

TEST_F(MainWindowE2e, TabAndShiftTabWalkTheWholeWindowInOrder) {
  ASSERT_EQ(app.FocusedControlId(), kMemo1);
  std::vector<int> forward;
  for (int n = 1; n <= 17; ++n) forward.push_back(Field(n));
  for (int id : {kMemo2, kGenerate, kSave, kAbout, kExit, kMemo1}) forward.push_back(id);

  std::vector<int> seen;
  for (std::size_t i = 0; i < forward.size(); ++i) {
    app.PressKey(VK_TAB);
    seen.push_back(app.FocusedControlId());
  }
  EXPECT_EQ(seen, forward) << "Tab from the template area";

  std::vector<int> backward(forward.rbegin() + 1, forward.rend());
  backward.push_back(kMemo1);
  seen.clear();
  for (std::size_t i = 0; i < backward.size(); ++i) {
    app.PressKey(VK_TAB, true);
    seen.push_back(app.FocusedControlId());
  }
  EXPECT_EQ(seen, backward) << "Shift+Tab from the template area";
}

TEST_F(MainWindowE2e, SignKeysAreTakenOnlyAsTheFirstCharacterOfAnEmptyField) {
  // A negative base: delete the 0 first, then the sign is the first character.
  app.Click(app.Control(Field(1)));
  app.SelectAll(app.Control(Field(1)));
  app.PressKey(VK_DELETE);
  ASSERT_EQ(FieldText(1), "");
  app.TypeText("-");
  EXPECT_EQ(FieldText(1), "-");
  app.TypeText("5");
  EXPECT_EQ(FieldText(1), "-5");

  // With a number in the field neither sign gets in, whether the text is selected or
  // the caret stands behind it.
  TypeOver(Field(4), "5");
  ASSERT_EQ(FieldText(4), "5");
  app.TypeText("-");
  EXPECT_EQ(FieldText(4), "5") << "'-' typed behind the 5";
  app.TypeText("+");
  EXPECT_EQ(FieldText(4), "5") << "'+' typed behind the 5";
  app.SelectAll(app.Control(Field(4)));
  app.TypeText("-");
  EXPECT_EQ(FieldText(4), "5") << "'-' typed over the selected 5";
  app.SelectAll(app.Control(Field(4)));
  app.TypeText("+");
  EXPECT_EQ(FieldText(4), "5") << "'+' typed over the selected 5";

  // The count field follows the same rule; the 0 of a base field, even selected, too.
  TypeOver(Field(17), "-");
  EXPECT_EQ(FieldText(17), "100");
  TypeOver(Field(9), "-");
  EXPECT_EQ(FieldText(9), "0");

  // Only typed characters are looked at: a pasted sign stays.
  SetClipboardText("-7");
  app.Click(app.Control(Field(6)));
  app.SelectAll(app.Control(Field(6)));
  app.PressKey('V', false, true);
  EXPECT_EQ(FieldText(6), "-7");

  // The template area is no numeric field.
  app.Click(app.Control(kMemo1));
  app.TypeText("a+b-c");
  EXPECT_EQ(app.Text(app.Control(kMemo1)), "a+b-c");
  EXPECT_EQ(FieldText(1), "-5") << "the first field lost its number once left";
}

TEST_F(MainWindowE2e, AltF4AndTheCloseBoxEndTheProgram) {
  app.Click(app.Control(kMemo1));
  app.PressKey(VK_F4, false, false, true);
  EXPECT_TRUE(app.Exited()) << "Alt+F4";

  VormixProcess second;
  ASSERT_TRUE(second.Started());
  const std::map<int, POINT> parts = second.FrameParts();
  ASSERT_TRUE(parts.count(HTCLOSE)) << "no close box on the title bar";
  second.ClickAt(parts.at(HTCLOSE));
  EXPECT_TRUE(second.Exited()) << "the close box";
}

TEST_F(MainWindowE2e, TheProgramAndItsWindowShowTheTwoSquaresIcon) {
  // The picture in the program file, with its transparent corners, on two backgrounds.
  HMODULE exe = LoadLibraryExW(VormixExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  HICON icon = static_cast<HICON>(LoadImageW(exe, MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, 0));
  ASSERT_NE(icon, nullptr) << "vormix.exe has no icon 1";
  for (COLORREF background : {RGB(255, 0, 255), RGB(128, 128, 128)}) {
    const std::vector<COLORREF> shown = DrawnIcon(icon, background);
    int wrong = 0;
    std::string firstWrong;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x)
        if (shown[static_cast<std::size_t>(y * 32 + x)] != PictureColour(kIconPicture[y][x], background) && wrong++ == 0)
          firstWrong = std::to_string(x) + "," + std::to_string(y);
    EXPECT_EQ(wrong, 0) << "pixels differ from the picture, the first at " << firstWrong;
  }
  DestroyIcon(icon);
  FreeLibrary(exe);

  // The main window carries it: its title bar shows it, small, so only its yellow and
  // lime are looked for. (Icon handles of another process cannot be inspected here.)
  const std::map<int, POINT> parts = app.FrameParts();
  ASSERT_TRUE(parts.count(HTSYSMENU)) << "no icon on the title bar";
  const POINT systemMenu = parts.at(HTSYSMENU);
  const RECT around{systemMenu.x - 12, systemMenu.y - 12, systemMenu.x + 12, systemMenu.y + 12};
  EXPECT_GT(PixelsOfColour(around, RGB(255, 255, 0)), 0) << "no yellow in the title bar's icon";
  EXPECT_GT(PixelsOfColour(around, RGB(0, 255, 0)), 0) << "no lime in the title bar's icon";
}

}  // namespace
}  // namespace vormix::e2e
