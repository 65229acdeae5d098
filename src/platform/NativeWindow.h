#pragma once
// Native windows: the platform side of every windowed control. The program's control
// objects implement INativeWindowHandler; the adapters call it for every event and do
// nothing else on their own behalf.
#include <cstddef>
#include <optional>
#include <string>

#include "base/Geometry.h"
#include "base/Region.h"
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

  // The pointer over the window, in client coordinates. Enter comes before the first
  // move over the window, leave when the pointer has left it (or the window lost the
  // capture while the pointer was elsewhere).
  virtual void NativeMouseMove(TPoint /*at*/, TShiftState /*shift*/) {}
  virtual void NativeMouseEnter() {}
  virtual void NativeMouseLeave() {}
  // One wheel notification; delta in the platform's units (120 a notch, positive away
  // from the user), at in client coordinates. Answer true when it was used.
  virtual bool NativeMouseWheel(int /*delta*/, TPoint /*at*/, TShiftState /*shift*/) { return false; }
  // The window lost the mouse capture, or the system cancelled a mouse mode (a dialog
  // or menu came up): a press in progress ends.
  virtual void NativeCaptureLost() {}

  // An owner-drawn push button is to be drawn; the flags are those of the system's
  // draw request.
  virtual void NativeDrawItem(ICanvas& /*canvas*/, bool /*selected*/, bool /*focused*/) {}
  virtual void NativeClicked() {}      // a push button was clicked (mouse release or Space)
  // The system is about to erase a native control's background before it paints. Answer
  // true when the control's own paint covers every pixel: nothing is erased then.
  virtual bool NativeEraseBackground() { return false; }
  virtual void NativeTextChanged() {}  // an edit control's text changed, typed or set
  // A multi-line edit control's scroll position or range changed: it scrolled (by the
  // wheel, the caret, a request) or its text or size changed what there is to scroll.
  virtual void NativeScrolled() {}
  // Clipboard requests of an edit control; answer false to refuse them silently.
  virtual bool NativePaste() { return true; }
  virtual bool NativeCut() { return true; }

  // The user asked for a context menu: a right click (at the pointer, in screen
  // coordinates) or the keyboard's menu key or Shift+F10 (keyboard true, no point).
  // Answer true when a menu was shown.
  virtual bool NativeContextMenu(TPoint /*screen*/, bool /*keyboard*/) { return false; }
  virtual void NativeCloseRequested() {}  // title-bar close box, system menu, Alt+F4
  // The application as a whole became active or inactive (forms only).
  virtual void NativeApplicationActivated(bool /*active*/) {}

  // Broadcasts of the system, to message windows: the visual-styles theme changed, or
  // the system colours changed.
  virtual void NativeThemeChanged() {}
  virtual void NativeSystemColorsChanged() {}
};

// Mouse pointer shapes a window can show.
enum class TCursor { crDefault, crArrow, crHandPoint, crIBeam };

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
  // Paints the whole window now, straight onto its own device context, through the
  // same handler call that answers a paint request; nothing is invalidated or queued.
  virtual void PaintNow() = 0;
  // Draws the window (frame, client area and children, as the system would show it)
  // into a canvas, the window's top-left corner at the canvas's logical (0, 0).
  virtual void PrintTo(ICanvas& canvas) = 0;
  virtual void* Handle() const = 0;  // the platform's window handle, for owners of dialogs

  // The window's shape: the pixels outside the region are not part of it (they show
  // what is behind). No value: the whole rectangle. Client coordinates.
  virtual void SetRegion(const std::optional<TRegion>& region) = 0;
  virtual std::optional<TRegion> Region() const = 0;

  virtual void SetCapture() = 0;
  virtual void ReleaseCapture() = 0;
  virtual bool HasCapture() const = 0;
  virtual void SetCursor(TCursor cursor) = 0;  // the shape while the pointer is over it
  virtual TPoint ClientToScreen(TPoint p) const = 0;
  virtual TPoint ScreenToClient(TPoint p) const = 0;
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

// Settings an edit control takes over from the editor that hosts it.
enum class TNativeAlignment { Left, Right, Center };
enum class TNativeCharCase { Normal, Upper, Lower };  // what typed letters become

struct TNativeEditStyle {
  bool MultiLine = false;
  bool HorizontalScrollBar = false;
  bool VerticalScrollBar = false;
  bool WordWrap = false;  // multi-line only; a horizontal scroll bar rules it out
  bool ReadOnly = false;
  // What the control is made with (it can change them later, see INativeEdit).
  TNativeAlignment Alignment = TNativeAlignment::Left;
  TNativeCharCase CharCase = TNativeCharCase::Normal;  // also of the text it starts with
  bool HideSelection = true;
  // The system's sunken edge around the control; an edit inside a frame that draws its
  // own border has none.
  bool ClientEdge = true;
};
// How the input method serves a control while it has the focus: not at all, closed or
// open, or open in one of its conversion modes; imDontCare leaves it as the user set it.
enum class TImeMode { imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata,
                      imChinese, imSHanguel, imHanguel };

// The scroll state of one direction of a multi-line edit control: the range runs from
// Min to Max, Page of it is in view, starting at Position. Rows vertically, pixels
// horizontally, as the control counts them.
struct TNativeScrollInfo {
  int Min = 0, Max = 0, Page = 0, Position = 0;
  bool operator==(const TNativeScrollInfo&) const = default;
};
// The scroll requests a multi-line edit control takes, in the platform's numbering.
enum class TNativeScrollCode { LineUp, LineDown, PageUp, PageDown, Position, Track, Top, Bottom, EndScroll };

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

  // The settings shared with the hosting editor.
  virtual void SetAlignment(TNativeAlignment alignment) = 0;
  virtual void SetCharCase(TNativeCharCase charCase) = 0;
  virtual void SetPasswordChar(char16_t passwordChar) = 0;  // 0: the text shows as it is
  virtual void SetHideSelection(bool hide) = 0;             // while the control has no focus
  virtual void SetImeMode(TImeMode mode) = 0;
  virtual void SetMaxLength(std::size_t units) = 0;  // what typing may reach; 0: no limit of its own

  // Multi-line controls: the rows as shown (a wrapped line takes several; an empty text
  // or one ending in a line break has an empty last row), where a row starts in the
  // text, the first row in view, and scrolling.
  virtual std::size_t RowCount() const = 0;
  virtual std::size_t RowStart(std::size_t row) const = 0;
  virtual std::size_t FirstVisibleRow() const = 0;
  virtual TNativeScrollInfo ScrollInfo(bool vertical) const = 0;
  // Position and Track scroll to the given position; the others ignore it.
  virtual void Scroll(bool vertical, TNativeScrollCode code, int position) = 0;
};

struct TNativeButtonStyle {
  bool OwnerDraw = false;  // the handler draws every state (NativeDrawItem)
  bool Default = false;    // the default push button's style
  bool MultiLine = false;  // the caption may wrap
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
