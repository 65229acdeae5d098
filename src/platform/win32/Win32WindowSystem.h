#pragma once
// The window system on Win32. Each native window is an HWND: the program's own window
// classes for forms and painted controls, and the system's EDIT and BUTTON
// controls, subclassed so that their input passes the program's handler first. The
// window procedures only translate messages into handler calls.
#include <windows.h>
#include <imm.h>

#include <map>
#include <memory>
#include <set>
#include <tuple>

#include "platform/WindowSystem.h"
#include "platform/win32/Win32Fonts.h"
#include "platform/win32/Win32Menus.h"

namespace vormix {

class Win32WindowSystem;
class Win32Timer;

class Win32Window : public virtual INativeWindow {
 public:
  Win32Window(Win32WindowSystem& system, INativeWindowHandler& handler);
  ~Win32Window() override;

  void SetBounds(const TRect& bounds) override;
  TRect Bounds() const override;
  TSize ClientSize() const override;
  void SetVisible(bool visible) override;
  bool IsVisible() const override;
  void SetEnabled(bool enabled) override;
  bool IsEnabled() const override;
  void SetText(const std::string& text) override;
  std::string Text() const override;
  void SetFont(const TFontSpec& font) override;
  void SetFocus() override;
  bool HasFocus() const override;
  void Invalidate() override;
  void Update() override;
  void PaintNow() override;
  void PrintTo(ICanvas& canvas) override;
  void* Handle() const override { return m_hwnd; }
  void SetRegion(const std::optional<TRegion>& region) override;
  std::optional<TRegion> Region() const override;
  void SetCapture() override;
  void ReleaseCapture() override;
  bool HasCapture() const override;
  void SetCursor(TCursor cursor) override;
  TPoint ClientToScreen(TPoint p) const override;
  TPoint ScreenToClient(TPoint p) const override;

  HWND Hwnd() const { return m_hwnd; }
  INativeWindowHandler* Handler() const { return m_handler; }
  static Win32Window* FromHwnd(HWND hwnd);

  // Creates the window of a registered or system class; system classes are subclassed.
  void Create(const wchar_t* className, DWORD style, DWORD exStyle, const TNativeWindowParams& params,
              bool subclass);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT PaintMessage();
  // A window of the program's own classes, painted by its handler (not a system control).
  bool IsOwnClass() const { return m_original == nullptr; }
  // Where the client area's top-left corner lies in the window (the frame's thickness).
  TPoint ClientOffset() const;
  // Puts a new window of the same class in place of the current one: from now on its
  // messages reach the handler and those of the old one do not. Answers the old window,
  // for the caller to destroy.
  HWND ExchangeHwnd(HWND replacement);

  Win32WindowSystem& m_system;

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK OwnClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  friend class Win32WindowSystem;
  void MouseMoved(TPoint at, TShiftState shift);
  LRESULT CancelMode(WPARAM wParam, LPARAM lParam);
  bool SetCursorShape(WPARAM wParam, LPARAM lParam) const;
  bool DrawItem(const DRAWITEMSTRUCT& item);
  void PrintChildren(ICanvas& canvas);

  HWND m_hwnd = nullptr;
  WNDPROC m_original = nullptr;
  INativeWindowHandler* m_handler;
  bool m_trackingMouse = false;  // the pointer is over the window and its leave is awaited
  TCursor m_cursor = TCursor::crDefault;
  ULONGLONG m_lastSystemPaint = 0;  // when PaintNow last went through the system's paint
};

class Win32Form : public Win32Window, public INativeForm {
 public:
  Win32Form(Win32WindowSystem& system, INativeWindowHandler& handler, const TNativeWindowParams& params,
            const TNativeFormStyle& style);
  void SetClientSize(TSize size) override;
  TSize ClientSize() const override { return Win32Window::ClientSize(); }
  void Show() override;
  void Hide() override;
  void Activate() override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class Win32Edit : public Win32Window, public INativeEdit {
 public:
  Win32Edit(Win32WindowSystem& system, INativeWindowHandler& handler, const TNativeWindowParams& params,
            const TNativeEditStyle& style);
  std::size_t TextLength() const override;
  bool SetTextChecked(const std::string& text) override;
  void GetSelection(std::size_t& start, std::size_t& length) const override;
  void SetSelection(std::size_t start, std::size_t length) override;
  void SelectAll() override;
  void ReplaceSelection(const std::string& text) override;
  void SetReadOnly(bool readOnly) override;
  void ScrollCaretIntoView() override;

  void SetAlignment(TNativeAlignment alignment) override;
  void SetCharCase(TNativeCharCase charCase) override;
  void SetPasswordChar(char16_t passwordChar) override;
  void SetHideSelection(bool hide) override;
  void SetImeMode(TImeMode mode) override;
  void SetMaxLength(std::size_t units) override;

  std::size_t RowCount() const override;
  std::size_t RowStart(std::size_t row) const override;
  std::size_t FirstVisibleRow() const override;
  TNativeScrollInfo ScrollInfo(bool vertical) const override;
  void Scroll(bool vertical, TNativeScrollCode code, int position) override;
  ~Win32Edit() override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The system's control takes its alignment and whether it hides its selection only
  // when it is created: a change of either makes a new control in its place, with the
  // text, selection, focus and other settings of the old one. A change asked for while
  // the control handles one of its own messages waits until that message is done.
  void ChangeStyle(DWORD mask, DWORD bits);
  void ChangeCreationStyle(DWORD mask, DWORD bits);
  void Recreate(DWORD style);
  void ApplyImeMode();
  // The control reports no scrolling of its own accord (the caret, typing, resizing
  // and the wheel all scroll it silently), so after each message it handled the scroll
  // state is compared with the one the handler last heard of.
  void NotifyIfScrolled();

  TNativeScrollInfo m_reportedVertical, m_reportedHorizontal;
  int m_handling = 0;
  bool m_recreatePending = false;
  DWORD m_wantedStyle = 0;
  TImeMode m_imeMode = TImeMode::imDontCare;
  HIMC m_imeContext = nullptr;  // the control's own input context, for the modes that set one
};

class Win32WindowSystem : public IWindowSystem {
 public:
  explicit Win32WindowSystem(HINSTANCE instance);
  ~Win32WindowSystem() override;

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
  void Quit() override;
  void ProcessMessages() override;
  void RunModalLoop(const std::function<bool()>& finished) override;
  std::unique_ptr<IBitmapCanvas> CreateBitmapCanvas(int width, int height) override;
  TImage ApplicationIcon(TColor transparent) const override;
  void RemovePendingCharacter(INativeWindow& window) override;
  TSize MeasureText(std::string_view text, const TFontSpec& font) override;
  TRect ScreenRect() const override;
  int ScreenDpi() const override;
  bool IsKeyDown(TKey key) const override;
  int SystemMetric(TSystemMetric metric) const override;
  TColor SystemColor(int index) const override;
  TPoint CursorPos() const override;
  INativeWindow* WindowFromPoint(TPoint screen) const override;
  bool IsMouseCaptured() const override;
  IPopupMenus& PopupMenus() override { return m_menus; }

  HINSTANCE Instance() const { return m_instance; }
  HFONT FontFor(const TFontSpec& font) { return m_fonts.FontFor(font); }
  Win32FontCache& Fonts() { return m_fonts; }
  static TShiftState CurrentShiftState();

  // Timers tick on a hidden window of their own, each under its own id.
  UINT_PTR AddTimer(Win32Timer* timer);
  void RemoveTimer(UINT_PTR id);
  HWND TimerWindow();
  void Tick(UINT_PTR id);

 private:
  // Dialog keys go to the focused control's handler before the control sees them;
  // wheel notifications go to the focused window wherever the pointer is.
  bool PreTranslate(MSG& message);
  void RegisterClasses();

  HINSTANCE m_instance;
  bool m_quitting = false;
  Win32FontCache m_fonts;
  INativeWindowHandler m_noHandler;  // for the system's own hidden windows
  Win32PopupMenus m_menus;
  std::unique_ptr<Win32Window> m_timerWindow;
  std::map<UINT_PTR, Win32Timer*> m_timers;
  std::set<UINT_PTR> m_ticking;  // ticks being handled, which are never entered again
  UINT_PTR m_nextTimerId = 1;
};

}  // namespace vormix
