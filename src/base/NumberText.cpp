#include "base/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vormix {

namespace {

constexpr long double kTwoPow63 = 9223372036854775808.0L;
constexpr int kExponentReadLimit = 500;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

void SkipSpaces(std::string_view text, std::size_t& pos)
{
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
}

// Returns -1 for '-', +1 for '+' (consumed) or no sign (nothing consumed).
int ReadSign(std::string_view text, std::size_t& pos)
{
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        return text[pos++] == '-' ? -1 : 1;
    return 1;
}

// Appends digits to value; returns how many were read.
int ReadDigits(std::string_view text, std::size_t& pos, long double& value)
{
    int count = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos, ++count)
        value = value * 10 + (text[pos] - '0');
    return count;
}

int ReadExponent(std::string_view text, std::size_t& pos)
{
    int sign = ReadSign(text, pos);
    int exponent = 0;
    while (exponent < kExponentReadLimit && pos < text.size() && IsDigit(text[pos]))
        exponent = exponent * 10 + (text[pos++] - '0');
    return sign * exponent;
}

// 10^n by squaring: exact up to 10^27, which covers every power a typed integer needs,
// and independent of the quality of the C library's powl.
long double PowerOfTen(int n)
{
    long double result = 1;
    long double square = 10;
    for (; n != 0; n >>= 1, square *= square) {
        if (n & 1)
            result *= square;
    }
    return result;
}

long double ScaleByPowerOfTen(long double value, int exponent)
{
    if (value == 0 || exponent == 0)
        return value;
    // Dividing by 10^n rounds once, multiplying by the inexact 10^-n would round twice.
    if (exponent > 0)
        return value * PowerOfTen(exponent);
    return value / PowerOfTen(-exponent);
}

} // namespace

bool ParseDecimal(std::string_view text, char decimalSeparator, long double& value)
{
    std::size_t pos = 0;
    SkipSpaces(text, pos);
    int sign = ReadSign(text, pos);

    long double mantissa = 0;
    bool hasMantissa = ReadDigits(text, pos, mantissa) > 0;
    int fractionDigits = 0;
    if (pos < text.size() && text[pos] == decimalSeparator) {
        ++pos;
        hasMantissa = true;
        fractionDigits = ReadDigits(text, pos, mantissa);
    }
    if (!hasMantissa)
        return false;

    int exponent = 0;
    if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
        ++pos;
        exponent = ReadExponent(text, pos);
    }
    SkipSpaces(text, pos);
    if (pos != text.size())
        return false;

    long double result = ScaleByPowerOfTen(mantissa, exponent - fractionDigits);
    if (!std::isfinite(result))
        return false;
    value = sign < 0 ? -result : result;
    return true;
}

bool IsInInt64Range(long double x)
{
    return x >= -kTwoPow63 && x <= 9223372036854775807.0L;
}

std::int64_t RoundHalfEvenToInt64(long double x)
{
    if (std::isnan(x))
        return 0;
    // Rounding the magnitude keeps the subtraction exact (Sterbenz: lower >= magnitude/2
    // or lower is 0); the halves-to-even rule is symmetric, so the sign goes back after.
    long double magnitude = std::fabs(x);
    long double lower = std::floor(magnitude);
    long double fraction = magnitude - lower;
    long double rounded = lower;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(lower, 2.0L) != 0))
        rounded = lower + 1;
    if (x < 0)
        rounded = -rounded;
    if (rounded >= kTwoPow63)
        return std::numeric_limits<std::int64_t>::max();
    if (rounded <= -kTwoPow63)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(rounded);
}

char* Int64ToText(std::int64_t value, char* buffer)
{
    // Work on the magnitude as unsigned so that INT64_MIN needs no special case.
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value)
                                        : static_cast<std::uint64_t>(value);
    char digits[kMaxInt64TextLength];
    char* start = digits + sizeof digits;
    do {
        *--start = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);

    char* out = buffer;
    if (value < 0)
        *out++ = '-';
    for (const char* p = start; p != digits + sizeof digits; ++p)
        *out++ = *p;
    return out;
}

std::string Int64ToText(std::int64_t value)
{
    char buffer[kMaxInt64TextLength];
    return std::string(buffer, Int64ToText(value, buffer));
}

std::string DoubleToText(double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";

    // to_chars, unlike printf, ignores the C locale, so the separator is always '.'.
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                   std::chars_format::general, 15);
    (void)ec; // 64 chars always hold 15 digits, sign, point and exponent
    std::string text(buffer, end);

    // "1e+20" -> "1E20", "1.5e-07" -> "1.5E-7".
    std::size_t e = text.find('e');
    if (e == std::string::npos)
        return text;
    std::string exponent = text.substr(e + 1);
    bool negative = exponent[0] == '-';
    std::size_t firstDigit = exponent.find_first_not_of("+-0");
    text.erase(e);
    text += 'E';
    if (negative)
        text += '-';
    text += exponent.substr(firstDigit);
    return text;
}

} // namespace vormix
