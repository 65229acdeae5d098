#include "base/NumberText.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

#include <gtest/gtest.h>

using namespace vormix;

namespace {

std::optional<long double> Parse(std::string_view text, char separator = '.')
{
    long double value = -12345;
    if (!ParseDecimal(text, separator, value)) {
        EXPECT_EQ(value, -12345) << "a failed parse changed its output: " << text;
        return std::nullopt;
    }
    return value;
}

constexpr bool kExtendedIs80Bit = std::numeric_limits<long double>::digits >= 64;

} // namespace

TEST(ParseDecimal, AcceptsTheGrammar)
{
    struct Case {
        const char* text;
        long double expected;
    } cases[] = {
        {"12", 12},      {" 12 ", 12},    {"   7", 7},       {"007", 7},       {"+5", 5},
        {"-5", -5},      {"2.5", 2.5L},   {"-2.5", -2.5L},  {".5", 0.5L},     {"5.", 5},
        {".", 0},        {"1e3", 1000},   {"1E3", 1000},    {"1e+3", 1000},   {"15e-1", 1.5L},
        {"1e", 1},       {"1e+", 1},      {"1e-", 1},       {" -1.5e2 ", -150},
        {"0.000", 0},
    };
    for (const Case& c : cases) {
        auto value = Parse(c.text);
        ASSERT_TRUE(value) << '"' << c.text << '"';
        EXPECT_EQ(*value, c.expected) << '"' << c.text << '"';
    }
}

TEST(ParseDecimal, RejectsWhatIsNotANumber)
{
    for (const char* text : {"", " ", "   ", "-", "+", "e5", "E5", "--5", "+-5", "1-2", "1,5", "abc",
                             "1 2", "1 e5", "1e 5", "1e5x", "12a", "1.2.3", "0x10", "\t1", "1\t",
                             "-e1", "1ee2"}) {
        EXPECT_FALSE(Parse(text)) << '"' << text << '"';
    }
}

TEST(ParseDecimal, UsesTheGivenSeparator)
{
    EXPECT_EQ(Parse("1,5", ','), 1.5L);
    EXPECT_FALSE(Parse("1.5", ','));
}

TEST(ParseDecimal, ExponentDigitsStopAt500)
{
    EXPECT_FALSE(Parse("1e5000"));
    EXPECT_FALSE(Parse("1e05000"));
    EXPECT_FALSE(Parse("1e-5000"));
    EXPECT_TRUE(Parse("1e-4999")); // underflows to zero, which is a number
    if (!kExtendedIs80Bit)
        GTEST_SKIP() << "1e500 overflows a 64-bit long double";
    auto big = Parse("1e500");
    ASSERT_TRUE(big);
    EXPECT_FALSE(IsInInt64Range(*big));
    EXPECT_EQ(Parse("1e0500"), big); // leading zeros do not count towards the limit
}

TEST(ParseDecimal, OverflowFails)
{
    EXPECT_FALSE(Parse("1e4999"));
    EXPECT_FALSE(Parse("-1e4999"));
}

TEST(ParseDecimal, Int64RangeBoundaries)
{
    if (!kExtendedIs80Bit)
        GTEST_SKIP() << "19-digit integers need the 64-bit mantissa of extended precision";
    struct Case {
        const char* text;
        bool inRange;
    } cases[] = {
        {"9223372036854775807", true},   {"9223372036854775808", false},
        {"-9223372036854775808", true},  {"-9223372036854775809", false},
        {"9223372036854775807.4", false}, // digit-by-digit rounding lands on 2^63
        {"92233720368547758.07e2", true},
    };
    for (const Case& c : cases) {
        auto value = Parse(c.text);
        ASSERT_TRUE(value) << c.text;
        EXPECT_EQ(IsInInt64Range(*value), c.inRange) << c.text;
    }
    EXPECT_EQ(RoundHalfEvenToInt64(*Parse("9223372036854775807")), INT64_MAX);
    EXPECT_EQ(RoundHalfEvenToInt64(*Parse("-9223372036854775808")), INT64_MIN);
}

TEST(RoundHalfEvenToInt64, HalvesGoToTheEvenNeighbour)
{
    struct Case {
        long double x;
        std::int64_t expected;
    } cases[] = {
        {2.5L, 2},   {3.5L, 4},   {-2.5L, -2}, {-3.5L, -4}, {0.5L, 0},   {-0.5L, 0},  {1.5L, 2},
        {2.7L, 3},   {2.4999L, 2}, {-2.7L, -3}, {-0.4999L, 0}, {0, 0},   {7, 7},
        {4503599627370497.5L, 4503599627370498}, // beyond 2^52, where a double has no halves
    };
    for (const Case& c : cases)
        EXPECT_EQ(RoundHalfEvenToInt64(c.x), c.expected) << static_cast<double>(c.x);
}

TEST(RoundHalfEvenToInt64, ClampsAtTheEnds)
{
    EXPECT_EQ(RoundHalfEvenToInt64(9223372036854775807.4L), INT64_MAX);
    EXPECT_EQ(RoundHalfEvenToInt64(9223372036854775808.0L), INT64_MAX);
    EXPECT_EQ(RoundHalfEvenToInt64(1e30L), INT64_MAX);
    EXPECT_EQ(RoundHalfEvenToInt64(-9223372036854775808.0L), INT64_MIN);
    EXPECT_EQ(RoundHalfEvenToInt64(-1e30L), INT64_MIN);
}

TEST(Int64ToText, WritesPlainDecimal)
{
    struct Case {
        std::int64_t value;
        const char* text;
    } cases[] = {
        {0, "0"},           {7, "7"},       {-42, "-42"}, {100, "100"}, {2147483648LL, "2147483648"},
        {INT64_MAX, "9223372036854775807"}, {INT64_MIN, "-9223372036854775808"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Int64ToText(c.value), c.text);
        char buffer[kMaxInt64TextLength + 1];
        std::fill(buffer, buffer + sizeof buffer, '!');
        char* end = Int64ToText(c.value, buffer);
        EXPECT_EQ(std::string(buffer, end), c.text);
        EXPECT_EQ(buffer[kMaxInt64TextLength], '!'); // never writes past the promised size
    }
}

TEST(DoubleToText, GeneralFormatWith15Digits)
{
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {2.5, "2.5"},
        {3, "3"},
        {-0.001, "-0.001"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {1.5e-7, "1.5E-7"},
        {1e20, "1E20"},
        {-1.25e100, "-1.25E100"},
        {123456789012345, "123456789012345"},
        {1234567890123456, "1.23456789012346E15"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {-0.0, "0"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DoubleToText(c.value), c.text);
}
