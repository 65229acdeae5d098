#pragma once
// Native windows: the platform side of every windowed control. The program's control
// objects implement INativeWindowHandler; the adapters call it for every event and do
// nothing else on their own behalf.
#include <cstddef>
#include <string>

#include "base/Geometry.h"
#include "platform/Canvas.h"
#include "platform/Keys.h"

namespace vormix {

class INativeWindowHandler {
 public:
  virtual ~INativeWindowHandler() = default;

  virtual void NativePaint(ICanvas& /*canvas*/) {}
  virtual void NativeFocusIn() {}
  virtual void NativeFocusOut() {}
  // A top-level window became the active one (it gives the focus to its control).
  virtual void NativeActivated() {}

  // Called before a key-down reaches the focused control. Answer true when the key was
  // taken as a dialog key (Tab navigation, default or cancel button): the key-down,
  // its character and the key-up are then not delivered.
  virtual bool NativeDialogKey(TKey /*key*/, TShiftState /*shift*/) { return false; }
  // Setting the key or character to 0 consumes it: the native control never sees it.
  virtual void NativeKeyDown(TKey& /*key*/, TShiftState /*shift*/) {}
  virtual void NativeChar(char16_t& /*ch*/) {}
  virtual void NativeKeyUp(TKey& /*key*/, TShiftState /*shift*/) {}

  // Answer false to drop the press: the native control does not see it and no click follows.
  virtual bool NativeMouseDown(TMouseButton /*button*/, TPoint /*at*/, TShiftState /*shift*/) { return true; }
  virtual void NativeMouseUp(TMouseButton /*button*/, TPoint /*at*/, TShiftState /*shift*/) {}

  virtual void NativeClicked() {}      // a push button was clicked (mouse release or Space)
  virtual void NativeTextChanged() {}  // an edit control's text changed, typed or set
  // Clipboard requests of an edit control; answer false to refuse them silently.
  virtual bool NativePaste() { return true; }
  virtual bool NativeCut() { return true; }

  virtual void NativeCloseRequested() {}  // title-bar close box, system menu, Alt+F4
};

class INativeWindow {
 public:
  virtual ~INativeWindow() = default;  // destroys the native window

  // Bounds relative to the parent's client area (top-level windows: screen, outer frame).
  virtual void SetBounds(const TRect& bounds) = 0;
  virtual TRect Bounds() const = 0;
  virtual TSize ClientSize() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual bool IsVisible() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool IsEnabled() const = 0;
  virtual void SetText(const std::string& text) = 0;  // UTF-8
  virtual std::string Text() const = 0;
  virtual void SetFont(const TFontSpec& font) = 0;
  virtual void SetFocus() = 0;
  virtual bool HasFocus() const = 0;
  virtual void Invalidate() = 0;
  virtual void Update() = 0;  // paints what is invalid before returning
  virtual void* Handle() const = 0;  // the platform's window handle, for owners of dialogs
};

struct TNativeFormStyle {
  bool SystemMenu = true;
  bool MinimizeBox = true;
  bool MaximizeBox = false;
  bool Sizeable = false;
  bool DialogFrame = false;  // a dialog border: no icon, no minimise box
};

class INativeForm : public virtual INativeWindow {
 public:
  virtual void SetClientSize(TSize size) = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual void Activate() = 0;
};

struct TNativeEditStyle {
  bool MultiLine = false;
  bool HorizontalScrollBar = false;
  bool VerticalScrollBar = false;
  bool WordWrap = false;  // multi-line only; a horizontal scroll bar rules it out
  bool ReadOnly = false;
};

// Positions and lengths count UTF-16 code units, as the native control does.
class INativeEdit : public virtual INativeWindow {
 public:
  virtual std::size_t TextLength() const = 0;
  // Like SetText, but answers false when the control refuses a text too large for it.
  virtual bool SetTextChecked(const std::string& text) = 0;
  virtual void GetSelection(std::size_t& start, std::size_t& length) const = 0;
  virtual void SetSelection(std::size_t start, std::size_t length) = 0;
  virtual void SelectAll() = 0;
  virtual void ReplaceSelection(const std::string& text) = 0;  // UTF-8; caret after it
  virtual void SetReadOnly(bool readOnly) = 0;
  virtual void ScrollCaretIntoView() = 0;
};

class INativeProgressBar : public virtual INativeWindow {
 public:
  virtual void SetRange(int max) = 0;
  virtual void SetPosition(int position) = 0;
};

struct TNativeWindowParams {
  INativeWindow* Parent = nullptr;
  TRect Bounds;
  std::string Text;
  TFontSpec Font;
  bool Visible = true;
  int Id = 0;  // stable control id, useful to find a control from outside the program
};

}  // namespace vormix
