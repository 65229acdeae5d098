#include "platform/win32/Win32WindowSystem.h"

#include <commctrl.h>

#include "platform/win32/Win32Canvas.h"
#include "platform/win32/Win32Text.h"

namespace vormix {

namespace {

constexpr wchar_t kFormClass[] = L"VormixForm";
constexpr wchar_t kControlClass[] = L"VormixControl";
constexpr wchar_t kObjectProperty[] = L"Vormix.Window";

TPoint PointFrom(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

LRESULT CALLBACK Win32Window::OwnClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Win32Window* window = FromHwnd(hwnd);
  if (!window && message == WM_NCCREATE) {
    window = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    window->m_hwnd = hwnd;
    SetPropW(hwnd, kObjectProperty, window);
  }
  if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);
  return window->Dispatch(message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------
// Win32Window

Win32Window::Win32Window(Win32WindowSystem& system, INativeWindowHandler& handler)
    : m_system(system), m_handler(&handler) {}

Win32Window::~Win32Window() {
  m_handler = nullptr;  // no event reaches a control that is going away
  if (m_hwnd) DestroyWindow(m_hwnd);
}

Win32Window* Win32Window::FromHwnd(HWND hwnd) {
  return hwnd ? static_cast<Win32Window*>(GetPropW(hwnd, kObjectProperty)) : nullptr;
}

void Win32Window::Create(const wchar_t* className, DWORD style, DWORD exStyle, const TNativeWindowParams& params,
                         bool subclass) {
  HWND parent = params.Parent ? static_cast<HWND>(params.Parent->Handle()) : nullptr;
  const bool child = (style & WS_CHILD) != 0;
  if (params.Visible && child) style |= WS_VISIBLE;
  const TRect& b = params.Bounds;
  HMENU id = child ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(params.Id)) : nullptr;
  const std::wstring text = Widen(params.Text);
  HWND hwnd = CreateWindowExW(exStyle, className, text.c_str(), style, b.Left, b.Top, b.Width(), b.Height(),
                              parent, id, m_system.Instance(), subclass ? nullptr : this);
  if (!hwnd) return;
  m_hwnd = hwnd;
  if (subclass) {
    SetPropW(hwnd, kObjectProperty, this);
    m_original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32Window::SubclassProc)));
  }
  SetFont(params.Font);
}

LRESULT CALLBACK Win32Window::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Win32Window* window = FromHwnd(hwnd);
  if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);
  return window->Dispatch(message, wParam, lParam);
}

LRESULT Win32Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  // Nothing may unwind through the system's window procedure; the controls report
  // their own errors, so anything arriving here is dropped.
  try {
    return HandleMessage(message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

LRESULT Win32Window::CallDefault(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_original) return CallWindowProcW(m_original, m_hwnd, message, wParam, lParam);
  return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

LRESULT Win32Window::PaintMessage() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hwnd, &ps);
  {
    Win32Canvas canvas(dc, m_system);
    if (m_handler) m_handler->NativePaint(canvas);
  }
  EndPaint(m_hwnd, &ps);
  return 0;
}

LRESULT Win32Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const TShiftState shift = Win32WindowSystem::CurrentShiftState();
  switch (message) {
    case WM_SETFOCUS:
      // The control's entry processing comes before the native control's own.
      if (m_handler) m_handler->NativeFocusIn();
      if (GetFocus() != m_hwnd) return 0;
      return CallDefault(message, wParam, lParam);
    case WM_KILLFOCUS: {
      const LRESULT result = CallDefault(message, wParam, lParam);
      if (m_handler) m_handler->NativeFocusOut();
      return result;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      TKey key = static_cast<TKey>(wParam);
      if (m_handler) {
        if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) m_handler->NativeKeyDown(key, shift);
        else m_handler->NativeKeyUp(key, shift);
      }
      if (key == 0) return 0;
      return CallDefault(message, key, lParam);
    }
    case WM_CHAR: {
      char16_t ch = static_cast<char16_t>(wParam);
      if (m_handler) m_handler->NativeChar(ch);
      if (ch == 0) return 0;
      return CallDefault(message, ch, lParam);
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (m_handler && !m_handler->NativeMouseDown(TMouseButton::mbLeft, PointFrom(lParam), shift | ssLeft)) return 0;
      return CallDefault(message, wParam, lParam);
    case WM_LBUTTONUP: {
      const LRESULT result = CallDefault(message, wParam, lParam);
      if (m_handler) m_handler->NativeMouseUp(TMouseButton::mbLeft, PointFrom(lParam), shift);
      return result;
    }
    case WM_PASTE:
      if (m_handler && !m_handler->NativePaste()) return 0;
      return CallDefault(message, wParam, lParam);
    case WM_CUT:
      if (m_handler && !m_handler->NativeCut()) return 0;
      return CallDefault(message, wParam, lParam);
    case WM_COMMAND:
      if (Win32Window* child = FromHwnd(reinterpret_cast<HWND>(lParam)); child && child->m_handler) {
        if (HIWORD(wParam) == EN_CHANGE) child->m_handler->NativeTextChanged();
        else if (HIWORD(wParam) == BN_CLICKED) child->m_handler->NativeClicked();
        return 0;
      }
      break;
    case WM_PAINT:
      if (!m_original) return PaintMessage();
      break;
    case WM_ERASEBKGND:
      if (!m_original) return 1;  // the paint covers every pixel
      break;
    case WM_NCDESTROY: {
      const LRESULT result = CallDefault(message, wParam, lParam);
      if (m_original) SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_original));
      RemovePropW(m_hwnd, kObjectProperty);
      m_hwnd = nullptr;
      return result;
    }
    default:
      break;
  }
  return CallDefault(message, wParam, lParam);
}

void Win32Window::SetBounds(const TRect& b) {
  if (!m_hwnd) return;
  SetWindowPos(m_hwnd, nullptr, b.Left, b.Top, b.Width(), b.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

TRect Win32Window::Bounds() const {
  if (!m_hwnd) return {};
  RECT r{};
  GetWindowRect(m_hwnd, &r);
  if (GetWindowLongW(m_hwnd, GWL_STYLE) & WS_CHILD)
    MapWindowPoints(HWND_DESKTOP, GetParent(m_hwnd), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right, r.bottom};
}

TSize Win32Window::ClientSize() const {
  RECT r{};
  if (m_hwnd) GetClientRect(m_hwnd, &r);
  return {r.right - r.left, r.bottom - r.top};
}

void Win32Window::SetVisible(bool visible) {
  if (m_hwnd) ShowWindow(m_hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

bool Win32Window::IsVisible() const { return m_hwnd && IsWindowVisible(m_hwnd); }

void Win32Window::SetEnabled(bool enabled) {
  if (m_hwnd) EnableWindow(m_hwnd, enabled);
}

bool Win32Window::IsEnabled() const { return m_hwnd && IsWindowEnabled(m_hwnd); }

void Win32Window::SetText(const std::string& text) {
  if (m_hwnd) SetWindowTextW(m_hwnd, Widen(text).c_str());
}

std::string Win32Window::Text() const {
  if (!m_hwnd) return {};
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(m_hwnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(m_hwnd, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void Win32Window::SetFont(const TFontSpec& font) {
  if (m_hwnd) SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_system.FontFor(font)), TRUE);
}

void Win32Window::SetFocus() {
  if (m_hwnd) ::SetFocus(m_hwnd);
}

bool Win32Window::HasFocus() const { return m_hwnd && GetFocus() == m_hwnd; }

void Win32Window::Invalidate() {
  if (m_hwnd) InvalidateRect(m_hwnd, nullptr, TRUE);
}

void Win32Window::Update() {
  if (m_hwnd) UpdateWindow(m_hwnd);
}

HWND Win32Window::ExchangeHwnd(HWND replacement) {
  HWND old = m_hwnd;
  if (old) {
    if (m_original) SetWindowLongPtrW(old, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_original));
    RemovePropW(old, kObjectProperty);
  }
  m_hwnd = replacement;
  SetPropW(replacement, kObjectProperty, this);
  if (m_original)
    m_original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(replacement, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32Window::SubclassProc)));
  return old;
}

// Interim: the remaining window operations arrive with the full window port.
void Win32Window::PaintNow() {}
void Win32Window::PrintTo(ICanvas&) {}
void Win32Window::SetRegion(const std::optional<TRegion>&) {}
std::optional<TRegion> Win32Window::Region() const { return std::nullopt; }
void Win32Window::SetCapture() {}
void Win32Window::ReleaseCapture() {}
bool Win32Window::HasCapture() const { return false; }
void Win32Window::SetCursor(TCursor) {}
TPoint Win32Window::ClientToScreen(TPoint p) const { return p; }
TPoint Win32Window::ScreenToClient(TPoint p) const { return p; }

// ---------------------------------------------------------------------------------------
// Win32Form

Win32Form::Win32Form(Win32WindowSystem& system, INativeWindowHandler& handler, const TNativeWindowParams& params,
                     const TNativeFormStyle& style)
    : Win32Window(system, handler) {
  DWORD ws = WS_CAPTION | WS_CLIPCHILDREN;
  DWORD ex = WS_EX_CONTROLPARENT;
  if (style.SystemMenu) ws |= WS_SYSMENU;
  if (style.DialogFrame) {
    ws |= WS_POPUP | DS_MODALFRAME;
    ex |= WS_EX_DLGMODALFRAME;
  } else {
    ws |= WS_OVERLAPPED;
    if (style.MinimizeBox) ws |= WS_MINIMIZEBOX;
    if (style.MaximizeBox) ws |= WS_MAXIMIZEBOX;
    if (style.Sizeable) ws |= WS_THICKFRAME;
  }
  Create(kFormClass, ws, ex, params, false);
}

void Win32Form::SetClientSize(TSize size) {
  if (!Hwnd()) return;
  RECT r{0, 0, size.Width, size.Height};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(Hwnd(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(Hwnd(), GWL_EXSTYLE)));
  SetWindowPos(Hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form::Show() {
  ShowWindow(Hwnd(), SW_SHOW);
  UpdateWindow(Hwnd());
}

void Win32Form::Hide() { ShowWindow(Hwnd(), SW_HIDE); }

void Win32Form::Activate() {
  SetForegroundWindow(Hwnd());
  SetActiveWindow(Hwnd());
}

LRESULT Win32Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      if (Handler()) Handler()->NativeCloseRequested();
      return 0;
    case WM_ACTIVATE:
      // The system activates the frame; the form then hands the focus to its control.
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam) && Handler()) {
        const LRESULT result = CallDefault(message, wParam, lParam);
        if (Handler()) Handler()->NativeActivated();
        return result;
      }
      break;
    default:
      break;
  }
  return Win32Window::HandleMessage(message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------
// Win32Edit and Win32ProgressBar

Win32Edit::Win32Edit(Win32WindowSystem& system, INativeWindowHandler& handler, const TNativeWindowParams& params,
                     const TNativeEditStyle& style)
    : Win32Window(system, handler) {
  DWORD ws = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP;
  if (style.MultiLine) {
    ws |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (style.HorizontalScrollBar) ws |= WS_HSCROLL;
    if (style.VerticalScrollBar) ws |= WS_VSCROLL;
    if (!style.WordWrap) ws |= ES_AUTOHSCROLL;
  } else {
    ws |= ES_AUTOHSCROLL;
  }
  if (style.ReadOnly) ws |= ES_READONLY;
  if (style.Alignment == TNativeAlignment::Right) ws |= ES_RIGHT;
  if (style.Alignment == TNativeAlignment::Center) ws |= ES_CENTER;
  if (style.CharCase == TNativeCharCase::Upper) ws |= ES_UPPERCASE;
  if (style.CharCase == TNativeCharCase::Lower) ws |= ES_LOWERCASE;
  if (!style.HideSelection) ws |= ES_NOHIDESEL;
  Create(L"EDIT", ws, WS_EX_CLIENTEDGE, params, true);
  // No limit of the program's own: the system's maximum applies to typing and appending.
  SendMessageW(Hwnd(), EM_SETLIMITTEXT, 0, 0);
}

std::size_t Win32Edit::TextLength() const {
  return Hwnd() ? static_cast<std::size_t>(GetWindowTextLengthW(Hwnd())) : 0;
}

bool Win32Edit::SetTextChecked(const std::string& text) {
  return Hwnd() && SendMessageW(Hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(text).c_str())) != FALSE;
}

void Win32Edit::GetSelection(std::size_t& start, std::size_t& length) const {
  DWORD from = 0, to = 0;
  if (Hwnd()) SendMessageW(Hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  start = from;
  length = to - from;
}

void Win32Edit::SetSelection(std::size_t start, std::size_t length) {
  if (Hwnd()) SendMessageW(Hwnd(), EM_SETSEL, start, static_cast<LPARAM>(start + length));
}

void Win32Edit::SelectAll() { SetSelection(0, TextLength()); }

void Win32Edit::ReplaceSelection(const std::string& text) {
  if (Hwnd()) SendMessageW(Hwnd(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void Win32Edit::SetReadOnly(bool readOnly) {
  if (Hwnd()) SendMessageW(Hwnd(), EM_SETREADONLY, readOnly, 0);
}

void Win32Edit::ScrollCaretIntoView() {
  if (Hwnd()) SendMessageW(Hwnd(), EM_SCROLLCARET, 0, 0);
}

// The settings the edit control shares with its editor.

Win32Edit::~Win32Edit() {
  if (m_imeContext) {
    if (Hwnd()) ImmAssociateContextEx(Hwnd(), nullptr, IACE_DEFAULT);
    ImmDestroyContext(m_imeContext);
  }
}

void Win32Edit::SetAlignment(TNativeAlignment alignment) {
  const DWORD bits = alignment == TNativeAlignment::Right ? ES_RIGHT : alignment == TNativeAlignment::Center ? ES_CENTER : ES_LEFT;
  ChangeCreationStyle(ES_LEFT | ES_CENTER | ES_RIGHT, bits);
}

void Win32Edit::SetCharCase(TNativeCharCase charCase) {
  const DWORD bits = charCase == TNativeCharCase::Upper ? ES_UPPERCASE : charCase == TNativeCharCase::Lower ? ES_LOWERCASE : 0;
  ChangeStyle(ES_UPPERCASE | ES_LOWERCASE, bits);
}

void Win32Edit::SetPasswordChar(char16_t passwordChar) {
  if (!Hwnd() || SendMessageW(Hwnd(), EM_GETPASSWORDCHAR, 0, 0) == passwordChar) return;
  SendMessageW(Hwnd(), EM_SETPASSWORDCHAR, passwordChar, 0);
  InvalidateRect(Hwnd(), nullptr, TRUE);
}

void Win32Edit::SetHideSelection(bool hide) { ChangeCreationStyle(ES_NOHIDESEL, hide ? 0 : ES_NOHIDESEL); }

void Win32Edit::SetMaxLength(std::size_t units) {
  if (Hwnd()) SendMessageW(Hwnd(), EM_SETLIMITTEXT, units, 0);  // 0: the system's maximum
}

void Win32Edit::SetImeMode(TImeMode mode) {
  m_imeMode = mode;
  ApplyImeMode();
}

// Disabled: no input context at all; don't care: the thread's shared one, as the user
// left it; every other mode: a context of the control's own, opened or closed and in the
// conversion mode asked for, so that setting it disturbs no other window.
void Win32Edit::ApplyImeMode() {
  if (!Hwnd()) return;
  if (m_imeMode == TImeMode::imDisable || m_imeMode == TImeMode::imDontCare) {
    ImmAssociateContextEx(Hwnd(), nullptr, m_imeMode == TImeMode::imDisable ? 0 : IACE_DEFAULT);
    return;
  }
  if (!m_imeContext) m_imeContext = ImmCreateContext();
  if (!m_imeContext) return;
  ImmAssociateContext(Hwnd(), m_imeContext);
  ImmSetOpenStatus(m_imeContext, m_imeMode != TImeMode::imClose);
  DWORD conversion = 0;
  switch (m_imeMode) {
    case TImeMode::imSAlpha: conversion = IME_CMODE_ALPHANUMERIC; break;
    case TImeMode::imAlpha: conversion = IME_CMODE_ALPHANUMERIC | IME_CMODE_FULLSHAPE; break;
    case TImeMode::imHira: conversion = IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE; break;
    case TImeMode::imSKata: conversion = IME_CMODE_NATIVE | IME_CMODE_KATAKANA; break;
    case TImeMode::imKata: conversion = IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE; break;
    case TImeMode::imChinese:
    case TImeMode::imSHanguel: conversion = IME_CMODE_NATIVE; break;
    case TImeMode::imHanguel: conversion = IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE; break;
    default: return;  // open or closed, in whatever mode it was
  }
  DWORD current = 0, sentence = 0;
  ImmGetConversionStatus(m_imeContext, &current, &sentence);
  ImmSetConversionStatus(m_imeContext, conversion, sentence);
}

void Win32Edit::ChangeStyle(DWORD mask, DWORD bits) {
  if (!Hwnd()) return;
  const DWORD style = static_cast<DWORD>(GetWindowLongW(Hwnd(), GWL_STYLE));
  if ((style & mask) == bits) return;
  SetWindowLongW(Hwnd(), GWL_STYLE, static_cast<LONG>((style & ~mask) | bits));
  InvalidateRect(Hwnd(), nullptr, TRUE);
}

void Win32Edit::ChangeCreationStyle(DWORD mask, DWORD bits) {
  if (!Hwnd()) return;
  const DWORD style = m_recreatePending ? m_wantedStyle : static_cast<DWORD>(GetWindowLongW(Hwnd(), GWL_STYLE));
  if ((style & mask) == bits) return;
  m_wantedStyle = (style & ~mask) | bits;
  m_recreatePending = true;
  if (m_handling == 0) Recreate(m_wantedStyle);
}

LRESULT Win32Edit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  ++m_handling;
  LRESULT result = 0;
  try {
    result = Win32Window::HandleMessage(message, wParam, lParam);
  } catch (...) {
    --m_handling;
    throw;
  }
  if (--m_handling == 0 && m_recreatePending && message != WM_NCDESTROY) Recreate(m_wantedStyle);
  return result;
}

void Win32Edit::Recreate(DWORD style) {
  m_recreatePending = false;
  HWND old = Hwnd();
  if (!old) return;
  // The current state goes over: what a user or the program sees stays as it was.
  style = (style & ~(WS_VISIBLE | WS_DISABLED | ES_READONLY)) |
          (static_cast<DWORD>(GetWindowLongW(old, GWL_STYLE)) & (WS_VISIBLE | WS_DISABLED | ES_READONLY));
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(old)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(old, text.data(), static_cast<int>(text.size()))));
  DWORD from = 0, to = 0;
  SendMessageW(old, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  const TRect b = Bounds();
  HWND created = CreateWindowExW(static_cast<DWORD>(GetWindowLongW(old, GWL_EXSTYLE)), L"EDIT", text.c_str(), style,
                                 b.Left, b.Top, b.Width(), b.Height(), GetParent(old),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(GetDlgCtrlID(old))), m_system.Instance(),
                                 nullptr);
  if (!created) return;
  SendMessageW(created, WM_SETFONT, static_cast<WPARAM>(SendMessageW(old, WM_GETFONT, 0, 0)), FALSE);
  SendMessageW(created, EM_SETLIMITTEXT, static_cast<WPARAM>(SendMessageW(old, EM_GETLIMITTEXT, 0, 0)), 0);
  SendMessageW(created, EM_SETPASSWORDCHAR, static_cast<WPARAM>(SendMessageW(old, EM_GETPASSWORDCHAR, 0, 0)), 0);
  SendMessageW(created, EM_SETSEL, from, to);
  SetWindowPos(created, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const bool focused = GetFocus() == old;
  ExchangeHwnd(created);
  // The focus stays with the control: the handler hears of its arrival in the same
  // control, which starts no new entry.
  if (focused) ::SetFocus(created);
  if (m_imeContext) ImmAssociateContextEx(old, nullptr, IACE_DEFAULT);
  ApplyImeMode();
  DestroyWindow(old);
}

Win32ProgressBar::Win32ProgressBar(Win32WindowSystem& system, INativeWindowHandler& handler,
                                   const TNativeWindowParams& params)
    : Win32Window(system, handler) {
  Create(PROGRESS_CLASSW, WS_CHILD | WS_CLIPSIBLINGS, 0, params, true);
}

void Win32ProgressBar::SetRange(int max) {
  if (Hwnd()) SendMessageW(Hwnd(), PBM_SETRANGE32, 0, max);
}

void Win32ProgressBar::SetPosition(int position) {
  if (Hwnd()) SendMessageW(Hwnd(), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

// ---------------------------------------------------------------------------------------
// Win32WindowSystem

namespace {

class Win32Button : public Win32Window {
 public:
  Win32Button(Win32WindowSystem& system, INativeWindowHandler& handler, const TNativeWindowParams& params)
      : Win32Window(system, handler) {
    Create(L"BUTTON", WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON, 0, params, true);
  }
};

class Win32CustomControl : public Win32Window {
 public:
  Win32CustomControl(Win32WindowSystem& system, INativeWindowHandler& handler, const TNativeWindowParams& params)
      : Win32Window(system, handler) {
    Create(kControlClass, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, params, false);
  }
};

}  // namespace

Win32WindowSystem::Win32WindowSystem(HINSTANCE instance) : m_instance(instance) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  RegisterClasses();
}

Win32WindowSystem::~Win32WindowSystem() {
  for (auto& [key, font] : m_fonts) DeleteObject(font);
}

void Win32WindowSystem::RegisterClasses() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &Win32Window::OwnClassProc;
  wc.hInstance = m_instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = kControlClass;
  RegisterClassExW(&wc);
  wc.lpszClassName = kFormClass;
  wc.hIcon = LoadIconW(m_instance, MAKEINTRESOURCEW(1));
  RegisterClassExW(&wc);
}

std::unique_ptr<INativeForm> Win32WindowSystem::CreateForm(const TNativeWindowParams& params,
                                                           const TNativeFormStyle& style,
                                                           INativeWindowHandler& handler) {
  return std::make_unique<Win32Form>(*this, handler, params, style);
}

std::unique_ptr<INativeWindow> Win32WindowSystem::CreateCustomControl(const TNativeWindowParams& params,
                                                                      INativeWindowHandler& handler) {
  return std::make_unique<Win32CustomControl>(*this, handler, params);
}

std::unique_ptr<INativeEdit> Win32WindowSystem::CreateEdit(const TNativeWindowParams& params,
                                                           const TNativeEditStyle& style,
                                                           INativeWindowHandler& handler) {
  return std::make_unique<Win32Edit>(*this, handler, params, style);
}

std::unique_ptr<INativeWindow> Win32WindowSystem::CreateButton(const TNativeWindowParams& params,
                                                               const TNativeButtonStyle&,
                                                               INativeWindowHandler& handler) {
  return std::make_unique<Win32Button>(*this, handler, params);
}

std::unique_ptr<INativeWindow> Win32WindowSystem::CreateMessageWindow(INativeWindowHandler&) { return nullptr; }
std::unique_ptr<ITimer> Win32WindowSystem::CreateTimer(std::function<void()>) { return nullptr; }
int Win32WindowSystem::SystemMetric(TSystemMetric metric) const { return GetSystemMetrics(static_cast<int>(metric)); }
TColor Win32WindowSystem::SystemColor(int index) const { return GetSysColor(index); }
TPoint Win32WindowSystem::CursorPos() const { return {}; }
INativeWindow* Win32WindowSystem::WindowFromPoint(TPoint) const { return nullptr; }
bool Win32WindowSystem::IsMouseCaptured() const { return GetCapture() != nullptr; }

std::unique_ptr<INativeProgressBar> Win32WindowSystem::CreateProgressBar(const TNativeWindowParams& params,
                                                                         INativeWindowHandler& handler) {
  return std::make_unique<Win32ProgressBar>(*this, handler, params);
}

bool Win32WindowSystem::PreTranslate(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  Win32Window* window = Win32Window::FromHwnd(message.hwnd);
  if (!window || !window->Handler()) return false;
  try {
    return window->Handler()->NativeDialogKey(static_cast<TKey>(message.wParam), CurrentShiftState());
  } catch (...) {
    return false;
  }
}

void Win32WindowSystem::RunMessageLoop() {
  MSG message;
  while (!m_quitting && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32WindowSystem::Quit() {
  m_quitting = true;
  PostQuitMessage(0);
}

void Win32WindowSystem::ProcessMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32WindowSystem::RemovePendingCharacter(INativeWindow& window) {
  MSG message;
  HWND hwnd = static_cast<HWND>(window.Handle());
  while (PeekMessageW(&message, hwnd, WM_CHAR, WM_CHAR, PM_REMOVE)) {
  }
}

TSize Win32WindowSystem::MeasureText(std::string_view text, const TFontSpec& font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, FontFor(font));
  const std::wstring wide = Widen(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return {size.cx, size.cy};
}

TRect Win32WindowSystem::ScreenRect() const {
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int Win32WindowSystem::ScreenDpi() const {
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi;
}

bool Win32WindowSystem::IsKeyDown(TKey key) const { return GetKeyState(key) < 0; }

TShiftState Win32WindowSystem::CurrentShiftState() {
  TShiftState shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

HFONT Win32WindowSystem::FontFor(const TFontSpec& font) {
  const auto key = std::make_tuple(Widen(font.Name), font.Height, font.Bold, font.Italic, font.Underline);
  if (auto found = m_fonts.find(key); found != m_fonts.end()) return found->second;
  HFONT handle = CreateFontW(font.Height, 0, 0, 0, font.Bold ? FW_BOLD : FW_NORMAL, font.Italic, font.Underline, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, std::get<0>(key).c_str());
  m_fonts.emplace(key, handle);
  return handle;
}

}  // namespace vormix
