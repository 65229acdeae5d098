// The main window's four push buttons in the real program under Wine, in both looks:
// what they show pixel by pixel in the classic look, the hot look of the native one,
// Space and Enter on a focused button, and a press that a field's check takes back.
// Each look is one start of the program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Driver.h"
#include "win32/WineTheme.h"

namespace vormix::e2e {
namespace {

constexpr int kMemo1 = 201, kGenerate = 301, kSave = 302, kAbout = 303, kExit = 304;
constexpr int Field(int n) { return 100 + n; }
constexpr const char* kNoMarkerMessage = "请输入带有\"%d\"格式参数的命令模板！";

// What a window shows on the screen, pixel by pixel (RGB as COLORREF).
class TScreenPicture {
 public:
  explicit TScreenPicture(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    m_width = r.right - r.left;
    m_height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = m_width;
    bi.bmiHeader.biHeight = -m_height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, m_width, m_height, screen, r.left, r.top, SRCCOPY);
    const auto* p = static_cast<const DWORD*>(bits);
    for (int i = 0; i < m_width * m_height; ++i)
      m_pixels.push_back(RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
  }
  COLORREF At(int x, int y) const { return m_pixels[static_cast<std::size_t>(y * m_width + x)]; }
  int Width() const { return m_width; }
  bool operator==(const TScreenPicture& other) const { return m_pixels == other.m_pixels; }

 private:
  int m_width = 0, m_height = 0;
  std::vector<COLORREF> m_pixels;
};

std::string Hex(COLORREF c) {
  char text[16];
  std::snprintf(text, sizeof text, "%06lX", static_cast<unsigned long>(c));
  return text;
}

COLORREF Inverted(COLORREF c) { return ~c & 0xFFFFFF; }

// The pointer moves there, as a person moves the mouse.
void MovePointer(POINT screen) {
  const int sw = GetSystemMetrics(SM_CXSCREEN) - 1, sh = GetSystemMetrics(SM_CYSCREEN) - 1;
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = screen.x * 65535 / sw;
  input.mi.dy = screen.y * 65535 / sh;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(INPUT));
}

POINT ScreenPoint(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  return p;
}

class ButtonE2e : public ::testing::Test {
 protected:
  // Walks the tab order backwards until the control has the focus (no click, so that
  // nothing is pressed on the way).
  static bool FocusByShiftTab(VormixProcess& app, int id) {
    for (int i = 0; i < 30 && app.FocusedControlId() != id; ++i) app.PressKey(VK_TAB, true);
    return app.FocusedControlId() == id;
  }

  // Space, then Enter, on the focused generate button: each click asks for a marker.
  void SpaceAndEnterClickTheFocusedButton(VormixProcess& app) {
    for (WORD key : {static_cast<WORD>(VK_SPACE), static_cast<WORD>(VK_RETURN)}) {
      SCOPED_TRACE(key == VK_SPACE ? "Space" : "Enter");
      ASSERT_TRUE(FocusByShiftTab(app, kGenerate));
      app.PressKey(key);
      TMessageBoxSeen box = app.WaitForMessageBox(5000);
      ASSERT_NE(box.Window, nullptr) << "the button was not clicked";
      EXPECT_EQ(box.Text, kNoMarkerMessage);
      app.CloseMessageBox(box);
      EXPECT_TRUE(WaitUntil([&] { return app.FocusedControlId() == kMemo1; }, 3000));
    }
  }

  // A lone minus does not pass the field's check: the press on the generate button
  // takes the focus only to have it pulled back, and nothing is generated.
  void PressIsDroppedWhileAFieldRefusesTheFocus(VormixProcess& app) {
    app.Click(app.Control(Field(3)));
    SendMessageW(app.EditOf(app.Control(Field(3))), EM_SETSEL, 0, -1);
    app.PressKey(VK_DELETE);
    app.TypeText("-");
    app.Click(app.Control(kGenerate));
    Sleep(300);
    EXPECT_TRUE(app.Dialogs().empty()) << "the press reached the generator";
    EXPECT_TRUE(app.HasFocus(app.Control(Field(3))));
    app.TypeText("5");  // a number again, so that the program can be left in peace
  }
};

TEST_F(ButtonE2e, ClassicLookFramesFocusMarkKeysAndTheDroppedPress) {
  std::unique_ptr<VormixProcess> started;
  {
    wine::TThemeSettingScope classic(false);
    started = std::make_unique<VormixProcess>();
  }
  VormixProcess& app = *started;
  ASSERT_TRUE(app.Started()) << "vormix.exe did not show its main window";

  const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_3DDKSHADOW),
                 light = GetSysColor(COLOR_3DLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW),
                 face = GetSysColor(COLOR_BTNFACE);
  for (int id : {kGenerate, kSave, kAbout, kExit}) {
    SCOPED_TRACE("button " + std::to_string(id));
    const TScreenPicture p(app.Control(id));
    ASSERT_EQ(p.Width(), 70);
    // Outer line: highlight left and top, dark shadow right and bottom; inner line: light
    // and shadow; the face inside.
    EXPECT_EQ(Hex(p.At(0, 0)), Hex(highlight));
    EXPECT_EQ(Hex(p.At(0, 23)), Hex(highlight));
    EXPECT_EQ(Hex(p.At(68, 0)), Hex(highlight));
    EXPECT_EQ(Hex(p.At(69, 0)), Hex(dark)) << "the top-right corner takes the right side's colour";
    EXPECT_EQ(Hex(p.At(69, 24)), Hex(dark));
    EXPECT_EQ(Hex(p.At(30, 24)), Hex(dark));
    EXPECT_EQ(Hex(p.At(1, 1)), Hex(light));
    EXPECT_EQ(Hex(p.At(68, 23)), Hex(shadow));
    EXPECT_EQ(Hex(p.At(2, 2)), Hex(face));
    EXPECT_EQ(Hex(p.At(67, 22)), Hex(face));
    // The caption lies in its box and nowhere else: rows 3 and 21 are plain face.
    int captionPixels = 0;
    for (int y = 6; y < 18; ++y)
      for (int x = 11; x < 59; ++x) captionPixels += p.At(x, y) != face;
    EXPECT_GT(captionPixels, 20);
    for (int x = 2; x < 68; ++x) EXPECT_EQ(Hex(p.At(x, 3)), Hex(face)) << x;
  }

  // The focused button: a black frame round the normal one, and the dotted mark 4
  // pixels inside, every other pixel of its edge inverted.
  app.Click(app.Control(kMemo1));
  app.PressKey(VK_TAB, true);
  ASSERT_EQ(app.FocusedControlId(), kExit);
  ASSERT_TRUE(WaitUntil([&] { return TScreenPicture(app.Control(kExit)).At(0, 0) == RGB(0, 0, 0); }, 3000));
  const TScreenPicture focused(app.Control(kExit));
  for (POINT corner : {POINT{0, 0}, POINT{69, 0}, POINT{0, 24}, POINT{69, 24}, POINT{35, 0}})
    EXPECT_EQ(Hex(focused.At(corner.x, corner.y)), "000000") << corner.x << "," << corner.y;
  EXPECT_EQ(Hex(focused.At(1, 1)), Hex(highlight));
  EXPECT_EQ(Hex(focused.At(68, 23)), Hex(dark));
  EXPECT_EQ(Hex(focused.At(3, 3)), Hex(face));
  int inverted = 0;
  for (int x = 4; x < 66; ++x) {
    if (focused.At(x, 4) == Inverted(face)) ++inverted;
    else EXPECT_EQ(Hex(focused.At(x, 4)), Hex(face)) << x;
  }
  EXPECT_EQ(inverted, 31) << "a dotted line along the top of the mark";
  EXPECT_NE(focused.At(4, 4) == Inverted(face), focused.At(5, 4) == Inverted(face));
  for (int y = 4; y < 21; ++y) EXPECT_EQ(Hex(focused.At(3, y)), Hex(face)) << "row " << y;
  // The button left is drawn normal again.
  const TScreenPicture generate(app.Control(kGenerate));
  EXPECT_EQ(Hex(generate.At(0, 0)), Hex(highlight));

  SpaceAndEnterClickTheFocusedButton(app);
  PressIsDroppedWhileAFieldRefusesTheFocus(app);
}

TEST_F(ButtonE2e, NativeLookHotButtonKeysAndTheDroppedPress) {
  VormixProcess app;
  ASSERT_TRUE(app.Started()) << "vormix.exe did not show its main window";
  HWND save = app.Control(kSave);

  // The pointer away from the buttons, then onto the save button and off it again.
  MovePointer(ScreenPoint(app.MainWindow(), 5, 5));
  app.Settle();
  const TScreenPicture normal(save);
  MovePointer(ScreenPoint(save, 35, 12));
  EXPECT_TRUE(WaitUntil([&] { return !(TScreenPicture(save) == normal); }, 3000)) << "not repainted hot on entering";
  MovePointer(ScreenPoint(app.MainWindow(), 5, 5));
  EXPECT_TRUE(WaitUntil([&] { return TScreenPicture(save) == normal; }, 3000)) << "not restored on leaving";

  SpaceAndEnterClickTheFocusedButton(app);
  PressIsDroppedWhileAFieldRefusesTheFocus(app);
}

}  // namespace
}  // namespace vormix::e2e
