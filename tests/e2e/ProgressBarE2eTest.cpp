// The progress bar of the real program under Wine, in the native look and the classic
// one: at start-up it is empty with '0 %'; while a long batch runs the screen shows the
// filled part and the percentage over it; after the run it is empty with '0 %' again.
// Each look is one start of the program. Pictures of the main window, taken while the
// batch runs and after it, are saved beside vormix.exe for a person to look at.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Driver.h"
#include "win32/WineTheme.h"

namespace vormix::e2e {
namespace {

constexpr int kMemo1 = 201, kMemo2 = 202, kGenerate = 301, kProgressBar = 400;
constexpr int kCount = 117;

// The bar's client area as the screen shows it, rows of pixels, taken in one transfer.
std::vector<std::vector<COLORREF>> Picture(HWND bar) {
  RECT r{};
  GetClientRect(bar, &r);
  POINT origin{0, 0};
  ClientToScreen(bar, &origin);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = r.right;
  bi.bmiHeader.biHeight = -r.bottom;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, r.right, r.bottom, screen, origin.x, origin.y, SRCCOPY);
  std::vector<std::vector<COLORREF>> rows(static_cast<std::size_t>(r.bottom));
  const auto* p = static_cast<const DWORD*>(bits);
  for (int y = 0; y < r.bottom; ++y)
    for (int x = 0; x < r.right; ++x) {
      const DWORD c = p[y * r.right + x];
      rows[static_cast<std::size_t>(y)].push_back(RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
    }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return rows;
}

std::wstring PicturePath(const std::string& name) {
  std::wstring path = VormixExePath();
  return path.substr(0, path.rfind(L'\\') + 1) + W("e2e-progress-" + name + ".bmp");
}

class ProgressBarE2e : public ::testing::TestWithParam<bool> {
 protected:
  bool Classic() const { return GetParam(); }
  std::string Look() const { return Classic() ? "classic" : "native"; }

  std::optional<wine::TThemeSettingScope> theme;
  std::optional<VormixProcess> app;
};

TEST_P(ProgressBarE2e, ALongBatchShowsItsProgressAndTheBarEndsEmptyWithZeroPercent) {
  if (Classic()) theme.emplace(false);
  app.emplace();
  ASSERT_TRUE(app->Started()) << "vormix.exe did not show its main window";
  HWND bar = app->Control(kProgressBar);
  ASSERT_NE(bar, nullptr);
  RECT client{};
  GetClientRect(bar, &client);
  const int w = client.right, h = client.bottom, middle = h / 2;
  ASSERT_EQ(w, 578);

  // Empty: the colour at the bar's start is the one near its end; the text '0 %' sits in
  // the middle in another colour, and nowhere else.
  app->Settle();
  const auto before = Picture(bar);
  const COLORREF empty = before[middle][w - 8];
  EXPECT_EQ(before[middle][6], empty) << "the bar is empty at start-up";
  int textPixels = 0, strayPixels = 0;
  for (int y = 4; y < h - 4; ++y)
    for (int x = 6; x < w - 6; ++x) {
      if (before[y][x] == empty) continue;
      if (x > w / 2 - 20 && x < w / 2 + 20) ++textPixels;
      else ++strayPixels;
    }
  EXPECT_GT(textPixels, 10) << "'0 %' in the middle";
  EXPECT_EQ(strayPixels, 0);

  app->SetText(app->Control(kMemo1), "copy a%d.txt b%d.txt");
  app->SetText(app->Control(kCount), "100000");
  // The button is pressed and let go as a user would, but the test does not wait for
  // the program to answer after the release: it answers only once the batch is done.
  RECT button{};
  GetWindowRect(app->Control(kGenerate), &button);
  const POINT centre{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
  app->MouseDownAt(centre);
  INPUT release{};
  release.type = INPUT_MOUSE;
  release.mi.dx = centre.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  release.mi.dy = centre.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  release.mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &release, sizeof(INPUT));

  // While the batch runs the screen shows the bar partly or wholly filled from the left
  // (the commands come quickly; taking them into the results area is the long part).
  auto pixel = [&](int x) {
    POINT p{x, 3};
    ClientToScreen(bar, &p);
    return ScreenPixel(p);
  };
  HWND results = app->EditOf(app->Control(kMemo2));
  bool running = false;
  const ULONGLONG start = GetTickCount64();
  while (GetTickCount64() - start < 60000) {
    if (pixel(6) != empty) {
      running = true;
      break;
    }
    DWORD_PTR lines = 0;
    if (SendMessageTimeoutW(results, EM_GETLINECOUNT, 0, 0, SMTO_NORMAL, 1, &lines) && lines > 1) break;  // done
    Sleep(5);
  }
  if (!running) {
    SaveWindowPicture(app->MainWindow(), PicturePath(Look() + "-failed"));
    std::printf("the bar showed %06lx at its start, empty is %06lx\n", static_cast<unsigned long>(pixel(6)),
                static_cast<unsigned long>(empty));
  }
  ASSERT_TRUE(running) << "the screen showed no partly filled bar during the run ";
  EXPECT_TRUE(SaveWindowPicture(app->MainWindow(), PicturePath(Look() + "-running")));
  const auto during = Picture(bar);
  // The percentage shows in the middle, in the text colour beside the bar or inverted
  // over it: the row through the text differs from the row above it there.
  int textPixels2 = 0;
  for (int x = w / 2 - 20; x < w / 2 + 20; ++x) textPixels2 += during[middle][x] != during[3][x];
  EXPECT_GT(textPixels2, 3) << "the percentage shows during the run";
  EXPECT_NE(during[middle][6], empty) << "the filled part";

  // After the run: the results are complete and the bar is empty with '0 %', exactly as
  // at start-up.
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(results, EM_GETLINECOUNT, 0, 0) == 100001; }, 60000));
  EXPECT_TRUE(WaitUntil([&] { return Picture(bar) == before; }, 5000)) << "the bar does not show '0 %' empty";
  EXPECT_TRUE(SaveWindowPicture(app->MainWindow(), PicturePath(Look() + "-after")));
}

INSTANTIATE_TEST_SUITE_P(Looks, ProgressBarE2e, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Classic" : "Native"; });

}  // namespace
}  // namespace vormix::e2e
