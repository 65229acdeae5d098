#pragma once
// A window system in memory: a tree of windows with focus, painting, a simulated edit
// control, push buttons and progress bars, and input that travels the same way as on
// Windows (dialog keys first, then key-down, the translated character, key-up; the
// pointer's moves, presses and wheel to the window under it, or to the one holding the
// capture). Time stands still until a test advances the clock.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Beep.h"
#include "platform/Clipboard.h"
#include "platform/WindowSystem.h"
#include "platform/memory/MemoryCanvas.h"
#include "platform/memory/MemoryMenus.h"

namespace vormix {

class MemoryWindowSystem;

enum class TMemoryWindowKind { Form, Custom, Edit, Button, Message };

class MemoryWindow : public virtual INativeWindow {
 public:
  MemoryWindow(MemoryWindowSystem& system, TMemoryWindowKind kind, const TNativeWindowParams& params,
               INativeWindowHandler& handler);
  ~MemoryWindow() override;

  void SetBounds(const TRect& bounds) override { m_bounds = bounds; }
  TRect Bounds() const override { return m_bounds; }
  TSize ClientSize() const override { return {m_bounds.Width(), m_bounds.Height()}; }
  void SetVisible(bool visible) override { m_visible = visible; }
  bool IsVisible() const override { return m_visible; }
  void SetEnabled(bool enabled) override { m_enabled = enabled; }
  bool IsEnabled() const override { return m_enabled; }
  void SetText(const std::string& text) override;
  std::string Text() const override { return m_text; }
  void SetFont(const TFontSpec& font) override { m_font = font; }
  void SetFocus() override;
  bool HasFocus() const override;
  void Invalidate() override { m_invalid = true; }
  void Update() override;
  void PaintNow() override;
  void PrintTo(ICanvas& canvas) override;
  void* Handle() const override { return const_cast<MemoryWindow*>(this); }
  void SetRegion(const std::optional<TRegion>& region) override { m_region = region; }
  std::optional<TRegion> Region() const override { return m_region; }
  void SetCapture() override;
  void ReleaseCapture() override;
  bool HasCapture() const override;
  void SetCursor(TCursor cursor) override { m_cursor = cursor; }
  TPoint ClientToScreen(TPoint p) const override;
  TPoint ScreenToClient(TPoint p) const override;
  TCursor Cursor() const { return m_cursor; }

  // What tests look at.
  TMemoryWindowKind Kind() const { return m_kind; }
  int Id() const { return m_id; }
  MemoryWindow* Parent() const { return m_parent; }
  const TFontSpec& Font() const { return m_font; }
  INativeWindowHandler& Handler() const { return m_handler; }
  int PaintCount() const { return m_paintCount; }
  bool IsInvalid() const { return m_invalid; }
  const MemoryCanvas& Canvas() const { return m_canvas; }
  bool IsShowing() const;  // visible with every parent visible
  bool CanTakeFocus() const;  // also: whether it takes mouse input
  TPoint ScreenOrigin() const;  // of the client area
  TRect ScreenBounds() const;   // the whole window
  // The innermost showing window at a screen point, this one or one of its children.
  MemoryWindow* HitTest(TPoint screen);

  // The control's own reaction to input that its handler let through (the left button
  // only for presses and releases), and to the system's events.
  virtual void DefaultKeyDown(TKey /*key*/, TShiftState /*shift*/) {}
  virtual void DefaultChar(char16_t /*ch*/) {}
  virtual void DefaultMouseDown(TPoint /*at*/) {}
  virtual void DefaultMouseUp(TPoint /*at*/) {}
  virtual void DefaultMouseMove(TPoint /*at*/) {}
  // Answers whether the wheel was used; unused, it goes on to the parent.
  virtual bool DefaultMouseWheel(int /*delta*/, TShiftState /*shift*/) { return false; }
  virtual void DefaultCaptureLost() {}
  virtual void DefaultFocusChanged() {}

 protected:
  // What the handler draws of the window: forms and painted controls paint themselves;
  // the system's controls have no picture in memory.
  virtual bool HasHandlerPicture() const;
  virtual void DrawPicture(ICanvas& canvas);
  void Paint();  // into the window's own canvas, now

  MemoryWindowSystem& m_system;
  std::string m_text;

 private:
  void PrintClientArea(ICanvas& canvas, TPoint at);

  TMemoryWindowKind m_kind;
  MemoryWindow* m_parent = nullptr;
  TRect m_bounds;
  TFontSpec m_font;
  INativeWindowHandler& m_handler;
  int m_id = 0;
  bool m_visible = true;
  bool m_enabled = true;
  bool m_invalid = true;
  int m_paintCount = 0;
  MemoryCanvas m_canvas{0, 0};
  std::optional<TRegion> m_region;
  TCursor m_cursor = TCursor::crDefault;
};

class MemoryForm : public MemoryWindow, public INativeForm {
 public:
  using MemoryWindow::MemoryWindow;
  void SetClientSize(TSize size) override;
  void Show() override;
  void Hide() override { SetVisible(false); }
  void Activate() override;
  TSize ClientSize() const override { return m_clientSize; }
  // The frame the memory system gives every form: a caption bar and thin borders.
  static constexpr int kFrame = 3, kCaption = 23;

 private:
  TSize m_clientSize;
};

class MemoryEdit : public MemoryWindow, public INativeEdit {
 public:
  MemoryEdit(MemoryWindowSystem& system, const TNativeWindowParams& params,
             const TNativeEditStyle& style, INativeWindowHandler& handler);

  void SetText(const std::string& text) override;
  std::string Text() const override;
  std::size_t TextLength() const override { return m_units.size(); }
  bool SetTextChecked(const std::string& text) override;
  std::size_t MaxTextLength = std::size_t(-1);  // what the simulated control accepts
  void GetSelection(std::size_t& start, std::size_t& length) const override;
  void SetSelection(std::size_t start, std::size_t length) override;
  void SelectAll() override { SetSelection(0, m_units.size()); }
  void ReplaceSelection(const std::string& text) override;
  void SetReadOnly(bool readOnly) override { m_style.ReadOnly = readOnly; }
  void ScrollCaretIntoView() override;
  void SetBounds(const TRect& bounds) override;
  void SetFont(const TFontSpec& font) override;
  // Without the scroll bars its style gives it.
  TSize ClientSize() const override;

  // Rows as the system's control shows them, in the cells of the memory canvas: lines
  // end at CR LF; with word wrap a line breaks before the character that would reach
  // past the client area's right edge (every row keeps at least one character).
  std::size_t RowCount() const override { return Rows().Starts.size(); }
  std::size_t RowStart(std::size_t row) const override;
  std::size_t FirstVisibleRow() const override { return m_firstRow; }
  TNativeScrollInfo ScrollInfo(bool vertical) const override;
  void Scroll(bool vertical, TNativeScrollCode code, int position) override;
  int RowHeight() const;

  const TNativeEditStyle& Style() const { return m_style; }
  std::size_t Caret() const { return m_caret; }
  int ScrollRequests() const { return m_scrollRequests; }
  int ChangeNotifications() const { return m_changes; }

  void DefaultKeyDown(TKey key, TShiftState shift) override;
  void DefaultChar(char16_t ch) override;
  void DefaultMouseDown(TPoint at) override;
  // The control scrolls with the wheel (or would, with more lines than it shows).
  bool DefaultMouseWheel(int delta, TShiftState shift) override;

  // The settings shared with the hosting editor. Letter case and the length limit act
  // on what the user types and pastes, as in the system's control; the others only
  // change how the text is shown, and are recorded for tests to read.
  void SetAlignment(TNativeAlignment alignment) override { m_alignment = alignment; }
  void SetCharCase(TNativeCharCase charCase) override { m_charCase = charCase; }
  void SetPasswordChar(char16_t passwordChar) override { m_passwordChar = passwordChar; }
  void SetHideSelection(bool hide) override { m_hideSelection = hide; }
  void SetImeMode(TImeMode mode) override { m_imeMode = mode; }
  void SetMaxLength(std::size_t units) override { m_maxLength = units; }
  TNativeAlignment Alignment() const { return m_alignment; }
  TNativeCharCase CharCase() const { return m_charCase; }
  char16_t PasswordChar() const { return m_passwordChar; }
  bool HidesSelection() const { return m_hideSelection; }
  TImeMode ImeMode() const { return m_imeMode; }
  std::size_t MaxLength() const { return m_maxLength; }

 private:
  // Puts typed or pasted text in place of the selection, in the letter case asked for and
  // cut to what the length limit leaves room for.
  void InsertTyped(std::u16string text);
  void ApplyCharCase(std::u16string& text) const;
  void Replace(std::size_t start, std::size_t end, std::u16string_view with);
  void Paste();
  void CutOrCopy(bool cut);
  std::size_t SelStart() const { return std::min(m_anchor, m_caret); }
  std::size_t SelEnd() const { return std::max(m_anchor, m_caret); }

  struct TRows {
    std::vector<std::size_t> Starts;
    std::vector<int> Widths;
    int Widest = 0;
  };
  TRows Rows() const;
  int CharWidth(char16_t ch) const;
  int VisibleRows() const;
  void ScrollTo(int firstRow, int xOffset);
  // Tells the handler when the scroll state changed since it last heard.
  void NotifyScrolled();

  TNativeEditStyle m_style;
  int m_firstRow = 0;
  int m_xOffset = 0;
  TNativeScrollInfo m_reportedVertical, m_reportedHorizontal;
  std::u16string m_units;
  std::size_t m_anchor = 0;
  std::size_t m_caret = 0;
  int m_scrollRequests = 0;
  int m_changes = 0;
  TNativeAlignment m_alignment = TNativeAlignment::Left;
  TNativeCharCase m_charCase = TNativeCharCase::Normal;
  char16_t m_passwordChar = 0;
  bool m_hideSelection = true;
  TImeMode m_imeMode = TImeMode::imDontCare;
  std::size_t m_maxLength = 0;
};

// A push button as the system's BUTTON control behaves: a left press takes the focus and
// the capture and shows the button pushed while the pointer stays over it; the release
// over it clicks. An owner-drawn button is drawn by its handler's NativeDrawItem at once
// whenever its pushed look or its focus changes, and on Update and PaintNow.
class MemoryButton : public MemoryWindow {
 public:
  MemoryButton(MemoryWindowSystem& system, const TNativeWindowParams& params, const TNativeButtonStyle& style,
               INativeWindowHandler& handler)
      : MemoryWindow(system, TMemoryWindowKind::Button, params, handler), m_style(style) {}
  void DefaultKeyDown(TKey key, TShiftState shift) override;
  void DefaultMouseDown(TPoint at) override;
  void DefaultMouseUp(TPoint at) override;
  void DefaultMouseMove(TPoint at) override;
  void DefaultCaptureLost() override;
  void DefaultFocusChanged() override;
  int Clicks() const { return m_clicks; }
  bool IsPushed() const { return m_pushed; }
  const TNativeButtonStyle& Style() const { return m_style; }

 protected:
  bool HasHandlerPicture() const override { return m_style.OwnerDraw; }
  void DrawPicture(ICanvas& canvas) override;

 private:
  void SetPushed(bool pushed);
  bool IsInside(TPoint at) const;

  TNativeButtonStyle m_style;
  int m_clicks = 0;
  bool m_tracking = false;  // a left press on it is in progress
  bool m_pushed = false;
};

class MemoryTimer : public ITimer {
 public:
  MemoryTimer(MemoryWindowSystem& system, std::function<void()> onTick);
  ~MemoryTimer() override;
  void SetInterval(int milliseconds) override;
  int Interval() const override { return m_interval; }
  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return m_enabled; }

  std::int64_t Due() const { return m_due; }
  void Fire();  // the next tick is counted from now, then the handler runs

 private:
  void Restart();

  MemoryWindowSystem& m_system;
  std::function<void()> m_onTick;
  int m_interval = 1000;
  bool m_enabled = false;
  std::int64_t m_due = 0;
};

class MemoryWindowSystem : public IWindowSystem {
 public:
  MemoryWindowSystem(IBeep& beep, IClipboard& clipboard);
  ~MemoryWindowSystem() override;

  std::unique_ptr<INativeForm> CreateForm(const TNativeWindowParams& params, const TNativeFormStyle& style,
                                          INativeWindowHandler& handler) override;
  std::unique_ptr<INativeWindow> CreateCustomControl(const TNativeWindowParams& params,
                                                     INativeWindowHandler& handler) override;
  std::unique_ptr<INativeEdit> CreateEdit(const TNativeWindowParams& params, const TNativeEditStyle& style,
                                          INativeWindowHandler& handler) override;
  std::unique_ptr<INativeWindow> CreateButton(const TNativeWindowParams& params, const TNativeButtonStyle& style,
                                              INativeWindowHandler& handler) override;
  std::unique_ptr<INativeWindow> CreateMessageWindow(INativeWindowHandler& handler) override;
  std::unique_ptr<ITimer> CreateTimer(std::function<void()> onTick) override;

  void RunMessageLoop() override;
  void Quit() override { m_quitRequested = true; }
  void ProcessMessages() override { ++m_messagePumps; }
  // Nothing arrives on its own in memory: the loop runs the test's script for it once
  // (what the user does while the window is up) and returns, finished or not.
  void RunModalLoop(const std::function<bool()>& finished) override;
  std::function<void()> OnModalLoop;
  int ModalLoops() const { return m_modalLoops; }
  std::unique_ptr<IBitmapCanvas> CreateBitmapCanvas(int width, int height) override {
    return std::make_unique<MemoryCanvas>(width, height, clBlack);
  }
  TImage ApplicationIcon(TColor transparent) const override;
  // The icon the program would have; pixels of the colour clNone are transparent.
  void SetApplicationIcon(const TImage& icon) { m_icon = icon; }
  void RemovePendingCharacter(INativeWindow& window) override { m_discardCharFor = &window; }
  TSize MeasureText(std::string_view text, const TFontSpec& font) override;
  TRect ScreenRect() const override { return m_screen; }
  int ScreenDpi() const override { return m_dpi; }
  bool IsKeyDown(TKey key) const override { return m_heldKeys.count(key) != 0; }
  int SystemMetric(TSystemMetric metric) const override;
  TColor SystemColor(int index) const override { return MemorySystemColor(index); }
  TPoint CursorPos() const override { return m_cursorPos; }
  INativeWindow* WindowFromPoint(TPoint screen) const override { return WindowAt(screen); }
  bool IsMouseCaptured() const override { return m_capture != nullptr; }
  IPopupMenus& PopupMenus() override { return m_menus; }
  MemoryPopupMenus& Menus() { return m_menus; }
  MemoryWindow* CaptureWindow() const { return m_capture; }
  // The window losing the capture is told (also when it releases the capture itself).
  void SetCaptureWindow(MemoryWindow* window);

  // Simulated user input.
  void PressKey(TKey key, TShiftState shift = 0);
  void TypeText(std::string_view utf8);
  // A left click straight on a window, wherever the pointer is and whoever holds the
  // capture; without a point, in the middle of the window.
  void Click(INativeWindow& window);
  void Click(INativeWindow& window, TPoint at);
  void CloseBox(INativeForm& form);

  // The pointer. A move goes to the window holding the capture, else to the window
  // under the pointer; a window hears enter before its first move and leave when the
  // moves go elsewhere (not while it holds the capture; when the capture ends, a move
  // where the pointer is follows the event that ended it). The window's point is in its
  // client coordinates; shift adds Shift, Ctrl, Alt or ssDouble to the buttons held.
  void MoveMouse(TPoint screen, TShiftState shift = 0);
  void MoveMouse(INativeWindow& window, TPoint at, TShiftState shift = 0);
  // A press or release where the pointer is, after moving it to the window's point;
  // a double click is a press with ssDouble in shift.
  void MouseDown(INativeWindow& window, TPoint at, TMouseButton button = TMouseButton::mbLeft,
                 TShiftState shift = 0);
  void MouseUp(INativeWindow& window, TPoint at, TMouseButton button = TMouseButton::mbLeft,
               TShiftState shift = 0);
  // A context-menu request, as the system makes it after a right button's release over
  // a window that did not use it (a screen point) or for the menu key or Shift+F10 on the
  // focused window (no point): to the window first, then to its parents while unused.
  void ContextMenu(INativeWindow& window, std::optional<TPoint> screen);
  // One wheel notification to the focused window, passed on to its parents while unused.
  void Wheel(int delta, TShiftState shift = 0);
  void SetCursorPos(TPoint screen) { m_cursorPos = screen; }  // no notification
  // The system cancels mouse modes (a dialog comes up): the capture ends.
  void CancelMode();
  // Another application became active (false) or this one again (true): every form
  // hears it; the focus leaves on deactivation and comes back on activation.
  void ActivateApplication(bool active);

  // The system's broadcasts, to every message window in creation order.
  void BroadcastThemeChanged();
  void BroadcastSystemColorsChanged();

  // The clock: advancing it fires every tick that falls due, in time order, each at its
  // own time. A tick is never re-entered: advancing from inside a tick only moves the
  // clock, and the ticks then overdue come once each.
  void AdvanceTime(std::int64_t milliseconds);
  std::int64_t Now() const { return m_now; }

  void SetSystemMetric(TSystemMetric metric, int value) { m_metrics[metric] = value; }

  // Inspection.
  MemoryWindow* Focused() const { return m_focused; }
  const std::vector<MemoryWindow*>& Windows() const { return m_windows; }
  MemoryWindow* FindById(int id) const;
  bool QuitRequested() const { return m_quitRequested; }
  int MessagePumps() const { return m_messagePumps; }
  IBeep& Beep() { return m_beep; }
  IClipboard& Clipboard() { return m_clipboard; }

  void SetScreen(TRect screen, int dpi) { m_screen = screen; m_dpi = dpi; }
  MemoryWindow* WindowAt(TPoint screen) const;
  bool IsAlive(const MemoryWindow* window) const;

  // Used by the windows and timers themselves.
  void Register(MemoryWindow* window) { m_windows.push_back(window); }
  void Unregister(MemoryWindow* window);
  void MoveFocus(MemoryWindow* window);
  void Register(MemoryTimer* timer) { m_timers.push_back(timer); }
  void Unregister(MemoryTimer* timer) { std::erase(m_timers, timer); }

 private:
  void DeliverKey(TKey key, TShiftState shift, char16_t ch);
  // The window that mouse input at the pointer goes to, if it takes input.
  MemoryWindow* MouseTarget() const;
  TShiftState MouseShift(TShiftState shift) const;
  void DeliverMove(TShiftState shift);
  void SettlePointer();
  void Broadcast(void (INativeWindowHandler::*notification)());


  IBeep& m_beep;
  IClipboard& m_clipboard;
  std::vector<MemoryWindow*> m_windows;
  MemoryWindow* m_focused = nullptr;
  std::multiset<TKey> m_heldKeys;
  TRect m_screen{0, 0, 1280, 1024};
  int m_dpi = 96;
  bool m_quitRequested = false;
  int m_messagePumps = 0;
  int m_modalLoops = 0;
  TImage m_icon;
  INativeWindow* m_discardCharFor = nullptr;
  MemoryWindow* m_capture = nullptr;
  MemoryWindow* m_hover = nullptr;  // the window that heard enter last and no leave since
  bool m_moveOwed = false;          // the capture ended: the system moves the pointer where it is
  TPoint m_cursorPos;
  bool m_applicationActive = true;
  MemoryWindow* m_focusBeforeDeactivation = nullptr;
  std::vector<MemoryTimer*> m_timers;
  std::int64_t m_now = 0;
  bool m_ticking = false;
  std::map<TSystemMetric, int> m_metrics;
  MemoryPopupMenus m_menus;
};

}  // namespace vormix
