#include "base/Variant.h"

#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>

#include "base/NumberText.h"

namespace vormix {

namespace {

void Require(bool condition, const char* accessor)
{
    if (!condition)
        throw std::logic_error(std::string("Variant::") + accessor + " on a value of another type");
}

// Every numeric reading of a variant, in extended precision so that an Int64 and a
// typed 19-digit number survive until the range check. Throws for values that are no
// number at all.
long double ToExtended(const Variant& value, std::string_view target)
{
    switch (value.Type()) {
    case VarType::Empty:
        return 0;
    case VarType::Boolean:
        return value.AsBoolean() ? -1 : 0;
    case VarType::Double:
    case VarType::Date:
        return value.AsDouble();
    case VarType::String: {
        long double parsed = 0;
        if (!ParseDecimal(value.AsString(), '.', parsed))
            throw VariantConvertError(value.Type(), target);
        return parsed;
    }
    default:
        if (value.IsIntegerKind())
            return static_cast<long double>(value.AsInt64());
        throw VariantConvertError(value.Type(), target);
    }
}

std::int64_t ToInt64(const Variant& value, std::string_view target)
{
    if (value.IsIntegerKind())
        return value.AsInt64();
    long double x = ToExtended(value, target);
    if (std::isnan(x))
        throw VariantConvertError(value.Type(), target);
    if (!IsInInt64Range(x))
        throw VariantOverflowError(value.Type(), target);
    return RoundHalfEvenToInt64(x);
}

} // namespace

std::string VarTypeName(VarType type)
{
    switch (type) {
    case VarType::Empty: return "Empty";
    case VarType::Null: return "Null";
    case VarType::Smallint: return "Smallint";
    case VarType::Integer: return "Integer";
    case VarType::Double: return "Double";
    case VarType::Date: return "Date";
    case VarType::Boolean: return "Boolean";
    case VarType::ShortInt: return "ShortInt";
    case VarType::Byte: return "Byte";
    case VarType::Int64: return "Int64";
    case VarType::String: return "String";
    }
    return "Unknown";
}

Variant::Variant(VarType type, Payload payload) : m_type(type), m_payload(std::move(payload)) {}

Variant Variant::Null() { return Variant(VarType::Null, std::monostate{}); }
Variant Variant::FromBoolean(bool value) { return Variant(VarType::Boolean, value); }
Variant Variant::FromShortInt(std::int8_t value) { return Variant(VarType::ShortInt, std::int64_t{value}); }
Variant Variant::FromSmallint(std::int16_t value) { return Variant(VarType::Smallint, std::int64_t{value}); }
Variant Variant::FromInteger(std::int32_t value) { return Variant(VarType::Integer, std::int64_t{value}); }
Variant Variant::FromInt64(std::int64_t value) { return Variant(VarType::Int64, value); }
Variant Variant::FromByte(std::uint8_t value) { return Variant(VarType::Byte, std::int64_t{value}); }
Variant Variant::FromDouble(double value) { return Variant(VarType::Double, value); }
Variant Variant::FromDate(double value) { return Variant(VarType::Date, value); }
Variant Variant::FromString(std::string value) { return Variant(VarType::String, std::move(value)); }

bool Variant::IsIntegerKind() const
{
    return std::holds_alternative<std::int64_t>(m_payload);
}

bool Variant::IsNumeric() const
{
    return IsIntegerKind() || m_type == VarType::Double;
}

bool Variant::IsEmptyLike() const
{
    return IsNull() || (IsString() && AsString().empty());
}

bool Variant::AsBoolean() const
{
    Require(m_type == VarType::Boolean, "AsBoolean");
    return std::get<bool>(m_payload);
}

std::int64_t Variant::AsInt64() const
{
    Require(IsIntegerKind(), "AsInt64");
    return std::get<std::int64_t>(m_payload);
}

double Variant::AsDouble() const
{
    Require(m_type == VarType::Double || m_type == VarType::Date, "AsDouble");
    return std::get<double>(m_payload);
}

const std::string& Variant::AsString() const
{
    Require(IsString(), "AsString");
    return std::get<std::string>(m_payload);
}

bool VariantEquals(const Variant& a, const Variant& b)
{
    if (a.Type() != b.Type())
        return false;
    switch (a.Type()) {
    case VarType::Empty:
    case VarType::Null: return true;
    // A Boolean is compared by its text; with equal types that is its truth value.
    case VarType::Boolean: return a.AsBoolean() == b.AsBoolean();
    case VarType::Double:
    case VarType::Date: return a.AsDouble() == b.AsDouble();
    case VarType::String: return a.AsString() == b.AsString();
    default: return a.AsInt64() == b.AsInt64();
    }
}

std::string VariantToString(const Variant& value)
{
    switch (value.Type()) {
    case VarType::Empty:
    case VarType::Null: return std::string();
    case VarType::Boolean: return value.AsBoolean() ? "True" : "False";
    case VarType::Double:
    case VarType::Date: return DoubleToText(value.AsDouble());
    case VarType::String: return value.AsString();
    default: return Int64ToText(value.AsInt64());
    }
}

std::int64_t VariantToInt64(const Variant& value)
{
    return ToInt64(value, "Int64");
}

std::int32_t VariantToInteger(const Variant& value)
{
    std::int64_t wide = ToInt64(value, "Integer");
    if (wide < std::numeric_limits<std::int32_t>::min() || wide > std::numeric_limits<std::int32_t>::max())
        throw VariantOverflowError(value.Type(), "Integer");
    return static_cast<std::int32_t>(wide);
}

double VariantToDouble(const Variant& value)
{
    if (value.Type() == VarType::Double || value.Type() == VarType::Date)
        return value.AsDouble();
    long double x = ToExtended(value, "Double");
    if (std::fabs(x) > std::numeric_limits<double>::max())
        throw VariantOverflowError(value.Type(), "Double");
    return static_cast<double>(x);
}

Variant VariantToInt64Variant(const Variant& numeric)
{
    if (!numeric.IsNumeric())
        return numeric;
    return Variant::FromInt64(VariantToInt64(numeric));
}

Error VariantConvertError(VarType source, std::string_view target)
{
    return Error("Could not convert variant of type (" + VarTypeName(source) + ") into type (" +
                 std::string(target) + ")");
}

Error VariantOverflowError(VarType source, std::string_view target)
{
    return Error("Overflow while converting variant of type (" + VarTypeName(source) + ") into type (" +
                 std::string(target) + ")");
}

} // namespace vormix
