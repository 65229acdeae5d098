#include "platform/win32/Win32WindowSystem.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "platform/win32/Win32BitmapCanvas.h"
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

bool IsDoubleClick(UINT message) {
  return message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
}

// The modifier keys and buttons of a mouse message (its MK_ flags), plus Alt.
TShiftState MouseShift(UINT message, WPARAM keys) {
  TShiftState shift = 0;
  if (keys & MK_SHIFT) shift |= ssShift;
  if (keys & MK_CONTROL) shift |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  if (keys & MK_LBUTTON) shift |= ssLeft;
  if (keys & MK_RBUTTON) shift |= ssRight;
  if (keys & MK_MBUTTON) shift |= ssMiddle;
  if (IsDoubleClick(message)) shift |= ssDouble;
  return shift;
}

TMouseButton ButtonOf(UINT message) {
  switch (message) {
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: case WM_RBUTTONUP: return TMouseButton::mbRight;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_MBUTTONUP: return TMouseButton::mbMiddle;
    default: return TMouseButton::mbLeft;
  }
}

HCURSOR CursorHandle(TCursor cursor) {
  const wchar_t* id = IDC_ARROW;
  if (cursor == TCursor::crHandPoint) id = IDC_HAND;
  if (cursor == TCursor::crIBeam) id = IDC_IBEAM;
  return LoadCursorW(nullptr, id);
}

// A window's device context, given back however the drawing ends.
class TWindowDC {
 public:
  explicit TWindowDC(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDC(hwnd)) {}
  ~TWindowDC() { ReleaseDC(m_hwnd, m_dc); }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC Dc() const { return m_dc; }

 private:
  HWND m_hwnd;
  HDC m_dc;
};

HRGN RegionHandle(const TRegion& region) {
  HRGN result = CreateRectRgn(0, 0, 0, 0);
  for (const TRect& r : region.Rects()) {
    HRGN part = CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
    CombineRgn(result, result, part, RGN_OR);
    DeleteObject(part);
  }
  return result;
}

TRegion RegionFrom(HRGN handle) {
  const DWORD size = GetRegionData(handle, 0, nullptr);
  if (size == 0) return {};
  std::vector<RGNDATA> buffer(size / sizeof(RGNDATA) + 1);  // RGNDATA-aligned bytes
  if (!GetRegionData(handle, size, buffer.data())) return {};
  const RGNDATA& data = buffer.front();
  const RECT* rects = reinterpret_cast<const RECT*>(data.Buffer);
  TRegion region;
  for (DWORD i = 0; i < data.rdh.nCount; ++i)
    region = region.Union(TRegion(TRect{rects[i].left, rects[i].top, rects[i].right, rects[i].bottom}));
  return region;
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
  // The paint ends however the handler's drawing ends: a window left invalid would be
  // asked to paint again and again.
  struct TPaint {
    HWND Hwnd;
    PAINTSTRUCT Ps{};
    HDC Dc = BeginPaint(Hwnd, &Ps);
    ~TPaint() { EndPaint(Hwnd, &Ps); }
  } paint{m_hwnd};
  Win32Canvas canvas(paint.Dc, m_system);
  if (m_handler) m_handler->NativePaint(canvas);
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
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK:
      if (m_handler && !m_handler->NativeMouseDown(ButtonOf(message), PointFrom(lParam), MouseShift(message, wParam)))
        return 0;
      return CallDefault(message, wParam, lParam);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const LRESULT result = CallDefault(message, wParam, lParam);
      if (m_handler) m_handler->NativeMouseUp(ButtonOf(message), PointFrom(lParam), MouseShift(message, wParam));
      return result;
    }
    case WM_MOUSEMOVE:
      MouseMoved(PointFrom(lParam), MouseShift(message, wParam));
      break;
    case WM_MOUSELEAVE:
      m_trackingMouse = false;
      if (m_handler) m_handler->NativeMouseLeave();
      break;
    case WM_MOUSEWHEEL:
      if (m_handler && m_handler->NativeMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam), ScreenToClient(PointFrom(lParam)),
                                                   MouseShift(message, GET_KEYSTATE_WPARAM(wParam))))
        return 0;
      break;  // unused: the default handling passes it on to the parent
    case WM_CAPTURECHANGED: {
      const LRESULT result = CallDefault(message, wParam, lParam);
      if (m_handler) m_handler->NativeCaptureLost();
      return result;
    }
    case WM_CANCELMODE:
      return CancelMode(wParam, lParam);
    case WM_SETCURSOR:
      if (SetCursorShape(wParam, lParam)) return TRUE;
      break;
    case WM_DRAWITEM:
      if (DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_CONTEXTMENU: {
      // Unused, the default handling passes the request on to the parent.
      const bool keyboard = lParam == -1;
      if (m_handler && m_handler->NativeContextMenu(keyboard ? TPoint{} : PointFrom(lParam), keyboard)) return 0;
      break;
    }
    case WM_PRINTCLIENT:
      if (IsOwnClass()) {
        Win32Canvas canvas(reinterpret_cast<HDC>(wParam), m_system);
        if (m_handler) m_handler->NativePaint(canvas);
        return 0;
      }
      break;
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
      // The paint covers every pixel: of our own windows always, of a system control
      // when its handler says so.
      if (!m_original || (m_handler && m_handler->NativeEraseBackground())) return 1;
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

void Win32Window::MouseMoved(TPoint at, TShiftState shift) {
  if (!m_trackingMouse) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hwnd, 0};
    m_trackingMouse = TrackMouseEvent(&track) != FALSE;
    if (m_handler) m_handler->NativeMouseEnter();
  }
  if (m_handler) m_handler->NativeMouseMove(at, shift);
}

// The default handling gives the capture back when the window holds it, and the window
// hears that as the capture's loss; otherwise the cancelled mode is told here.
LRESULT Win32Window::CancelMode(WPARAM wParam, LPARAM lParam) {
  const bool captured = GetCapture() == m_hwnd;
  const LRESULT result = CallDefault(WM_CANCELMODE, wParam, lParam);
  if (m_handler && (!captured || GetCapture() == m_hwnd)) m_handler->NativeCaptureLost();
  return result;
}

bool Win32Window::SetCursorShape(WPARAM wParam, LPARAM lParam) const {
  if (reinterpret_cast<HWND>(wParam) != m_hwnd || LOWORD(lParam) != HTCLIENT || m_cursor == TCursor::crDefault)
    return false;
  ::SetCursor(CursorHandle(m_cursor));
  return true;
}

// The system asks an owner-drawn button's parent to draw it; the button's own handler does.
bool Win32Window::DrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_BUTTON) return false;
  Win32Window* button = FromHwnd(item.hwndItem);
  if (!button || !button->m_handler) return false;
  Win32Canvas canvas(item.hDC, m_system);
  button->m_handler->NativeDrawItem(canvas, (item.itemState & ODS_SELECTED) != 0, (item.itemState & ODS_FOCUS) != 0);
  return true;
}

void Win32Window::PaintNow() {
  if (!m_hwnd) return;
  if (!IsOwnClass()) {
    RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);  // the system control paints itself
    return;
  }
  // Wine keeps what is drawn into a window's device context in a surface of its own and
  // hands it to the screen when a paint ends or messages are fetched: a window painted
  // straight into its device context while the program handles no messages would not
  // change on the screen. So at most every 50 ms (as often as Wine shows a surface
  // anyway) the paint goes through the system's paint; in between it is drawn straight
  // in, which costs a hundredth of it. Both run the same handler call.
  const ULONGLONG now = GetTickCount64();
  if (now - m_lastSystemPaint >= 50) {
    m_lastSystemPaint = now;
    RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return;
  }
  TWindowDC dc(m_hwnd);
  Win32Canvas canvas(dc.Dc(), m_system);
  if (m_handler) m_handler->NativePaint(canvas);
}

// The frame comes from the system (WM_PRINT, frame only: Wine's WM_PRINT draws no frame
// and no children, and puts the client area at the window's corner, so the client area
// and the children are placed here). The viewport origin carries the placement, which
// leaves the canvas's own origin to the code that draws.
void Win32Window::PrintTo(ICanvas& canvas) {
  if (!m_hwnd) return;
  HDC dc = static_cast<HDC>(canvas.NativeHandle());
  if (!dc) {
    if (IsOwnClass() && m_handler) m_handler->NativePaint(canvas);
    return;
  }
  SendMessageW(m_hwnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT);
  const TPoint client = ClientOffset();
  POINT viewport{};
  OffsetViewportOrgEx(dc, client.X, client.Y, &viewport);
  const int saved = canvas.Save();
  const TSize size = ClientSize();
  canvas.IntersectClipRect({0, 0, size.Width, size.Height});
  if (IsOwnClass()) {
    if (m_handler) m_handler->NativePaint(canvas);
  } else {
    SendMessageW(m_hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(m_hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  }
  PrintChildren(canvas);
  canvas.Restore(saved);
  SetViewportOrgEx(dc, viewport.x, viewport.y, nullptr);
}

// The showing children over the client area, from the bottom of the z-order up, each at
// its place.
void Win32Window::PrintChildren(ICanvas& canvas) {
  HDC dc = static_cast<HDC>(canvas.NativeHandle());
  HWND top = GetWindow(m_hwnd, GW_CHILD);
  if (!top) return;
  for (HWND child = GetWindow(top, GW_HWNDLAST); child; child = GetWindow(child, GW_HWNDPREV)) {
    if (!IsWindowVisible(child)) continue;
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, m_hwnd, reinterpret_cast<POINT*>(&r), 2);
    POINT viewport{};
    OffsetViewportOrgEx(dc, r.left, r.top, &viewport);
    if (Win32Window* window = FromHwnd(child)) window->PrintTo(canvas);
    else SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    SetViewportOrgEx(dc, viewport.x, viewport.y, nullptr);
  }
}

TPoint Win32Window::ClientOffset() const {
  RECT window{};
  POINT client{0, 0};
  GetWindowRect(m_hwnd, &window);
  ::ClientToScreen(m_hwnd, &client);
  return {client.x - window.left, client.y - window.top};
}

// The system keeps a window's region in window coordinates; the port speaks of the
// client area's.
void Win32Window::SetRegion(const std::optional<TRegion>& region) {
  if (!m_hwnd) return;
  const TPoint offset = ClientOffset();
  HRGN handle = region ? RegionHandle(region->Offset(offset.X, offset.Y)) : nullptr;
  if (!SetWindowRgn(m_hwnd, handle, TRUE) && handle) DeleteObject(handle);
}

std::optional<TRegion> Win32Window::Region() const {
  if (!m_hwnd) return std::nullopt;
  HRGN handle = CreateRectRgn(0, 0, 0, 0);
  std::optional<TRegion> region;
  if (GetWindowRgn(m_hwnd, handle) != ERROR) {
    const TPoint offset = ClientOffset();
    region = RegionFrom(handle).Offset(-offset.X, -offset.Y);
  }
  DeleteObject(handle);
  return region;
}

void Win32Window::SetCapture() {
  if (m_hwnd) ::SetCapture(m_hwnd);
}

void Win32Window::ReleaseCapture() {
  if (HasCapture()) ::ReleaseCapture();
}

bool Win32Window::HasCapture() const { return m_hwnd && GetCapture() == m_hwnd; }

// The shape changes at once when the pointer is over the client area already.
void Win32Window::SetCursor(TCursor cursor) {
  m_cursor = cursor;
  POINT p{};
  if (!m_hwnd || !GetCursorPos(&p) || ::WindowFromPoint(p) != m_hwnd) return;
  const TPoint at = ScreenToClient({p.x, p.y});
  const TSize size = ClientSize();
  if (TRect{0, 0, size.Width, size.Height}.Contains(at))
    SendMessageW(m_hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

TPoint Win32Window::ClientToScreen(TPoint p) const {
  POINT point{p.X, p.Y};
  if (m_hwnd) ::ClientToScreen(m_hwnd, &point);
  return {point.x, point.y};
}

TPoint Win32Window::ScreenToClient(TPoint p) const {
  POINT point{p.X, p.Y};
  if (m_hwnd) ::ScreenToClient(m_hwnd, &point);
  return {point.x, point.y};
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
    case WM_ACTIVATEAPP:
      if (Handler()) Handler()->NativeApplicationActivated(wParam != FALSE);
      break;
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
// Win32Edit

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
  Create(L"EDIT", ws, style.ClientEdge ? WS_EX_CLIENTEDGE : 0, params, true);
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
  if (m_handling == 0 && message != WM_NCDESTROY && message != WM_DESTROY) NotifyIfScrolled();
  return result;
}

void Win32Edit::NotifyIfScrolled() {
  if (!Hwnd() || !Handler() || !(GetWindowLongW(Hwnd(), GWL_STYLE) & ES_MULTILINE)) return;
  const TNativeScrollInfo vertical = ScrollInfo(true), horizontal = ScrollInfo(false);
  if (vertical == m_reportedVertical && horizontal == m_reportedHorizontal) return;
  m_reportedVertical = vertical;
  m_reportedHorizontal = horizontal;
  Handler()->NativeScrolled();
}

std::size_t Win32Edit::RowCount() const {
  return Hwnd() ? static_cast<std::size_t>(SendMessageW(Hwnd(), EM_GETLINECOUNT, 0, 0)) : 0;
}

std::size_t Win32Edit::RowStart(std::size_t row) const {
  if (!Hwnd()) return std::size_t(-1);
  const LRESULT start = SendMessageW(Hwnd(), EM_LINEINDEX, row, 0);
  return start < 0 ? std::size_t(-1) : static_cast<std::size_t>(start);
}

std::size_t Win32Edit::FirstVisibleRow() const {
  return Hwnd() ? static_cast<std::size_t>(SendMessageW(Hwnd(), EM_GETFIRSTVISIBLELINE, 0, 0)) : 0;
}

TNativeScrollInfo Win32Edit::ScrollInfo(bool vertical) const {
  const DWORD bar = vertical ? WS_VSCROLL : WS_HSCROLL;
  if (!Hwnd() || !(GetWindowLongW(Hwnd(), GWL_STYLE) & bar)) return {};
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  if (!GetScrollInfo(Hwnd(), vertical ? SB_VERT : SB_HORZ, &info)) return {};
  return {info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos};
}

void Win32Edit::Scroll(bool vertical, TNativeScrollCode code, int position) {
  if (!Hwnd()) return;
  if (vertical && (code == TNativeScrollCode::Position || code == TNativeScrollCode::Track)) {
    // By rows from the first one in view: a scroll message carries only 16 bits of
    // position, fewer than the rows a large batch has.
    const int first = static_cast<int>(FirstVisibleRow());
    if (position != first) SendMessageW(Hwnd(), EM_LINESCROLL, 0, position - first);
    return;
  }
  const WPARAM request = MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(std::clamp(position, 0, 0xFFFF)));
  SendMessageW(Hwnd(), vertical ? WM_VSCROLL : WM_HSCROLL, request, 0);
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

// ---------------------------------------------------------------------------------------
// Win32WindowSystem

namespace {

class Win32Button : public Win32Window {
 public:
  Win32Button(Win32WindowSystem& system, INativeWindowHandler& handler, const TNativeWindowParams& params,
              const TNativeButtonStyle& style)
      : Win32Window(system, handler), m_ownerDraw(style.OwnerDraw) {
    DWORD ws = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | (style.Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    if (style.MultiLine) ws |= BS_MULTILINE;
    if (style.OwnerDraw) ws |= BS_OWNERDRAW;
    Create(L"BUTTON", ws, 0, params, true);
  }

  // An owner-drawn button paints through the handler's draw request, in the state the
  // system's button is in.
  void PaintNow() override {
    if (!m_ownerDraw || !Hwnd() || !Handler()) {
      Win32Window::PaintNow();
      return;
    }
    const bool selected = (SendMessageW(Hwnd(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    TWindowDC dc(Hwnd());
    Win32Canvas canvas(dc.Dc(), m_system);
    Handler()->NativeDrawItem(canvas, selected, GetFocus() == Hwnd());
  }

 protected:
  // The system's owner-drawn button takes a double click for a notification of its
  // own and would not press; a double click is a second press, so two quick clicks
  // are two clicks.
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_LBUTTONDBLCLK) return Win32Window::HandleMessage(message, wParam, lParam);
    if (Handler() && !Handler()->NativeMouseDown(TMouseButton::mbLeft, PointFrom(lParam), MouseShift(message, wParam)))
      return 0;
    return CallDefault(WM_LBUTTONDOWN, wParam, lParam);
  }

 private:
  bool m_ownerDraw;
};

// A hidden top-level window: broadcasts reach top-level windows only (a message-only
// window would never hear them).
class Win32MessageWindow : public Win32Window {
 public:
  Win32MessageWindow(Win32WindowSystem& system, INativeWindowHandler& handler) : Win32Window(system, handler) {
    TNativeWindowParams params;
    params.Visible = false;
    Create(kControlClass, WS_POPUP, WS_EX_TOOLWINDOW, params, false);
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_THEMECHANGED:
        if (Handler()) Handler()->NativeThemeChanged();
        break;
      case WM_SYSCOLORCHANGE:
        if (Handler()) Handler()->NativeSystemColorsChanged();
        break;
      case WM_TIMER:
        m_system.Tick(wParam);
        return 0;
      default:
        break;
    }
    return Win32Window::HandleMessage(message, wParam, lParam);
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
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  RegisterClasses();
}

Win32WindowSystem::~Win32WindowSystem() = default;

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
                                                               const TNativeButtonStyle& style,
                                                               INativeWindowHandler& handler) {
  return std::make_unique<Win32Button>(*this, handler, params, style);
}

std::unique_ptr<INativeWindow> Win32WindowSystem::CreateMessageWindow(INativeWindowHandler& handler) {
  return std::make_unique<Win32MessageWindow>(*this, handler);
}

int Win32WindowSystem::SystemMetric(TSystemMetric metric) const { return GetSystemMetrics(static_cast<int>(metric)); }
TColor Win32WindowSystem::SystemColor(int index) const { return GetSysColor(index); }

TPoint Win32WindowSystem::CursorPos() const {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

INativeWindow* Win32WindowSystem::WindowFromPoint(TPoint screen) const {
  // The system's answer may be a part of a system control, or another program's window.
  HWND desktop = GetDesktopWindow();
  for (HWND h = ::WindowFromPoint(POINT{screen.X, screen.Y}); h && h != desktop; h = GetAncestor(h, GA_PARENT))
    if (Win32Window* window = Win32Window::FromHwnd(h)) return window;
  return nullptr;
}

bool Win32WindowSystem::IsMouseCaptured() const { return GetCapture() != nullptr; }

// ---------------------------------------------------------------------------------------
// Timers

class Win32Timer : public ITimer {
 public:
  Win32Timer(Win32WindowSystem& system, std::function<void()> onTick)
      : m_system(system), m_onTick(std::move(onTick)), m_id(system.AddTimer(this)) {}
  ~Win32Timer() override {
    SetEnabled(false);
    m_system.RemoveTimer(m_id);
  }

  void SetInterval(int milliseconds) override {
    if (milliseconds == m_interval) return;
    m_interval = milliseconds;
    if (m_enabled) Start();  // setting a running timer again restarts its count
  }
  int Interval() const override { return m_interval; }
  void SetEnabled(bool enabled) override {
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    if (enabled) Start();
    else KillTimer(m_system.TimerWindow(), m_id);
  }
  bool Enabled() const override { return m_enabled; }
  const std::function<void()>& OnTick() const { return m_onTick; }

 private:
  void Start() {
    SetTimer(m_system.TimerWindow(), m_id, static_cast<UINT>(std::max<int>(m_interval, USER_TIMER_MINIMUM)), nullptr);
  }

  Win32WindowSystem& m_system;
  std::function<void()> m_onTick;
  UINT_PTR m_id;
  int m_interval = 1000;
  bool m_enabled = false;
};

std::unique_ptr<ITimer> Win32WindowSystem::CreateTimer(std::function<void()> onTick) {
  return std::make_unique<Win32Timer>(*this, std::move(onTick));
}

UINT_PTR Win32WindowSystem::AddTimer(Win32Timer* timer) {
  const UINT_PTR id = m_nextTimerId++;
  m_timers.emplace(id, timer);
  return id;
}

void Win32WindowSystem::RemoveTimer(UINT_PTR id) { m_timers.erase(id); }

HWND Win32WindowSystem::TimerWindow() {
  if (!m_timerWindow) m_timerWindow = std::make_unique<Win32MessageWindow>(*this, m_noHandler);
  return m_timerWindow->Hwnd();
}

// A tick message may still be queued when its timer has stopped or gone, and a tick
// that handles messages itself may find its next one; neither runs.
void Win32WindowSystem::Tick(UINT_PTR id) {
  auto found = m_timers.find(id);
  if (found == m_timers.end() || !found->second->Enabled() || m_ticking.count(id)) return;
  struct TTicking {
    std::set<UINT_PTR>& Ticking;
    UINT_PTR Id;
    ~TTicking() { Ticking.erase(Id); }
  } ticking{m_ticking, id};
  m_ticking.insert(id);
  // The timer may be destroyed by its own tick; the copy keeps what runs alive.
  const std::function<void()> tick = found->second->OnTick();
  if (tick) tick();
}

bool Win32WindowSystem::PreTranslate(MSG& message) {
  if (message.message == WM_MOUSEWHEEL) {
    if (HWND focus = GetFocus()) message.hwnd = focus;
    return false;
  }
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

void Win32WindowSystem::RunModalLoop(const std::function<bool()>& finished) {
  MSG message;
  while (!m_quitting && !finished()) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      // The quit request belongs to the outer loop: put it back for that one.
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

std::unique_ptr<IBitmapCanvas> Win32WindowSystem::CreateBitmapCanvas(int width, int height) {
  return std::make_unique<Win32BitmapCanvas>(width, height, m_fonts);
}

// The icon's colour and mask bitmaps, read back through 32-bit device-independent rows.
TImage Win32WindowSystem::ApplicationIcon(TColor transparent) const {
  constexpr int kSize = 32;
  HICON icon = static_cast<HICON>(LoadImageW(m_instance, MAKEINTRESOURCEW(1), IMAGE_ICON, kSize, kSize, 0));
  if (!icon) return {};
  ICONINFO info{};
  TImage picture;
  if (GetIconInfo(icon, &info)) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = kSize;
    bi.bmiHeader.biHeight = -kSize;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    std::vector<std::uint32_t> colors(kSize * kSize), mask(kSize * kSize);
    HDC dc = GetDC(nullptr);
    const bool read = info.hbmColor &&
                      GetDIBits(dc, info.hbmColor, 0, kSize, colors.data(), &bi, DIB_RGB_COLORS) == kSize &&
                      GetDIBits(dc, info.hbmMask, 0, kSize, mask.data(), &bi, DIB_RGB_COLORS) == kSize;
    ReleaseDC(nullptr, dc);
    if (read) {
      picture = TImage(kSize, kSize);
      for (int i = 0; i < kSize * kSize; ++i) {
        const std::uint32_t c = colors[static_cast<std::size_t>(i)];
        picture.Pixels[static_cast<std::size_t>(i)] =
            (mask[static_cast<std::size_t>(i)] & 0xFFFFFF) != 0
                ? transparent
                : RGBColor(static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                           static_cast<std::uint8_t>(c));
      }
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
  }
  DestroyIcon(icon);
  return picture;
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

}  // namespace vormix
