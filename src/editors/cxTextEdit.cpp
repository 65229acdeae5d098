#include "editors/cxTextEdit.h"

#include <algorithm>

#include "forms/Forms.h"

namespace vormix {

// ---------------------------------------------------------------------------------------
// Settings

void TcxCustomTextEditProperties::Assign(const TcxCustomEditProperties& source) {
  BeginUpdate();
  TcxCustomEditProperties::Assign(source);
  if (const auto* text = dynamic_cast<const TcxCustomTextEditProperties*>(&source)) {
    m_charCase = text->m_charCase;
    m_echoMode = text->m_echoMode;
    m_passwordChar = text->m_passwordChar;
    m_maxLength = text->m_maxLength;
    m_oemConvert = text->m_oemConvert;
    m_imeMode = text->m_imeMode;
  }
  Changed();
  EndUpdate();
}

void TcxCustomTextEditProperties::SetMaxLength(int value) {
  if ((AssignedValues() & evMaxLength) && value == m_maxLength) return;
  m_maxLength = value;
  MarkAssigned(evMaxLength);
  Changed();
}

void TcxCustomTextEditProperties::CheckText(Variant& displayValue, std::string& errorText, TcxCustomEdit& edit,
                                            bool& error) {
  if (errorText.empty()) errorText = kInvalidInputText;
  DoValidate(displayValue, errorText, error, edit);
}

// ---------------------------------------------------------------------------------------
// The inner native edit control

void TcxCustomInnerTextEdit::Create(IWindowSystem& system, const TNativeWindowParams& params,
                                    const TNativeEditStyle& style) {
  m_native = system.CreateEdit(params, style, *this);
}

// The editor's entry processing comes first, then the control's own auto-select; not
// when the focus only comes back after a failed check, nor when entering failed.
void TcxCustomInnerTextEdit::NativeFocusIn() {
  m_edit.TWinControl::NativeFocusIn();
  m_edit.Guarded([&] { m_edit.FocusChanged(); });
  if (m_autoSelect && !m_pressedOnText && !m_edit.IsMultiLine() && !m_edit.RestoringFocus() && m_native &&
      m_native->HasFocus())
    m_native->SelectAll();
}
void TcxCustomInnerTextEdit::NativeFocusOut() { m_edit.NativeFocusOut(); }
bool TcxCustomInnerTextEdit::NativeDialogKey(TKey key, TShiftState shift) {
  return m_edit.NativeDialogKey(key, shift);
}
void TcxCustomInnerTextEdit::NativeKeyDown(TKey& key, TShiftState shift) { m_edit.NativeKeyDown(key, shift); }

void TcxCustomInnerTextEdit::NativeChar(char16_t& ch) {
  if (ch == 9 && !m_edit.WantsTabCharacter()) {  // Tab moves the focus; it never becomes part of the text
    ch = 0;
    return;
  }
  m_edit.NativeChar(ch);
}

void TcxCustomInnerTextEdit::NativeKeyUp(TKey& key, TShiftState shift) { m_edit.NativeKeyUp(key, shift); }

bool TcxCustomInnerTextEdit::NativeMouseDown(TMouseButton button, TPoint at, TShiftState shift) {
  m_pressedOnText = button == TMouseButton::mbLeft;
  const bool proceed = m_edit.TWinControl::NativeMouseDown(button, at, shift);
  if (!proceed) m_pressedOnText = false;
  return proceed;
}

void TcxCustomInnerTextEdit::NativeMouseUp(TMouseButton button, TPoint at, TShiftState shift) {
  m_pressedOnText = false;
  m_edit.NativeMouseUp(button, at, shift);
}

void TcxCustomInnerTextEdit::NativeMouseEnter() {
  m_edit.Guarded([&] { m_edit.UpdateHotState(); });
}

void TcxCustomInnerTextEdit::NativeMouseLeave() {
  m_edit.Guarded([&] { m_edit.UpdateHotState(); });
}

void TcxCustomInnerTextEdit::NativeMouseMove(TPoint, TShiftState) {
  m_edit.Guarded([&] { m_edit.UpdateHotState(); });
}

bool TcxCustomInnerTextEdit::NativeMouseWheel(int delta, TPoint at, TShiftState shift) {
  return m_edit.NativeMouseWheel(delta, at, shift);
}

void TcxCustomInnerTextEdit::NativeTextChanged() { m_edit.InnerTextChanged(); }
void TcxCustomInnerTextEdit::NativeScrolled() {
  m_edit.Guarded([&] { m_edit.InnerScrolled(); });
}
bool TcxCustomInnerTextEdit::NativePaste() { return m_edit.NativePaste(); }
bool TcxCustomInnerTextEdit::NativeCut() { return m_edit.NativeCut(); }

// ---------------------------------------------------------------------------------------
// TcxCustomTextEdit

TcxCustomTextEdit::TcxCustomTextEdit(std::string name, std::unique_ptr<TcxCustomTextEditProperties> properties)
    : TcxCustomEdit(std::move(name), std::move(properties)) {}

TcxCustomTextEdit::~TcxCustomTextEdit() { m_inner.Destroy(); }

// Without a native control there is no text to read, whatever the editor keeps for it.
std::string TcxCustomTextEdit::Text() const { return InnerEdit() ? InnerEdit()->Text() : std::string(); }

void TcxCustomTextEdit::SetText(const std::string& text) { SetEditValue(Variant::FromString(text)); }

void TcxCustomTextEdit::SelectAll() {
  if (InnerEdit()) InnerEdit()->SelectAll();
}

std::size_t TcxCustomTextEdit::SelStart() const {
  std::size_t start = 0, length = 0;
  if (InnerEdit()) InnerEdit()->GetSelection(start, length);
  return start;
}

std::size_t TcxCustomTextEdit::SelLength() const {
  std::size_t start = 0, length = 0;
  if (InnerEdit()) InnerEdit()->GetSelection(start, length);
  return length;
}

void TcxCustomTextEdit::SetSelection(std::size_t start, std::size_t length) {
  if (InnerEdit()) InnerEdit()->SetSelection(start, length);
}

bool TcxCustomTextEdit::KeyEditsText(TKey key, TShiftState) const {
  return key == vk::Back || key == vk::Delete;
}

// Paste (22), cut (24) and every printable character change the text.
bool TcxCustomTextEdit::CharEditsText(char16_t ch) const { return ch == 22 || ch == 24 || ch >= 32; }

void TcxCustomTextEdit::PutDisplayText(const std::string& text) {
  TFlagScope putting(m_puttingText);
  if (INativeEdit* edit = InnerEdit()) {
    if (edit->Text() == text) return;
    std::exception_ptr outer = std::exchange(m_putError, nullptr);
    edit->SetText(text);
    if (std::exception_ptr failed = std::exchange(m_putError, outer)) std::rethrow_exception(failed);
  } else if (m_text != text) {
    m_text = text;
    TextChanged();
  }
}

void TcxCustomTextEdit::InnerTextChanged() {
  if (!m_puttingText) {
    NativeTextChanged();  // typed: a failing handler goes to the error report
    return;
  }
  try {
    TextChanged();
  } catch (...) {
    if (!m_putError) m_putError = std::current_exception();
  }
}

// The text is rebuilt from the value; the change it causes is the program's, not an edit.
void TcxCustomTextEdit::RefreshText() {
  TcxCustomEditProperties& props = TcxCustomEdit::Properties();
  const bool focused = Focused();
  Variant text;
  if (props.CanCheckText()) {
    Variant copy = EditValue();
    text = props.IsValueShowable(copy, focused) ? props.ValueToDisplayValue(copy, focused) : props.ValueForInvalid();
  } else {
    text = props.ValueToDisplayValue(EditValue(), focused);
  }
  TcxSavedFlagsScope saved(*this);
  TFlagScope synchronizing(m_synchronizing);
  DataBinding().SetDisplayText(VariantToString(text));
}

Variant TcxCustomTextEdit::TextToValue(const std::string& text) { return Variant::FromString(text); }

void TcxCustomTextEdit::TakeValueOf(const std::string& text) {
  const Variant value = TextToValue(text);
  const bool changed = TcxCustomEdit::Properties().ChecksEquality() && !VariantEquals(EditValue(), value);
  SetEditValueField(value);
  if (ApplyingUserChange()) SetEditedSinceEnter(true);
  else ClearUserFlags();
  if (changed) RaiseEditValueChangedEvent();
}

// A change the user made himself (typing, deleting, a paste or a cut), not a text the
// editor put in: what handlers store while it is processed is his change too, and with
// ImmediatePost it is committed at once.
void TcxCustomTextEdit::TextChanged() {
  const bool byUser = Focused() && !m_puttingText;
  if (!byUser) {
    TcxChangeEventsHold hold(*this);
    if (Focused()) SetEditedSinceEnter(true);
    RaiseChangeEvent();
    Invalidate();
    return;
  }
  TcxUserChangeScope user(*this);
  {
    TcxChangeEventsHold hold(*this);
    SetEditedSinceEnter(true);
    RaiseChangeEvent();
    Invalidate();
  }
  PostImmediately();
}

void TcxCustomTextEdit::ApplySettings() {
  SetTextChecked(false);
  PassSettingsToNative();
  if (!EditedSinceEnter()) RefreshText();
  UpdateLayout();
  Invalidate();
}

void TcxCustomTextEdit::PassSettingsToNative() {
  const TcxCustomTextEditProperties& props = Properties();
  m_inner.SetAutoSelect(props.AutoSelect());
  INativeEdit* edit = InnerEdit();
  if (!edit) return;
  edit->SetReadOnly(props.ReadOnly());
  edit->SetAlignment(NativeAlignment());
  edit->SetCharCase(NativeCharCase());
  // The password echo shows the password character, an asterisk when none is set.
  char16_t passwordChar = 0;
  if (props.EchoMode() == TcxEditEchoMode::eemPassword) passwordChar = props.PasswordChar() ? props.PasswordChar() : u'*';
  edit->SetPasswordChar(passwordChar);
  edit->SetHideSelection(props.HideSelection());
  edit->SetImeMode(props.ImeMode());
  edit->SetMaxLength(props.MaxLength() > 0 ? static_cast<std::size_t>(props.MaxLength()) : 0);
}

TNativeCharCase TcxCustomTextEdit::NativeCharCase() const {
  switch (Properties().CharCase()) {
    case TcxEditCharCase::ecUpperCase: return TNativeCharCase::Upper;
    case TcxEditCharCase::ecLowerCase: return TNativeCharCase::Lower;
    case TcxEditCharCase::ecNormal: break;
  }
  return TNativeCharCase::Normal;
}

// While the user edits, the text starts at the left unless the editor is told otherwise.
TNativeAlignment TcxCustomTextEdit::NativeAlignment() const {
  const TcxCustomTextEditProperties& props = Properties();
  if (Focused() && props.UseLeftAlignmentOnEditing()) return TNativeAlignment::Left;
  switch (props.Alignment().Horz) {
    case TAlignment::taRightJustify: return TNativeAlignment::Right;
    case TAlignment::taCenter: return TNativeAlignment::Center;
    case TAlignment::taLeftJustify: break;
  }
  return TNativeAlignment::Left;
}

void TcxCustomTextEdit::DoEnter() {
  TcxCustomEdit::DoEnter();
  if (INativeEdit* edit = InnerEdit()) edit->SetAlignment(NativeAlignment());
}

void TcxCustomTextEdit::DoExit() {
  TcxCustomEdit::DoExit();
  // Also when a failed check kept the focus: the alignment follows where the focus is.
  if (INativeEdit* edit = InnerEdit()) edit->SetAlignment(NativeAlignment());
}

void TcxCustomTextEdit::NativeFocusIn() {
  // The frame itself never keeps the focus: it goes on to the text.
  Guarded([&] {
    if (INativeEdit* edit = InnerEdit()) edit->SetFocus();
  });
}

std::unique_ptr<INativeWindow> TcxCustomTextEdit::CreateNativeWindow(IWindowSystem& system,
                                                                     const TNativeWindowParams& params) {
  TNativeWindowParams frame = params;
  frame.Id = 0;  // the control's id belongs to the native edit control that holds the text
  frame.Text.clear();
  return system.CreateCustomControl(frame, *this);
}

TNativeEditStyle TcxCustomTextEdit::InnerEditStyle() const {
  TNativeEditStyle style;
  style.ReadOnly = Properties().ReadOnly();
  style.Alignment = NativeAlignment();
  style.CharCase = NativeCharCase();
  style.HideSelection = Properties().HideSelection();
  style.ClientEdge = false;  // the editor draws the frame
  return style;
}

void TcxCustomTextEdit::NativeWindowCreated() {
  IWindowSystem* system = WindowSystem();
  if (!system) return;
  CalculateFrame();
  TNativeWindowParams params;
  params.Parent = Window();
  params.Bounds = TextAreaRect();
  params.Text = m_text;
  params.Font = Font();
  params.Id = ControlId();
  m_inner.Create(*system, params, InnerEditStyle());
  PassSettingsToNative();
  UpdateLayout();
}

void TcxCustomTextEdit::RecreateInnerEdit() {
  INativeEdit* old = InnerEdit();
  IWindowSystem* system = WindowSystem();
  if (!old || !system) return;
  TNativeWindowParams params;
  params.Parent = Window();
  params.Bounds = old->Bounds();
  params.Text = old->Text();
  params.Font = Font();
  params.Id = ControlId();
  std::size_t start = 0, length = 0;
  old->GetSelection(start, length);
  const bool focused = old->HasFocus();
  {
    // The text is the same: the new control changes nothing the editor would hear of.
    TFlagScope putting(m_puttingText);
    m_inner.Destroy();
    m_inner.Create(*system, params, InnerEditStyle());
  }
  PassSettingsToNative();
  if (INativeEdit* edit = InnerEdit()) {
    edit->SetSelection(start, length);
    if (focused) edit->SetFocus();
  }
  UpdateLayout();
}

void TcxCustomTextEdit::DestroyHandle() {
  if (InnerEdit()) m_text = InnerEdit()->Text();
  m_inner.Destroy();
  TcxCustomEdit::DestroyHandle();
}

void TcxCustomTextEdit::FontChanged() {
  TcxCustomEdit::FontChanged();
  if (INativeEdit* edit = InnerEdit()) edit->SetFont(Font());
  UpdateLayout();
}

int TcxCustomTextEdit::TextHeight() const {
  if (IWindowSystem* system = WindowSystem()) return system->MeasureText("Zg", Font()).Height;
  return Font().Height < 0 ? -Font().Height : Font().Height;
}

int TcxCustomTextEdit::PreferredHeight() const {
  const TcxMargins m = ContentMargins();
  return TextHeight() + 4 + m.Top + m.Bottom;
}

void TcxCustomTextEdit::UpdateLayout() {
  if (m_updatingLayout) return;
  TFlagScope updating(m_updatingLayout);
  CalculateFrame();
  if (!HandleAllocated()) return;
  if (AutoSize() && !IsMultiLine()) {
    const int height = PreferredHeight();
    if (height != Height()) {
      SetBounds(Left(), Top(), Width(), height);
      CalculateFrame();
    }
  }
  INativeEdit* edit = InnerEdit();
  if (!edit) return;
  const TRect area = TextAreaRect();
  TRect inner = area;
  if (!IsMultiLine()) {
    const int height = TextHeight() + 4;
    inner.Left = area.Left + 1;
    switch (Properties().Alignment().Vert) {
      case TcxEditVertAlignment::taTopJustify: inner.Top = area.Top + 1; break;
      case TcxEditVertAlignment::taBottomJustify: inner.Top = area.Bottom + 1 - height; break;
      case TcxEditVertAlignment::taVCenter: inner.Top = area.Top + (area.Height() - height) / 2 + 1; break;
    }
    inner.Bottom = inner.Top + height;
    // Kept within the text area: a pixel further would cover the frame's inner line.
    inner.Top = std::max(inner.Top, area.Top);
    inner.Bottom = std::min(inner.Bottom, area.Bottom);
  }
  if (edit->Bounds() != inner) edit->SetBounds(inner);
  InnerEditPlaced();
}

TcxTextEdit::TcxTextEdit(std::string name)
    : TcxCustomTextEdit(std::move(name), std::make_unique<TcxCustomTextEditProperties>(this)) {}

}  // namespace vormix
