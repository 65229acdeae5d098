// The window operations that drawn controls stand on, on real windows: timers, the
// capture, the pointer, owner-drawn buttons, regions, painting now and into a copy, and
// the system's broadcasts. Input goes through the system's queue (SendInput), so what
// arrives is what Windows itself delivers.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/RecordingHandler.h"
#include "platform/win32/Win32Canvas.h"
#include "platform/win32/Win32WindowSystem.h"

namespace vormix {
namespace {

constexpr TColor kRed = 0x0000FF, kGreen = 0x00C000, kBlue = 0xFF0000;

// A 32-bit bitmap selected into a memory device context, for copies and pixel checks.
class TBitmapDC {
 public:
  TBitmapDC(int width, int height, COLORREF fill) : m_width(width), m_dc(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<DWORD*>(bits);
    m_old = SelectObject(m_dc, m_bitmap);
    std::fill_n(m_bits, width * height, ((fill & 0xFF) << 16) | (fill & 0xFF00) | ((fill >> 16) & 0xFF));
  }
  ~TBitmapDC() {
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
  }
  HDC Dc() const { return m_dc; }
  COLORREF Pixel(int x, int y) const {
    GdiFlush();
    const DWORD p = m_bits[y * m_width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }

 private:
  int m_width;
  HDC m_dc;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
  DWORD* m_bits = nullptr;
};

class WindowSystemOnRealWindows : public testing::Test {
 protected:
  WindowSystemOnRealWindows() {
    TNativeWindowParams params;
    params.Bounds = {80, 80, 480, 380};
    params.Text = "Window system";
    form = windows.CreateForm(params, {}, formLog);
    form->SetClientSize({330, 200});
    a = Child(aLog, {10, 10, 110, 60});
    b = Child(bLog, {120, 10, 220, 60});
  }
  ~WindowSystemOnRealWindows() override {
    ReleaseCapture();
    windows.ProcessMessages();
  }

  std::unique_ptr<INativeWindow> Child(TRecordingHandler& handler, TRect bounds) {
    TNativeWindowParams params;
    params.Parent = form.get();
    params.Bounds = bounds;
    auto window = windows.CreateCustomControl(params, handler);
    handler.Window = window.get();
    return window;
  }

  static HWND Hwnd(const INativeWindow& window) { return static_cast<HWND>(window.Handle()); }

  // Shows the form in front with the pointer away from it and waits until it is drawn.
  bool ShowInFront() {
    SetCursorPos(5, 5);
    form->Show();
    form->Activate();
    const bool ready = Pump([&] { return GetForegroundWindow() == Hwnd(*form) && !GetUpdateRect(Hwnd(*a), nullptr, FALSE); });
    Pump([] { return false; }, 100);
    log.clear();
    return ready;
  }

  // Handles messages until the condition holds (or the time is up).
  bool Pump(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    for (;;) {
      windows.ProcessMessages();
      if (done()) return true;
      if (GetTickCount() - start > timeoutMs) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
  }
  bool Logged(const std::string& line) const { return std::find(log.begin(), log.end(), line) != log.end(); }
  bool WaitFor(const std::string& line) { return Pump([&] { return Logged(line); }); }

  static void Mouse(DWORD flags, DWORD data = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = data;
    SendInput(1, &input, sizeof(input));
  }
  static void MoveTo(TPoint screen) {
    SetCursorPos(screen.X, screen.Y);
    Mouse(MOUSEEVENTF_MOVE);
  }

  Win32WindowSystem windows{GetModuleHandleW(nullptr)};
  TLines log;
  TRecordingHandler formLog{log, "form"}, aLog{log, "a"}, bLog{log, "b"};
  std::unique_ptr<INativeForm> form;
  std::unique_ptr<INativeWindow> a, b;
};

TEST_F(WindowSystemOnRealWindows, TimersTickThroughTheMessageLoopNeverNestedAndStopWhenDisabled) {
  int ticks = 0, depth = 0, deepest = 0;
  auto timer = windows.CreateTimer([&] {
    deepest = std::max(deepest, ++depth);
    ++ticks;
    if (ticks == 2) {  // a slow tick that handles messages meanwhile
      Sleep(50);
      windows.ProcessMessages();
    }
    --depth;
    if (ticks == 3) throw std::runtime_error("a failing tick");
  });
  timer->SetInterval(15);
  EXPECT_FALSE(timer->Enabled());
  Pump([] { return false; }, 100);
  EXPECT_EQ(ticks, 0) << "a new timer is disabled";

  timer->SetEnabled(true);
  EXPECT_TRUE(Pump([&] { return ticks >= 5; })) << "the failing tick stopped nothing";
  EXPECT_EQ(deepest, 1);
  timer->SetEnabled(false);
  const int stopped = ticks;
  Pump([] { return false; }, 150);
  EXPECT_EQ(ticks, stopped);

  int doomedTicks = 0;
  std::unique_ptr<ITimer> doomed = windows.CreateTimer([&] {
    ++doomedTicks;
    doomed.reset();
  });
  doomed->SetInterval(10);
  doomed->SetEnabled(true);
  EXPECT_TRUE(Pump([&] { return doomedTicks == 1; }));
  Pump([] { return false; }, 100);
  EXPECT_EQ(doomedTicks, 1) << "a timer destroyed by its own tick";
}

TEST_F(WindowSystemOnRealWindows, TheCaptureIsHeldUntilReleasedTakenOrCancelledAndEachLossIsTold) {
  ASSERT_TRUE(ShowInFront());
  a->SetCapture();
  EXPECT_TRUE(a->HasCapture());
  EXPECT_TRUE(windows.IsMouseCaptured());
  EXPECT_EQ(GetCapture(), Hwnd(*a));
  b->SetCapture();
  EXPECT_FALSE(a->HasCapture());
  b->ReleaseCapture();
  EXPECT_FALSE(windows.IsMouseCaptured());
  EXPECT_EQ(log, (TLines{"a capture lost", "b capture lost"}));

  log.clear();
  a->SetCapture();
  SendMessageW(Hwnd(*a), WM_CANCELMODE, 0, 0);
  EXPECT_FALSE(windows.IsMouseCaptured());
  SendMessageW(Hwnd(*b), WM_CANCELMODE, 0, 0);
  EXPECT_EQ(log, (TLines{"a capture lost", "b capture lost"})) << "one notice per cancel";
}

TEST_F(WindowSystemOnRealWindows, ThePointerEntersMovesLeavesAndPressesItsButtons) {
  ASSERT_TRUE(ShowInFront());
  const TPoint overA = a->ClientToScreen({5, 6});
  EXPECT_EQ(overA, form->ClientToScreen({15, 16}));
  EXPECT_EQ(a->ScreenToClient(overA), (TPoint{5, 6}));
  MoveTo(overA);
  ASSERT_TRUE(WaitFor("a move 5,6"));
  EXPECT_EQ(log.front(), "a enter");
  EXPECT_EQ(windows.CursorPos(), overA);
  EXPECT_EQ(windows.WindowFromPoint(overA), a.get());
  EXPECT_EQ(windows.WindowFromPoint(form->ClientToScreen({300, 150})), form.get());
  EXPECT_EQ(windows.WindowFromPoint({form->Bounds().Left - 5, 5}), nullptr);

  log.clear();
  MoveTo(b->ClientToScreen({7, 8}));
  ASSERT_TRUE(WaitFor("b move 7,8"));
  EXPECT_TRUE(WaitFor("a leave"));
  EXPECT_LT(std::find(log.begin(), log.end(), "b enter"), std::find(log.begin(), log.end(), "b move 7,8"));

  bLog.LogMoves = false;
  log.clear();
  Mouse(MOUSEEVENTF_RIGHTDOWN);
  Mouse(MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(WaitFor("b up right 7,8"));
  Mouse(MOUSEEVENTF_LEFTDOWN);
  Mouse(MOUSEEVENTF_LEFTUP);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  Mouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(WaitFor("b down left 7,8 LD"));
  ASSERT_TRUE(WaitFor("b up left 7,8"));
  EXPECT_EQ(log, (TLines{"b down right 7,8 R", "b up right 7,8", "b down left 7,8 L", "b up left 7,8",
                         "b down left 7,8 LD", "b up left 7,8"}));

  b->SetCursor(TCursor::crHandPoint);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND)) << "the shape changes at once under the pointer";
  b->SetCursor(TCursor::crIBeam);
  MoveTo(b->ClientToScreen({8, 8}));
  Pump([&] { return GetCursor() == LoadCursorW(nullptr, IDC_IBEAM); }, 1000);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_IBEAM));
}

TEST_F(WindowSystemOnRealWindows, TheWheelGoesToTheFocusedWindowAndOnToItsParentWhileUnused) {
  ASSERT_TRUE(ShowInFront());
  aLog.LogMoves = bLog.LogMoves = formLog.LogMoves = false;
  a->SetFocus();
  MoveTo(b->ClientToScreen({1, 2}));  // over b, which is not focused
  ASSERT_TRUE(WaitFor("b enter"));
  log.clear();
  Mouse(MOUSEEVENTF_WHEEL, WHEEL_DELTA);
  ASSERT_TRUE(WaitFor("form wheel 120 121,12"));
  EXPECT_EQ(log, (TLines{"a wheel 120 111,2", "form wheel 120 121,12"}));

  log.clear();
  aLog.UseWheel = true;
  Mouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-40));
  ASSERT_TRUE(WaitFor("a wheel -40 111,2"));
  Pump([] { return false; }, 100);
  EXPECT_EQ(log, TLines{"a wheel -40 111,2"}) << "one call per notification, used by a";
}

TEST_F(WindowSystemOnRealWindows, AnOwnerDrawnButtonIsDrawnByItsHandlerWithTheSystemsFlags) {
  TRecordingHandler buttonLog{log, "button"};
  buttonLog.LogMoves = false;
  buttonLog.OnPaint = [](ICanvas& canvas) { canvas.FillRect({0, 0, 80, 25}, kRed); };
  TNativeWindowParams params;
  params.Parent = form.get();
  params.Bounds = {10, 80, 90, 105};
  params.Text = "OK";
  auto button = windows.CreateButton(params, {.OwnerDraw = true, .Default = true, .MultiLine = true}, buttonLog);
  EXPECT_EQ(GetWindowLongW(Hwnd(*button), GWL_STYLE) & (BS_TYPEMASK | BS_MULTILINE), BS_OWNERDRAW | BS_MULTILINE);
  ASSERT_TRUE(ShowInFront());
  const TPoint middle = button->ClientToScreen({40, 12});
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetPixel(screen, middle.X, middle.Y), kRed) << "drawn by the handler";
  ReleaseDC(nullptr, screen);

  MoveTo(middle);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(WaitFor("button draw selected focused"));
  Mouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(WaitFor("button clicked"));
  TLines draws;
  std::copy_if(log.begin(), log.end(), std::back_inserter(draws), [](const std::string& l) { return l.find("draw") != std::string::npos; });
  ASSERT_FALSE(draws.empty());
  EXPECT_EQ(draws.back(), "button draw focused");

  log.clear();
  button->PaintNow();
  EXPECT_EQ(log, TLines{"button draw focused"});

  // Two quick clicks are two clicks.
  log.clear();
  Mouse(MOUSEEVENTF_LEFTDOWN);
  Mouse(MOUSEEVENTF_LEFTUP);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  Mouse(MOUSEEVENTF_LEFTUP);
  Pump([&] { return std::count(log.begin(), log.end(), "button clicked") == 2; });
  EXPECT_EQ(std::count(log.begin(), log.end(), "button clicked"), 2);
  EXPECT_TRUE(Logged("button down left 40,12 LD"));
}

TEST_F(WindowSystemOnRealWindows, AButtonsEraseAndContextMenuRequestsGoToItsHandler) {
  TRecordingHandler buttonLog{log, "button"};
  buttonLog.LogMoves = false;
  buttonLog.LogEraseAndMenus = formLog.LogEraseAndMenus = true;
  TNativeWindowParams params;
  params.Parent = form.get();
  params.Bounds = {10, 80, 90, 105};
  auto button = windows.CreateButton(params, {.OwnerDraw = true}, buttonLog);
  ASSERT_TRUE(ShowInFront());

  // Answered as done, nothing is erased; otherwise the system button erases.
  const COLORREF magenta = RGB(255, 0, 255);
  for (bool skip : {true, false}) {
    SCOPED_TRACE(skip ? "skipped" : "erased");
    buttonLog.SkipErase = skip;
    TBitmapDC dc(80, 25, magenta);
    log.clear();
    SendMessageW(Hwnd(*button), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Dc()), 0);
    EXPECT_EQ(log, TLines{"button erase"});
    EXPECT_EQ(dc.Pixel(40, 12) == magenta, skip);
  }

  // A right click asks at the pointer; unused, the request goes on to the parent.
  const TPoint middle = button->ClientToScreen({40, 12});
  MoveTo(middle);
  log.clear();
  Mouse(MOUSEEVENTF_RIGHTDOWN);
  Mouse(MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(WaitFor("button context menu " + PointText(middle)));
  EXPECT_TRUE(WaitFor("form context menu " + PointText(middle)));
  buttonLog.ShowsMenu = true;
  log.clear();
  SetFocus(Hwnd(*button));
  for (bool up : {false, true}) {
    INPUT key{};
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = VK_APPS;
    key.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &key, sizeof key);
  }
  ASSERT_TRUE(WaitFor("button context menu keyboard"));
  Pump([] { return false; }, 100);
  EXPECT_FALSE(Logged("form context menu keyboard")) << "shown: the parent is not asked";
}

TEST_F(WindowSystemOnRealWindows, APopupMenuIsTrackedUntilTheUserChoosesOrDismissesIt) {
  ASSERT_TRUE(ShowInFront());
  IPopupMenus& menus = windows.PopupMenus();
  EXPECT_GT(menus.ItemHeight(), 0);
  const TRect work = menus.WorkAreaAt(form->ClientToScreen({0, 0}));
  EXPECT_FALSE(work.IsEmpty());
  TPopupMenuRequest request;
  request.Owner = form.get();
  request.Items = {{"First", "", true}, {"Second", "Ctrl+S", true}};
  request.At = form->ClientToScreen({20, 20});
  // The keys are waiting when the menu starts tracking: the menu reads them.
  auto keys = [](std::initializer_list<WORD> codes) {
    for (WORD code : codes)
      for (bool up : {false, true}) {
        INPUT key{};
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = code;
        key.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        SendInput(1, &key, sizeof key);
      }
  };
  keys({VK_ESCAPE});
  EXPECT_EQ(menus.Track(request), -1);
  keys({VK_DOWN, VK_DOWN, VK_RETURN});
  EXPECT_EQ(menus.Track(request), 1);
}

TEST_F(WindowSystemOnRealWindows, RegionsGoThereAndBackInClientCoordinates) {
  ASSERT_TRUE(ShowInFront());
  const TRegion ell = TRegion({0, 0, 30, 50}).Union(TRegion({30, 40, 100, 50}));
  a->SetRegion(ell);
  EXPECT_EQ(a->Region(), ell);
  EXPECT_EQ(windows.WindowFromPoint(a->ClientToScreen({50, 10})), form.get()) << "outside the region";
  EXPECT_EQ(windows.WindowFromPoint(a->ClientToScreen({50, 45})), a.get());

  // A framed window keeps its region in window coordinates; the port speaks of the client's.
  const TRegion inner({0, 0, 200, 150});
  form->SetRegion(inner);
  EXPECT_EQ(form->Region(), inner);
  HRGN raw = CreateRectRgn(0, 0, 0, 0);
  GetWindowRgn(Hwnd(*form), raw);
  RECT box{};
  GetRgnBox(raw, &box);
  DeleteObject(raw);
  const TPoint client = form->ClientToScreen({0, 0});
  const TRect outer = form->Bounds();
  EXPECT_EQ((TRect{box.left, box.top, box.right, box.bottom}),
            (TRect{0, 0, 200, 150}.Offset(client.X - outer.Left, client.Y - outer.Top)));
  EXPECT_GT(client.Y - outer.Top, 0) << "the form has a caption";

  form->SetRegion(TRegion{});
  EXPECT_EQ(form->Region(), TRegion{});
  form->SetRegion(std::nullopt);
  EXPECT_EQ(form->Region(), std::nullopt);
}

TEST_F(WindowSystemOnRealWindows, PaintNowPaintsAtOnceWithoutInvalidatingAnything) {
  aLog.OnPaint = [](ICanvas& canvas) { canvas.FillRect({0, 0, 100, 50}, kGreen); };
  ASSERT_TRUE(ShowInFront());
  aLog.OnPaint = [](ICanvas& canvas) { canvas.FillRect({0, 0, 100, 50}, kBlue); };
  a->PaintNow();
  EXPECT_EQ(log, TLines{"a paint"});
  EXPECT_FALSE(GetUpdateRect(Hwnd(*a), nullptr, FALSE));
  HDC dc = GetDC(Hwnd(*a));
  EXPECT_EQ(GetPixel(dc, 50, 25), kBlue);
  ReleaseDC(Hwnd(*a), dc);
  Pump([] { return false; }, 100);
  EXPECT_EQ(log, TLines{"a paint"}) << "no paint message followed";
}

TEST_F(WindowSystemOnRealWindows, PrintToCopiesASystemEditAndAPaintedWindowIntoABitmap) {
  TRecordingHandler editLog{log, "edit"};
  TNativeWindowParams params;
  params.Parent = form.get();
  params.Bounds = {10, 100, 170, 124};
  params.Text = "WWWWWW";
  params.Font = {"Arial", -16};
  auto edit = windows.CreateEdit(params, {}, editLog);
  ASSERT_TRUE(ShowInFront());

  const COLORREF magenta = RGB(255, 0, 255), window = GetSysColor(COLOR_WINDOW);
  TBitmapDC copy(160, 24, magenta);
  {
    Win32Canvas canvas(copy.Dc(), windows);
    edit->PrintTo(canvas);
  }
  // Inside the sunken edge (which Wine's WM_PRINT leaves out; Windows draws it too).
  int dark = 0, background = 0, untouched = 0;
  for (int y = 2; y < 22; ++y)
    for (int x = 2; x < 158; ++x) {
      const COLORREF p = copy.Pixel(x, y);
      dark += GetRValue(p) + GetGValue(p) + GetBValue(p) < 200;
      background += p == window;
      untouched += p == magenta;
    }
  EXPECT_GT(dark, 40) << "the text";
  EXPECT_GT(background, 156 * 20 / 2);
  EXPECT_EQ(untouched, 0) << "every pixel of the client area, at its place in the window";

  // The whole form: its client area below the frame, its painted child at its place.
  aLog.OnPaint = [](ICanvas& canvas) { canvas.FillRect({0, 0, 100, 50}, kGreen); };
  formLog.OnPaint = [](ICanvas& canvas) { canvas.FillRect({0, 0, 330, 200}, kBlue); };
  const TRect outer = form->Bounds();
  const TPoint client = form->ClientToScreen({0, 0});
  const int cx = client.X - outer.Left, cy = client.Y - outer.Top;
  TBitmapDC whole(outer.Width(), outer.Height(), magenta);
  {
    Win32Canvas canvas(whole.Dc(), windows);
    form->PrintTo(canvas);
  }
  EXPECT_EQ(whole.Pixel(cx, cy), kBlue);
  EXPECT_EQ(whole.Pixel(cx + 9, cy + 10), kBlue);
  EXPECT_EQ(whole.Pixel(cx + 10, cy + 10), kGreen);
  EXPECT_EQ(whole.Pixel(cx + 109, cy + 59), kGreen);
  EXPECT_EQ(whole.Pixel(cx + 110, cy + 59), kBlue);
  EXPECT_EQ(whole.Pixel(cx + 10 + 2, cy + 100 + 2), window) << "the edit's client area";
}

TEST_F(WindowSystemOnRealWindows, AMessageWindowHearsTheSystemsBroadcasts) {
  TRecordingHandler listener{log, "listener"};
  auto receiver = windows.CreateMessageWindow(listener);
  EXPECT_FALSE(receiver->IsVisible());
  EXPECT_EQ(GetAncestor(Hwnd(*receiver), GA_PARENT), GetDesktopWindow()) << "a top-level window";
  DWORD_PTR result = 0;
  SendMessageTimeoutW(HWND_BROADCAST, WM_SYSCOLORCHANGE, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
  SendMessageTimeoutW(HWND_BROADCAST, WM_THEMECHANGED, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
  Pump([&] { return log.size() >= 2; }, 2000);
  EXPECT_EQ(log, (TLines{"listener colours changed", "listener theme changed"}));

  log.clear();
  SendMessageW(Hwnd(*form), WM_ACTIVATEAPP, FALSE, 0);
  SendMessageW(Hwnd(*form), WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_EQ(log, (TLines{"form app inactive", "form app active"}));
}

}  // namespace
}  // namespace vormix
