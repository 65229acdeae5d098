// The system's visual-styles library under the real platform: bound by name, a theme
// in force in the prefix as created, a themed push button unlike the classic one, and
// a theme switched off and on again within one run.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "lookandfeel/cxLookAndFeels.h"
#include "platform/win32/Win32Canvas.h"
#include "platform/win32/Win32ThemeLibrary.h"
#include "platform/win32/Win32WindowSystem.h"
#include "WineTheme.h"

namespace vormix {
namespace {

// A child run of this test program (see below).
DWORD RunChildTest(const char* filter) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=";
  for (const char* c = filter; *c; ++c) command += static_cast<wchar_t>(*c);
  SetEnvironmentVariableW(L"VORMIX_CHILD_TEST", L"1");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  DWORD code = 99;
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    WaitForSingleObject(process.hProcess, 60000);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  SetEnvironmentVariableW(L"VORMIX_CHILD_TEST", nullptr);
  return code;
}

bool IsChildRun() { return GetEnvironmentVariableW(L"VORMIX_CHILD_TEST", nullptr, 0) != 0; }

// Started as that child, this program only tells whether a program drawing with the
// Standard look and native style would draw classic (exit code 0) and ends before any
// test runs.
const int kChildAnswer = [] {
  if (!IsChildRun()) return 0;
  Win32WindowSystem windows(GetModuleHandleW(nullptr));
  Win32ThemeLibrary themes;
  int answer = 0;
  {
    TcxLookAndFeelRuntime runtime(themes, &windows);
    TcxLookAndFeel lf;
    lf.SetKind(TcxLookAndFeelKind::lfStandard);
    lf.SetNativeStyle(true);
    answer = (themes.IsLoaded() && !ThemesReady() && &lf.PainterFor() == &StandardPainter()) ? 0 : 1;
  }
  ExitProcess(static_cast<UINT>(answer));
}();

TEST(ThemeLibraryWin32, BindsTheLibraryByNameWithTheOperationsTheControlsCall) {
  Win32ThemeLibrary themes;
  ASSERT_TRUE(themes.IsLoaded());
  for (const char* op : {"OpenThemeData", "CloseThemeData", "IsThemeActive", "DrawThemeBackground", "DrawThemeText",
                         "DrawThemeParentBackground", "GetThemeBackgroundContentRect", "GetThemeColor",
                         "GetThemePartSize", "GetThemeBackgroundRegion", "DrawThemeEdge",
                         "IsThemeBackgroundPartiallyTransparent", "GetCurrentThemeName"})
    EXPECT_TRUE(themes.HasOperation(op)) << op;
  int found = 0;
  for (const char* op : kThemeLibraryOperations) found += themes.HasOperation(op);
  EXPECT_GE(found, 13);
  std::printf("theme library: %d of %zu operations found\n", found, std::size(kThemeLibraryOperations));
  EXPECT_FALSE(themes.HasOperation("NoSuchOperation"));
  EXPECT_TRUE(themes.GetCurrentThemeName().has_value());
}

TEST(ThemeLibraryWin32, ANativeLookWhileTheThemeIsOnAndTheClassicOneAfterItIsSwitchedOff) {
  Win32WindowSystem windows(GetModuleHandleW(nullptr));
  Win32ThemeLibrary themes;
  TcxLookAndFeelRuntime runtime(themes, &windows);
  ASSERT_TRUE(ThemesReady()) << "the prefix as created has its theme on";
  TcxLookAndFeel lf;
  lf.SetKind(TcxLookAndFeelKind::lfStandard);
  lf.SetNativeStyle(true);
  EXPECT_TRUE(lf.PainterFor().IsNative());

  // A themed push button looks unlike the classic one.
  HDC dc = CreateCompatibleDC(nullptr);
  {
    Win32Canvas root(dc, windows);
    auto themed = root.CreateBitmap(70, 25);
    auto classic = root.CreateBitmap(70, 25);
    WinXPPainter().PaintPushButtonPlain(*themed, {0, 0, 70, 25}, cxbsNormal);
    StandardPainter().PaintPushButtonPlain(*classic, {0, 0, 70, 25}, cxbsNormal);
    EXPECT_NE(themed->Image(), classic->Image());
  }
  DeleteDC(dc);

  // Switched off and on again within the run: the receiver hears the system's
  // broadcast each time, and the painter follows.
  wine::TThemeSwitch theme;
  if (!theme.Available()) GTEST_SKIP() << "no theme switch on this system";
  int heard = 0;
  TdxThemeChangedNotificator notificator;
  notificator.OnThemeChanged = [&] { ++heard; };
  ASSERT_TRUE(theme.Set(false));
  windows.ProcessMessages();
  EXPECT_EQ(heard, 1);
  EXPECT_FALSE(ThemesReady());
  EXPECT_EQ(&lf.PainterFor(), &StandardPainter());
  ASSERT_TRUE(theme.Set(true));
  windows.ProcessMessages();
  EXPECT_EQ(heard, 2);
  EXPECT_TRUE(ThemesReady());
  EXPECT_TRUE(lf.PainterFor().IsNative());
}

// A program started while the user's setting says the theme is off draws classic.
TEST(ThemeLibraryWin32, NothingIsReadyForAProgramStartedWithTheThemeSwitchedOff) {
  DWORD child = 99;
  {
    wine::TThemeSettingScope classic(false);
    child = RunChildTest("none");
  }
  EXPECT_EQ(child, 0u);
  EXPECT_EQ(wine::ThemeActiveSetting(), L"1");
}

}  // namespace
}  // namespace vormix
