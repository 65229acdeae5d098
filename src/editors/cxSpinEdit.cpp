#include "editors/cxSpinEdit.h"

#include <cmath>

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

TcxCustomSpinEditProperties::TcxCustomSpinEditProperties(TcxCustomEdit* owner) : TcxCustomMaskEditProperties(owner) {}

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

void TcxCustomSpinEdit::HandleKeyDown(TKey& key, TShiftState shift) {
  m_userKeyActive = false;
  if (!IsStepKey(key, shift) && key != vk::Escape) m_userKeyActive = true;
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
  TcxCustomMaskEdit::HandleKeyUp(key, shift);
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

TcxSpinEdit::TcxSpinEdit(std::string name)
    : TcxCustomSpinEdit(std::move(name), std::make_unique<TcxSpinEditProperties>(this)) {}

}  // namespace vormix
