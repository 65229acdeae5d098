#include "editors/cxSpinEdit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "base/Error.h"
#include "base/NumberText.h"
#include "base/Utf.h"
#include "forms/Forms.h"

namespace vormix {

namespace {

constexpr long double kFloatLimit = 1.7e308L;

// The number as a long double, for comparisons with the limits.
long double NumberOf(const Variant& value) {
  if (value.IsIntegerKind()) return static_cast<long double>(value.AsInt64());
  return static_cast<long double>(value.AsDouble());
}

// A floating-point format pattern: digits placeholders '0' and '#', one '.', and ','
// for thousands grouping; other characters are copied. Only the first section counts.
std::string FormatNumber(long double number, const std::string& pattern) {
  std::string section = pattern.substr(0, pattern.find(';'));
  const std::size_t first = section.find_first_of("0#.,");
  const std::size_t last = section.find_last_of("0#.,");
  if (first == std::string::npos) return section;
  const std::string prefix = section.substr(0, first), suffix = section.substr(last + 1);
  const std::string body = section.substr(first, last - first + 1);
  const std::size_t point = body.find('.');
  const std::string integerPart = body.substr(0, point);
  const std::string fractionPart = point == std::string::npos ? std::string() : body.substr(point + 1);
  const int minDecimals = static_cast<int>(std::count(fractionPart.begin(), fractionPart.end(), '0'));
  const int maxDecimals = minDecimals + static_cast<int>(std::count(fractionPart.begin(), fractionPart.end(), '#'));
  const bool grouping = integerPart.find(',') != std::string::npos;
  const int minIntegers = static_cast<int>(std::count(integerPart.begin(), integerPart.end(), '0'));

  const long double scale = std::pow(10.0L, maxDecimals);
  long double scaled = std::nearbyint(std::fabs(number) * scale);
  const bool negative = number < 0 && scaled != 0;
  std::string digits = std::to_string(static_cast<unsigned long long>(scaled));
  if (static_cast<int>(digits.size()) <= maxDecimals) digits.insert(0, maxDecimals + 1 - digits.size(), '0');
  std::string integers = digits.substr(0, digits.size() - maxDecimals);
  std::string decimals = digits.substr(digits.size() - maxDecimals);
  while (static_cast<int>(decimals.size()) > minDecimals && decimals.back() == '0') decimals.pop_back();
  if (integers == "0" && minIntegers == 0) integers.clear();
  if (static_cast<int>(integers.size()) < minIntegers) integers.insert(0, minIntegers - integers.size(), '0');
  if (grouping)
    for (int i = static_cast<int>(integers.size()) - 3; i > 0; i -= 3) integers.insert(static_cast<std::size_t>(i), ",");
  std::string out = prefix + (negative ? "-" : "") + integers;
  if (!decimals.empty()) out += '.' + decimals;
  return out + suffix;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Settings

TcxCustomSpinEditProperties::TcxCustomSpinEditProperties(TcxCustomEdit* owner) : TcxCustomMaskEditProperties(owner) {
  BeginUpdate();
  SetButtons({TcxEditButton{}, TcxEditButton{}});  // down, up
  EndUpdate();
}

void TcxCustomSpinEditProperties::SetSpinButtons(const TcxSpinEditButtons& value) {
  if (value == m_spinButtons) return;
  BeginUpdate();
  m_spinButtons = value;
  std::vector<TcxEditButton> buttons = Buttons();
  buttons.resize(value.ShowFastButtons ? 4 : 2);
  SetButtons(buttons);
  Changed();
  EndUpdate();
}

void TcxCustomSpinEditProperties::Assign(const TcxCustomEditProperties& source) {
  BeginUpdate();
  TcxCustomMaskEditProperties::Assign(source);
  if (const auto* spin = dynamic_cast<const TcxCustomSpinEditProperties*>(&source)) {
    m_valueType = spin->m_valueType;
    m_minValue = spin->m_minValue;
    m_maxValue = spin->m_maxValue;
    m_increment = spin->m_increment;
    m_largeIncrement = spin->m_largeIncrement;
    m_canEdit = spin->m_canEdit;
    m_useCtrlIncrement = spin->m_useCtrlIncrement;
    m_spinButtons = spin->m_spinButtons;
    m_exceptionOnInvalidInput = spin->m_exceptionOnInvalidInput;
    m_displayFormat = spin->m_displayFormat;
    m_editFormat = spin->m_editFormat;
    m_useDisplayFormatWhenEditing = spin->m_useDisplayFormatWhenEditing;
    OnGetValue = spin->OnGetValue;
  }
  Changed();
  EndUpdate();
}

TcxSpinEditValueType TcxCustomSpinEditProperties::ValueType() const {
  if (AssignedValues() & evValueType) return m_valueType;
  if (const auto* provider = DefaultValuesProvider())
    return provider->IsFloatValue() ? TcxSpinEditValueType::vtFloat : TcxSpinEditValueType::vtInt;
  return TcxSpinEditValueType::vtFloat;
}

void TcxCustomSpinEditProperties::SetValueType(TcxSpinEditValueType value) {
  if ((AssignedValues() & evValueType) && value == m_valueType) return;
  m_valueType = value;
  MarkAssigned(evValueType);
  Changed();
}

double TcxCustomSpinEditProperties::MinValue() const {
  if (AssignedValues() & evMinValue) return m_minValue;
  return DefaultValuesProvider() ? DefaultValuesProvider()->DefaultMinValue() : 0;
}

void TcxCustomSpinEditProperties::SetMinValue(double value) {
  if ((AssignedValues() & evMinValue) && value == m_minValue) return;
  m_minValue = value;
  MarkAssigned(evMinValue);
  Changed();
}

double TcxCustomSpinEditProperties::MaxValue() const {
  if (AssignedValues() & evMaxValue) return m_maxValue;
  return DefaultValuesProvider() ? DefaultValuesProvider()->DefaultMaxValue() : 0;
}

void TcxCustomSpinEditProperties::SetMaxValue(double value) {
  if ((AssignedValues() & evMaxValue) && value == m_maxValue) return;
  m_maxValue = value;
  MarkAssigned(evMaxValue);
  Changed();
}

std::string TcxCustomSpinEditProperties::DisplayFormat() const {
  if (AssignedValues() & evDisplayFormat) return m_displayFormat;
  return DefaultValuesProvider() ? DefaultValuesProvider()->DefaultDisplayFormat() : std::string();
}

void TcxCustomSpinEditProperties::SetDisplayFormat(const std::string& value) {
  if ((AssignedValues() & evDisplayFormat) && value == m_displayFormat) return;
  m_displayFormat = value;
  MarkAssigned(evDisplayFormat);
  Changed();
}

void TcxCustomSpinEditProperties::SetEditFormat(const std::string& value) {
  if ((AssignedValues() & evEditFormat) && value == m_editFormat) return;
  m_editFormat = value;
  MarkAssigned(evEditFormat);
  Changed();
}

namespace {

// A limit for whole numbers: rounded halves to even; one beyond the 64-bit range
// becomes the smallest 64-bit number.
double IntegerLimit(double limit) {
  const long double x = limit;
  if (!IsInInt64Range(x)) return -9223372036854775808.0;
  return static_cast<double>(RoundHalfEvenToInt64(x));
}

}  // namespace

double TcxCustomSpinEditProperties::EffectiveMinValue() const {
  return ValueType() == TcxSpinEditValueType::vtInt ? IntegerLimit(MinValue()) : MinValue();
}

double TcxCustomSpinEditProperties::EffectiveMaxValue() const {
  return ValueType() == TcxSpinEditValueType::vtInt ? IntegerLimit(MaxValue()) : MaxValue();
}

bool TcxCustomSpinEditProperties::IsInRange(long double number) const {
  if (ValueType() == TcxSpinEditValueType::vtInt) return IsInInt64Range(number);
  return number >= -kFloatLimit && number <= kFloatLimit;
}

Variant TcxCustomSpinEditProperties::ToValueType(const Variant& value) const {
  if (!value.IsNumeric()) return value;
  if (ValueType() == TcxSpinEditValueType::vtFloat) return Variant::FromDouble(static_cast<double>(NumberOf(value)));
  if (value.Type() == VarType::Int64) return value;
  if (value.IsIntegerKind()) return Variant::FromInt64(value.AsInt64());
  return Variant::FromInt64(RoundHalfEvenToInt64(NumberOf(value)));
}

Variant TcxCustomSpinEditProperties::Clamp(const Variant& value) const {
  if (!value.IsNumeric() || !LimitsActive()) return value;
  const long double x = NumberOf(value);
  if (x < EffectiveMinValue()) return ToValueType(Variant::FromDouble(EffectiveMinValue()));
  if (x > EffectiveMaxValue()) return ToValueType(Variant::FromDouble(EffectiveMaxValue()));
  return value;
}

bool TcxCustomSpinEditProperties::ParsesInRange(const std::string& text, Variant* number) const {
  long double x = 0;
  if (!ParseDecimal(text, kDecimalSeparator, x) || !IsInRange(x)) return false;
  if (number) {
    *number = ValueType() == TcxSpinEditValueType::vtInt ? Variant::FromInt64(RoundHalfEvenToInt64(x))
                                                          : Variant::FromDouble(static_cast<double>(x));
  }
  return true;
}

std::string TcxCustomSpinEditProperties::StandardText(const Variant& value) const {
  if (value.IsIntegerKind()) return Int64ToText(value.AsInt64());
  if (value.Type() == VarType::Double) return DoubleToText(value.AsDouble());
  return VariantToString(value);
}

bool TcxCustomSpinEditProperties::IsValueShowable(Variant& value, bool) const {
  if (value.IsNull()) {
    value = ToValueType(Variant::FromInt64(0));
    return true;
  }
  if (value.Type() == VarType::Date) return true;
  if (!value.IsNumeric() && !value.IsString()) return false;
  const std::string text = value.IsString() ? value.AsString() : StandardText(value);
  Variant number;
  if (!ParsesInRange(text, &number)) return false;
  value = number;
  return true;
}

Variant TcxCustomSpinEditProperties::ValueToDisplayValue(const Variant& value, bool focused) const {
  if (value.IsNull() || (value.IsString() && value.AsString().empty())) return Variant::FromString({});
  if (!value.IsNumeric() && !value.IsString()) throw Error(kCannotConvert);
  std::string format;
  if (!focused) format = DisplayFormat();
  else if (AssignedValues() & evEditFormat) format = EditFormat();
  else if (UseDisplayFormatWhenEditing()) format = DisplayFormat();
  if (!format.empty() && value.IsNumeric()) return Variant::FromString(FormatNumber(NumberOf(value), format));
  return Variant::FromString(StandardText(value));
}

Variant TcxCustomSpinEditProperties::ValueForInvalid() const {
  return Variant::FromString(StandardText(Clamp(ToValueType(Variant::FromInt64(0)))));
}

void TcxCustomSpinEditProperties::CheckText(Variant& displayValue, std::string& errorText, TcxCustomEdit& edit,
                                            bool& error) {
  auto& spin = static_cast<TcxCustomSpinEdit&>(edit);
  Variant number = spin.LastNumber();
  error = false;
  if (spin.TextFromUser()) {
    TcxTextToNumberResult result = spin.TextToNumber(spin.Text(), false);
    number = result.Number;
    error = !result.Success;
    errorText = result.ErrorText;
  }
  if (!error) {
    if (number.IsNull()) number = ToValueType(Clamp(Variant::FromInt64(0)));
    displayValue = Variant::FromString(StandardText(number));
    if (LimitsActive() && number.IsNumeric()) {
      const long double x = NumberOf(number);
      if (x < EffectiveMinValue() || x > EffectiveMaxValue()) {
        error = true;
        errorText = kValueOutOfBounds;  // shown whatever ExceptionOnInvalidInput says
      }
    }
  }
  DoValidate(displayValue, errorText, error, edit);
}

// ---------------------------------------------------------------------------------------
// TcxCustomSpinEdit

TcxCustomSpinEdit::TcxCustomSpinEdit(std::string name, std::unique_ptr<TcxCustomSpinEditProperties> properties)
    : TcxCustomMaskEdit(std::move(name), std::move(properties)) {
  // A new field holds an 8-bit 0, shown as '0'; a stored value replaces it later.
  SetEditValue(Variant::FromByte(0));
}

TcxTextToNumberResult TcxCustomSpinEdit::TextToNumber(const std::string& text, bool raise) const {
  TcxCustomSpinEditProperties& props = Properties();
  TcxTextToNumberResult result;
  if (text.empty()) {
    const bool zero = props.DefaultValuesProvider() && props.DefaultValuesProvider()->EmptyTextIsZero();
    result.Number = zero ? props.ToValueType(Variant::FromInt64(0)) : Variant::Null();
    result.Success = true;
    return result;
  }
  long double x = 0;
  if (ParseDecimal(text, TcxCustomSpinEditProperties::kDecimalSeparator, x)) {
    if (props.IsInRange(x)) {
      props.ParsesInRange(text, &result.Number);
      result.Success = true;
      return result;
    }
    result.ErrorText = TcxCustomSpinEditProperties::kValueOutOfBounds;
  } else if (props.OnGetValue) {
    Variant value;
    std::string errorText;
    bool error = true;
    try {
      props.OnGetValue(const_cast<TcxCustomSpinEdit&>(*this), text, value, errorText, error);
    } catch (const Error& e) {
      if (raise) throw;
      errorText = e.Text();
      error = true;
    }
    if (!error) {
      result.Number = props.ToValueType(value);
      result.Success = true;
      return result;
    }
    result.ErrorText = errorText;
  }
  if (result.ErrorText.empty()) result.ErrorText = TcxCustomSpinEditProperties::kInvalidNumericValue;
  if (!props.ExceptionOnInvalidInput()) result.ErrorText.clear();
  if (raise && props.ExceptionOnInvalidInput()) throw Error(result.ErrorText);
  result.Number = m_lastNumber;
  return result;
}

Variant TcxCustomSpinEdit::Value() const {
  TcxCustomSpinEditProperties& props = Properties();
  Variant number;
  if (Focused()) {
    number = m_textFromUser ? TextToNumber(Text(), true).Number : m_lastNumber;
    if (!number.IsNumeric()) number = Variant::FromInt64(0);
  } else if (EditValue().IsNumeric()) {
    number = EditValue();
  } else if (EditValue().IsString()) {
    return EditValue();
  } else {
    number = props.Clamp(props.ToValueType(Variant::FromInt64(0)));
  }
  return props.ToValueType(number);
}

void TcxCustomSpinEdit::SetValue(const Variant& value) {
  if (!value.IsNumeric()) return;
  Variant converted = value;
  if (!Properties().IsValueShowable(converted, Focused())) return;
  SetEditValue(converted);  // the limits do not apply to writing
}

bool TcxCustomSpinEdit::AcceptsChar(char16_t ch) const {
  const TcxCustomSpinEditProperties& props = Properties();
  if (props.CanEdit() && props.OnGetValue) return true;
  if (!props.CanEdit() && (ch == 8 || ch >= 32)) return false;
  if (ch < 32) return true;
  if ((ch >= u'0' && ch <= u'9') || ch == u'+' || ch == u'-' || ch == u'E' || ch == u'e') return true;
  return props.ValueType() == TcxSpinEditValueType::vtFloat && ch == TcxCustomSpinEditProperties::kDecimalSeparator;
}

int TcxCustomSpinEdit::StepDirection(TKey key) {
  switch (key) {
    case vk::Up: return sdUp;
    case vk::Down: return sdDown;
    case vk::Prior: return sdFastUp;
    case vk::Next: return sdFastDown;
    default: return -1;
  }
}

// The arrow and page keys step (with Ctrl only, when UseCtrlIncrement asks for it); a
// held key repeats through the keyboard's own repeat. Every other key ends stepping.
void TcxCustomSpinEdit::HandleKeyDown(TKey& key, TShiftState shift) {
  m_userKeyActive = false;
  const int direction = StepDirection(key);
  if (direction >= 0 && (!Properties().UseCtrlIncrement() || (shift & ssCtrl))) {
    // Refused, the key is left to the native control as it is.
    if (!EditedSinceEnter() && !AskPermissionToEdit()) return;
    if (Window()) Window()->ReleaseCapture();
    m_keyPressedButton = direction + 1;
    LayoutChanged();
    Step(direction);
    key = 0;
    return;
  }
  StopStepping();
  if (key != vk::Escape) m_userKeyActive = true;
  if (!Properties().CanEdit() && KeyEditsText(key, shift)) {
    key = 0;
    return;
  }
  TcxCustomMaskEdit::HandleKeyDown(key, shift);
}

void TcxCustomSpinEdit::HandleKeyPress(char16_t& key) {
  if (key == u',' || key == u'.') key = TcxCustomSpinEditProperties::kDecimalSeparator;
  // Every printable character passes the filter, those an input method composes (a
  // Chinese character, say) as well: a refused one beeps like any other.
  if (key == 8 || key >= 32) {
    if (AcceptsChar(key)) {
      m_userKeyActive = true;
    } else {
      key = 0;
      if (TApplication* app = Application()) app->Beep();
      return;
    }
  }
  TcxCustomMaskEdit::HandleKeyPress(key);
}

void TcxCustomSpinEdit::HandleKeyUp(TKey& key, TShiftState shift) {
  m_userKeyActive = false;
  const bool stepKey = StepDirection(key) >= 0;
  TcxCustomMaskEdit::HandleKeyUp(key, shift);
  if (stepKey) StopStepping();
}

void TcxCustomSpinEdit::TextChanged() {
  m_textFromUser = m_userKeyActive;
  TcxCustomMaskEdit::TextChanged();
  m_userKeyActive = false;
}

void TcxCustomSpinEdit::RefreshText() {
  TcxCustomSpinEditProperties& props = Properties();
  Variant value = EditValue();
  m_lastNumber = props.IsValueShowable(value, Focused()) ? value : props.Clamp(props.ToValueType(Variant::FromInt64(0)));
  TcxCustomMaskEdit::RefreshText();
}

Variant TcxCustomSpinEdit::TextToValue(const std::string& text) { return TextToNumber(text, true).Number; }

void TcxCustomSpinEdit::TakeValueOf(const std::string& text) {
  TcxCustomMaskEdit::TakeValueOf(text);
  m_lastNumber = Properties().ToValueType(EditValue());
}

void TcxCustomSpinEdit::ApplySettings() {
  TcxCustomMaskEdit::ApplySettings();
  TcxCustomSpinEditProperties& props = Properties();
  if (!EditedSinceEnter() || !props.LimitsActive()) return;
  const Variant value = Value();
  if (!value.IsNumeric()) return;
  const long double x = NumberOf(value);
  if (x >= props.EffectiveMinValue() && x <= props.EffectiveMaxValue()) return;
  // The correction is made on the user's behalf, as the typing it corrects was.
  TcxUserChangeScope user(*this);
  SetEditValue(props.Clamp(value));
}

bool TcxCustomSpinEdit::ResultAcceptable(const std::u16string& result) const {
  return result.empty() || Properties().ParsesInRange(Utf16ToUtf8(result));
}

bool TcxCustomSpinEdit::CanPaste() {
  TApplication* app = Application();
  if (!app || !Properties().CanEdit()) return false;
  std::optional<std::string> clipboard = app->Platform().Clipboard.Text();
  if (!clipboard) return false;
  std::u16string pasted = Utf8ToUtf16(*clipboard);
  pasted = pasted.substr(0, pasted.find_first_of(u"\r\n"));  // a single line takes the first line only
  std::u16string result = Utf8ToUtf16(Text());
  const std::size_t start = std::min(SelStart(), result.size());
  result.replace(start, std::min(SelLength(), result.size() - start), pasted);
  if (!ResultAcceptable(result)) return false;
  if (!EditedSinceEnter() && !AskPermissionToEdit()) return false;
  m_userKeyActive = true;
  return true;
}

bool TcxCustomSpinEdit::CanCut() {
  if (!Properties().CanEdit()) return false;
  std::u16string result = Utf8ToUtf16(Text());
  const std::size_t start = std::min(SelStart(), result.size());
  result.erase(start, std::min(SelLength(), result.size() - start));
  if (!ResultAcceptable(result)) return false;
  if (!EditedSinceEnter() && !AskPermissionToEdit()) return false;
  m_userKeyActive = true;
  return true;
}

// ---------------------------------------------------------------------------------------
// Stepping

bool TcxCustomSpinEdit::NextNumber(int direction, Variant& number) {
  TcxCustomSpinEditProperties& props = Properties();
  const bool up = direction == sdUp || direction == sdFastUp;
  const double increment = direction >= sdFastDown ? props.LargeIncrement() : props.Increment();
  const bool whole = props.ValueType() == TcxSpinEditValueType::vtInt;
  Variant current = Value();
  if (!current.IsNumeric()) current = m_lastNumber.IsNumeric() ? m_lastNumber : Variant::FromInt64(0);
  // Whole numbers step by the increment rounded halves to even.
  const long double amount = whole ? static_cast<long double>(RoundHalfEvenToInt64(increment)) : increment;
  const long double signedAmount = up ? amount : -amount;

  if (!props.LimitsActive()) {
    if (whole) {
      // Two's-complement sum: beyond either end of the 64-bit range it wraps around.
      const auto step = static_cast<std::uint64_t>(RoundHalfEvenToInt64(increment));
      const auto from = static_cast<std::uint64_t>(props.ToValueType(current).AsInt64());
      number = Variant::FromInt64(static_cast<std::int64_t>(up ? from + step : from - step));
    } else {
      number = Variant::FromDouble(static_cast<double>(NumberOf(current) + signedAmount));
    }
    return true;
  }
  const long double x = NumberOf(current), low = props.EffectiveMinValue(), high = props.EffectiveMaxValue();
  long double next = 0;
  if (x < low) {
    if (!up) return false;
    next = low;
  } else if (x > high) {
    if (up) return false;
    next = high;
  } else {
    next = std::clamp(x + signedAmount, low, high);
  }
  number = whole ? Variant::FromInt64(RoundHalfEvenToInt64(next)) : Variant::FromDouble(static_cast<double>(next));
  return true;
}

bool TcxCustomSpinEdit::Step(int direction) {
  TcxChangeEventsHold hold(*this);
  if (!AskPermissionToEdit()) return false;
  Variant number;
  if (!NextNumber(direction, number)) return false;
  const std::string before = Text();
  const std::string text = VariantToString(Properties().ValueToDisplayValue(number, true));
  m_lastNumber = number;
  m_userKeyActive = false;  // the new text is the field's own, not typed
  {
    const bool applying = ApplyingUserChange();
    SetApplyingUserChange(true);
    try {
      PutDisplayText(text);
    } catch (...) {
      SetApplyingUserChange(applying);
      throw;
    }
    SetApplyingUserChange(applying);
  }
  if (Text() == before) return false;
  SetEditedSinceEnter(true);
  SetSelection(Utf8ToUtf16(Text()).size(), 0);
  if (Properties().ImmediatePost() && CanPostEditValue()) {
    if (CheckAndCommitText(true)) PostEditValue();
    RefreshText();
  }
  return true;
}

void TcxCustomSpinEdit::StopStepping() {
  m_capturedButton = -1;
  m_keyPressedButton = 0;
  m_repeatTimer.reset();
  LayoutChanged();  // a button shown pressed comes up
  if (Window() && Window()->HasCapture()) Window()->ReleaseCapture();
}

void TcxCustomSpinEdit::StartPress(int index) {
  Step(index);
  m_repeatTimer.reset();
  if (m_capturedButton != index) return;  // the step ended the press (a message took the mouse)
  IWindowSystem* system = WindowSystem();
  if (Properties().ReadOnly() || !system) return;
  m_repeatTimer = system->CreateTimer([this] { Guarded([&] { RepeatTimerTick(); }); });
  m_repeatTimer->SetInterval(400);
  m_repeatTimer->SetEnabled(true);
}

// The first repeat comes 400 ms after the press, the others every 100 ms; while the
// pointer is off the button the count pauses, and the timer keeps running.
void TcxCustomSpinEdit::RepeatTimerTick() {
  if (!m_repeatTimer) return;
  if (m_repeatTimer->Interval() == 400) m_repeatTimer->SetInterval(100);
  if (m_pressedButton >= 0) Step(m_pressedButton);
}

int TcxCustomSpinEdit::ButtonAt(TPoint at) const {
  for (const TcxEditButtonViewInfo& button : ViewInfo().Buttons)
    if (button.VisibleBounds.Contains(at)) return button.Index;
  return -1;
}

bool TcxCustomSpinEdit::FrameMouseDown(TMouseButton button, TPoint at, TShiftState shift) {
  if (button != TMouseButton::mbLeft) {
    LayoutChanged();
    return true;
  }
  const int hit = ButtonAt(at);
  if ((shift & ssDouble) && hit < 0) {
    StopStepping();
    return true;
  }
  if (Window()) Window()->SetCapture();
  const int before = m_pressedButton;
  m_capturedButton = hit;
  LayoutChanged();
  if (before < 0 && m_pressedButton >= 0 && m_keyPressedButton == 0) StartPress(m_pressedButton);
  return true;
}

void TcxCustomSpinEdit::ContainerMouseMove(TPoint, TShiftState) {
  const int before = m_pressedButton;
  LayoutChanged();
  // Back on the button the press started on: that is a new press.
  if (before < 0 && m_pressedButton >= 0 && m_keyPressedButton == 0 && m_capturedButton == m_pressedButton)
    StartPress(m_pressedButton);
  else if (m_pressedButton < 0 && m_capturedButton < 0 &&
           (m_repeatTimer || m_keyPressedButton != 0 || (Window() && Window()->HasCapture())))
    StopStepping();
}

void TcxCustomSpinEdit::MouseUp(TMouseButton button, TPoint at, TShiftState shift) {
  StopStepping();
  TcxCustomMaskEdit::MouseUp(button, at, shift);
}

void TcxCustomSpinEdit::NativeCaptureLost() {
  // A dialog or another window took the mouse: a held press ends with it.
  Guarded([&] {
    if (m_capturedButton >= 0 || m_repeatTimer) StopStepping();
  });
}

void TcxCustomSpinEdit::FocusChanged() {
  StopStepping();
  TcxCustomMaskEdit::FocusChanged();
}

// Every full 120 units of wheel delta is one step, the remainder kept for the next
// message; only the focused field listens.
bool TcxCustomSpinEdit::NativeMouseWheel(int delta, TPoint, TShiftState) {
  bool handled = false;
  Guarded([&] {
    if (!Focused()) return;
    handled = true;
    m_wheelDelta += delta;
    while (m_wheelDelta >= 120) {
      m_wheelDelta -= 120;
      Step(sdUp);
    }
    while (m_wheelDelta <= -120) {
      m_wheelDelta += 120;
      Step(sdDown);
    }
  });
  return handled;
}

// ---------------------------------------------------------------------------------------
// The buttons

namespace {

// Hot-flat buttons that touch share a line: which sides each one draws.
int HotFlatFrameKind(TcxSpinEditButtonsPosition position, bool fast, int index) {
  using P = TcxSpinEditButtonsPosition;
  static constexpr int kinds[3][3][2] = {
      {{1, 3}, {1, 3}, {0, 2}},  // sbpHorzLeftRight
      {{3, 2}, {2, 2}, {3, 2}},  // sbpHorzRight
      {{7, 6}, {5, 4}, {3, 2}},  // sbpVert
  };
  const int row = position == P::sbpHorzLeftRight ? 0 : position == P::sbpHorzRight ? 1 : 2;
  const int column = index >= 2 ? 2 : fast ? 1 : 0;
  return kinds[row][column][index % 2];
}

int SpinThemePart(TcxSpinEditButtonsPosition position, int index) {
  constexpr int SPNP_UP = 1, SPNP_DOWN = 2, SPNP_UPHORZ = 3, SPNP_DOWNHORZ = 4;
  const bool vertical = position == TcxSpinEditButtonsPosition::sbpVert;
  switch (index) {
    case sdDown: return vertical ? SPNP_DOWN : SPNP_DOWNHORZ;
    case sdUp: return vertical ? SPNP_UP : SPNP_UPHORZ;
    case sdFastDown: return SPNP_DOWNHORZ;
    default: return SPNP_UPHORZ;
  }
}

int SpinThemeState(TcxEditButtonState state) {
  switch (state) {
    case TcxEditButtonState::ebsDisabled: return 4;
    case TcxEditButtonState::ebsPressed: return 3;
    case TcxEditButtonState::ebsHot: return 2;
    default: return 1;
  }
}

}  // namespace

// Lays out the buttons inside the content rectangle, taking their room from it: the
// column of the up and down buttons at the right (or the buttons side by side), and the
// fast buttons outside them.
void TcxCustomSpinEdit::PlaceButtons(TRect& r, const TcxContainerViewInfo& vi, int W,
                                     std::array<TRect, 4>& rects) const {
  using P = TcxSpinEditButtonsPosition;
  const auto& buttons = Properties().Buttons();
  const P position = Properties().SpinButtons().Position;
  const bool fast = buttons.size() >= 4;
  const bool nativeSpin = vi.Native && ThemeHandle(tcSpin) != 0;
  const int d = nativeSpin ? 1 : 0;
  const bool hotFlat = d == 0 && vi.ButtonStyle == TcxEditButtonStyle::btsHotFlat;
  const int grow = hotFlat ? 1 : 0;
  const int H = r.Height();

  int horizontal = 4 * m_spinArrowSize - 3;
  if (vi.Native) {
    IWindowSystem* windows = WindowSystem();
    const int text = windows ? windows->MeasureText("Zg", Font()).Height : std::abs(Font().Height);
    horizontal = (text + EditButtonFrameExtent(vi.ButtonStyle, true).Height + 1) / 2;
  }
  const int fastWidth = (3 * horizontal + 1) / 2;

  if (fast) {
    rects[sdFastUp] = {r.Right - fastWidth, r.Top, r.Right, r.Bottom};
    r.Right = rects[sdFastUp].Left;
  }
  switch (position) {
    case P::sbpVert: {
      int split = r.Top + (H - d) / 2;
      if (hotFlat && split - r.Top < r.Bottom - split) ++split;
      rects[sdUp] = {r.Right - W, r.Top, r.Right, split};
      rects[sdDown] = {r.Right - W, split + d, r.Right, r.Bottom};
      r.Right -= W;
      if (fast) {
        rects[sdFastDown] = {r.Right - fastWidth - grow, r.Top, r.Right, r.Bottom};
        r.Right = rects[sdFastDown].Left;
      }
      break;
    }
    case P::sbpHorzRight: {
      rects[sdUp] = {r.Right - horizontal, r.Top, r.Right, r.Bottom};
      r.Right = rects[sdUp].Left - d;
      rects[sdDown] = {r.Right - horizontal - (fast ? 0 : grow), r.Top, r.Right, r.Bottom};
      r.Right = rects[sdDown].Left;
      if (fast) {
        rects[sdFastDown] = {r.Right - fastWidth - grow, r.Top, r.Right, r.Bottom};
        r.Right = rects[sdFastDown].Left;
      }
      break;
    }
    case P::sbpHorzLeftRight: {
      rects[sdUp] = {r.Right - horizontal - grow, r.Top, r.Right, r.Bottom};
      r.Right = rects[sdUp].Left - d;
      if (fast) {
        rects[sdFastDown] = {r.Left, r.Top, r.Left + fastWidth + grow, r.Bottom};
        r.Left = rects[sdFastDown].Right;
      }
      rects[sdDown] = {r.Left, r.Top, r.Left + horizontal + grow, r.Bottom};
      r.Left = rects[sdDown].Right;
      break;
    }
  }
}

void TcxCustomSpinEdit::CalculateButtons(TRect& r, TcxContainerViewInfo& vi) {
  const auto& buttons = Properties().Buttons();
  const TcxSpinEditButtonsPosition position = Properties().SpinButtons().Position;
  m_buttonsPosition = position;
  // The column width: the last button's own width (never less than its frame), or the
  // height of a scroll bar arrow.
  const IWindowSystem* system = WindowSystem();
  const int ownWidth = buttons.back().Width;
  int W = system ? system->SystemMetric(TSystemMetric::smCyHScroll) : 17;
  if (ownWidth >= 1) W = std::max(ownWidth, EditButtonFrameExtent(vi.ButtonStyle, vi.Native).Width);
  m_spinArrowSize = FitArrowSize(W + 2, r.Height() / 2 + 2, TcxEditArrowDirection::eadUp).Height;

  const TRect area = r;  // what is left for the buttons
  std::array<TRect, 4> rects{};
  PlaceButtons(r, vi, W, rects);
  const bool fast = buttons.size() >= 4;
  const bool nativeSpin = vi.Native && ThemeHandle(tcSpin) != 0;
  for (int i = 0; i < static_cast<int>(buttons.size()) && i < 4; ++i) {
    if (!buttons[static_cast<std::size_t>(i)].Visible) continue;
    TcxEditButtonViewInfo button;
    button.Index = i;
    button.Bounds = rects[static_cast<std::size_t>(i)];
    button.VisibleBounds = button.Bounds.Intersected(area);
    button.FrameKind = HotFlatFrameKind(position, fast, i);
    if (nativeSpin) {
      button.ThemeClass = tcSpin;
      button.ThemePart = SpinThemePart(position, i);
    }
    vi.Buttons.push_back(button);
  }
  SetButtonStates(vi);
}

// A button is pressed while a step key holds it, or while the left mouse button that
// went down on it is held with the pointer inside; hot while the pointer is over it and
// no mouse button or modifier is held.
void TcxCustomSpinEdit::SetButtonStates(TcxContainerViewInfo& vi) {
  const IWindowSystem* system = WindowSystem();
  const INativeWindow* window = Window();
  std::optional<TPoint> pointer;
  if (system && window) pointer = window->ScreenToClient(system->CursorPos());
  auto held = [&](TKey key) { return system && system->IsKeyDown(key); };
  const bool left = held(1);
  const bool anyHeld = left || held(2) || held(4) || held(vk::Shift) || held(vk::Control) || held(vk::Menu);
  const auto& buttons = Properties().Buttons();
  m_pressedButton = m_hotButton = -1;
  for (TcxEditButtonViewInfo& button : vi.Buttons) {
    const int i = button.Index;
    const bool keyPressed = m_keyPressedButton == i + 1;
    const bool inside = pointer && button.VisibleBounds.Contains(*pointer);
    if (!Enabled() || !buttons[static_cast<std::size_t>(i)].Enabled) {
      button.State = TcxEditButtonState::ebsDisabled;
    } else if (!keyPressed && !inside) {
      button.State = TcxEditButtonState::ebsNormal;
    } else if (!keyPressed && !anyHeld) {
      button.State = TcxEditButtonState::ebsHot;
      m_hotButton = i;
    } else if (keyPressed || (left && m_keyPressedButton == 0 && m_capturedButton == i)) {
      button.State = TcxEditButtonState::ebsPressed;
      m_pressedButton = i;
    } else {
      button.State = TcxEditButtonState::ebsNormal;
    }
    if (button.ThemePart != 0) button.ThemeState = SpinThemeState(button.State);
  }
}

// The classic spin content: the face, and one arrow (two on a fast button), embossed
// while disabled and moved by a pixel while pressed.
void TcxCustomSpinEdit::PaintEditButtonContent(ICanvas& canvas, const TcxEditButtonViewInfo& button,
                                               const TRect& rect, TColor faceColor, TColor arrowColor) {
  canvas.FillRect(rect, faceColor);
  const bool vertical = m_buttonsPosition == TcxSpinEditButtonsPosition::sbpVert;
  TcxEditArrowDirection direction = TcxEditArrowDirection::eadRight;
  switch (button.Index) {
    case sdDown: direction = vertical ? TcxEditArrowDirection::eadDown : TcxEditArrowDirection::eadLeft; break;
    case sdUp: direction = vertical ? TcxEditArrowDirection::eadUp : TcxEditArrowDirection::eadRight; break;
    case sdFastDown: direction = TcxEditArrowDirection::eadLeft; break;
    default: break;
  }
  const int count = button.Index >= sdFastDown ? 2 : 1;
  const int a = m_spinArrowSize;
  if (button.State == TcxEditButtonState::ebsDisabled) {
    DrawEditArrow(canvas, rect.Offset(1, 1), a, direction, count, clBtnHighlight, false);
    DrawEditArrow(canvas, rect, a, direction, count, clBtnShadow, false);
  } else {
    DrawEditArrow(canvas, rect, a, direction, count, arrowColor, button.State == TcxEditButtonState::ebsPressed);
  }
}

// Between two themed buttons lies a line of the field's own background.
void TcxCustomSpinEdit::PaintContent(ICanvas& canvas) {
  const TcxContainerViewInfo& vi = ViewInfo();
  if (vi.Buttons.empty() || vi.Buttons.front().ThemePart == 0) return;
  if (m_buttonsPosition == TcxSpinEditButtonsPosition::sbpHorzLeftRight) return;
  const TcxEditButtonViewInfo* down = nullptr;
  const TcxEditButtonViewInfo* up = nullptr;
  for (const TcxEditButtonViewInfo& button : vi.Buttons) {
    if (button.Index == sdDown) down = &button;
    if (button.Index == sdUp) up = &button;
  }
  if (!down || !up) return;
  if (m_buttonsPosition == TcxSpinEditButtonsPosition::sbpVert) {
    const std::array<TPoint, 2> line{TPoint{up->Bounds.Left, up->Bounds.Bottom}, {up->Bounds.Right - 1, up->Bounds.Bottom}};
    FillPolyline(canvas, line, vi.BackgroundColor);
  } else {
    const std::array<TPoint, 2> line{TPoint{down->Bounds.Right, down->Bounds.Top},
                                     {down->Bounds.Right, down->Bounds.Bottom - 1}};
    FillPolyline(canvas, line, vi.BackgroundColor);
  }
}

TcxSpinEdit::TcxSpinEdit(std::string name)
    : TcxCustomSpinEdit(std::move(name), std::make_unique<TcxSpinEditProperties>(this)) {}

}  // namespace vormix
