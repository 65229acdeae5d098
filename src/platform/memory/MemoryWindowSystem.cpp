#include "platform/memory/MemoryWindowSystem.h"

#include <algorithm>
#include <utility>

#include "base/Utf.h"

namespace vormix {

// ---------------------------------------------------------------------------------------
// MemoryWindow

MemoryWindow::MemoryWindow(MemoryWindowSystem& system, TMemoryWindowKind kind,
                           const TNativeWindowParams& params, INativeWindowHandler& handler)
    : m_system(system),
      m_text(params.Text),
      m_kind(kind),
      m_parent(dynamic_cast<MemoryWindow*>(params.Parent)),
      m_bounds(params.Bounds),
      m_font(params.Font),
      m_handler(handler),
      m_id(params.Id),
      m_visible(params.Visible) {
  m_system.Register(this);
}

MemoryWindow::~MemoryWindow() { m_system.Unregister(this); }

void MemoryWindow::SetText(const std::string& text) {
  m_text = text;
  Invalidate();
}

void MemoryWindow::SetFocus() { m_system.MoveFocus(this); }

bool MemoryWindow::HasFocus() const { return m_system.Focused() == this; }

bool MemoryWindow::IsShowing() const {
  for (const MemoryWindow* w = this; w; w = w->m_parent)
    if (!w->m_visible) return false;
  return true;
}

bool MemoryWindow::CanTakeFocus() const {
  for (const MemoryWindow* w = this; w; w = w->m_parent)
    if (!w->m_visible || !w->m_enabled) return false;
  return true;
}

TPoint MemoryWindow::ScreenOrigin() const {
  TPoint origin;
  for (const MemoryWindow* w = this; w; w = w->m_parent) {
    origin.X += w->m_bounds.Left;
    origin.Y += w->m_bounds.Top;
    if (w->m_kind == TMemoryWindowKind::Form) {
      origin.X += MemoryForm::kFrame;
      origin.Y += MemoryForm::kCaption;
    }
  }
  return origin;
}

TRect MemoryWindow::ScreenBounds() const {
  if (!m_parent) return m_bounds;
  const TPoint parent = m_parent->ScreenOrigin();
  return m_bounds.Offset(parent.X, parent.Y);
}

MemoryWindow* MemoryWindow::HitTest(TPoint screen) {
  if (!m_visible || !ScreenBounds().Contains(screen)) return nullptr;
  if (m_region && !m_region->Contains(ScreenToClient(screen))) return nullptr;
  const TPoint at = ScreenToClient(screen);
  const TSize client = ClientSize();
  if (TRect{0, 0, client.Width, client.Height}.Contains(at)) {
    // Children lie above their parent, the later created above the earlier.
    const std::vector<MemoryWindow*>& windows = m_system.Windows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
      if ((*it)->m_parent == this)
        if (MemoryWindow* hit = (*it)->HitTest(screen)) return hit;
  }
  return this;
}

bool MemoryWindow::HasHandlerPicture() const {
  return m_kind == TMemoryWindowKind::Form || m_kind == TMemoryWindowKind::Custom;
}

void MemoryWindow::DrawPicture(ICanvas& canvas) { m_handler.NativePaint(canvas); }

void MemoryWindow::Paint() {
  m_invalid = false;
  ++m_paintCount;
  if (!HasHandlerPicture()) return;
  const TSize size = ClientSize();
  m_canvas.Resize(size.Width, size.Height, clNone);
  DrawPicture(m_canvas);
}

void MemoryWindow::Update() {
  if (m_invalid && IsShowing()) Paint();
}

void MemoryWindow::PaintNow() { Paint(); }

void MemoryWindow::PrintTo(ICanvas& canvas) {
  const TPoint client = ScreenOrigin(), window = ScreenBounds().TopLeft();
  PrintClientArea(canvas, {client.X - window.X, client.Y - window.Y});
}

// Draws the client area with its top-left corner at the canvas's logical point, then the
// showing children over it, each at its place.
void MemoryWindow::PrintClientArea(ICanvas& canvas, TPoint at) {
  const TPoint origin = canvas.WindowOrigin();
  canvas.SetWindowOrigin({origin.X - at.X, origin.Y - at.Y});
  const int saved = canvas.Save();
  const TSize size = ClientSize();
  canvas.IntersectClipRect({0, 0, size.Width, size.Height});
  if (HasHandlerPicture()) DrawPicture(canvas);
  std::vector<MemoryWindow*> children;
  for (MemoryWindow* w : m_system.Windows())
    if (w->m_parent == this && w->m_visible) children.push_back(w);
  for (MemoryWindow* child : children) {
    if (!m_system.IsAlive(child)) continue;
    const TPoint offset = child->ScreenOrigin();
    const TPoint mine = ScreenOrigin();
    child->PrintClientArea(canvas, {offset.X - mine.X, offset.Y - mine.Y});
  }
  canvas.Restore(saved);
  canvas.SetWindowOrigin(origin);
}

void MemoryWindow::SetCapture() { m_system.SetCaptureWindow(this); }

void MemoryWindow::ReleaseCapture() {
  if (HasCapture()) m_system.SetCaptureWindow(nullptr);
}

bool MemoryWindow::HasCapture() const { return m_system.CaptureWindow() == this; }

TPoint MemoryWindow::ClientToScreen(TPoint p) const {
  const TPoint origin = ScreenOrigin();
  return {p.X + origin.X, p.Y + origin.Y};
}

TPoint MemoryWindow::ScreenToClient(TPoint p) const {
  const TPoint origin = ScreenOrigin();
  return {p.X - origin.X, p.Y - origin.Y};
}

// ---------------------------------------------------------------------------------------
// MemoryForm

void MemoryForm::SetClientSize(TSize size) {
  m_clientSize = size;
  TRect b = Bounds();
  b.Right = b.Left + size.Width + 2 * kFrame;
  b.Bottom = b.Top + size.Height + kCaption + kFrame;
  SetBounds(b);
}

void MemoryForm::Show() {
  SetVisible(true);
  Invalidate();
}

void MemoryForm::Activate() { Handler().NativeActivated(); }

// ---------------------------------------------------------------------------------------
// MemoryEdit

MemoryEdit::MemoryEdit(MemoryWindowSystem& system, const TNativeWindowParams& params,
                       const TNativeEditStyle& style, INativeWindowHandler& handler)
    : MemoryWindow(system, TMemoryWindowKind::Edit, params, handler),
      m_style(style),
      m_units(Utf8ToUtf16(params.Text)),
      m_alignment(style.Alignment),
      m_charCase(style.CharCase),
      m_hideSelection(style.HideSelection) {
  ApplyCharCase(m_units);
}

std::string MemoryEdit::Text() const { return Utf16ToUtf8(m_units); }

void MemoryEdit::SetText(const std::string& text) {
  if (Utf16Length(text) > MaxTextLength) return;  // refused, as the system's control refuses
  m_units = Utf8ToUtf16(text);
  ApplyCharCase(m_units);  // the system's control converts a text it is given too
  m_anchor = m_caret = 0;
  m_firstRow = m_xOffset = 0;  // a new text is shown from its start
  ++m_changes;
  Invalidate();
  Handler().NativeTextChanged();
  NotifyScrolled();
}

bool MemoryEdit::SetTextChecked(const std::string& text) {
  if (Utf16Length(text) > MaxTextLength) return false;
  SetText(text);
  return true;
}

void MemoryEdit::GetSelection(std::size_t& start, std::size_t& length) const {
  start = SelStart();
  length = SelEnd() - SelStart();
}

void MemoryEdit::SetSelection(std::size_t start, std::size_t length) {
  m_anchor = std::min(start, m_units.size());
  m_caret = std::min(start + length, m_units.size());
}

void MemoryEdit::ReplaceSelection(const std::string& text) {
  Replace(SelStart(), SelEnd(), Utf8ToUtf16(text));
}

void MemoryEdit::Replace(std::size_t start, std::size_t end, std::u16string_view with) {
  m_units.replace(start, end - start, with);
  m_anchor = m_caret = start + with.size();
  ++m_changes;
  Invalidate();
  Handler().NativeTextChanged();
  ScrollCaretIntoView();
}

void MemoryEdit::DefaultKeyDown(TKey key, TShiftState shift) {
  const bool extend = (shift & ssShift) != 0;
  auto moveTo = [&](std::size_t pos) {
    m_caret = pos;
    if (!extend) m_anchor = pos;
  };
  switch (key) {
    case vk::Left:
      if (!extend && m_anchor != m_caret) moveTo(SelStart());
      else moveTo(m_caret > 0 ? m_caret - 1 : 0);
      break;
    case vk::Right:
      if (!extend && m_anchor != m_caret) moveTo(SelEnd());
      else moveTo(std::min(m_caret + 1, m_units.size()));
      break;
    case vk::Home: moveTo(0); break;
    case vk::End: moveTo(m_units.size()); break;
    case vk::Prior: Scroll(true, TNativeScrollCode::PageUp, 0); return;
    case vk::Next: Scroll(true, TNativeScrollCode::PageDown, 0); return;
    case vk::Delete:
      if (m_style.ReadOnly) break;
      if (shift & ssShift) { CutOrCopy(true); break; }
      if (SelStart() != SelEnd()) Replace(SelStart(), SelEnd(), u"");
      else if (m_caret < m_units.size()) Replace(m_caret, m_caret + 1, u"");
      break;
    default: return;
  }
  ScrollCaretIntoView();  // the control keeps the caret in view as it moves
}

void MemoryEdit::DefaultChar(char16_t ch) {
  switch (ch) {
    case 3: CutOrCopy(false); return;
    case 22: if (!m_style.ReadOnly) Paste(); return;
    case 24: if (!m_style.ReadOnly) CutOrCopy(true); return;
    case 8:
      if (m_style.ReadOnly) return;
      if (SelStart() != SelEnd()) Replace(SelStart(), SelEnd(), u"");
      else if (m_caret > 0) Replace(m_caret - 1, m_caret, u"");
      return;
    case 13:
      // A single-line edit control answers Enter with the warning beep.
      if (!m_style.MultiLine) m_system.Beep().MessageBeep(0);
      else if (!m_style.ReadOnly) Replace(SelStart(), SelEnd(), u"\r\n");
      return;
    case 9:
      if (m_style.MultiLine && !m_style.ReadOnly) Replace(SelStart(), SelEnd(), u"\t");
      return;
    default:
      if (ch < 32 || m_style.ReadOnly) return;
      InsertTyped(std::u16string(1, ch));
  }
}

void MemoryEdit::DefaultMouseDown(TPoint) {
  SetFocus();
  m_anchor = m_caret = m_units.size();
}

void MemoryEdit::Paste() {
  if (!Handler().NativePaste()) return;
  std::optional<std::string> text = m_system.Clipboard().Text();
  if (!text) return;
  std::u16string units = Utf8ToUtf16(*text);
  if (!m_style.MultiLine) units = units.substr(0, units.find_first_of(u"\r\n"));
  InsertTyped(units);
}

void MemoryEdit::CutOrCopy(bool cut) {
  if (SelStart() == SelEnd()) return;
  if (cut && !Handler().NativeCut()) return;
  m_system.Clipboard().SetText(Utf16ToUtf8(m_units.substr(SelStart(), SelEnd() - SelStart())));
  if (cut) Replace(SelStart(), SelEnd(), u"");
}

// Scrolling of the multi-line control.

int MemoryEdit::CharWidth(char16_t ch) const {
  const int height = RowHeight();
  return ch < 0x80 ? height / 2 : height;
}

int MemoryEdit::RowHeight() const { return Font().Height < 0 ? -Font().Height : Font().Height; }

TSize MemoryEdit::ClientSize() const {
  TSize size = MemoryWindow::ClientSize();
  if (m_style.MultiLine && m_style.VerticalScrollBar) size.Width -= m_system.SystemMetric(TSystemMetric::smCxVScroll);
  if (m_style.MultiLine && m_style.HorizontalScrollBar) size.Height -= m_system.SystemMetric(TSystemMetric::smCyHScroll);
  return {std::max(size.Width, 0), std::max(size.Height, 0)};
}

MemoryEdit::TRows MemoryEdit::Rows() const {
  TRows rows;
  const bool wrap = m_style.MultiLine && m_style.WordWrap;
  const int room = ClientSize().Width;
  std::size_t at = 0;
  int width = 0;
  rows.Starts.push_back(0);
  auto endRow = [&](std::size_t next) {
    rows.Widths.push_back(width);
    rows.Widest = std::max(rows.Widest, width);
    rows.Starts.push_back(next);
    width = 0;
  };
  while (at < m_units.size()) {
    if (m_style.MultiLine && m_units[at] == u'\r' && at + 1 < m_units.size() && m_units[at + 1] == u'\n') {
      endRow(at + 2);
      at += 2;
      continue;
    }
    const int w = CharWidth(m_units[at]);
    if (wrap && width > 0 && width + w > room) endRow(at);
    width += w;
    ++at;
  }
  rows.Widths.push_back(width);
  rows.Widest = std::max(rows.Widest, width);
  return rows;
}

std::size_t MemoryEdit::RowStart(std::size_t row) const {
  const TRows rows = Rows();
  return row < rows.Starts.size() ? rows.Starts[row] : std::size_t(-1);
}

int MemoryEdit::VisibleRows() const {
  const int height = RowHeight();
  return height > 0 ? ClientSize().Height / height : 0;
}

TNativeScrollInfo MemoryEdit::ScrollInfo(bool vertical) const {
  if (!m_style.MultiLine) return {};
  if (vertical) {
    if (!m_style.VerticalScrollBar) return {};
    return {0, static_cast<int>(RowCount()) - 1, VisibleRows(), m_firstRow};
  }
  if (!m_style.HorizontalScrollBar) return {};
  return {0, std::max(Rows().Widest - 1, 0), ClientSize().Width, m_xOffset};
}

void MemoryEdit::ScrollTo(int firstRow, int xOffset) {
  const TRows rows = Rows();
  const int lastFirst = std::max(static_cast<int>(rows.Starts.size()) - VisibleRows(), 0);
  m_firstRow = std::clamp(firstRow, 0, lastFirst);
  m_xOffset = m_style.WordWrap ? 0 : std::clamp(xOffset, 0, std::max(rows.Widest - ClientSize().Width, 0));
  Invalidate();
  NotifyScrolled();
}

void MemoryEdit::Scroll(bool vertical, TNativeScrollCode code, int position) {
  if (!m_style.MultiLine) return;
  int& value = vertical ? m_firstRow : m_xOffset;
  const int line = vertical ? 1 : RowHeight() / 2;
  const int page = vertical ? std::max(VisibleRows(), 1) : std::max(ClientSize().Width, 1);
  int wanted = value;
  switch (code) {
    case TNativeScrollCode::LineUp: wanted -= line; break;
    case TNativeScrollCode::LineDown: wanted += line; break;
    case TNativeScrollCode::PageUp: wanted -= page; break;
    case TNativeScrollCode::PageDown: wanted += page; break;
    case TNativeScrollCode::Position:
    case TNativeScrollCode::Track: wanted = position; break;
    case TNativeScrollCode::Top: wanted = 0; break;
    case TNativeScrollCode::Bottom: wanted = INT32_MAX / 2; break;
    case TNativeScrollCode::EndScroll: break;
  }
  if (vertical) ScrollTo(wanted, m_xOffset);
  else ScrollTo(m_firstRow, wanted);
}

void MemoryEdit::ScrollCaretIntoView() {
  ++m_scrollRequests;
  if (!m_style.MultiLine) return;
  const TRows rows = Rows();
  std::size_t row = rows.Starts.size() - 1;
  while (row > 0 && rows.Starts[row] > m_caret) --row;
  int first = m_firstRow;
  const int r = static_cast<int>(row), visible = std::max(VisibleRows(), 1);
  if (r < first) first = r;
  if (r >= first + visible) first = r - visible + 1;
  int x = 0;
  for (std::size_t i = rows.Starts[row]; i < m_caret && i < m_units.size(); ++i) x += CharWidth(m_units[i]);
  int offset = m_xOffset;
  const int room = ClientSize().Width;
  if (x < offset) offset = x;
  if (x >= offset + room) offset = x - room + 1;
  ScrollTo(first, offset);
}

bool MemoryEdit::DefaultMouseWheel(int delta, TShiftState shift) {
  if ((shift & (ssShift | ssCtrl)) != 0) return false;
  // Three rows a notch, as the system's default.
  if (m_style.MultiLine) ScrollTo(m_firstRow - delta * 3 / 120, m_xOffset);
  return true;
}

void MemoryEdit::SetBounds(const TRect& bounds) {
  MemoryWindow::SetBounds(bounds);
  if (m_style.MultiLine) ScrollTo(m_firstRow, m_xOffset);
}

void MemoryEdit::SetFont(const TFontSpec& font) {
  MemoryWindow::SetFont(font);
  if (m_style.MultiLine) ScrollTo(m_firstRow, m_xOffset);
}

void MemoryEdit::NotifyScrolled() {
  const TNativeScrollInfo vertical = ScrollInfo(true), horizontal = ScrollInfo(false);
  if (vertical == m_reportedVertical && horizontal == m_reportedHorizontal) return;
  m_reportedVertical = vertical;
  m_reportedHorizontal = horizontal;
  Handler().NativeScrolled();
}

// The simulated control knows the case of the ASCII letters only.
void MemoryEdit::ApplyCharCase(std::u16string& text) const {
  for (char16_t& c : text) {
    if (m_charCase == TNativeCharCase::Upper && c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    if (m_charCase == TNativeCharCase::Lower && c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
}

void MemoryEdit::InsertTyped(std::u16string text) {
  ApplyCharCase(text);
  if (m_maxLength > 0) {
    const std::size_t kept = m_units.size() - (SelEnd() - SelStart());
    text.resize(std::min(text.size(), m_maxLength > kept ? m_maxLength - kept : 0));
    if (text.empty()) return;
  }
  Replace(SelStart(), SelEnd(), text);
}

// ---------------------------------------------------------------------------------------
// MemoryButton

void MemoryButton::DefaultKeyDown(TKey key, TShiftState) {
  if (key == vk::Space) {
    ++m_clicks;
    Handler().NativeClicked();
  }
}

void MemoryButton::DefaultMouseDown(TPoint) {
  SetFocus();
  if (!m_system.IsAlive(this)) return;
  m_tracking = true;
  SetCapture();
  SetPushed(true);
}

void MemoryButton::DefaultMouseMove(TPoint at) {
  if (m_tracking) SetPushed(IsInside(at));
}

// As the system's button: it comes up, reports the click when released over it, and
// only then gives the capture back.
void MemoryButton::DefaultMouseUp(TPoint at) {
  if (!m_tracking) return;
  m_tracking = false;
  const bool click = m_pushed && IsInside(at);
  SetPushed(false);
  if (click && m_system.IsAlive(this)) {
    ++m_clicks;
    Handler().NativeClicked();  // which may close the form and destroy the button
  }
  if (m_system.IsAlive(this)) ReleaseCapture();
}

void MemoryButton::DefaultCaptureLost() {
  m_tracking = false;
  SetPushed(false);
}

void MemoryButton::DefaultFocusChanged() {
  if (!HasFocus() && m_tracking) ReleaseCapture();  // a press ends with the focus
  if (m_system.IsAlive(this) && m_style.OwnerDraw && IsShowing()) Paint();
}

void MemoryButton::DrawPicture(ICanvas& canvas) { Handler().NativeDrawItem(canvas, m_pushed, HasFocus()); }

void MemoryButton::SetPushed(bool pushed) {
  if (pushed == m_pushed) return;
  m_pushed = pushed;
  if (m_style.OwnerDraw && IsShowing()) Paint();
}

bool MemoryButton::IsInside(TPoint at) const {
  const TSize size = ClientSize();
  return TRect{0, 0, size.Width, size.Height}.Contains(at);
}

// ---------------------------------------------------------------------------------------
// MemoryWindowSystem

MemoryWindowSystem::MemoryWindowSystem(IBeep& beep, IClipboard& clipboard)
    : m_beep(beep), m_clipboard(clipboard) {}

MemoryWindowSystem::~MemoryWindowSystem() = default;

std::unique_ptr<INativeForm> MemoryWindowSystem::CreateForm(const TNativeWindowParams& params,
                                                            const TNativeFormStyle&,
                                                            INativeWindowHandler& handler) {
  TNativeWindowParams p = params;
  p.Visible = false;  // forms appear when shown
  return std::make_unique<MemoryForm>(*this, TMemoryWindowKind::Form, p, handler);
}

std::unique_ptr<INativeWindow> MemoryWindowSystem::CreateCustomControl(const TNativeWindowParams& params,
                                                                       INativeWindowHandler& handler) {
  return std::make_unique<MemoryWindow>(*this, TMemoryWindowKind::Custom, params, handler);
}

std::unique_ptr<INativeEdit> MemoryWindowSystem::CreateEdit(const TNativeWindowParams& params,
                                                            const TNativeEditStyle& style,
                                                            INativeWindowHandler& handler) {
  return std::make_unique<MemoryEdit>(*this, params, style, handler);
}

std::unique_ptr<INativeWindow> MemoryWindowSystem::CreateButton(const TNativeWindowParams& params,
                                                                const TNativeButtonStyle& style,
                                                                INativeWindowHandler& handler) {
  return std::make_unique<MemoryButton>(*this, params, style, handler);
}

std::unique_ptr<INativeWindow> MemoryWindowSystem::CreateMessageWindow(INativeWindowHandler& handler) {
  TNativeWindowParams params;
  params.Visible = false;
  return std::make_unique<MemoryWindow>(*this, TMemoryWindowKind::Message, params, handler);
}

std::unique_ptr<ITimer> MemoryWindowSystem::CreateTimer(std::function<void()> onTick) {
  return std::make_unique<MemoryTimer>(*this, std::move(onTick));
}

int MemoryWindowSystem::SystemMetric(TSystemMetric metric) const {
  if (auto set = m_metrics.find(metric); set != m_metrics.end()) return set->second;
  switch (metric) {
    case TSystemMetric::smCxVScroll:
    case TSystemMetric::smCyHScroll:
    case TSystemMetric::smCyVThumb:
    case TSystemMetric::smCxHThumb: return 17;
    case TSystemMetric::smCxEdge:
    case TSystemMetric::smCyEdge: return 2;
  }
  return 0;
}

void MemoryWindowSystem::RunMessageLoop() {
  // Nothing arrives on its own in memory: tests drive every event themselves.
}

void MemoryWindowSystem::RunModalLoop(const std::function<bool()>& finished) {
  ++m_modalLoops;
  if (OnModalLoop && !finished()) OnModalLoop();
}

TImage MemoryWindowSystem::ApplicationIcon(TColor transparent) const {
  TImage icon = m_icon;
  for (TColor& pixel : icon.Pixels)
    if (pixel == clNone) pixel = transparent;
  return icon;
}

TSize MemoryWindowSystem::MeasureText(std::string_view text, const TFontSpec& font) {
  MemoryCanvas canvas(0, 0);
  return canvas.TextExtent(text, font);
}

void MemoryWindowSystem::Unregister(MemoryWindow* window) {
  std::erase(m_windows, window);
  if (m_focused == window) m_focused = nullptr;
  if (m_capture == window) m_capture = nullptr;
  if (m_hover == window) m_hover = nullptr;
  if (m_focusBeforeDeactivation == window) m_focusBeforeDeactivation = nullptr;
  if (m_discardCharFor == window) m_discardCharFor = nullptr;
}

bool MemoryWindowSystem::IsAlive(const MemoryWindow* window) const {
  return window && std::find(m_windows.begin(), m_windows.end(), window) != m_windows.end();
}

MemoryWindow* MemoryWindowSystem::WindowAt(TPoint screen) const {
  // Top-level windows: the later created lie above the earlier.
  for (auto it = m_windows.rbegin(); it != m_windows.rend(); ++it)
    if (!(*it)->Parent() && (*it)->Kind() != TMemoryWindowKind::Message)
      if (MemoryWindow* hit = (*it)->HitTest(screen)) return hit;
  return nullptr;
}

MemoryWindow* MemoryWindowSystem::FindById(int id) const {
  auto found = std::find_if(m_windows.begin(), m_windows.end(), [id](MemoryWindow* w) { return w->Id() == id; });
  return found != m_windows.end() ? *found : nullptr;
}

void MemoryWindowSystem::MoveFocus(MemoryWindow* window) {
  if (window == m_focused) return;
  if (window && !window->CanTakeFocus()) return;
  MemoryWindow* old = m_focused;
  m_focused = window;
  // As on Windows: the native control reacts to losing the focus before the handler
  // hears of it, and to gaining it after.
  if (old) {
    old->DefaultFocusChanged();
    if (IsAlive(old)) old->Handler().NativeFocusOut();
  }
  if (window && m_focused == window) {
    window->Handler().NativeFocusIn();
    if (IsAlive(window) && m_focused == window) window->DefaultFocusChanged();
  }
}

namespace {

// The character that a key produces on a US keyboard layout, as TranslateMessage would.
char16_t CharacterFor(TKey key, TShiftState shift) {
  if (shift & ssAlt) return 0;
  const bool shifted = (shift & ssShift) != 0;
  if (key >= 'A' && key <= 'Z') {
    if (shift & ssCtrl) return static_cast<char16_t>(key - 'A' + 1);
    return static_cast<char16_t>(shifted ? key : key - 'A' + 'a');
  }
  if (shift & ssCtrl) return 0;
  if (key >= '0' && key <= '9' && !shifted) return key;
  switch (key) {
    case vk::Back: return 8;
    case vk::Tab: return 9;
    case vk::Return: return 13;
    case vk::Escape: return 27;
    case vk::Space: return u' ';
    case 0xBD: return shifted ? u'_' : u'-';  // the minus key
    case 0xBB: return shifted ? u'+' : u'=';  // the plus key
    case 0xBC: return shifted ? u'<' : u',';
    case 0xBE: return shifted ? u'>' : u'.';
    case 0x6D: return u'-';  // keypad
    case 0x6B: return u'+';
    default: return 0;
  }
}

// The key that types a character, for the key-down and key-up around it.
void KeyFor(char16_t ch, TKey& key, TShiftState& shift) {
  shift = 0;
  if (ch >= 'a' && ch <= 'z') key = static_cast<TKey>(ch - 'a' + 'A');
  else if (ch >= 'A' && ch <= 'Z') { key = ch; shift = ssShift; }
  else if (ch >= '0' && ch <= '9') key = ch;
  else if (ch == ' ') key = vk::Space;
  else if (ch == '-') key = 0xBD;
  else if (ch == '+') { key = 0xBB; shift = ssShift; }
  else if (ch == ',') key = 0xBC;
  else if (ch == '.') key = 0xBE;
  else if (ch == '\r') key = vk::Return;
  else if (ch == '\t') key = vk::Tab;
  else if (ch == 8) key = vk::Back;
  else key = 0xE5;  // the key an input method reports for characters it composes
}

}  // namespace

void MemoryWindowSystem::PressKey(TKey key, TShiftState shift) {
  DeliverKey(key, shift, CharacterFor(key, shift));
}

void MemoryWindowSystem::TypeText(std::string_view utf8) {
  for (char16_t ch : Utf8ToUtf16(utf8)) {
    TKey key = 0;
    TShiftState shift = 0;
    KeyFor(ch, key, shift);
    DeliverKey(key, shift, ch);
  }
}

void MemoryWindowSystem::DeliverKey(TKey key, TShiftState shift, char16_t ch) {
  MemoryWindow* target = m_focused;
  if (!target) return;
  if (shift & ssShift) m_heldKeys.insert(vk::Shift);
  if (shift & ssCtrl) m_heldKeys.insert(vk::Control);
  if (shift & ssAlt) m_heldKeys.insert(vk::Menu);
  m_heldKeys.insert(key);
  auto release = [&] {
    auto erase = [&](TKey k) {
      if (auto it = m_heldKeys.find(k); it != m_heldKeys.end()) m_heldKeys.erase(it);
    };
    erase(key);
    if (shift & ssShift) erase(vk::Shift);
    if (shift & ssCtrl) erase(vk::Control);
    if (shift & ssAlt) erase(vk::Menu);
  };

  if (target->Handler().NativeDialogKey(key, shift)) {
    release();
    return;
  }
  TKey down = key;
  m_discardCharFor = nullptr;
  target->Handler().NativeKeyDown(down, shift);
  if (m_discardCharFor == static_cast<INativeWindow*>(target)) ch = 0;
  m_discardCharFor = nullptr;
  // The window may be gone or unfocused by now; what was translated still goes to it.
  const bool alive = std::find(m_windows.begin(), m_windows.end(), target) != m_windows.end();
  if (alive && down != 0) target->DefaultKeyDown(down, shift);
  if (IsAlive(target) && (down == vk::Apps || (down == vk::F10 && shift == ssShift))) ContextMenu(*target, std::nullopt);
  if (alive && ch != 0 && std::find(m_windows.begin(), m_windows.end(), target) != m_windows.end()) {
    char16_t c = ch;
    target->Handler().NativeChar(c);
    if (c != 0 && std::find(m_windows.begin(), m_windows.end(), target) != m_windows.end())
      target->DefaultChar(c);
  }
  release();
  if (MemoryWindow* up = m_focused) {
    TKey k = key;
    up->Handler().NativeKeyUp(k, shift);
  }
}

void MemoryWindowSystem::Click(INativeWindow& window) {
  const TSize size = window.ClientSize();
  Click(window, {size.Width / 2, size.Height / 2});
}

void MemoryWindowSystem::Click(INativeWindow& window, TPoint at) {
  auto* target = dynamic_cast<MemoryWindow*>(&window);
  if (!target || !target->CanTakeFocus()) return;  // disabled or hidden windows get no input
  m_heldKeys.insert(1);  // the left mouse button, as the key state reports it
  const bool pressed = target->Handler().NativeMouseDown(TMouseButton::mbLeft, at, ssLeft);
  if (pressed && IsAlive(target)) target->DefaultMouseDown(at);
  m_heldKeys.erase(m_heldKeys.find(1));
  if (!IsAlive(target)) return;
  target->Handler().NativeMouseUp(TMouseButton::mbLeft, at, 0);
  if (IsAlive(target)) target->DefaultMouseUp(at);
  SettlePointer();
}

void MemoryWindowSystem::CloseBox(INativeForm& form) {
  if (auto* w = dynamic_cast<MemoryWindow*>(&form)) w->Handler().NativeCloseRequested();
}

// ---------------------------------------------------------------------------------------
// The pointer

void MemoryWindowSystem::SetCaptureWindow(MemoryWindow* window) {
  if (window == m_capture) return;
  MemoryWindow* old = std::exchange(m_capture, window);
  if (!old) return;
  m_moveOwed = true;
  old->Handler().NativeCaptureLost();
  if (IsAlive(old)) old->DefaultCaptureLost();
}

// Moves went to the window holding the capture wherever the pointer was. Once the
// capture is over the system moves the pointer where it is, after the event that ended
// the capture: the window it has left hears the leave, the one under it enter and move.
void MemoryWindowSystem::SettlePointer() {
  if (!m_moveOwed || m_capture) return;
  m_moveOwed = false;
  if (MouseTarget() != m_hover) DeliverMove(0);
}

void MemoryWindowSystem::CancelMode() {
  SetCaptureWindow(nullptr);
  SettlePointer();
}

MemoryWindow* MemoryWindowSystem::MouseTarget() const {
  MemoryWindow* target = m_capture ? m_capture : WindowAt(m_cursorPos);
  return target && target->CanTakeFocus() ? target : nullptr;
}

TShiftState MemoryWindowSystem::MouseShift(TShiftState shift) const {
  if (IsKeyDown(1)) shift |= ssLeft;
  if (IsKeyDown(2)) shift |= ssRight;
  if (IsKeyDown(4)) shift |= ssMiddle;
  return shift;
}

namespace {

TKey KeyOf(TMouseButton button) {
  switch (button) {
    case TMouseButton::mbLeft: return 1;
    case TMouseButton::mbRight: return 2;
    case TMouseButton::mbMiddle: return 4;
  }
  return 1;
}

}  // namespace

void MemoryWindowSystem::MoveMouse(TPoint screen, TShiftState shift) {
  m_cursorPos = screen;
  DeliverMove(shift);
  SettlePointer();
}

void MemoryWindowSystem::DeliverMove(TShiftState shift) {
  MemoryWindow* target = MouseTarget();
  if (target != m_hover) {
    MemoryWindow* old = std::exchange(m_hover, target);
    if (old) old->Handler().NativeMouseLeave();
    if (target && IsAlive(target)) target->Handler().NativeMouseEnter();
  }
  if (!IsAlive(target)) return;
  const TPoint at = target->ScreenToClient(m_cursorPos);
  target->Handler().NativeMouseMove(at, MouseShift(shift));
  if (IsAlive(target)) target->DefaultMouseMove(at);
}

void MemoryWindowSystem::MoveMouse(INativeWindow& window, TPoint at, TShiftState shift) {
  MoveMouse(window.ClientToScreen(at), shift);
}

void MemoryWindowSystem::MouseDown(INativeWindow& window, TPoint at, TMouseButton button, TShiftState shift) {
  const TPoint screen = window.ClientToScreen(at);
  if (screen != m_cursorPos) MoveMouse(screen, shift & ~ssDouble);
  MemoryWindow* target = MouseTarget();
  m_heldKeys.insert(KeyOf(button));
  if (target) {
    const TPoint client = target->ScreenToClient(screen);
    const bool pressed = target->Handler().NativeMouseDown(button, client, MouseShift(shift));
    if (pressed && button == TMouseButton::mbLeft && IsAlive(target)) target->DefaultMouseDown(client);
  }
  SettlePointer();
}

void MemoryWindowSystem::MouseUp(INativeWindow& window, TPoint at, TMouseButton button, TShiftState shift) {
  const TPoint screen = window.ClientToScreen(at);
  if (screen != m_cursorPos) MoveMouse(screen, shift);
  if (auto held = m_heldKeys.find(KeyOf(button)); held != m_heldKeys.end()) m_heldKeys.erase(held);
  if (MemoryWindow* target = MouseTarget()) {
    const TPoint client = target->ScreenToClient(screen);
    // The control's own reaction (a button's click) comes before the handler hears of
    // the release, as on Windows.
    if (button == TMouseButton::mbLeft) target->DefaultMouseUp(client);
    if (IsAlive(target)) target->Handler().NativeMouseUp(button, client, MouseShift(shift));
    if (button == TMouseButton::mbRight && IsAlive(target)) ContextMenu(*target, screen);
  }
  SettlePointer();
}

void MemoryWindowSystem::ContextMenu(INativeWindow& window, std::optional<TPoint> screen) {
  for (auto* w = dynamic_cast<MemoryWindow*>(&window); w;) {
    MemoryWindow* parent = w->Parent();
    if (w->Handler().NativeContextMenu(screen.value_or(TPoint{}), !screen)) return;
    w = IsAlive(parent) ? parent : nullptr;
  }
}

void MemoryWindowSystem::Wheel(int delta, TShiftState shift) {
  MemoryWindow* w = m_focused;
  while (w) {
    MemoryWindow* parent = w->Parent();
    if (w->Handler().NativeMouseWheel(delta, w->ScreenToClient(m_cursorPos), MouseShift(shift))) return;
    if (IsAlive(w) && w->DefaultMouseWheel(delta, shift)) return;
    w = IsAlive(parent) ? parent : nullptr;
  }
}

// ---------------------------------------------------------------------------------------
// Activation and broadcasts

void MemoryWindowSystem::ActivateApplication(bool active) {
  if (active == m_applicationActive) return;
  m_applicationActive = active;
  std::vector<MemoryWindow*> forms;
  for (MemoryWindow* w : m_windows)
    if (w->Kind() == TMemoryWindowKind::Form) forms.push_back(w);
  for (MemoryWindow* form : forms)
    if (IsAlive(form)) form->Handler().NativeApplicationActivated(active);
  if (!active) {
    m_focusBeforeDeactivation = m_focused;
    MoveFocus(nullptr);
  } else if (MemoryWindow* w = std::exchange(m_focusBeforeDeactivation, nullptr)) {
    MoveFocus(w);
  }
}

void MemoryWindowSystem::Broadcast(void (INativeWindowHandler::*notification)()) {
  std::vector<MemoryWindow*> receivers;
  for (MemoryWindow* w : m_windows)
    if (w->Kind() == TMemoryWindowKind::Message) receivers.push_back(w);
  for (MemoryWindow* w : receivers)
    if (IsAlive(w)) (w->Handler().*notification)();
}

void MemoryWindowSystem::BroadcastThemeChanged() { Broadcast(&INativeWindowHandler::NativeThemeChanged); }

void MemoryWindowSystem::BroadcastSystemColorsChanged() {
  Broadcast(&INativeWindowHandler::NativeSystemColorsChanged);
}

// ---------------------------------------------------------------------------------------
// The clock

void MemoryWindowSystem::AdvanceTime(std::int64_t milliseconds) {
  const std::int64_t until = m_now + std::max<std::int64_t>(milliseconds, 0);
  if (m_ticking) {
    m_now = until;
    return;
  }
  // An error raised by a tick ends the advance at that tick, and ticks can come again.
  struct TTickingScope {
    bool& Ticking;
    explicit TTickingScope(bool& ticking) : Ticking(ticking) { Ticking = true; }
    ~TTickingScope() { Ticking = false; }
  } scope(m_ticking);
  for (;;) {
    MemoryTimer* next = nullptr;
    for (MemoryTimer* t : m_timers)
      if (t->Enabled() && t->Due() <= until && (!next || t->Due() < next->Due())) next = t;
    if (!next) break;
    m_now = std::max(m_now, next->Due());
    next->Fire();
    SettlePointer();
  }
  m_now = std::max(m_now, until);
}

MemoryTimer::MemoryTimer(MemoryWindowSystem& system, std::function<void()> onTick)
    : m_system(system), m_onTick(std::move(onTick)) {
  m_system.Register(this);
}

MemoryTimer::~MemoryTimer() { m_system.Unregister(this); }

void MemoryTimer::SetInterval(int milliseconds) {
  if (milliseconds == m_interval) return;
  m_interval = milliseconds;
  if (m_enabled) Restart();
}

void MemoryTimer::SetEnabled(bool enabled) {
  if (enabled == m_enabled) return;
  m_enabled = enabled;
  if (enabled) Restart();
}

// Windows counts intervals below 10 ms as 10 ms.
void MemoryTimer::Restart() { m_due = m_system.Now() + std::max(m_interval, 10); }

void MemoryTimer::Fire() {
  Restart();
  // The handler may destroy the timer; the copy keeps what it runs alive.
  const std::function<void()> tick = m_onTick;
  if (tick) tick();
}

}  // namespace vormix
