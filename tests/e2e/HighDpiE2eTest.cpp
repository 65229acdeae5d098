// The real program on a screen of 144 dots per inch (ctest runs these cases in a copy of
// the Wine prefix whose LogPixels is 144). The program declares itself aware of the
// screen's resolution, so the system hands it the real resolution instead of stretching
// a 96-dpi picture, and it scales its own layout: the font height by 144/96 (12 -> 18
// pixels), every position and size by the resulting character height over 12.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Driver.h"

namespace vormix::e2e {
namespace {

constexpr int kCharacterHeight = 18;

// A length of the 96-dpi layout on this screen (Windows' MulDiv rounds halves away from
// zero, as the program does).
int Scaled(int length) { return MulDiv(length, kCharacterHeight, 12); }

// Where the layout puts a control: its parent's place in the main window's client area
// (both scaled) plus its own place in the parent.
struct TPlace {
  int ParentLeft, ParentTop, Left, Top, Width, Height;
  RECT InClient() const {
    const int left = Scaled(ParentLeft) + Scaled(Left), top = Scaled(ParentTop) + Scaled(Top);
    return {left, top, left + Scaled(Width), top + Scaled(Height)};
  }
};
constexpr int kPanel1Left = 18, kPanel1Top = 90, kPanel2Left = 18, kPanel2Top = 240;

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
         std::to_string(r.bottom - r.top);
}

RECT InClientOf(HWND window, HWND main) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The box around the text-dark pixels of a picture, relative to its top-left corner.
struct TInk {
  int Left = 0, Top = 0, Right = 0, Bottom = 0, Pixels = 0;
  std::string Describe() const {
    return std::to_string(Left) + "," + std::to_string(Top) + "-" + std::to_string(Right) + "," +
           std::to_string(Bottom) + " (" + std::to_string(Pixels) + " pixels)";
  }
};

TInk InkOf(HDC dc, int width, int height) {
  TInk ink{width, height, 0, 0, 0};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const COLORREF c = GetPixel(dc, x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) >= 3 * 100) continue;
      ++ink.Pixels;
      ink.Left = std::min(ink.Left, x);
      ink.Top = std::min(ink.Top, y);
      ink.Right = std::max(ink.Right, x + 1);
      ink.Bottom = std::max(ink.Bottom, y + 1);
    }
  return ink;
}

// Runs a drawing on a bitmap of the size, button-face coloured, and returns its ink.
template <class Draw>
TInk InkOfDrawing(int width, int height, Draw&& draw) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  draw(dc);
  const TInk ink = InkOf(dc, width, height);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return ink;
}

// What a screen area of the main window's client area shows.
TInk InkOnScreen(HWND main, const RECT& area) {
  POINT origin{area.left, area.top};
  ClientToScreen(main, &origin);
  return InkOfDrawing(area.right - area.left, area.bottom - area.top, [&](HDC dc) {
    HDC screen = GetDC(nullptr);
    BitBlt(dc, 0, 0, area.right - area.left, area.bottom - area.top, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
  });
}

// The program's font at the scaled height: "宋体" (the prefix maps it onto the installed
// Chinese font), as the main window asks for it.
HFONT CreateWindowFont() {
  return CreateFontW(-kCharacterHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"宋体");
}

// The distances above and below the text that the frame of a field takes: the themed
// edit's content margins while a theme is in force, the classic 2 + 2 pixels otherwise.
int FrameMarginsTopAndBottom() {
  using IsThemeActiveFn = BOOL(WINAPI*)();
  using OpenThemeDataFn = HANDLE(WINAPI*)(HWND, LPCWSTR);
  using CloseThemeDataFn = HRESULT(WINAPI*)(HANDLE);
  using ContentRectFn = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, RECT*);
  HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
  auto entry = [&](const char* name) { return reinterpret_cast<void*>(GetProcAddress(uxtheme, name)); };
  auto active = reinterpret_cast<IsThemeActiveFn>(entry("IsThemeActive"));
  auto open = reinterpret_cast<OpenThemeDataFn>(entry("OpenThemeData"));
  auto close = reinterpret_cast<CloseThemeDataFn>(entry("CloseThemeData"));
  auto content = reinterpret_cast<ContentRectFn>(entry("GetThemeBackgroundContentRect"));
  int margins = 4;
  if (active && open && close && content && active()) {
    if (HANDLE theme = open(nullptr, L"Edit")) {
      const RECT bounds{0, 0, 100, 100};
      RECT inner{};
      if (SUCCEEDED(content(theme, nullptr, 1, 1, &bounds, &inner))) margins = inner.top + (100 - inner.bottom);
      close(theme);
    }
  }
  return margins;
}

int TextHeightOf(const std::string& text) {
  HDC screen = GetDC(nullptr);
  HFONT font = CreateWindowFont();
  HGDIOBJ old = SelectObject(screen, font);
  const std::wstring wide = W(text);
  SIZE size{};
  GetTextExtentPoint32W(screen, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(screen, old);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  return size.cy;
}

// A label's text drawn here the way a label draws it, in the window's font at the scaled
// height: the picture a whole, unclipped label shows.
TInk InkOfLabelText(const std::string& text, int width, int height) {
  return InkOfDrawing(width, height, [&](HDC dc) {
    RECT all{0, 0, width, height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    HFONT font = CreateWindowFont();
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    const std::wstring wide = W(text);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &all, DT_LEFT | DT_NOCLIP | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, oldFont);
    DeleteObject(font);
  });
}

// One start of the program serves every check: resolution, sizes and places, labels,
// and a picture of the window for people to look at.
TEST(HighDpiE2e, TheProgramIsAwareOfTheResolutionAndScalesItsWholeLayout) {
  {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 144) << "this case runs in the 144-dpi copy of the Wine prefix (see tests/CMakeLists.txt)";
  }
  VormixProcess app;
  ASSERT_TRUE(app.Started()) << "vormix.exe did not show its main window";
  HWND main = app.MainWindow();

  // Beside vormix.exe in the build folder.
  std::wstring picture = VormixExePath();
  picture = picture.substr(0, picture.rfind(L'\\') + 1) + L"e2e-144dpi.bmp";
  EXPECT_TRUE(SaveWindowPicture(main, picture));
  RecordProperty("picture", U(picture));

  // A program that is not aware of the resolution gets the 96 dpi of a virtual screen
  // for its windows (and on Windows a stretched, blurred picture).
  EXPECT_EQ(GetDpiForWindow(main), 144u) << "the main window was not created aware of the resolution";

  RECT client{};
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 1083);  // 722 x 566 scaled
  EXPECT_EQ(client.bottom, 849);

  // Every window at its scaled place and of its scaled width. The numeric fields keep
  // the automatic height of a single-line editor instead of a scaled one: the text "Zg"
  // in the scaled font plus 4, inside the frame's margins.
  const int fieldHeight = TextHeightOf("Zg") + 4 + FrameMarginsTopAndBottom();
  struct TWindowRow {
    const char* Name;
    int Id;
    bool Field;  // a numeric field: its id is on the edit box inside its frame
    TPlace Place;
    bool InFrame = false;  // a text area: its id is on the edit box inside its frame too
  };
  const TWindowRow windows[] = {
      {"cxSpinEdit1", 101, true, {kPanel1Left, kPanel1Top, 81, 15, 75, 20}},
      {"cxSpinEdit16", 116, true, {kPanel1Left, kPanel1Top, 594, 114, 75, 20}},
      {"cxSpinEdit17", 117, true, {kPanel2Left, kPanel2Top, 81, 12, 75, 20}},
      {"cxMemo1", 201, false, {0, 0, 18, 32, 685, 57}, true},
      {"cxMemo2", 202, false, {kPanel2Left, kPanel2Top, 13, 41, 578, 226}, true},
      {"cxButton1", 301, false, {kPanel2Left, kPanel2Top, 600, 41, 70, 25}},
      {"cxButton4", 304, false, {kPanel2Left, kPanel2Top, 600, 182, 70, 25}},
  };
  for (const TWindowRow& row : windows) {
    SCOPED_TRACE(row.Name);
    HWND window = app.Control(row.Id);
    ASSERT_NE(window, nullptr);
    if (row.Field || row.InFrame) window = GetParent(window);
    RECT expected = row.Place.InClient();
    if (row.Field) expected.bottom = expected.top + fieldHeight;
    EXPECT_EQ(Describe(InClientOf(window, main)), Describe(expected));
  }
  {
    const RECT field = InClientOf(GetParent(app.Control(101)), main);
    EXPECT_EQ(field.right - field.left, 113);
    EXPECT_GE(field.bottom - field.top, kCharacterHeight + 8) << "the field is tall enough for the scaled font";
  }

  // Each label shows its whole text in the scaled font: the ink between its left edge
  // and whatever stands to its right is exactly the ink of its text.
  struct TLabelRow {
    const char* Text;
    TPlace Place;
    int ClearRight;  // the label's row is free of other ink up to here (unscaled, in the parent)
  };
  const TLabelRow labels[] = {
      {"命令模板：(参数格式为：%d)", {0, 0, 20, 14, 156, 12}, 300},
      {"参数1基数：", {kPanel1Left, kPanel1Top, 15, 19, 66, 12}, 81},
      {"参数8步长：", {kPanel1Left, kPanel1Top, 528, 118, 66, 12}, 594},
      {"命令数量：", {kPanel2Left, kPanel2Top, 15, 16, 60, 12}, 81},
  };
  for (const TLabelRow& row : labels) {
    SCOPED_TRACE(row.Text);
    const RECT box = row.Place.InClient();
    const RECT area{box.left, box.top, Scaled(row.Place.ParentLeft) + Scaled(row.ClearRight), box.bottom + 4};
    const TInk shown = InkOnScreen(main, area);
    const TInk text = InkOfLabelText(row.Text, area.right - area.left, area.bottom - area.top);
    ASSERT_GT(text.Pixels, 0) << "the reference text drew nothing";
    EXPECT_EQ(shown.Describe(), text.Describe());
    EXPECT_GE(text.Bottom - text.Top, 12) << "drawn in the scaled font, not the 96-dpi one";
  }
}

}  // namespace
}  // namespace vormix::e2e
