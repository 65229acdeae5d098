#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "base/Error.h"

namespace vormix {

// The type codes are those of Windows variants, so a value keeps the code it would
// have in a VARIANT.
enum class VarType : std::uint16_t {
    Empty = 0,
    Null = 1,
    Smallint = 2, // int16
    Integer = 3,  // int32
    Double = 5,
    Date = 7,
    Boolean = 11,
    ShortInt = 16, // int8
    Byte = 17,     // uint8
    Int64 = 20,
    String = 0x100,
};

std::string VarTypeName(VarType type);

// The value an editor holds. The integer kinds keep their width as their type (a Byte 0
// and an Int64 0 are different values for change detection) but share one widened
// payload. A Date is a Double counting days since 1899-12-30, as OLE dates do.
//
// The As... accessors are raw reads of the payload of the matching kind; asking for the
// wrong kind is a programming error and throws std::logic_error. Conversions between
// kinds are the Variant... free functions below.
class Variant {
public:
    Variant() = default;

    static Variant Null();
    static Variant FromBoolean(bool value);
    static Variant FromShortInt(std::int8_t value);
    static Variant FromSmallint(std::int16_t value);
    static Variant FromInteger(std::int32_t value);
    static Variant FromInt64(std::int64_t value);
    static Variant FromByte(std::uint8_t value);
    static Variant FromDouble(double value);
    static Variant FromDate(double value);
    static Variant FromString(std::string value);

    VarType Type() const { return m_type; }

    bool IsEmpty() const { return m_type == VarType::Empty; }
    bool IsNull() const { return m_type == VarType::Null; }
    bool IsIntegerKind() const;
    bool IsNumeric() const; // the integer kinds and Double; not Boolean, Date or String
    bool IsString() const { return m_type == VarType::String; }
    bool IsEmptyLike() const; // Null or ""

    bool AsBoolean() const;               // Boolean
    std::int64_t AsInt64() const;         // any integer kind, widened
    double AsDouble() const;              // Double or Date
    const std::string& AsString() const;  // String

private:
    using Payload = std::variant<std::monostate, bool, std::int64_t, double, std::string>;

    Variant(VarType type, Payload payload);

    VarType m_type = VarType::Empty;
    Payload m_payload;
};

// Equality for change detection: the same type and the same value. Empty equals Empty,
// Null equals Null, and an Int64 5 differs from an Integer 5.
bool VariantEquals(const Variant& a, const Variant& b);

// Empty and Null give "", a Boolean "True"/"False", integers their decimal text, a
// Double or Date the text of DoubleToText (general format, 15 significant digits).
std::string VariantToString(const Variant& value);

// Numeric conversions. Empty reads as 0 and a Boolean as -1 (True) or 0, as Windows
// variants do; a fraction rounds to the nearest integer, halves to even; a String is
// read with the number grammar of ParseDecimal and '.' as separator. Null, NaN or a
// text that is no number throw "Could not convert variant of type (...) into type
// (...)"; a number beyond the target's range throws "Overflow while converting ...".
std::int64_t VariantToInt64(const Variant& value);
std::int32_t VariantToInteger(const Variant& value);
double VariantToDouble(const Variant& value);

// A numeric value as an Int64 variant (halves to even); anything else unchanged.
Variant VariantToInt64Variant(const Variant& numeric);

// The errors the conversions raise, for callers that convert by their own rules.
Error VariantConvertError(VarType source, std::string_view target);
Error VariantOverflowError(VarType source, std::string_view target);

} // namespace vormix
