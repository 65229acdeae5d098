#pragma once
// A window handler that writes down every pointer, capture, drawing and system event it
// hears as one line of text ("a move 5,6 L"), for the tests of both window systems.
#include <functional>
#include <string>
#include <vector>

#include "platform/NativeWindow.h"

namespace vormix {

using TLines = std::vector<std::string>;

inline std::string ShiftText(TShiftState shift) {
  std::string text;
  const std::pair<TShiftState, char> flags[] = {{ssShift, 'S'}, {ssCtrl, 'C'}, {ssAlt, 'A'}, {ssLeft, 'L'},
                                                 {ssRight, 'R'}, {ssMiddle, 'M'}, {ssDouble, 'D'}};
  for (auto [flag, letter] : flags)
    if (shift & flag) text += letter;
  return text.empty() ? text : " " + text;
}

inline std::string PointText(TPoint p) { return std::to_string(p.X) + "," + std::to_string(p.Y); }

inline std::string ButtonText(TMouseButton button) {
  switch (button) {
    case TMouseButton::mbLeft: return "left";
    case TMouseButton::mbRight: return "right";
    case TMouseButton::mbMiddle: return "middle";
  }
  return "?";
}

struct TRecordingHandler : INativeWindowHandler {
  TRecordingHandler(TLines& log, std::string name) : Log(log), Name(std::move(name)) {}

  TLines& Log;
  std::string Name;
  INativeWindow* Window = nullptr;  // set by the test, for the capture rules below
  bool CaptureOnPress = false;      // take the capture on a left press, give it back on release
  bool UseWheel = false;
  bool LogMoves = true;
  bool LogEraseAndMenus = false;  // erase and context-menu requests too
  bool SkipErase = false;         // answer the erase request as done
  bool ShowsMenu = false;         // answer a context-menu request as shown
  std::function<void(ICanvas&)> OnPaint;

  void Add(const std::string& line) { Log.push_back(Name + " " + line); }

  void NativePaint(ICanvas& canvas) override {
    Add("paint");
    if (OnPaint) OnPaint(canvas);
  }
  void NativeMouseEnter() override { Add("enter"); }
  void NativeMouseLeave() override { Add("leave"); }
  void NativeMouseMove(TPoint at, TShiftState shift) override {
    if (LogMoves) Add("move " + PointText(at) + ShiftText(shift));
  }
  bool NativeMouseDown(TMouseButton button, TPoint at, TShiftState shift) override {
    Add("down " + ButtonText(button) + " " + PointText(at) + ShiftText(shift));
    if (CaptureOnPress && button == TMouseButton::mbLeft && Window) Window->SetCapture();
    return true;
  }
  void NativeMouseUp(TMouseButton button, TPoint at, TShiftState shift) override {
    Add("up " + ButtonText(button) + " " + PointText(at) + ShiftText(shift));
    if (CaptureOnPress && button == TMouseButton::mbLeft && Window) Window->ReleaseCapture();
  }
  bool NativeMouseWheel(int delta, TPoint at, TShiftState shift) override {
    Add("wheel " + std::to_string(delta) + " " + PointText(at) + ShiftText(shift));
    return UseWheel;
  }
  void NativeCaptureLost() override { Add("capture lost"); }
  void NativeDrawItem(ICanvas& canvas, bool selected, bool focused) override {
    Add(std::string("draw") + (selected ? " selected" : "") + (focused ? " focused" : ""));
    if (OnPaint) OnPaint(canvas);
  }
  void NativeClicked() override { Add("clicked"); }
  bool NativeEraseBackground() override {
    if (LogEraseAndMenus) Add("erase");
    return SkipErase;
  }
  bool NativeContextMenu(TPoint screen, bool keyboard) override {
    if (LogEraseAndMenus) Add(keyboard ? "context menu keyboard" : "context menu " + PointText(screen));
    return ShowsMenu;
  }
  void NativeFocusIn() override { Add("focus in"); }
  void NativeFocusOut() override { Add("focus out"); }
  void NativeApplicationActivated(bool active) override { Add(active ? "app active" : "app inactive"); }
  void NativeThemeChanged() override { Add("theme changed"); }
  void NativeSystemColorsChanged() override { Add("colours changed"); }
};

}  // namespace vormix
