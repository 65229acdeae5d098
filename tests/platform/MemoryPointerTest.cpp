// The pointer of the memory window system: the controls' hot tracking, pressing and
// dragging are tested on it, so moves, presses, the capture and the wheel must reach
// the windows that Windows would give them to, in the same order.
#include <gtest/gtest.h>

#include <memory>

#include "platform/RecordingHandler.h"
#include "platform/memory/MemoryServices.h"
#include "platform/memory/MemoryWindowSystem.h"

namespace vormix {
namespace {

constexpr TColor kRed = 0x0000FF, kGreen = 0x00FF00;

// A form whose client area starts at screen (103, 123), with two painted children side
// by side and a third inside the second.
class MemoryPointer : public testing::Test {
 protected:
  MemoryPointer() {
    TNativeWindowParams params;
    params.Bounds = {100, 100, 406, 326};
    form = windows.CreateForm(params, {}, formLog);
    form->SetClientSize({300, 200});
    form->Show();
    a = Child(aLog, form.get(), {10, 10, 60, 40});
    b = Child(bLog, form.get(), {70, 10, 120, 40});
    c = Child(cLog, b.get(), {20, 20, 30, 30});
  }

  std::unique_ptr<INativeWindow> Child(TRecordingHandler& handler, INativeWindow* parent, TRect bounds) {
    TNativeWindowParams params;
    params.Parent = parent;
    params.Bounds = bounds;
    auto window = windows.CreateCustomControl(params, handler);
    handler.Window = window.get();
    return window;
  }

  TLines Take() { return std::exchange(log, {}); }

  MemoryBeep beep;
  MemoryClipboard clipboard;
  MemoryWindowSystem windows{beep, clipboard};
  TLines log;
  TRecordingHandler formLog{log, "form"}, aLog{log, "a"}, bLog{log, "b"}, cLog{log, "c"};
  std::unique_ptr<INativeForm> form;
  std::unique_ptr<INativeWindow> a, b, c;
};

TEST_F(MemoryPointer, CoordinatesAndTheWindowUnderAPointFollowTheTree) {
  EXPECT_EQ(c->ClientToScreen({1, 2}), (TPoint{103 + 70 + 20 + 1, 123 + 10 + 20 + 2}));
  EXPECT_EQ(c->ScreenToClient({193, 153}), (TPoint{0, 0}));
  EXPECT_EQ(form->ClientToScreen({0, 0}), (TPoint{103, 123}));

  const struct {
    TPoint Screen;
    INativeWindow* Expected;
  } cases[] = {
      {{113, 133}, a.get()},      // a's top-left pixel
      {{163, 140}, form.get()},   // just right of a
      {{193, 153}, c.get()},      // the innermost window wins
      {{101, 101}, form.get()},   // the frame belongs to the form
      {{99, 99}, nullptr},        // outside every window
  };
  for (const auto& k : cases) EXPECT_EQ(windows.WindowFromPoint(k.Screen), k.Expected) << PointText(k.Screen);

  b->SetRegion(TRegion({0, 0, 10, 30}));  // only b's left strip is b; the rest shows the form
  EXPECT_EQ(b->Region(), TRegion({0, 0, 10, 30}));
  EXPECT_EQ(windows.WindowFromPoint(b->ClientToScreen({9, 5})), b.get());
  EXPECT_EQ(windows.WindowFromPoint(b->ClientToScreen({10, 5})), form.get());
  EXPECT_EQ(windows.WindowFromPoint(c->ClientToScreen({1, 1})), form.get()) << "a child outside the region";
  a->SetVisible(false);
  EXPECT_EQ(windows.WindowFromPoint({113, 133}), form.get());
}

TEST_F(MemoryPointer, EnterComesBeforeTheFirstMoveAndLeaveWhenThePointerGoesElsewhere) {
  windows.MoveMouse({50, 50});
  windows.MoveMouse(*a, {5, 6});
  windows.MoveMouse(*a, {6, 6}, ssShift);
  windows.MoveMouse(*c, {1, 1});
  windows.MoveMouse(*b, {2, 3});
  windows.MoveMouse({50, 50});
  EXPECT_EQ(Take(), (TLines{"a enter", "a move 5,6", "a move 6,6 S", "a leave", "c enter", "c move 1,1", "c leave",
                            "b enter", "b move 2,3", "b leave"}));
  EXPECT_EQ(windows.CursorPos(), (TPoint{50, 50}));

  windows.SetCursorPos(a->ClientToScreen({1, 1}));
  EXPECT_EQ(Take(), TLines{}) << "placing the pointer says nothing";
  EXPECT_EQ(windows.CursorPos(), a->ClientToScreen({1, 1}));
}

TEST_F(MemoryPointer, TheCaptureTakesEveryMoveAndPressUntilItEndsThenThePointerIsFoundWhereItIs) {
  aLog.CaptureOnPress = true;
  windows.MouseDown(*a, {5, 5});
  EXPECT_TRUE(a->HasCapture());
  EXPECT_TRUE(windows.IsMouseCaptured());
  windows.MoveMouse(*b, {1, 1});
  windows.MouseDown(*b, {2, 2}, TMouseButton::mbRight);
  windows.MouseUp(*b, {2, 2}, TMouseButton::mbRight);
  windows.MouseUp(*b, {2, 2});
  EXPECT_FALSE(windows.IsMouseCaptured());
  windows.MoveMouse(*b, {3, 3});
  EXPECT_EQ(Take(), (TLines{"a enter", "a move 5,5", "a down left 5,5 L",
                            "a move 61,1 L",  // over b, but a holds the capture: no leave, no enter
                            "a move 62,2 L", "a down right 62,2 LR", "a up right 62,2 L",
                            "a up left 62,2", "a capture lost",
                            "a leave", "b enter", "b move 2,2",  // released: the system moves the pointer where it is
                            "b move 3,3"}));

  // Taking the capture away tells the window that held it, and so does cancelling.
  a->SetCapture();
  b->SetCapture();
  EXPECT_FALSE(a->HasCapture());
  windows.CancelMode();
  EXPECT_FALSE(windows.IsMouseCaptured());
  b->ReleaseCapture();
  EXPECT_EQ(Take(), (TLines{"a capture lost", "b capture lost"}));
}

TEST_F(MemoryPointer, ButtonsCarryTheirStateAndADoubleClickIsAPressMarkedDouble) {
  bLog.LogMoves = false;
  windows.MouseDown(*b, {3, 4}, TMouseButton::mbMiddle, ssCtrl);
  EXPECT_TRUE(windows.IsKeyDown(4));
  windows.MouseUp(*b, {3, 4}, TMouseButton::mbMiddle, ssCtrl);
  windows.MouseDown(*b, {3, 4});
  windows.MouseUp(*b, {3, 4});
  windows.MouseDown(*b, {3, 4}, TMouseButton::mbLeft, ssDouble);
  windows.MouseUp(*b, {3, 4});
  EXPECT_FALSE(windows.IsKeyDown(1));
  EXPECT_EQ(Take(), (TLines{"b enter", "b down middle 3,4 CM", "b up middle 3,4 C", "b down left 3,4 L", "b up left 3,4",
                            "b down left 3,4 LD", "b up left 3,4"}));

  b->SetEnabled(false);
  windows.MouseDown(*b, {3, 4});
  windows.MouseUp(*b, {3, 4});
  EXPECT_EQ(Take(), TLines{}) << "a disabled window takes no mouse input";
}

TEST_F(MemoryPointer, TheWheelGoesToTheFocusedWindowAndOnToItsParentsWhileUnused) {
  windows.MoveMouse(*a, {1, 1});
  Take();
  c->SetFocus();
  windows.Wheel(-120, ssShift);
  EXPECT_EQ(Take(), (TLines{"c focus in", "c wheel -120 -79,-19 S", "b wheel -120 -59,1 S", "form wheel -120 11,11 S"}))
      << "a, under the pointer, hears nothing";
  bLog.UseWheel = true;
  windows.Wheel(40);
  EXPECT_EQ(Take(), (TLines{"c wheel 40 -79,-19", "b wheel 40 -59,1"}));

  // An edit control scrolls with the wheel itself.
  TRecordingHandler editLog{log, "edit"};
  TNativeWindowParams params;
  params.Parent = form.get();
  auto edit = windows.CreateEdit(params, {}, editLog);
  edit->SetFocus();
  Take();
  windows.Wheel(120);
  EXPECT_EQ(Take(), (TLines{"edit wheel 120 11,11"}));
}

// Owner-drawn push buttons are drawn by their handler in every state change the system's
// button shows: pushed while the left button is held over it, focused.
TEST_F(MemoryPointer, AnOwnerDrawnButtonIsDrawnPushedWhileHeldOverItAndClicksOnReleaseOverIt) {
  TRecordingHandler buttonLog{log, "button"};
  buttonLog.LogMoves = false;
  MemoryButton* drawn = nullptr;
  buttonLog.OnPaint = [&](ICanvas& canvas) { canvas.FillRect({0, 0, 70, 25}, drawn->IsPushed() ? kRed : kGreen); };
  TNativeWindowParams params;
  params.Parent = form.get();
  params.Bounds = {10, 100, 80, 125};
  auto button = windows.CreateButton(params, {.OwnerDraw = true}, buttonLog);
  auto& memory = dynamic_cast<MemoryButton&>(*button);
  drawn = &memory;

  button->Update();
  EXPECT_EQ(Take(), TLines{"button draw"});
  EXPECT_EQ(memory.Canvas().Pixel(69, 24), kGreen);

  windows.MouseDown(*button, {5, 5});
  EXPECT_TRUE(button->HasCapture());
  EXPECT_EQ(memory.Canvas().Pixel(0, 0), kRed);
  windows.MoveMouse(*form, {0, 0});
  windows.MoveMouse(*button, {6, 6});
  windows.MouseUp(*form, {0, 0});
  EXPECT_EQ(memory.Clicks(), 0) << "released away from the button";
  EXPECT_FALSE(windows.IsMouseCaptured());
  EXPECT_EQ(memory.Canvas().Pixel(0, 0), kGreen);
  EXPECT_EQ(Take(), (TLines{"button enter", "button down left 5,5 L", "button focus in", "button draw focused",
                            "button draw selected focused", "button draw focused", "button draw selected focused",
                            "button draw focused", "button capture lost", "button up left -10,-100", "button leave",
                            "form enter", "form move 0,0"}));

  windows.MouseDown(*button, {5, 5});
  windows.MouseUp(*button, {5, 5});
  windows.Click(*button);
  EXPECT_EQ(memory.Clicks(), 2);
  EXPECT_EQ(Take(), (TLines{"form leave", "button enter", "button down left 5,5 L", "button draw selected focused",
                            "button draw focused", "button clicked", "button capture lost", "button up left 5,5",
                            "button down left 35,12 L", "button draw selected focused", "button up left 35,12",
                            "button draw focused", "button clicked", "button capture lost"}));

  a->SetFocus();
  EXPECT_EQ(Take(), (TLines{"button draw", "button focus out", "a focus in"}));

  // A plain push button is the system's to draw. This one covers the pointer: when its
  // press gives the capture back, the pointer is found over it.
  TRecordingHandler plainLog{log, "plain"};
  auto plain = windows.CreateButton(params, {}, plainLog);
  windows.Click(*plain);
  plain->PaintNow();
  EXPECT_EQ(Take(), (TLines{"plain down left 35,12 L", "a focus out", "plain focus in", "plain up left 35,12",
                            "plain clicked", "plain capture lost", "button leave", "plain enter", "plain move 5,5"}));
}

// A copy of a window holds its children, each drawn with the canvas origin at its place.
TEST_F(MemoryPointer, PrintToDrawsTheClientAreaAndTheShowingChildrenAtTheirPlaces) {
  TLines origins;
  auto recordOrigin = [&](TRecordingHandler& handler) {
    handler.OnPaint = [&origins, &handler](ICanvas& canvas) {
      origins.push_back(handler.Name + " " + PointText(canvas.WindowOrigin()));
    };
  };
  for (TRecordingHandler* h : {&formLog, &aLog, &bLog, &cLog}) recordOrigin(*h);
  TRecordingHandler buttonLog{log, "button"};
  recordOrigin(buttonLog);
  TNativeWindowParams params;
  params.Parent = form.get();
  params.Bounds = {10, 100, 80, 125};
  auto button = windows.CreateButton(params, {.OwnerDraw = true}, buttonLog);
  a->SetVisible(false);

  MemoryCanvas canvas(306, 226);
  canvas.SetWindowOrigin({-1, -2});
  form->PrintTo(canvas);
  EXPECT_EQ(origins, (TLines{"form -4,-25", "b -74,-35", "c -94,-55", "button -14,-125"}));
  EXPECT_EQ(canvas.WindowOrigin(), (TPoint{-1, -2}));
}

}  // namespace
}  // namespace vormix
