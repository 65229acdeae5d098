#include "base/Variant.h"

#include <cstdint>
#include <limits>
#include <stdexcept>

#include <gtest/gtest.h>

using namespace vormix;

namespace {

std::string ErrorText(void (*action)(const Variant&), const Variant& value)
{
    try {
        action(value);
    } catch (const Error& e) {
        return e.Text();
    }
    return "(no error)";
}

void ToInt64(const Variant& v) { (void)VariantToInt64(v); }
void ToInteger(const Variant& v) { (void)VariantToInteger(v); }
void ToDouble(const Variant& v) { (void)VariantToDouble(v); }

} // namespace

TEST(Variant, KindsAndPredicates)
{
    struct Case {
        Variant value;
        VarType type;
        const char* name;
        bool numeric;
        bool integer;
        bool emptyLike;
    } cases[] = {
        {Variant(), VarType::Empty, "Empty", false, false, false},
        {Variant::Null(), VarType::Null, "Null", false, false, true},
        {Variant::FromBoolean(true), VarType::Boolean, "Boolean", false, false, false},
        {Variant::FromShortInt(-8), VarType::ShortInt, "ShortInt", true, true, false},
        {Variant::FromSmallint(-16), VarType::Smallint, "Smallint", true, true, false},
        {Variant::FromInteger(-32), VarType::Integer, "Integer", true, true, false},
        {Variant::FromInt64(-64), VarType::Int64, "Int64", true, true, false},
        {Variant::FromByte(255), VarType::Byte, "Byte", true, true, false},
        {Variant::FromDouble(2.5), VarType::Double, "Double", true, false, false},
        {Variant::FromDate(45000), VarType::Date, "Date", false, false, false},
        {Variant::FromString(""), VarType::String, "String", false, false, true},
        {Variant::FromString("0"), VarType::String, "String", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.value.Type(), c.type);
        EXPECT_EQ(VarTypeName(c.value.Type()), c.name);
        EXPECT_EQ(c.value.IsNumeric(), c.numeric);
        EXPECT_EQ(c.value.IsIntegerKind(), c.integer);
        EXPECT_EQ(c.value.IsEmptyLike(), c.emptyLike);
    }
    EXPECT_EQ(static_cast<int>(VarType::Int64), 20); // the code a Windows VARIANT uses
    EXPECT_EQ(Variant::FromByte(255).AsInt64(), 255);
    EXPECT_EQ(Variant::FromShortInt(-128).AsInt64(), -128);
}

TEST(Variant, AccessorOfAnotherKindIsAProgrammingError)
{
    EXPECT_THROW((void)Variant::FromInt64(1).AsDouble(), std::logic_error);
    EXPECT_THROW((void)Variant::FromDouble(1).AsInt64(), std::logic_error);
    EXPECT_THROW((void)Variant::Null().AsString(), std::logic_error);
    EXPECT_THROW((void)Variant::FromString("True").AsBoolean(), std::logic_error);
    EXPECT_EQ(Variant::FromDate(1.5).AsDouble(), 1.5);
}

TEST(VariantEquals, NeedsTheSameTypeAndValue)
{
    EXPECT_TRUE(VariantEquals(Variant(), Variant()));
    EXPECT_TRUE(VariantEquals(Variant::Null(), Variant::Null()));
    EXPECT_TRUE(VariantEquals(Variant::FromInt64(12), Variant::FromInt64(12)));
    EXPECT_TRUE(VariantEquals(Variant::FromString("abc"), Variant::FromString("abc")));
    EXPECT_TRUE(VariantEquals(Variant::FromBoolean(false), Variant::FromBoolean(false)));

    EXPECT_FALSE(VariantEquals(Variant(), Variant::Null()));
    EXPECT_FALSE(VariantEquals(Variant::FromInt64(12), Variant::FromInt64(13)));
    EXPECT_FALSE(VariantEquals(Variant::FromString("abc"), Variant::FromString("ABC")));
    EXPECT_FALSE(VariantEquals(Variant::FromBoolean(true), Variant::FromBoolean(false)));
    // A field's first commit replaces its initial Byte 0 with an Int64 0: a change.
    EXPECT_FALSE(VariantEquals(Variant::FromByte(0), Variant::FromInt64(0)));
    EXPECT_FALSE(VariantEquals(Variant::FromInt64(3), Variant::FromDouble(3)));
    EXPECT_FALSE(VariantEquals(Variant::FromDouble(3), Variant::FromDate(3)));
    EXPECT_FALSE(VariantEquals(Variant::FromBoolean(true), Variant::FromString("True")));
    EXPECT_FALSE(VariantEquals(Variant::Null(), Variant::FromString("")));
}

TEST(VariantToString, TextOfEveryKind)
{
    EXPECT_EQ(VariantToString(Variant()), "");
    EXPECT_EQ(VariantToString(Variant::Null()), "");
    EXPECT_EQ(VariantToString(Variant::FromBoolean(true)), "True");
    EXPECT_EQ(VariantToString(Variant::FromBoolean(false)), "False");
    EXPECT_EQ(VariantToString(Variant::FromShortInt(-128)), "-128");
    EXPECT_EQ(VariantToString(Variant::FromInt64(INT64_MIN)), "-9223372036854775808");
    EXPECT_EQ(VariantToString(Variant::FromDouble(2.5)), "2.5");
    EXPECT_EQ(VariantToString(Variant::FromDouble(1e20)), "1E20");
    EXPECT_EQ(VariantToString(Variant::FromDate(45000.25)), "45000.25");
    EXPECT_EQ(VariantToString(Variant::FromString("生成")), "生成");
}

TEST(VariantToInt64, ConvertsNumbersBooleansAndText)
{
    struct Case {
        Variant value;
        std::int64_t expected;
    } cases[] = {
        {Variant(), 0},
        {Variant::FromBoolean(true), -1},
        {Variant::FromBoolean(false), 0},
        {Variant::FromByte(200), 200},
        {Variant::FromInt64(INT64_MIN), INT64_MIN},
        {Variant::FromDouble(2.5), 2},
        {Variant::FromDouble(3.5), 4},
        {Variant::FromDouble(-2.5), -2},
        {Variant::FromDouble(2.7), 3},
        {Variant::FromDate(1.5), 2},
        {Variant::FromString(" 12 "), 12},
        {Variant::FromString("1e3"), 1000},
        {Variant::FromString("2.5"), 2},
        {Variant::FromString("-9223372036854775808"), INT64_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VariantToInt64(c.value), c.expected) << VariantToString(c.value);
}

TEST(VariantToInt64, FailuresNameTheSourceType)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        Variant value;
        const char* text;
    } cases[] = {
        {Variant::Null(), "Could not convert variant of type (Null) into type (Int64)"},
        {Variant::FromString("abc"), "Could not convert variant of type (String) into type (Int64)"},
        {Variant::FromString(""), "Could not convert variant of type (String) into type (Int64)"},
        {Variant::FromDouble(nan), "Could not convert variant of type (Double) into type (Int64)"},
        {Variant::FromDouble(1e19), "Overflow while converting variant of type (Double) into type (Int64)"},
        {Variant::FromDouble(-inf), "Overflow while converting variant of type (Double) into type (Int64)"},
        {Variant::FromString("1e30"), "Overflow while converting variant of type (String) into type (Int64)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorText(ToInt64, c.value), c.text);
}

TEST(VariantToInteger, ChecksThe32BitRange)
{
    EXPECT_EQ(VariantToInteger(Variant::FromInt64(2147483647)), 2147483647);
    EXPECT_EQ(VariantToInteger(Variant::FromInt64(-2147483648LL)), INT32_MIN);
    EXPECT_EQ(VariantToInteger(Variant::FromDouble(-2.5)), -2);
    EXPECT_EQ(ErrorText(ToInteger, Variant::FromInt64(2147483648LL)),
              "Overflow while converting variant of type (Int64) into type (Integer)");
    EXPECT_EQ(ErrorText(ToInteger, Variant::FromInt64(-2147483649LL)),
              "Overflow while converting variant of type (Int64) into type (Integer)");
    EXPECT_EQ(ErrorText(ToInteger, Variant::FromDouble(3e9)),
              "Overflow while converting variant of type (Double) into type (Integer)");
    EXPECT_EQ(ErrorText(ToInteger, Variant::Null()),
              "Could not convert variant of type (Null) into type (Integer)");
}

TEST(VariantToDouble, ConvertsAndFails)
{
    EXPECT_EQ(VariantToDouble(Variant::FromInt64(-7)), -7.0);
    EXPECT_EQ(VariantToDouble(Variant::FromBoolean(true)), -1.0);
    EXPECT_EQ(VariantToDouble(Variant::FromString("2.5")), 2.5);
    EXPECT_EQ(VariantToDouble(Variant::FromDate(3.25)), 3.25);
    EXPECT_EQ(ErrorText(ToDouble, Variant::FromString("x")),
              "Could not convert variant of type (String) into type (Double)");
    EXPECT_EQ(ErrorText(ToDouble, Variant::FromString("1e400")),
              "Overflow while converting variant of type (String) into type (Double)");
}

TEST(VariantToInt64Variant, ConvertsOnlyNumbers)
{
    Variant rounded = VariantToInt64Variant(Variant::FromDouble(2.5));
    EXPECT_EQ(rounded.Type(), VarType::Int64);
    EXPECT_EQ(rounded.AsInt64(), 2);
    EXPECT_EQ(VariantToInt64Variant(Variant::FromByte(0)).Type(), VarType::Int64);
    for (const Variant& other : {Variant(), Variant::Null(), Variant::FromString("12"), Variant::FromBoolean(true),
                                 Variant::FromDate(2.5)})
        EXPECT_TRUE(VariantEquals(VariantToInt64Variant(other), other)) << VarTypeName(other.Type());
}

TEST(Error, TextAndSilence)
{
    Error error("文件无法写入");
    EXPECT_EQ(error.Text(), "文件无法写入");
    EXPECT_STREQ(error.what(), "文件无法写入");
    EXPECT_FALSE(error.IsSilent());
    EXPECT_TRUE(Error::Silent().IsSilent());
    EXPECT_STREQ(Error::Silent().what(), "");
}
