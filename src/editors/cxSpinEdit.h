#pragma once
// The numeric field: a single-line text editor whose value is a 64-bit integer (or a
// double). It filters the characters it accepts, parses its text on leaving, shows its
// number in plain decimal, and answers Value in every state.
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "editors/cxMaskEdit.h"
#include "platform/WindowSystem.h"

namespace vormix {

enum class TcxSpinEditValueType { vtInt, vtFloat };
enum class TcxSpinEditButtonsPosition { sbpHorzLeftRight, sbpHorzRight, sbpVert };

// Where the spin buttons lie and whether the fast buttons (the large step) show too.
struct TcxSpinEditButtons {
  TcxSpinEditButtonsPosition Position = TcxSpinEditButtonsPosition::sbpVert;
  bool ShowFastButtons = false;
  bool operator==(const TcxSpinEditButtons&) const = default;
};

// The directions of a step, numbered as the buttons are.
enum TcxSpinEditDirection : int { sdDown = 0, sdUp = 1, sdFastDown = 2, sdFastUp = 3 };

// The assigned flags of the settings, with the value type among them.
using TcxSpinEditPropertiesValues = TcxEditPropertiesValues;

using TcxSpinEditGetValueEvent =
    std::function<void(TObject& sender, const std::string& text, Variant& value, std::string& errorText, bool& error)>;

class TcxCustomSpinEditProperties : public TcxCustomMaskEditProperties {
 public:
  explicit TcxCustomSpinEditProperties(TcxCustomEdit* owner = nullptr);
  void Assign(const TcxCustomEditProperties& source) override;

  TcxSpinEditValueType ValueType() const;  // the effective value type
  void SetValueType(TcxSpinEditValueType value);
  double MinValue() const;
  void SetMinValue(double value);
  double MaxValue() const;
  void SetMaxValue(double value);
  double Increment() const { return m_increment; }
  void SetIncrement(double value) { Set(m_increment, value); }
  double LargeIncrement() const { return m_largeIncrement; }
  void SetLargeIncrement(double value) { Set(m_largeIncrement, value); }
  bool CanEdit() const { return m_canEdit; }
  void SetCanEdit(bool value) { Set(m_canEdit, value); }
  bool UseCtrlIncrement() const { return m_useCtrlIncrement; }
  void SetUseCtrlIncrement(bool value) { Set(m_useCtrlIncrement, value); }
  const TcxSpinEditButtons& SpinButtons() const { return m_spinButtons; }
  // Showing the fast buttons adds the last two buttons; hiding them removes them.
  void SetSpinButtons(const TcxSpinEditButtons& value);
  bool ExceptionOnInvalidInput() const { return m_exceptionOnInvalidInput; }
  void SetExceptionOnInvalidInput(bool value) { Set(m_exceptionOnInvalidInput, value); }
  std::string DisplayFormat() const;
  void SetDisplayFormat(const std::string& value);
  std::string EditFormat() const { return (AssignedValues() & evEditFormat) ? m_editFormat : std::string(); }
  void SetEditFormat(const std::string& value);
  bool UseDisplayFormatWhenEditing() const { return m_useDisplayFormatWhenEditing; }
  void SetUseDisplayFormatWhenEditing(bool value) { Set(m_useDisplayFormatWhenEditing, value); }

  TcxSpinEditGetValueEvent OnGetValue;

  // The limits as the value type sees them, and whether they apply at all.
  double EffectiveMinValue() const;
  double EffectiveMaxValue() const;
  bool LimitsActive() const { return EffectiveMaxValue() > EffectiveMinValue(); }

  // The character that separates the fraction; ',' and '.' typed by the user become it.
  static constexpr char kDecimalSeparator = '.';

  // A number converted to the value type; anything else unchanged.
  Variant ToValueType(const Variant& value) const;
  bool IsInRange(long double number) const;
  // Below the minimum gives the minimum, above the maximum the maximum, while the
  // limits are active; other values are left alone.
  Variant Clamp(const Variant& value) const;
  // Parses a text with the decimal grammar; true when it reads as a number in range.
  bool ParsesInRange(const std::string& text, Variant* number = nullptr) const;
  // The plain text of a number: decimal digits, '-' for negatives.
  std::string StandardText(const Variant& value) const;

  bool IsValueShowable(Variant& value, bool focused) const override;
  Variant ValueToDisplayValue(const Variant& value, bool focused) const override;
  void CheckText(Variant& displayValue, std::string& errorText, TcxCustomEdit& edit, bool& error) override;
  Variant ValueForInvalid() const override;

  static constexpr const char* kValueOutOfBounds = "Value out of bounds";
  static constexpr const char* kInvalidNumericValue = "Invalid numeric value";
  static constexpr const char* kCannotConvert = "Could not convert to numeric value";

 private:
  TcxSpinEditValueType m_valueType = TcxSpinEditValueType::vtInt;
  double m_minValue = 0;
  double m_maxValue = 0;
  double m_increment = 1.0;
  double m_largeIncrement = 10.0;
  bool m_canEdit = true;
  bool m_useCtrlIncrement = false;
  TcxSpinEditButtons m_spinButtons;
  bool m_exceptionOnInvalidInput = false;
  std::string m_displayFormat;
  std::string m_editFormat;
  bool m_useDisplayFormatWhenEditing = false;
};

class TcxSpinEditProperties : public TcxCustomSpinEditProperties {
 public:
  using TcxCustomSpinEditProperties::TcxCustomSpinEditProperties;
};

struct TcxTextToNumberResult {
  Variant Number;
  bool Success = false;
  std::string ErrorText;
};

class TcxCustomSpinEdit : public TcxCustomMaskEdit {
 public:
  TcxCustomSpinEditProperties& Properties() const {
    return static_cast<TcxCustomSpinEditProperties&>(TcxCustomEdit::Properties());
  }

  Variant Value() const;
  void SetValue(const Variant& value);
  void SetValue(std::int64_t value) { SetValue(Variant::FromInt64(value)); }

  // The text as a number of the value type; on failure the last valid number, and with
  // raise set (and ExceptionOnInvalidInput) an error.
  TcxTextToNumberResult TextToNumber(const std::string& text, bool raise) const;

  const Variant& LastNumber() const { return m_lastNumber; }
  bool TextFromUser() const { return m_textFromUser; }
  bool UserKeyActive() const { return m_userKeyActive; }
  bool HasButtons() const override { return true; }

  // One step in a direction: the number, the text and the last number change, the edit
  // value not (it follows when the field is left). False when nothing changed.
  bool Step(int direction);
  // Ends a held press or a held step key.
  void StopStepping();
  // The button shown pressed by a held step key, as its index + 1; 0 for none.
  int KeyPressedButton() const { return m_keyPressedButton; }
  // The button a held mouse press started on; -1 for none.
  int CapturedButton() const { return m_capturedButton; }
  bool IsRepeating() const { return m_repeatTimer != nullptr; }
  // The length of the arrows of the classic spin buttons.
  int SpinArrowSize() const { return m_spinArrowSize; }

 protected:
  TcxCustomSpinEdit(std::string name, std::unique_ptr<TcxCustomSpinEditProperties> properties);

  bool AcceptsChar(char16_t ch) const override;
  void HandleKeyDown(TKey& key, TShiftState shift) override;
  void HandleKeyPress(char16_t& key) override;
  void HandleKeyUp(TKey& key, TShiftState shift) override;
  void TextChanged() override;
  void RefreshText() override;
  void TakeValueOf(const std::string& text) override;
  Variant TextToValue(const std::string& text) override;
  void ApplySettings() override;
  bool CanPaste() override;
  bool CanCut() override;
  // The direction a key steps in (Up, Down, Page Up, Page Down), or -1.
  static int StepDirection(TKey key);
  void SetLastNumber(const Variant& number) { m_lastNumber = number; }

  // The buttons: their layout and states, their arrows, and the mouse on them.
  void CalculateButtons(TRect& contentRect, TcxContainerViewInfo& viewInfo) override;
  void PaintEditButtonContent(ICanvas& canvas, const TcxEditButtonViewInfo& button, const TRect& rect,
                              TColor faceColor, TColor arrowColor) override;
  void PaintContent(ICanvas& canvas) override;
  bool FrameMouseDown(TMouseButton button, TPoint at, TShiftState shift) override;
  void MouseUp(TMouseButton button, TPoint at, TShiftState shift) override;
  void ContainerMouseMove(TPoint at, TShiftState shift) override;
  void NativeCaptureLost() override;
  bool NativeMouseWheel(int delta, TPoint at, TShiftState shift) override;
  void FocusChanged() override;

 private:
  bool ResultAcceptable(const std::u16string& result) const;
  // The number one step in the direction leads to; false when a limit allows no step.
  bool NextNumber(int direction, Variant& number);
  void PlaceButtons(TRect& area, const TcxContainerViewInfo& viewInfo, int columnWidth,
                    std::array<TRect, 4>& rects) const;
  void SetButtonStates(TcxContainerViewInfo& viewInfo);
  int ButtonAt(TPoint at) const;
  // A press on a button that was not pressed before: a step at once, then auto-repeat.
  void StartPress(int index);
  void RepeatTimerTick();

  Variant m_lastNumber = Variant::FromInt64(0);
  bool m_textFromUser = false;
  bool m_userKeyActive = false;

  int m_keyPressedButton = 0;
  int m_capturedButton = -1;
  int m_pressedButton = -1;
  int m_hotButton = -1;
  std::unique_ptr<ITimer> m_repeatTimer;
  int m_wheelDelta = 0;
  int m_spinArrowSize = 0;
  TcxSpinEditButtonsPosition m_buttonsPosition = TcxSpinEditButtonsPosition::sbpVert;
};

class TcxSpinEdit : public TcxCustomSpinEdit {
 public:
  explicit TcxSpinEdit(std::string name = {});
  TcxSpinEditProperties& Properties() const {
    return static_cast<TcxSpinEditProperties&>(TcxCustomEdit::Properties());
  }
};

}  // namespace vormix
