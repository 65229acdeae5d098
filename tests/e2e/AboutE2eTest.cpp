// The About dialog in the real program under Wine, in both looks: the About button
// shows it modally over the disabled main window, with the icon's pixels and the
// title's depth copies; Escape leaves it open, the web link asks the shell to open the
// address (recorded to a file instead of starting a browser), and OK and the close box
// both close it, a fresh dialog coming with the next click. Each look is one start.
#include <gtest/gtest.h>

#include <string>

#include "Driver.h"
#include "win32/WineTheme.h"

namespace vormix::e2e {
namespace {

constexpr int kAbout = 303;
constexpr int kTitleLabel = 502, kCorporationLabel = 505, kLinkLabel = 507, kOkButton = 511;
constexpr const char* kAddress = "https://vormix.example.org";

std::wstring BesideTheProgram(const std::wstring& name) {
  const std::wstring exe = VormixExePath();
  return exe.substr(0, exe.rfind(L'\\') + 1) + name;
}

COLORREF ClientPixel(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  return ScreenPixel(p);
}

// A point on the dialog's close box, found the way the system answers hit tests.
POINT CloseBoxOf(HWND dialog) {
  RECT window{};
  GetWindowRect(dialog, &window);
  POINT client{0, 0};
  ClientToScreen(dialog, &client);
  const int y = (window.top + client.y) / 2;
  for (int x = window.right - 1; x > window.left; --x) {
    DWORD_PTR hit = 0;
    SendMessageTimeoutW(dialog, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, 5000, &hit);
    if (hit == HTCLOSE) return {x - 2, y};
  }
  return {0, 0};
}

class AboutE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    m_record = BesideTheProgram(L"e2e-about-shell.txt");
    DeleteFileW(m_record.c_str());
    SetEnvironmentVariableW(L"VORMIX_SHELL_RECORD", m_record.c_str());
  }
  void TearDown() override { SetEnvironmentVariableW(L"VORMIX_SHELL_RECORD", nullptr); }

  std::string Recorded() const {
    std::string bytes;
    ReadBytes(m_record, bytes);
    return bytes;
  }

  HWND OpenAbout(VormixProcess& app) {
    app.Click(app.Control(kAbout));
    return app.WaitForDialog("关于", 5000);
  }

  void AllChecks(VormixProcess& app, const wchar_t* pictureName) {
    HWND main = app.MainWindow();
    HWND about = OpenAbout(app);
    ASSERT_NE(about, nullptr) << "no dialog captioned 关于";
    RECT client{};
    GetClientRect(about, &client);
    EXPECT_EQ(client.right, 351);
    EXPECT_EQ(client.bottom, 249);
    EXPECT_FALSE(IsWindowEnabled(main)) << "the main window is disabled while the dialog is up";
    const LONG style = GetWindowLongW(about, GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    app.Settle();
    Sleep(200);

    // The icon at (21, 24): yellow upper right, lime lower left, two blue rows across,
    // and the face colour where the mask lets it through.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const auto icon = [&](int x, int y) { return ClientPixel(about, 21 + x, 24 + y); };
    EXPECT_EQ(icon(24, 6), RGB(255, 255, 0));
    EXPECT_EQ(icon(6, 24), RGB(0, 255, 0));
    for (int x : {0, 8, 15, 16, 24, 31}) {
      EXPECT_EQ(icon(x, 15), RGB(0, 0, 255)) << x;
      EXPECT_EQ(icon(x, 16), RGB(0, 0, 255)) << x;
    }
    EXPECT_EQ(icon(3, 3), face);
    EXPECT_EQ(icon(28, 28), face);

    // The title's copies: the nearest in the gray-text colour, the farther ones blended
    // towards the face, the lowered text over them.
    HWND title = GetDlgItem(about, kTitleLabel);
    ASSERT_NE(title, nullptr);
    RECT titleRect{};
    GetClientRect(title, &titleRect);
    int gray = 0, lighter = 0;
    const COLORREF grayText = GetSysColor(COLOR_GRAYTEXT);
    const auto between = [](int v, int a, int b) { return v > std::min(a, b) && v < std::max(a, b); };
    for (int y = 0; y < titleRect.bottom; ++y)
      for (int x = 0; x < titleRect.right; ++x) {
        const COLORREF c = ClientPixel(title, x, y);
        if (c == grayText) ++gray;
        else if (between(GetRValue(c), GetRValue(grayText), GetRValue(face)) && GetRValue(c) == GetGValue(c))
          ++lighter;
      }
    EXPECT_GT(gray, 20) << "the copy nearest the text";
    EXPECT_GT(lighter, 20) << "the blended copies";
    EXPECT_TRUE(SaveWindowPicture(about, BesideTheProgram(pictureName)));

    // A label in "MS Sans Serif" at 11 pixels is its text's height plus the border area.
    RECT corporation{};
    GetClientRect(GetDlgItem(about, kCorporationLabel), &corporation);
    EXPECT_EQ(corporation.bottom, 17);

    // Escape: no cancel button, the dialog stays.
    app.PressKey(VK_ESCAPE);
    app.Settle();
    Sleep(200);
    EXPECT_TRUE(IsWindowVisible(about)) << "Escape closed the dialog";

    // The link, twice: two requests to open the address, the dialog still there.
    HWND link = GetDlgItem(about, kLinkLabel);
    ASSERT_NE(link, nullptr);
    app.Click(link);
    app.Settle();
    app.Click(link);
    app.Settle();
    const std::string once = std::string("open ") + kAddress + "\n";
    EXPECT_TRUE(WaitUntil([&] { return Recorded() == once + once; }, 3000)) << Recorded();
    EXPECT_TRUE(IsWindowVisible(about));

    // OK closes it and gives the main window back.
    app.Click(GetDlgItem(about, kOkButton));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 3000)) << "OK did not close the dialog";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 3000));

    // A fresh dialog, closed by its close box.
    HWND again = OpenAbout(app);
    ASSERT_NE(again, nullptr) << "the second click showed no dialog";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(again, kOkButton)));
    const POINT closeBox = CloseBoxOf(again);
    ASSERT_NE(closeBox.x, 0) << "no close box on the dialog";
    app.ClickAt(closeBox);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(again); }, 3000)) << "the close box did not close the dialog";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 3000));
    EXPECT_TRUE(app.Dialogs().empty());
  }

  std::wstring m_record;
};

TEST_F(AboutE2e, NativeLookShowsClosesAndOpensTheLink) {
  VormixProcess app;
  ASSERT_TRUE(app.Started()) << "vormix.exe did not show its main window";
  AllChecks(app, L"e2e-about-native.bmp");
}

TEST_F(AboutE2e, ClassicLookShowsClosesAndOpensTheLink) {
  std::unique_ptr<VormixProcess> started;
  {
    wine::TThemeSettingScope classic(false);
    started = std::make_unique<VormixProcess>();
  }
  ASSERT_TRUE(started->Started()) << "vormix.exe did not show its main window";
  AllChecks(*started, L"e2e-about-classic.bmp");
}

}  // namespace
}  // namespace vormix::e2e
