#include "forms/Controls.h"

#include <algorithm>

#include "base/Error.h"
#include "forms/Forms.h"

namespace vormix {

// ---------------------------------------------------------------------------------------
// TControl

TControl::TControl(std::string name) : TComponent(std::move(name)) {}

TControl::~TControl() {
  if (m_parent) m_parent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == m_parent) return;
  if (m_parent) m_parent->RemoveControl(this);
  m_parent = parent;
  if (m_parent) m_parent->InsertControl(this);
}

TCustomForm* TControl::GetParentForm() const {
  const TControl* c = this;
  while (c->m_parent) c = c->m_parent;
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

TApplication* TControl::Application() const {
  TCustomForm* form = GetParentForm();
  return form ? &form->Application() : nullptr;
}

void TControl::SetBounds(int left, int top, int width, int height) {
  const TRect bounds = TRect::FromBounds(left, top, width, height);
  if (bounds == m_bounds) return;
  m_bounds = bounds;
  if (!IsWindowed() && m_parent) m_parent->Invalidate();
  BoundsChanged();
}

void TControl::SetVisible(bool visible) {
  if (visible == m_visible) return;
  m_visible = visible;
  VisibleChanged();
  if (!IsWindowed() && m_parent) m_parent->Invalidate();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == m_enabled) return;
  m_enabled = enabled;
  EnabledChanged();
  Invalidate();
}

bool TControl::IsShowing() const {
  for (const TControl* c = this; c; c = c->m_parent)
    if (!c->m_visible) return false;
  return true;
}

const TFontSpec& TControl::Font() const {
  if (m_parentFont && m_parent) return m_parent->Font();
  return m_font;
}

void TControl::SetFont(const TFontSpec& font) {
  m_font = font;
  m_parentFont = false;
  FontChanged();
}

TColor TControl::Color() const {
  if (m_parentColor && m_parent) return m_parent->Color();
  return m_color;
}

void TControl::SetColor(TColor color) {
  m_color = color;
  m_parentColor = false;
  Invalidate();
}

void TControl::Invalidate() {
  if (m_parent) m_parent->Invalidate();
}

void TControl::BeginLoading() {
  if (m_loading) return;
  m_loading = true;
  LoadingStarted();
}

void TControl::EndLoading() {
  if (!m_loading) return;
  m_loading = false;
  Loaded();
}

void TControl::ScaleBy(int m, int d) {
  const TRect b = m_bounds;
  SetBounds(MulDiv(b.Left, m, d), MulDiv(b.Top, m, d), MulDiv(b.Width(), m, d), MulDiv(b.Height(), m, d));
  if (!m_parentFont) {
    TFontSpec font = m_font;
    font.Height = MulDiv(font.Height, m, d);
    SetFont(font);
  }
}

// ---------------------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(std::string name) : TControl(std::move(name)) {}

TWinControl::~TWinControl() {
  // Leave the parent while this is still a windowed control, so that the form forgets
  // every reference to it (its active control, a label's focus control).
  if (Parent()) Parent()->RemoveControl(this);
  // Children outlive nothing of ours: detach them so that they never reach back.
  for (TControl* child : std::vector<TControl*>(m_controls)) child->SetParent(nullptr);
  DestroyHandle();
}

void TWinControl::InsertControl(TControl* control) {
  m_controls.push_back(control);
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    if (win->m_tabOrder < 0) {
      win->m_tabOrder = static_cast<int>(std::count_if(m_controls.begin(), m_controls.end(),
                                                       [](TControl* c) { return c->IsWindowed(); })) - 1;
    }
    if (HandleAllocated()) win->HandleNeeded();
  } else {
    Invalidate();
  }
}

void TWinControl::RemoveControl(TControl* control) {
  std::erase(m_controls, control);
  if (TCustomForm* form = GetParentForm()) {
    if (auto* win = dynamic_cast<TWinControl*>(control)) form->ControlRemoved(win);
  }
  if (auto* win = dynamic_cast<TWinControl*>(control)) win->DestroyHandle();
  Invalidate();
}

std::vector<TWinControl*> TWinControl::TabList() const {
  std::vector<TWinControl*> list;
  for (TControl* c : m_controls)
    if (auto* win = dynamic_cast<TWinControl*>(c)) list.push_back(win);
  std::stable_sort(list.begin(), list.end(),
                   [](const TWinControl* a, const TWinControl* b) { return a->m_tabOrder < b->m_tabOrder; });
  return list;
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* child : TabList()) {
    list.push_back(child);
    child->GetTabOrderList(list);
  }
}

IWindowSystem* TWinControl::WindowSystem() const {
  TApplication* app = Application();
  return app ? &app->Platform().Windows : nullptr;
}

TNativeWindowParams TWinControl::WindowParams() const {
  TNativeWindowParams params;
  params.Parent = Parent() ? Parent()->Window() : nullptr;
  params.Bounds = BoundsRect();
  params.Text = m_text;
  params.Font = Font();
  params.Visible = Visible();
  params.Id = m_controlId;
  return params;
}

std::unique_ptr<INativeWindow> TWinControl::CreateNativeWindow(IWindowSystem& system,
                                                               const TNativeWindowParams& params) {
  return system.CreateCustomControl(params, *this);
}

void TWinControl::HandleNeeded() {
  if (m_window) return;
  if (Parent() && !Parent()->HandleAllocated()) {
    Parent()->HandleNeeded();
    if (m_window) return;  // the parent created ours along with its own
  }
  IWindowSystem* system = WindowSystem();
  if (!system) return;
  m_window = CreateNativeWindow(*system, WindowParams());
  if (!Enabled()) m_window->SetEnabled(false);
  if (m_cursor != TCursor::crDefault) m_window->SetCursor(m_cursor);
  NativeWindowCreated();
  for (TControl* c : m_controls)
    if (auto* win = dynamic_cast<TWinControl*>(c)) win->HandleNeeded();
}

void TWinControl::SetCursor(TCursor cursor) {
  m_cursor = cursor;
  if (m_window) m_window->SetCursor(cursor);
}

void TWinControl::DestroyHandle() {
  if (!m_window) return;
  for (TControl* c : m_controls)
    if (auto* win = dynamic_cast<TWinControl*>(c)) win->DestroyHandle();
  m_text = m_window->Text();
  m_window.reset();
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm()) form->FocusControl(this);
}

bool TWinControl::Focused() const {
  INativeWindow* w = FocusWindow();
  return w && w->HasFocus();
}

void TWinControl::Invalidate() {
  if (m_window) m_window->Invalidate();
}

void TWinControl::Update() {
  if (m_window) m_window->Update();
}

void TWinControl::ScaleBy(int m, int d) {
  TControl::ScaleBy(m, d);
  for (TControl* c : m_controls) c->ScaleBy(m, d);
}

std::string TWinControl::Text() const { return m_window ? m_window->Text() : m_text; }

void TWinControl::SetText(const std::string& text) {
  m_text = text;
  if (m_window) m_window->SetText(text);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(*this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(*this);
}

void TWinControl::BoundsChanged() {
  if (m_window) m_window->SetBounds(BoundsRect());
}

void TWinControl::VisibleChanged() {
  if (m_window) m_window->SetVisible(Visible());
}

void TWinControl::EnabledChanged() {
  if (m_window) m_window->SetEnabled(Enabled());
}

void TWinControl::FontChanged() {
  if (m_window) m_window->SetFont(Font());
  for (TControl* c : m_controls)
    if (c->ParentFont()) c->FontChanged();
  Invalidate();
}

void TWinControl::PaintWindow(ICanvas& canvas) { canvas.FillRect(ClientRect(), Color()); }

void TWinControl::PaintCopy(ICanvas& canvas, bool withChildren) const {
  ++m_paintingCopy;
  struct TDone {
    int& Count;
    ~TDone() { --Count; }
  } done{m_paintingCopy};
  // With its children it is the whole window as the system shows it, native controls
  // inside included; without them, only what the control paints itself.
  if (withChildren && m_window) {
    m_window->PrintTo(canvas);
    return;
  }
  auto& self = const_cast<TWinControl&>(*this);
  self.PaintWindow(canvas);
  for (TControl* c : m_controls)
    if (!c->IsWindowed() && c->Visible()) c->Paint(canvas);
  if (!withChildren) return;
  for (TControl* c : m_controls) {
    auto* child = dynamic_cast<TWinControl*>(c);
    if (!child || !child->Visible()) continue;
    const int level = canvas.Save();
    const TPoint origin = canvas.WindowOrigin();
    canvas.SetWindowOrigin({origin.X - child->Left(), origin.Y - child->Top()});
    canvas.IntersectClipRect(child->ClientRect());
    child->PaintCopy(canvas, true);
    canvas.Restore(level);
  }
}

bool TWinControl::IsPaintingCopy() const {
  for (const TWinControl* c = this; c; c = c->Parent())
    if (c->m_paintingCopy > 0) return true;
  return false;
}

void TWinControl::ReportError(std::exception_ptr error) {
  if (TApplication* app = Application()) app->HandleException(error);
}

// ---------------------------------------------------------------------------------------
// Events from the native window

void TWinControl::NativePaint(ICanvas& canvas) {
  Guarded([&] {
    PaintWindow(canvas);
    for (TControl* c : m_controls)
      if (!c->IsWindowed() && c->Visible()) c->Paint(canvas);
  });
}

void TWinControl::NativeFocusIn() {
  Guarded([&] {
    if (TCustomForm* form = GetParentForm()) form->ControlGotFocus(this);
  });
}

// A key whose handling failed is consumed: the error report ends that key's journey,
// so the native control never acts on a key its handler could not decide about.
bool TWinControl::NativeDialogKey(TKey key, TShiftState shift) {
  bool taken = true;
  Guarded([&] {
    const TDialogCodes wanted = DialogCodes(shift);
    const bool isArrow = key == vk::Left || key == vk::Right || key == vk::Up || key == vk::Down;
    const bool wantedHere = (wanted & dcWantAllKeys) || (key == vk::Tab && (wanted & dcWantTab)) ||
                            (key == vk::Return && (wanted & dcWantReturn)) || (isArrow && (wanted & dcWantArrows));
    TCustomForm* form = wantedHere ? nullptr : GetParentForm();
    taken = form && form->DialogKey(key, shift);
  });
  return taken;
}

void TWinControl::NativeKeyDown(TKey& key, TShiftState shift) {
  TKey passed = key;
  key = 0;
  Guarded([&] {
    if (OnKeyDown) OnKeyDown(*this, passed, shift);
    if (passed != 0) KeyDown(passed, shift);
    key = passed;
  });
}

void TWinControl::NativeChar(char16_t& ch) {
  char16_t passed = ch;
  ch = 0;
  Guarded([&] {
    if (OnKeyPress) OnKeyPress(*this, passed);
    if (passed != 0) KeyPress(passed);
    // A control that takes no characters offers them to the form as accelerators.
    TCustomForm* form = passed != 0 && !(DialogCodes(0) & dcWantChars) ? GetParentForm() : nullptr;
    if (form && form->DialogChar(passed)) passed = 0;
    ch = passed;
  });
}

void TWinControl::NativeKeyUp(TKey& key, TShiftState shift) {
  TKey passed = key;
  key = 0;
  Guarded([&] {
    if (OnKeyUp) OnKeyUp(*this, passed, shift);
    if (passed != 0) KeyUp(passed, shift);
    key = passed;
  });
}

bool TWinControl::NativeMouseDown(TMouseButton button, TPoint at, TShiftState shift) {
  bool proceed = false;
  Guarded([&] { proceed = MouseDown(button, at, shift); });
  return proceed;
}

void TWinControl::NativeMouseUp(TMouseButton button, TPoint at, TShiftState shift) {
  Guarded([&] { MouseUp(button, at, shift); });
}

void TWinControl::NativeClicked() {
  Guarded([&] { Clicked(); });
}

void TWinControl::NativeTextChanged() {
  Guarded([&] { TextChanged(); });
}

bool TWinControl::NativePaste() {
  bool allowed = false;
  Guarded([&] { allowed = CanPaste(); });
  return allowed;
}

bool TWinControl::NativeCut() {
  bool allowed = false;
  Guarded([&] { allowed = CanCut(); });
  return allowed;
}

}  // namespace vormix
