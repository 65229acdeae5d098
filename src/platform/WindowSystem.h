#pragma once
// The windowing service: creating native windows, the message loop, the keyboard
// focus and what the screen looks like.
#include <memory>
#include <string_view>

#include "platform/NativeWindow.h"

namespace vormix {

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
                                                      INativeWindowHandler& handler) = 0;
  virtual std::unique_ptr<INativeProgressBar> CreateProgressBar(const TNativeWindowParams& params,
                                                                INativeWindowHandler& handler) = 0;

  // Runs until Quit() is called.
  virtual void RunMessageLoop() = 0;
  virtual void Quit() = 0;
  // Handles the messages that are already waiting, then returns.
  virtual void ProcessMessages() = 0;

  // Drops the character message that the key being handled has already produced for
  // the window, so that a key consumed at key-down yields no character either.
  virtual void RemovePendingCharacter(INativeWindow& window) = 0;
  // The size of a text in a font, as the screen would draw it.
  virtual TSize MeasureText(std::string_view text, const TFontSpec& font) = 0;

  virtual TRect ScreenRect() const = 0;
  virtual int ScreenDpi() const = 0;
  virtual bool IsKeyDown(TKey key) const = 0;
};

}  // namespace vormix
