#include "editors/cxEdit.h"

#include <exception>

#include "base/Error.h"
#include "forms/Forms.h"

namespace vormix {

// ---------------------------------------------------------------------------------------
// Data binding, change events, styles

TcxEditDataBinding::TcxEditDataBinding(TcxCustomEdit& edit) : m_edit(edit) {}

// A standalone editor has no data source: requests go straight back to the editor.
void TcxEditDataBinding::SetDisplayText(const std::string& text) { m_edit.PutDisplayText(text); }

void TcxEditDataBinding::UpdateDisplayValue() { m_edit.RefreshText(); }

bool TcxEditDataBinding::CanPostEditValue() const { return m_edit.EditedSinceEnter(); }

void TcxEditChangeEventsCatcher::Lock() {
  if (m_lockCount++ == 0) m_changePending = m_editValueChangedPending = false;
}

void TcxEditChangeEventsCatcher::Unlock(bool deliver) {
  if (m_lockCount == 0 || --m_lockCount > 0 || !deliver) return;
  const bool change = std::exchange(m_changePending, false);
  const bool valueChanged = std::exchange(m_editValueChangedPending, false);
  if (change && m_edit.Properties().OnChange) m_edit.RaiseChange();
  if (valueChanged) m_edit.RaiseEditValueChanged();
}

bool TcxEditChangeEventsCatcher::CatchChange() {
  if (m_lockCount == 0) return false;
  m_changePending = true;
  return true;
}

bool TcxEditChangeEventsCatcher::CatchEditValueChanged() {
  if (m_lockCount == 0) return false;
  m_editValueChangedPending = true;
  return true;
}

TcxChangeEventsHold::TcxChangeEventsHold(TcxCustomEdit& edit)
    : m_edit(edit), m_uncaught(std::uncaught_exceptions()) {
  m_edit.ChangeEvents().Lock();
}

TcxChangeEventsHold::~TcxChangeEventsHold() noexcept(false) {
  m_edit.ChangeEvents().Unlock(std::uncaught_exceptions() == m_uncaught);
}

TcxEditStyle::TcxEditStyle(TcxCustomEdit& edit, const TcxEditStyle* parent, TcxEditStyleState state)
    : m_edit(edit), m_parent(parent), m_state(state) {
  LookAndFeel.OnLookAndFeelChanged = [this](TcxLookAndFeel&, TcxLookAndFeelValues) { Changed(); };
}

namespace {

TcxEditBorderStyle BorderStyleOfKind(TcxLookAndFeelKind kind) {
  switch (kind) {
    case TcxLookAndFeelKind::lfFlat: return TcxEditBorderStyle::ebsFlat;
    case TcxLookAndFeelKind::lfStandard: return TcxEditBorderStyle::ebs3D;
    case TcxLookAndFeelKind::lfUltraFlat: return TcxEditBorderStyle::ebsUltraFlat;
    case TcxLookAndFeelKind::lfOffice11: return TcxEditBorderStyle::ebsOffice11;
  }
  return TcxEditBorderStyle::ebs3D;
}

// The border a hot-tracking editor shows while focused or under the pointer.
TcxEditBorderStyle RaisedBorderStyle(TcxEditBorderStyle style) {
  switch (style) {
    case TcxEditBorderStyle::ebsNone: return TcxEditBorderStyle::ebsFlat;
    case TcxEditBorderStyle::ebsSingle: return TcxEditBorderStyle::ebsThick;
    case TcxEditBorderStyle::ebsFlat: return TcxEditBorderStyle::ebs3D;
    default: return style;
  }
}

}  // namespace

TcxEditBorderStyle TcxEditStyle::BorderStyle() const {
  if (IsAssigned(svBorderStyle)) return m_borderStyle;
  switch (m_state) {
    case TcxEditStyleState::essNormal: return m_edit.DefaultBorderStyle(LookAndFeel.Kind());
    case TcxEditStyleState::essFocused:
    case TcxEditStyleState::essHot:
      return Main().HotTrack() ? RaisedBorderStyle(Main().BorderStyle()) : Main().BorderStyle();
    case TcxEditStyleState::essDisabled: break;
  }
  return Main().BorderStyle();
}

void TcxEditStyle::SetBorderStyle(TcxEditBorderStyle style) { Assign(m_borderStyle, style, svBorderStyle); }

TColor TcxEditStyle::BorderColor() const {
  if (IsAssigned(svBorderColor)) return m_borderColor;
  switch (m_state) {
    case TcxEditStyleState::essNormal: return clWindowFrame;
    case TcxEditStyleState::essDisabled: return clBtnShadow;
    default: return Main().BorderColor();
  }
}

void TcxEditStyle::SetBorderColor(TColor color) { Assign(m_borderColor, color, svBorderColor); }

TColor TcxEditStyle::Color() const {
  if (IsAssigned(svColor)) return m_color;
  switch (m_state) {
    case TcxEditStyleState::essNormal: return m_edit.DefaultStyleColor();
    case TcxEditStyleState::essDisabled: return clBtnFace;
    default: return Main().Color();
  }
}

void TcxEditStyle::SetColor(TColor color) { Assign(m_color, color, svColor); }

TColor TcxEditStyle::TextColor() const {
  if (IsAssigned(svTextColor)) return m_textColor;
  return m_parent ? m_parent->TextColor() : m_textColor;
}

void TcxEditStyle::SetTextColor(TColor color) { Assign(m_textColor, color, svTextColor); }

TcxEditButtonStyle TcxEditStyle::ButtonStyle() const {
  if (IsAssigned(svButtonStyle)) return m_buttonStyle;
  return m_parent ? m_parent->ButtonStyle() : m_buttonStyle;
}

void TcxEditStyle::SetButtonStyle(TcxEditButtonStyle style) { Assign(m_buttonStyle, style, svButtonStyle); }

// The values only the main style has: a state style answers the main style's and
// ignores an assignment.
TcxBorders TcxEditStyle::Edges() const { return m_parent ? m_parent->Edges() : m_edges; }

void TcxEditStyle::SetEdges(TcxBorders edges) {
  if (!m_parent) Assign(m_edges, edges & cxBordersAll, svEdges);
}

bool TcxEditStyle::HotTrack() const { return m_parent ? m_parent->HotTrack() : m_hotTrack; }

void TcxEditStyle::SetHotTrack(bool hotTrack) {
  if (!m_parent) Assign(m_hotTrack, hotTrack, svHotTrack);
}

bool TcxEditStyle::Shadow() const { return m_parent ? m_parent->Shadow() : m_shadow; }

void TcxEditStyle::SetShadow(bool shadow) {
  if (!m_parent) Assign(m_shadow, shadow, svShadow);
}

bool TcxEditStyle::TransparentBorder() const { return m_parent ? m_parent->TransparentBorder() : m_transparentBorder; }

void TcxEditStyle::SetTransparentBorder(bool transparent) {
  if (!m_parent) Assign(m_transparentBorder, transparent, svTransparentBorder);
}

TcxEditButtonTransparency TcxEditStyle::ButtonTransparency() const {
  return m_parent ? m_parent->ButtonTransparency() : m_buttonTransparency;
}

void TcxEditStyle::SetButtonTransparency(TcxEditButtonTransparency transparency) {
  if (!m_parent) Assign(m_buttonTransparency, transparency, svButtonTransparency);
}

void TcxEditStyle::RestoreDefaults() {
  m_assigned = 0;
  m_edges = cxBordersAll;
  m_hotTrack = true;
  m_shadow = false;
  m_transparentBorder = true;
  m_buttonTransparency = TcxEditButtonTransparency::ebtNone;
  Changed();
}

void TcxEditStyle::Changed() { m_edit.StyleChanged(); }

// ---------------------------------------------------------------------------------------
// Settings

void TcxCustomEditProperties::Assign(const TcxCustomEditProperties& source) {
  BeginUpdate();
  m_assigned = source.m_assigned;
  m_autoSelect = source.m_autoSelect;
  m_beepOnError = source.m_beepOnError;
  m_readOnly = source.m_readOnly;
  m_immediatePost = source.m_immediatePost;
  m_validateOnEnter = source.m_validateOnEnter;
  m_hideSelection = source.m_hideSelection;
  m_alignment = source.m_alignment;
  m_alignmentAssigned = source.m_alignmentAssigned;
  m_useLeftAlignmentOnEditing = source.m_useLeftAlignmentOnEditing;
  m_buttons = source.m_buttons;
  OnChange = source.OnChange;
  OnEditValueChanged = source.OnEditValueChanged;
  OnValidate = source.OnValidate;
  Changed();
  EndUpdate();
}

bool TcxCustomEditProperties::ReadOnly() const {
  if (m_assigned & evReadOnly) return m_readOnly;
  return m_provider ? m_provider->IsReadOnly() : false;
}

void TcxCustomEditProperties::SetReadOnly(bool value) {
  if ((m_assigned & evReadOnly) && value == m_readOnly) return;
  m_readOnly = value;
  m_assigned |= evReadOnly;
  Changed();
}

TcxEditAlignment TcxCustomEditProperties::Alignment() const {
  if (m_alignmentAssigned) return m_alignment;
  TcxEditAlignment alignment = m_alignment;
  if (m_provider) alignment.Horz = m_provider->DefaultAlignment();
  return alignment;
}

void TcxCustomEditProperties::SetAlignment(const TcxEditAlignment& value) {
  if (m_alignmentAssigned && value == m_alignment) return;
  m_alignment = value;
  m_alignmentAssigned = true;
  Changed();
}

void TcxCustomEditProperties::ClearAssignedValues(TcxEditPropertiesValues values) {
  if ((m_assigned & values) == 0) return;
  m_assigned &= ~values;
  Changed();
}

void TcxCustomEditProperties::EndUpdate() {
  if (m_updateCount > 0 && --m_updateCount == 0 && std::exchange(m_changedWhileUpdating, false)) Changed();
}

void TcxCustomEditProperties::Changed() {
  if (m_updateCount > 0) {
    m_changedWhileUpdating = true;
    return;
  }
  if (m_owner && m_ownerReady) m_owner->PropertiesChanged();
}

bool TcxCustomEditProperties::IsValueShowable(Variant&, bool) const { return true; }

Variant TcxCustomEditProperties::ValueToDisplayValue(const Variant& value, bool) const {
  return Variant::FromString(VariantToString(value));
}

void TcxCustomEditProperties::CheckText(Variant& displayValue, std::string& errorText, TcxCustomEdit& edit,
                                        bool& error) {
  DoValidate(displayValue, errorText, error, edit);
}

void TcxCustomEditProperties::DoValidate(Variant& displayValue, std::string& errorText, bool& error,
                                         TcxCustomEdit& edit) {
  const Variant checked = displayValue;
  if (OnValidate) OnValidate(edit, displayValue, errorText, error);
  // A failed check never changes the text on its own: unless the handler gave another
  // display value, the text stays as it was typed (not, say, a normalised number).
  if (error && VariantEquals(displayValue, checked)) displayValue = Variant::FromString(edit.Text());
}

// ---------------------------------------------------------------------------------------
// TcxCustomEdit: construction, value, settings

TcxCustomEdit::TcxCustomEdit(std::string name, std::unique_ptr<TcxCustomEditProperties> properties)
    : TcxContainer(std::move(name)),
      m_properties(std::move(properties)),
      m_dataBinding(std::make_unique<TcxEditDataBinding>(*this)) {
  // The provider is in place before any stored setting is read, so that every
  // provider-defaulted setting already answers correctly while they are applied.
  m_properties->SetDefaultValuesProvider(&m_dataBinding->DefaultValuesProvider());
  m_properties->OwnerReady();
}

TcxCustomEdit::~TcxCustomEdit() { m_properties->SetDefaultValuesProvider(nullptr); }

void TcxCustomEdit::SetEditValue(const Variant& value) {
  if (m_askingToEdit > 0) return;
  if (m_applyingUserChange && !AskPermissionToEdit()) return;
  ++m_settingValue;
  try {
    StoreEditValue(value);
  } catch (...) {
    --m_settingValue;
    throw;
  }
  --m_settingValue;
}

void TcxCustomEdit::ClearValue() { SetEditValue(Variant::Null()); }

void TcxCustomEdit::StoreEditValue(const Variant& value) {
  if (m_applyingUserChange && !AskPermissionToEdit()) return;
  const bool changed = m_properties->ChecksEquality() && !VariantEquals(m_editValue, value);
  m_editValue = value;
  RefreshText();
  if (m_applyingUserChange) SetEditedSinceEnter(true);
  else ClearUserFlags();
  if (changed) {
    RaiseEditValueChangedEvent();
    if (!m_properties->ValueRaisesOnlyOnChange()) RaiseChangeEvent();
  }
}

void TcxCustomEdit::SetEditedSinceEnter(bool value) {
  m_editedSinceEnter = value;
  if (value) {
    m_userModified = true;
    m_textChecked = false;
  }
}

void TcxCustomEdit::ClearUserFlags() {
  m_userModified = false;
  m_editedSinceEnter = false;
}

void TcxCustomEdit::PushFlags() { m_savedFlags.emplace_back(m_userModified, m_editedSinceEnter); }

void TcxCustomEdit::PopFlags() {
  if (m_savedFlags.empty()) return;
  std::tie(m_userModified, m_editedSinceEnter) = m_savedFlags.back();
  m_savedFlags.pop_back();
}

void TcxCustomEdit::RaiseChangeEvent() {
  if (m_changeEvents.CatchChange()) return;
  RaiseChange();
}

void TcxCustomEdit::RaiseEditValueChangedEvent() {
  if (m_changeEvents.CatchEditValueChanged()) return;
  RaiseEditValueChanged();
}

void TcxCustomEdit::RaiseChange() {
  if (m_properties->OnChange) m_properties->OnChange(*this);
}

void TcxCustomEdit::RaiseEditValueChanged() {
  if (m_properties->OnEditValueChanged) m_properties->OnEditValueChanged(*this);
}

Variant TcxCustomEdit::ValueToText(const Variant& value, bool focused) const {
  return m_properties->ValueToDisplayValue(value, focused);
}

void TcxCustomEdit::PropertiesChanged() {
  if (IsLoading()) return;  // applied once when loading ends
  ApplySettings();
}

void TcxCustomEdit::ApplySettings() {
  m_textChecked = false;
  if (!m_editedSinceEnter) RefreshText();
  Invalidate();
}

const TcxEditStyle& TcxCustomEdit::ActiveStyle() const {
  if (!Enabled()) return m_styleDisabled;
  if (Focused()) return m_styleFocused;
  if (IsHot()) return m_styleHot;
  return m_style;
}

void TcxCustomEdit::SetParentColor(bool parentColor) {
  if (parentColor == m_parentColor) return;
  m_parentColor = parentColor;
  StyleChanged();
}

TColor TcxCustomEdit::DefaultStyleColor() const {
  return m_parentColor && Parent() ? Parent()->Color() : clWindow;
}

TcxEditBorderStyle TcxCustomEdit::DefaultBorderStyle(TcxLookAndFeelKind kind) const {
  return BorderStyleOfKind(kind);
}

void TcxCustomEdit::StyleChanged() {
  CalculateLayout();
  Invalidate();
}

namespace {

TcxContainerBorderStyle ContainerBorderStyle(TcxEditBorderStyle style) {
  return static_cast<TcxContainerBorderStyle>(static_cast<int>(style));
}

}  // namespace

TcxContainerStyleValues TcxCustomEdit::FrameStyleValues() const {
  const TcxEditStyle& active = ActiveStyle();
  TcxContainerStyleValues values;
  values.BorderStyle = ContainerBorderStyle(active.BorderStyle());
  values.MainBorderStyle = ContainerBorderStyle(m_style.BorderStyle());
  values.BorderColor = active.BorderColor();
  values.Color = active.Color();
  values.ButtonStyle = active.ButtonStyle();
  values.Edges = m_style.Edges();
  values.HotTrack = m_style.HotTrack();
  values.Shadow = m_style.Shadow();
  values.TransparentBorder = m_style.TransparentBorder();
  values.ButtonTransparency = m_style.ButtonTransparency();
  values.NativeStyle = m_style.LookAndFeel.NativeStyle();
  return values;
}

void TcxCustomEdit::FocusChanged() { UpdateHotState(); }

void TcxCustomEdit::NativeFocusOut() {
  Guarded([&] { FocusChanged(); });
}

bool TcxCustomEdit::NativeMouseDown(TMouseButton button, TPoint at, TShiftState shift) {
  bool proceed = false;
  Guarded([&] {
    INativeWindow* focusWindow = FocusWindow();
    if (!(shift & ssDouble) && focusWindow && !focusWindow->HasFocus()) SetFocus();
    if (!Focused()) {
      // The focus stayed elsewhere: the press is dropped without a trace.
      if (Window()) Window()->ReleaseCapture();
      return;
    }
    proceed = FrameMouseDown(button, at, shift) && MouseDown(button, at, shift);
  });
  return proceed;
}

void TcxCustomEdit::SetAutoSize(bool autoSize) {
  if (autoSize == m_autoSize) return;
  m_autoSize = autoSize;
  StyleChanged();
}

// Loading: the stored settings are applied with change events held, and the hold is
// released without delivering them, so that no handler sees the form being built.
void TcxCustomEdit::LoadingStarted() {
  m_changeEvents.Lock();
  ++m_settingValue;
}

void TcxCustomEdit::Loaded() {
  try {
    ApplySettings();
  } catch (...) {
    --m_settingValue;
    m_changeEvents.Unlock(false);
    throw;
  }
  --m_settingValue;
  m_changeEvents.Unlock(false);
}

// ---------------------------------------------------------------------------------------
// Permission to edit

bool TcxCustomEdit::AllowsModification() const {
  if (m_properties->AssignedValues() & evReadOnly) return !m_properties->ReadOnly();
  return m_dataBinding->CanModify();
}

bool TcxCustomEdit::AskPermissionToEdit() {
  if (m_editedSinceEnter) return true;
  bool allowed = false;
  ++m_askingToEdit;
  try {
    allowed = AllowsModification();
    if (allowed && OnEditing) {
      bool canEdit = true;
      OnEditing(*this, canEdit);
      allowed = canEdit;
    }
  } catch (...) {
    --m_askingToEdit;
    throw;
  }
  --m_askingToEdit;
  return allowed && m_dataBinding->ConfirmEditing();
}

// ---------------------------------------------------------------------------------------
// Checking and committing

bool TcxCustomEdit::CheckCurrentText(Variant& displayValue, std::string& errorText) {
  displayValue = Variant::FromString(Text());
  bool error = false;
  errorText.clear();
  if (m_properties->CanCheckText()) m_properties->CheckText(displayValue, errorText, *this, error);
  return !error;
}

bool TcxCustomEdit::CheckAndCommitText(bool reportErrors) {
  if (!m_editedSinceEnter || m_textChecked) return true;
  Variant displayValue;
  std::string errorText;
  if (!CheckCurrentText(displayValue, errorText)) {
    auto restoreText = [&] {
      const std::string wanted = VariantToString(displayValue);
      if (Text() != wanted) {
        PutDisplayText(wanted);
        if (IsShowing()) SelectAllText();
      }
    };
    if (reportErrors) {
      try {
        ReportTextError(errorText);
      } catch (...) {
        restoreText();
        throw;
      }
      if (TApplication* app = Application()) app->ProcessMessages();
    }
    restoreText();
    return false;
  }
  if (!m_applyingUserChange || AskPermissionToEdit()) {
    ApplyDisplayValue(displayValue);
    if (!Focused()) m_editedSinceEnter = false;
    m_textChecked = true;
  }
  return true;
}

void TcxCustomEdit::ReportTextError(const std::string& errorText) {
  if (!Focused() && IsShowing()) {
    TFlagScope restoring(m_restoringFocus);
    SetFocus();
  }
  if (IsShowing()) SelectAllText();
  if (m_properties->BeepOnError())
    if (TApplication* app = Application()) app->Beep();
  if (!errorText.empty()) throw Error(errorText);
}

void TcxCustomEdit::ApplyDisplayValue(const Variant& displayValue) {
  TcxSavedFlagsScope saved(*this);
  PutDisplayText(VariantToString(displayValue));
  TakeTextAsValue();
}

void TcxCustomEdit::PostEditValue() {
  if (CanPostEditValue()) m_dataBinding->PostEditValue();
}

// The check reports nothing and the text stays as typed: a number half typed ('-',
// '1e') must be neither selected nor rewritten under the user's fingers. Enter and
// leaving run the full check with its messages; leaving shows the committed value.
void TcxCustomEdit::PostImmediately() {
  if (!m_properties->ImmediatePost() || !m_editedSinceEnter || m_textChecked) return;
  TcxChangeEventsHold hold(*this);
  Variant displayValue;
  std::string errorText;
  if (!CheckCurrentText(displayValue, errorText)) return;
  if (m_applyingUserChange && !AskPermissionToEdit()) return;
  {
    TcxSavedFlagsScope saved(*this);
    TakeValueOf(VariantToString(displayValue));
  }
  m_textChecked = true;
  if (CanPostEditValue()) PostEditValue();
}

void TcxCustomEdit::UndoEdit() {
  TcxChangeEventsHold hold(*this);
  m_editedSinceEnter = false;
  StoreEditValue(m_valueAtEnter);
  m_userModified = true;
  SelectAllText();
  if (m_properties->ImmediatePost() && CanPostEditValue()) PostEditValue();
}

// ---------------------------------------------------------------------------------------
// Entering and leaving

void TcxCustomEdit::DoEnter() {
  if (m_restoringFocus) return;
  {
    TcxSavedFlagsScope saved(*this);
    TcxContainer::DoEnter();
    RefreshText();
    m_valueAtEnter = m_editValue;
    RefreshText();
  }
  m_editedSinceEnter = false;
  Invalidate();
}

void TcxCustomEdit::DoExit() {
  if (m_restoringFocus) return;
  {
    TcxSavedFlagsScope saved(*this);
    TFlagScope notApplying(m_applyingUserChange, false);
    if (m_editedSinceEnter) {
      TcxChangeEventsHold hold(*this);
      if (!CheckAndCommitText(true)) return;
      if (CanPostEditValue()) PostEditValue();
    }
    RefreshText();
    Invalidate();
  }
  TcxContainer::DoExit();
  m_editedSinceEnter = false;
}

// ---------------------------------------------------------------------------------------
// Keys

TDialogCodes TcxCustomEdit::DialogCodes(TShiftState shift) const {
  return dcWantArrows | dcWantChars | ((shift & ssCtrl) ? 0 : dcWantTab);
}

void TcxCustomEdit::NativeKeyDown(TKey& key, TShiftState shift) {
  TKey passed = key;
  key = 0;  // a key whose handling failed goes no further
  Guarded([&] {
    m_escapeConsumed = false;
    if (!(ClickKey.Matches(passed, shift) && HasButtons()) && OnKeyDown) OnKeyDown(*this, passed, shift);
    if (passed != 0) HandleKeyDown(passed, shift);
    key = passed;
  });
}

void TcxCustomEdit::HandleKeyDown(TKey& key, TShiftState shift) {
  if (ClearKey.Matches(key, shift)) {
    TFlagScope applying(m_applyingUserChange);
    SetEditValue(Variant::Null());
    m_textChecked = true;
    key = 0;
    return;
  }
  if (ClickKey.Matches(key, shift) && HasButtons()) {
    if (TApplication* app = Application(); app && FocusWindow())
      app->Platform().Windows.RemovePendingCharacter(*FocusWindow());
    key = 0;
    return;
  }
  if (KeyEditsText(key, shift) && !m_editedSinceEnter && !AskPermissionToEdit()) {
    // Backspace does its deleting at the character: a refused key must not leave its
    // character behind, or the native control would delete after all.
    if (TApplication* app = Application(); app && FocusWindow())
      app->Platform().Windows.RemovePendingCharacter(*FocusWindow());
    key = 0;
    return;
  }
  if (key == vk::Tab && Focused() && !(shift & (ssCtrl | ssAlt))) {
    key = 0;
    if (TCustomForm* form = GetParentForm()) form->SelectNext(this, (shift & ssShift) == 0);
    return;
  }
  if (key == vk::Return && m_properties->ValidateOnEnter()) {
    key = 0;
    TcxChangeEventsHold hold(*this);
    if (CheckAndCommitText(true) && CanPostEditValue()) PostEditValue();
    return;
  }
  if (key == vk::Escape && m_editedSinceEnter) {
    UndoEdit();
    m_escapeConsumed = true;
    key = 0;
  }
}

void TcxCustomEdit::NativeChar(char16_t& ch) {
  char16_t passed = ch;
  ch = 0;
  Guarded([&] {
    if (passed == 27 && m_escapeConsumed) {
      m_escapeConsumed = false;
      return;
    }
    if (OnKeyPress) OnKeyPress(*this, passed);
    if (passed != 0) HandleKeyPress(passed);
    // A single-line native control answers Enter with a warning beep; without
    // BeepOnEnter it never sees the Enter.
    if (passed == 13 && !BeepOnEnter) passed = 0;
    ch = passed;
  });
}

void TcxCustomEdit::HandleKeyPress(char16_t& key) {
  if (key >= 32 && !AcceptsChar(key)) {
    key = 0;
    return;
  }
  if (key != 0 && CharEditsText(key) && !m_editedSinceEnter && !AskPermissionToEdit()) key = 0;
}

void TcxCustomEdit::NativeKeyUp(TKey& key, TShiftState shift) {
  TKey passed = key;
  key = 0;
  Guarded([&] {
    if (OnKeyUp) OnKeyUp(*this, passed, shift);
    if (passed != 0) HandleKeyUp(passed, shift);
    key = passed;
  });
}

void TcxCustomEdit::HandleKeyUp(TKey&, TShiftState) {}

void TcxCustomEdit::MouseUp(TMouseButton button, TPoint, TShiftState) {
  if (button == TMouseButton::mbLeft && m_settingValue == 0 && OnClick) OnClick(*this);
}

}  // namespace vormix
