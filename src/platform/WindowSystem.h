#pragma once
// The windowing service: creating native windows, the message loop, the keyboard
// focus and what the screen looks like.
#include <functional>
#include <memory>
#include <string_view>

#include "platform/Menu.h"
#include "platform/NativeWindow.h"

namespace vormix {

// A repeating timer of the user-interface thread: ticks arrive through the message loop,
// never while a tick is being handled. A new timer is disabled.
class ITimer {
 public:
  virtual ~ITimer() = default;
  virtual void SetInterval(int milliseconds) = 0;  // restarts the count when enabled
  virtual int Interval() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
};

// The system metrics the controls ask for; the values are Windows' SM_ indexes.
enum class TSystemMetric : int {
  smCxVScroll = 2, smCyHScroll = 3, smCyVThumb = 9, smCxHThumb = 10, smCxEdge = 45, smCyEdge = 46
};

class IWindowSystem {
 public:
  virtual ~IWindowSystem() = default;

  virtual std::unique_ptr<INativeForm> CreateForm(const TNativeWindowParams& params,
                                                  const TNativeFormStyle& style,
                                                  INativeWindowHandler& handler) = 0;
  // A child window that the program paints itself (panels and the like).
  virtual std::unique_ptr<INativeWindow> CreateCustomControl(const TNativeWindowParams& params,
                                                             INativeWindowHandler& handler) = 0;
  virtual std::unique_ptr<INativeEdit> CreateEdit(const TNativeWindowParams& params,
                                                  const TNativeEditStyle& style,
                                                  INativeWindowHandler& handler) = 0;
  virtual std::unique_ptr<INativeWindow> CreateButton(const TNativeWindowParams& params,
                                                      const TNativeButtonStyle& style,
                                                      INativeWindowHandler& handler) = 0;
  // A hidden window that only receives the system's broadcasts (theme and colour changes).
  virtual std::unique_ptr<INativeWindow> CreateMessageWindow(INativeWindowHandler& handler) = 0;
  virtual std::unique_ptr<ITimer> CreateTimer(std::function<void()> onTick) = 0;

  // Runs until Quit() is called.
  virtual void RunMessageLoop() = 0;
  virtual void Quit() = 0;
  // Handles the messages that are already waiting, then returns.
  virtual void ProcessMessages() = 0;
  // The loop of a modal window: handles messages until finished() answers true after
  // one of them, or until Quit() is called (the quit request then stays for the outer
  // loop). The caller disables the other windows itself.
  virtual void RunModalLoop(const std::function<bool()>& finished) = 0;

  // Drops the character message that the key being handled has already produced for
  // the window, so that a key consumed at key-down yields no character either.
  virtual void RemovePendingCharacter(INativeWindow& window) = 0;
  // The size of a text in a font, as the screen would draw it.
  virtual TSize MeasureText(std::string_view text, const TFontSpec& font) = 0;
  // An off-screen picture of the screen's kind, for measuring text with DrawText's
  // rules and for pictures kept between paints.
  virtual std::unique_ptr<IBitmapCanvas> CreateBitmapCanvas(int width, int height) = 0;
  // The program's own icon at 32 x 32 pixels; the pixels its mask lets through are
  // given the colour transparent. Empty when the program has no icon.
  virtual TImage ApplicationIcon(TColor transparent) const = 0;

  virtual TRect ScreenRect() const = 0;
  virtual int ScreenDpi() const = 0;
  virtual bool IsKeyDown(TKey key) const = 0;

  virtual int SystemMetric(TSystemMetric metric) const = 0;
  // A system colour index resolved to RGB, as the screen shows it now.
  virtual TColor SystemColor(int index) const = 0;
  virtual TPoint CursorPos() const = 0;  // screen coordinates
  // The program's window under a screen point (the innermost one), or null.
  virtual INativeWindow* WindowFromPoint(TPoint screen) const = 0;
  // Whether any window of the program holds the mouse capture.
  virtual bool IsMouseCaptured() const = 0;
  virtual IPopupMenus& PopupMenus() = 0;
};

}  // namespace vormix
