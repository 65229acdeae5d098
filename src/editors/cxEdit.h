#pragma once
// The editor core every editor control shares: one edit value with a display text kept
// in step with it, a settings object, permission to edit, change notifications that can
// be held, and the edit cycle that runs while an editor has the focus (keys in a fixed
// order with the user's events first, checking and committing the text on Enter and on
// leaving, undo with Escape).
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/Variant.h"
#include "lookandfeel/cxContainer.h"
#include "lookandfeel/cxLookAndFeels.h"

namespace vormix {

class TcxCustomEdit;

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TcxEditVertAlignment { taTopJustify, taBottomJustify, taVCenter };

struct TcxEditAlignment {
  TAlignment Horz = TAlignment::taLeftJustify;
  TcxEditVertAlignment Vert = TcxEditVertAlignment::taTopJustify;
  bool operator==(const TcxEditAlignment&) const = default;
};

// A key together with its modifiers, as shortcuts are written (Ctrl+Enter and the like).
struct TShortCut {
  TKey Key = 0;
  TShiftState Shift = 0;
  bool IsNone() const { return Key == 0; }
  bool Matches(TKey key, TShiftState shift) const {
    return Key != 0 && key == Key && (shift & (ssShift | ssCtrl | ssAlt)) == Shift;
  }
};

// Answers the defaults of settings that were never assigned. A standalone editor's
// provider has no data source behind it and answers the plain defaults.
class TcxCustomEditDefaultValuesProvider {
 public:
  virtual ~TcxCustomEditDefaultValuesProvider() = default;
  virtual double DefaultMaxValue() const { return 0; }
  virtual double DefaultMinValue() const { return 0; }
  virtual std::string DefaultDisplayFormat() const { return {}; }
  virtual std::string DefaultEditMask() const { return {}; }
  virtual TAlignment DefaultAlignment() const { return TAlignment::taLeftJustify; }
  virtual int DefaultPrecision() const { return 15; }
  virtual bool IsFloatValue() const { return false; }
  virtual bool CanModify() const { return true; }
  virtual bool IsReadOnly() const { return false; }
  virtual bool EmptyTextIsZero() const { return false; }
};

// The channel between an editor and a data source. The standalone binding relays
// without storing anything.
class TcxEditDataBinding {
 public:
  explicit TcxEditDataBinding(TcxCustomEdit& edit);
  TcxCustomEditDefaultValuesProvider& DefaultValuesProvider() { return m_provider; }
  void SetDisplayText(const std::string& text);
  void UpdateDisplayValue();
  bool CanModify() const { return m_provider.CanModify(); }
  bool CanPostEditValue() const;
  void PostEditValue() {}
  bool ConfirmEditing() const { return true; }

 private:
  TcxCustomEdit& m_edit;
  TcxCustomEditDefaultValuesProvider m_provider;
};

// Holds OnChange and OnEditValueChanged while a hold is open; when the outermost hold
// is released with delivery, what was raised meanwhile is raised once, OnChange first.
class TcxEditChangeEventsCatcher {
 public:
  explicit TcxEditChangeEventsCatcher(TcxCustomEdit& edit) : m_edit(edit) {}
  void Lock();
  void Unlock(bool deliver);
  bool IsLocked() const { return m_lockCount > 0; }
  // Answer true when the event was held instead of raised.
  bool CatchChange();
  bool CatchEditValueChanged();

 private:
  TcxCustomEdit& m_edit;
  int m_lockCount = 0;
  bool m_changePending = false;
  bool m_editValueChangedPending = false;
};

enum class TcxEditBorderStyle { ebsNone, ebsSingle, ebsThick, ebsFlat, ebs3D, ebsUltraFlat, ebsOffice11 };

// Which values of a style were assigned; the others are resolved.
using TcxEditStyleValues = unsigned;
constexpr TcxEditStyleValues svBorderStyle = 1, svColor = 2, svFont = 4, svTextColor = 8, svBorderColor = 16,
                             svButtonStyle = 32, svButtonTransparency = 64, svEdges = 128, svHotTrack = 256,
                             svShadow = 512, svTransparentBorder = 1024;

// The four styles of an editor: the main one and those of its states.
enum class TcxEditStyleState { essNormal, essDisabled, essFocused, essHot };

// The appearance of an editor in one of its states. A value that was assigned is used as
// it is; one that was not is resolved: the main style from the look-and-feel and the
// defaults, a state style from the main style (the focused and hot styles raise the
// border one step while hot tracking, the disabled style greys). The frame values that
// only the main style publishes (edges, hot tracking, shadow, transparent border, button
// transparency) are always the main style's.
class TcxEditStyle {
 public:
  explicit TcxEditStyle(TcxCustomEdit& edit, const TcxEditStyle* parent = nullptr,
                        TcxEditStyleState state = TcxEditStyleState::essNormal);
  virtual ~TcxEditStyle() = default;

  TcxLookAndFeel LookAndFeel;
  TcxEditBorderStyle BorderStyle() const;
  void SetBorderStyle(TcxEditBorderStyle style);
  TColor BorderColor() const;
  void SetBorderColor(TColor color);
  TColor Color() const;
  void SetColor(TColor color);
  TColor TextColor() const;
  void SetTextColor(TColor color);
  TcxEditButtonStyle ButtonStyle() const;
  void SetButtonStyle(TcxEditButtonStyle style);

  TcxBorders Edges() const;
  void SetEdges(TcxBorders edges);
  bool HotTrack() const;
  void SetHotTrack(bool hotTrack);
  bool Shadow() const;
  void SetShadow(bool shadow);
  bool TransparentBorder() const;
  void SetTransparentBorder(bool transparent);
  TcxEditButtonTransparency ButtonTransparency() const;
  void SetButtonTransparency(TcxEditButtonTransparency transparency);

  TcxEditStyleValues AssignedValues() const { return m_assigned; }
  void RestoreDefaults();

 protected:
  void Changed();

 private:
  template <class T>
  void Assign(T& field, const T& value, TcxEditStyleValues flag) {
    field = value;
    m_assigned |= flag;
    Changed();
  }
  bool IsAssigned(TcxEditStyleValues flag) const { return (m_assigned & flag) != 0; }
  const TcxEditStyle& Main() const { return m_parent ? *m_parent : *this; }

  TcxCustomEdit& m_edit;
  const TcxEditStyle* m_parent;
  TcxEditStyleState m_state;
  TcxEditStyleValues m_assigned = 0;
  TcxEditBorderStyle m_borderStyle = TcxEditBorderStyle::ebs3D;
  TColor m_borderColor = clWindowFrame;
  TColor m_color = clWindow;
  TColor m_textColor = clWindowText;
  TcxEditButtonStyle m_buttonStyle = TcxEditButtonStyle::btsDefault;
  TcxBorders m_edges = cxBordersAll;
  bool m_hotTrack = true;
  bool m_shadow = false;
  bool m_transparentBorder = true;
  TcxEditButtonTransparency m_buttonTransparency = TcxEditButtonTransparency::ebtNone;
};

// A state style: it publishes only the border, button style and colours (and the text
// values); everything else comes from the main style.
class TcxEditStyleEx : public TcxEditStyle {
 public:
  using TcxEditStyle::TcxEditStyle;
};

// One button of an editor. What it shows is the editor's business: the numeric field's
// buttons always show its spin arrows.
enum class TcxEditButtonKind { bkEllipsis, bkDown, bkGlyph, bkText };

struct TcxEditButton {
  TcxEditButtonKind Kind = TcxEditButtonKind::bkDown;
  int Width = 0;  // 0: the editor's default width
  bool Enabled = true;
  bool Visible = true;
  bool Default = false;
  bool operator==(const TcxEditButton&) const = default;
};

using TcxEditValidateEvent =
    std::function<void(TObject& sender, Variant& displayValue, std::string& errorText, bool& error)>;
using TcxEditEditingEvent = std::function<void(TObject& sender, bool& canEdit)>;

// Assigned flags of the provider-defaulted settings.
using TcxEditPropertiesValues = unsigned;
constexpr TcxEditPropertiesValues evReadOnly = 1, evMaxValue = 2, evMinValue = 4, evDisplayFormat = 8,
                                  evEditFormat = 16, evMaxLength = 32, evValueType = 64;

class TcxCustomEditProperties {
 public:
  explicit TcxCustomEditProperties(TcxCustomEdit* owner = nullptr) : m_owner(owner) {}
  virtual ~TcxCustomEditProperties() = default;
  TcxCustomEditProperties(const TcxCustomEditProperties&) = delete;
  TcxCustomEditProperties& operator=(const TcxCustomEditProperties&) = delete;

  TcxCustomEdit* Owner() const { return m_owner; }
  // The editor hears of changes only once it is fully built.
  void OwnerReady() { m_ownerReady = true; }
  void SetDefaultValuesProvider(TcxCustomEditDefaultValuesProvider* provider) { m_provider = provider; }
  TcxCustomEditDefaultValuesProvider* DefaultValuesProvider() const { return m_provider; }

  // Copies every setting of another settings object of the same kind.
  virtual void Assign(const TcxCustomEditProperties& source);

  bool AutoSelect() const { return m_autoSelect; }
  void SetAutoSelect(bool value) { Set(m_autoSelect, value); }
  bool BeepOnError() const { return m_beepOnError; }
  void SetBeepOnError(bool value) { Set(m_beepOnError, value); }
  bool ReadOnly() const;
  void SetReadOnly(bool value);
  bool ImmediatePost() const { return m_immediatePost; }
  void SetImmediatePost(bool value) { Set(m_immediatePost, value); }
  bool ValidateOnEnter() const { return m_validateOnEnter; }
  void SetValidateOnEnter(bool value) { Set(m_validateOnEnter, value); }
  bool HideSelection() const { return m_hideSelection; }
  void SetHideSelection(bool value) { Set(m_hideSelection, value); }
  TcxEditAlignment Alignment() const;
  void SetAlignment(const TcxEditAlignment& value);
  bool UseLeftAlignmentOnEditing() const { return m_useLeftAlignmentOnEditing; }
  void SetUseLeftAlignmentOnEditing(bool value) { Set(m_useLeftAlignmentOnEditing, value); }

  TcxEditPropertiesValues AssignedValues() const { return m_assigned; }
  void ClearAssignedValues(TcxEditPropertiesValues values);

  // The editor's buttons, in index order.
  const std::vector<TcxEditButton>& Buttons() const { return m_buttons; }
  void SetButtons(const std::vector<TcxEditButton>& buttons) { Set(m_buttons, buttons); }

  TNotifyEvent OnChange;
  TNotifyEvent OnEditValueChanged;
  TcxEditValidateEvent OnValidate;

  // Several changes as one: the editor hears of them once, at the end.
  void BeginUpdate() { ++m_updateCount; }
  void EndUpdate();
  // A setting changed; the editor is told.
  virtual void Changed();

  // What the editor asks of its settings object.
  virtual bool CanCheckText() const { return false; }
  virtual bool ChecksEquality() const { return false; }
  virtual bool ValueRaisesOnlyOnChange() const { return false; }
  virtual bool IsValueShowable(Variant& value, bool focused) const;
  virtual Variant ValueToDisplayValue(const Variant& value, bool focused) const;
  virtual void CheckText(Variant& displayValue, std::string& errorText, TcxCustomEdit& edit, bool& error);
  virtual Variant ValueForInvalid() const { return Variant::FromString({}); }

 protected:
  template <class T>
  void Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Changed();
  }
  void MarkAssigned(TcxEditPropertiesValues values) { m_assigned |= values; }
  void DoValidate(Variant& displayValue, std::string& errorText, bool& error, TcxCustomEdit& edit);

 private:
  TcxCustomEdit* m_owner;
  bool m_ownerReady = false;
  TcxCustomEditDefaultValuesProvider* m_provider = nullptr;
  int m_updateCount = 0;
  bool m_changedWhileUpdating = false;
  TcxEditPropertiesValues m_assigned = 0;
  bool m_autoSelect = true;
  bool m_beepOnError = false;
  bool m_readOnly = false;
  bool m_immediatePost = false;
  bool m_validateOnEnter = false;
  bool m_hideSelection = true;
  TcxEditAlignment m_alignment;
  bool m_alignmentAssigned = false;
  bool m_useLeftAlignmentOnEditing = true;
  std::vector<TcxEditButton> m_buttons;
};

class TcxCustomEdit : public TcxContainer {
 public:
  ~TcxCustomEdit() override;

  // The committed value, and storing one as a program assignment.
  const Variant& EditValue() const { return m_editValue; }
  void SetEditValue(const Variant& value);
  virtual void ClearValue();

  TcxCustomEditProperties& Properties() const { return *m_properties; }
  void AssignProperties(const TcxCustomEditProperties& source) { m_properties->Assign(source); }
  TcxEditDataBinding& DataBinding() { return *m_dataBinding; }

  TcxEditStyle& Style() { return m_style; }
  TcxEditStyleEx& StyleDisabled() { return m_styleDisabled; }
  TcxEditStyleEx& StyleFocused() { return m_styleFocused; }
  TcxEditStyleEx& StyleHot() { return m_styleHot; }
  // The style in force: disabled, focused, hot or plain, first match wins.
  const TcxEditStyle& ActiveStyle() const;

  // The main style's colour follows the parent's while this is set.
  bool ParentColor() const { return m_parentColor; }
  void SetParentColor(bool parentColor);
  // The colour of the main style when none is assigned.
  virtual TColor DefaultStyleColor() const;
  // The main style's border when none is assigned: the look-and-feel's.
  virtual TcxEditBorderStyle DefaultBorderStyle(TcxLookAndFeelKind kind) const;

  bool BeepOnEnter = true;
  bool AutoSize() const { return m_autoSize; }
  void SetAutoSize(bool autoSize);
  TShortCut ClickKey{vk::Return, ssCtrl};
  TShortCut ClearKey;

  TcxEditEditingEvent OnEditing;
  TNotifyEvent OnClick;

  // The state of the edit cycle.
  const Variant& ValueAtEnter() const { return m_valueAtEnter; }
  bool EditedSinceEnter() const { return m_editedSinceEnter; }
  bool UserModified() const { return m_userModified; }
  bool TextChecked() const { return m_textChecked; }
  bool ApplyingUserChange() const { return m_applyingUserChange; }
  bool EscapeConsumed() const { return m_escapeConsumed; }
  bool RestoringFocus() const { return m_restoringFocus; }
  int SettingValue() const { return m_settingValue; }
  int AskingToEdit() const { return m_askingToEdit; }

  // Checks the typed text and, when it passes, makes it the edit value; false when the
  // check failed. With errors reported, a failure takes the focus back and raises the
  // check's error text.
  bool CheckAndCommitText(bool reportErrors);
  bool CanPostEditValue() const { return m_editedSinceEnter; }
  void PostEditValue();
  // With ImmediatePost, after each change the user makes: checks the text quietly and,
  // when it passes, commits its value and posts it.
  void PostImmediately();
  // Asked before the first change of an edit cycle.
  bool AskPermissionToEdit();
  virtual bool HasButtons() const { return false; }

  // Called by the settings object after each change.
  void PropertiesChanged();
  void RaiseChangeEvent();
  void RaiseEditValueChangedEvent();

  void DoEnter() override;
  void DoExit() override;

 protected:
  TcxCustomEdit(std::string name, std::unique_ptr<TcxCustomEditProperties> properties);

  // The edit cycle's own processing, descendants first, then this base part.
  virtual bool KeyEditsText(TKey /*key*/, TShiftState /*shift*/) const { return false; }
  virtual bool CharEditsText(char16_t /*ch*/) const { return false; }
  virtual bool AllowsModification() const;
  virtual void HandleKeyDown(TKey& key, TShiftState shift);
  virtual void HandleKeyPress(char16_t& key);
  virtual void HandleKeyUp(TKey& key, TShiftState shift);
  virtual void RaiseChange();
  virtual void RaiseEditValueChanged();
  virtual void ReportTextError(const std::string& errorText);
  virtual void StoreEditValue(const Variant& value);
  virtual void ApplyDisplayValue(const Variant& displayValue);
  virtual bool AcceptsChar(char16_t /*ch*/) const { return true; }
  virtual Variant ValueToText(const Variant& value, bool focused) const;
  virtual void ApplySettings();
  virtual void UndoEdit();
  virtual void PutDisplayText(const std::string& /*text*/) {}
  virtual void RefreshText() {}
  virtual void TakeTextAsValue() { TakeValueOf(Text()); }
  // The value a text stands for becomes EditValue, as if the text were the current one.
  virtual void TakeValueOf(const std::string& /*text*/) {}
  virtual void SelectAllText() {}
  virtual void StyleChanged();
  // The keyboard focus came or went (also when the application was switched).
  virtual void FocusChanged();

  // The frame from the styles in force.
  TcxContainerStyleValues FrameStyleValues() const override;
  bool IsReadOnly() const override { return m_properties->ReadOnly(); }
  // A press on the frame gives the editor the focus first; a press is dropped when the
  // focus does not arrive (another editor's failed check kept it).
  bool NativeMouseDown(TMouseButton button, TPoint at, TShiftState shift) override;
  virtual bool FrameMouseDown(TMouseButton /*button*/, TPoint /*at*/, TShiftState /*shift*/) { return true; }
  void NativeFocusOut() override;

  // Flags that move together: an edit sets UserModified and clears TextChecked.
  void SetEditedSinceEnter(bool value);
  void ClearUserFlags();
  void SetTextChecked(bool value) { m_textChecked = value; }
  void SetApplyingUserChange(bool value) { m_applyingUserChange = value; }
  void SetRestoringFocus(bool value) { m_restoringFocus = value; }
  void PushFlags();
  void PopFlags();
  TcxEditChangeEventsCatcher& ChangeEvents() { return m_changeEvents; }
  // Stores the value without comparing or raising anything (construction).
  void InitEditValue(const Variant& value) { m_editValue = value; }
  void SetEditValueField(const Variant& value) { m_editValue = value; }

  void LoadingStarted() override;
  void Loaded() override;

  // Native input, in the order the edit cycle defines.
  TDialogCodes DialogCodes(TShiftState shift) const override;
  void NativeKeyDown(TKey& key, TShiftState shift) override;
  void NativeChar(char16_t& ch) override;
  void NativeKeyUp(TKey& key, TShiftState shift) override;
  void MouseUp(TMouseButton button, TPoint at, TShiftState shift) override;

  friend class TcxEditChangeEventsCatcher;
  friend class TcxEditDataBinding;
  friend class TcxEditStyle;
  friend class TcxSavedFlagsScope;
  friend class TcxChangeEventsHold;
  friend class TcxUserChangeScope;

 private:
  // Steps 2 and 3 of the check: the display value the current text stands for, with the
  // error text; false when the check failed.
  bool CheckCurrentText(Variant& displayValue, std::string& errorText);

  std::unique_ptr<TcxCustomEditProperties> m_properties;
  std::unique_ptr<TcxEditDataBinding> m_dataBinding;
  TcxEditChangeEventsCatcher m_changeEvents{*this};
  TcxEditStyle m_style{*this};
  TcxEditStyleEx m_styleDisabled{*this, &m_style, TcxEditStyleState::essDisabled};
  TcxEditStyleEx m_styleFocused{*this, &m_style, TcxEditStyleState::essFocused};
  TcxEditStyleEx m_styleHot{*this, &m_style, TcxEditStyleState::essHot};

  Variant m_editValue = Variant::Null();
  Variant m_valueAtEnter;
  bool m_editedSinceEnter = false;
  bool m_userModified = false;
  bool m_textChecked = false;
  bool m_applyingUserChange = false;
  bool m_escapeConsumed = false;
  bool m_restoringFocus = false;
  int m_settingValue = 0;
  int m_askingToEdit = 0;
  std::vector<std::pair<bool, bool>> m_savedFlags;
  bool m_autoSize = true;
  bool m_parentColor = false;
};

// Pushes the saved-flags stack for a scope.
class TcxSavedFlagsScope {
 public:
  explicit TcxSavedFlagsScope(TcxCustomEdit& edit) : m_edit(edit) { m_edit.PushFlags(); }
  ~TcxSavedFlagsScope() { m_edit.PopFlags(); }
  TcxSavedFlagsScope(const TcxSavedFlagsScope&) = delete;
  TcxSavedFlagsScope& operator=(const TcxSavedFlagsScope&) = delete;

 private:
  TcxCustomEdit& m_edit;
};

// Marks a scope in which the editor applies a change on the user's behalf: a value
// stored or taken from the text meanwhile is his edit (and asks the permission to edit).
class TcxUserChangeScope {
 public:
  explicit TcxUserChangeScope(TcxCustomEdit& edit) : m_flag(edit.m_applyingUserChange), m_saved(m_flag) {
    m_flag = true;
  }
  ~TcxUserChangeScope() { m_flag = m_saved; }
  TcxUserChangeScope(const TcxUserChangeScope&) = delete;
  TcxUserChangeScope& operator=(const TcxUserChangeScope&) = delete;

 private:
  bool& m_flag;
  bool m_saved;
};

// Holds the change events for a scope. They are delivered when the scope ends normally;
// when an error leaves it, they are released undelivered and the error goes on.
class TcxChangeEventsHold {
 public:
  explicit TcxChangeEventsHold(TcxCustomEdit& edit);
  ~TcxChangeEventsHold() noexcept(false);
  TcxChangeEventsHold(const TcxChangeEventsHold&) = delete;
  TcxChangeEventsHold& operator=(const TcxChangeEventsHold&) = delete;

 private:
  TcxCustomEdit& m_edit;
  int m_uncaught;
};

}  // namespace vormix
