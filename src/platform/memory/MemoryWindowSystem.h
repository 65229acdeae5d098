#pragma once
// A window system in memory: a tree of windows with focus, painting, a simulated edit
// control, push buttons and progress bars, and input that travels the same way as on
// Windows (dialog keys first, then key-down, the translated character, key-up).
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Beep.h"
#include "platform/Clipboard.h"
#include "platform/WindowSystem.h"
#include "platform/memory/MemoryCanvas.h"

namespace vormix {

class MemoryWindowSystem;

enum class TMemoryWindowKind { Form, Custom, Edit, Button, ProgressBar };

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
  bool CanTakeFocus() const;
  TPoint ScreenOrigin() const;

  // The control's own reaction to input that its handler let through.
  virtual void DefaultKeyDown(TKey /*key*/, TShiftState /*shift*/) {}
  virtual void DefaultChar(char16_t /*ch*/) {}
  virtual void DefaultMouseDown(TPoint /*at*/) {}
  virtual void DefaultMouseUp(TPoint /*at*/, bool /*pressed*/) {}

 protected:
  MemoryWindowSystem& m_system;
  std::string m_text;

 private:
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
  void ScrollCaretIntoView() override { ++m_scrollRequests; }

  const TNativeEditStyle& Style() const { return m_style; }
  std::size_t Caret() const { return m_caret; }
  int ScrollRequests() const { return m_scrollRequests; }
  int ChangeNotifications() const { return m_changes; }

  void DefaultKeyDown(TKey key, TShiftState shift) override;
  void DefaultChar(char16_t ch) override;
  void DefaultMouseDown(TPoint at) override;

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

  TNativeEditStyle m_style;
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

class MemoryButton : public MemoryWindow {
 public:
  MemoryButton(MemoryWindowSystem& system, const TNativeWindowParams& params, INativeWindowHandler& handler)
      : MemoryWindow(system, TMemoryWindowKind::Button, params, handler) {}
  void DefaultKeyDown(TKey key, TShiftState shift) override;
  void DefaultMouseDown(TPoint at) override;
  void DefaultMouseUp(TPoint at, bool pressed) override;
  int Clicks() const { return m_clicks; }

 private:
  int m_clicks = 0;
};

class MemoryProgressBar : public MemoryWindow, public INativeProgressBar {
 public:
  MemoryProgressBar(MemoryWindowSystem& system, const TNativeWindowParams& params, INativeWindowHandler& handler)
      : MemoryWindow(system, TMemoryWindowKind::ProgressBar, params, handler) {}
  void SetRange(int max) override { m_max = max; }
  void SetPosition(int position) override;
  int Max() const { return m_max; }
  int Position() const { return m_position; }

 private:
  int m_max = 100;
  int m_position = 0;
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
  std::unique_ptr<INativeProgressBar> CreateProgressBar(const TNativeWindowParams& params,
                                                        INativeWindowHandler& handler) override;

  void RunMessageLoop() override;
  void Quit() override { m_quitRequested = true; }
  void ProcessMessages() override { ++m_messagePumps; }
  void RemovePendingCharacter(INativeWindow& window) override { m_discardCharFor = &window; }
  TSize MeasureText(std::string_view text, const TFontSpec& font) override;
  TRect ScreenRect() const override { return m_screen; }
  int ScreenDpi() const override { return m_dpi; }
  bool IsKeyDown(TKey key) const override { return m_heldKeys.count(key) != 0; }
  int SystemMetric(TSystemMetric metric) const override;
  TColor SystemColor(int index) const override { return MemorySystemColor(index); }
  TPoint CursorPos() const override { return m_cursorPos; }
  INativeWindow* WindowFromPoint(TPoint screen) const override;
  bool IsMouseCaptured() const override { return m_capture != nullptr; }
  MemoryWindow* CaptureWindow() const { return m_capture; }
  void SetCaptureWindow(MemoryWindow* window) { m_capture = window; }

  // Simulated user input.
  void PressKey(TKey key, TShiftState shift = 0);
  void TypeText(std::string_view utf8);
  void Click(INativeWindow& window);
  void Click(INativeWindow& window, TPoint at);
  void CloseBox(INativeForm& form);

  // Inspection.
  MemoryWindow* Focused() const { return m_focused; }
  const std::vector<MemoryWindow*>& Windows() const { return m_windows; }
  MemoryWindow* FindById(int id) const;
  bool QuitRequested() const { return m_quitRequested; }
  int MessagePumps() const { return m_messagePumps; }
  IBeep& Beep() { return m_beep; }
  IClipboard& Clipboard() { return m_clipboard; }

  void SetScreen(TRect screen, int dpi) { m_screen = screen; m_dpi = dpi; }

  // Used by the windows themselves.
  void Register(MemoryWindow* window) { m_windows.push_back(window); }
  void Unregister(MemoryWindow* window);
  void MoveFocus(MemoryWindow* window);

 private:
  void DeliverKey(TKey key, TShiftState shift, char16_t ch);

  IBeep& m_beep;
  IClipboard& m_clipboard;
  std::vector<MemoryWindow*> m_windows;
  MemoryWindow* m_focused = nullptr;
  std::multiset<TKey> m_heldKeys;
  TRect m_screen{0, 0, 1280, 1024};
  int m_dpi = 96;
  bool m_quitRequested = false;
  int m_messagePumps = 0;
  INativeWindow* m_discardCharFor = nullptr;
  MemoryWindow* m_capture = nullptr;
  TPoint m_cursorPos;
};

}  // namespace vormix
