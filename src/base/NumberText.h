#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vormix {

// Parses the number text a user may type into a numeric field:
//   [spaces] [+|-] digits [sep digits] [(E|e) [+|-] digits] [spaces]
// Spaces are code 32 only. Between the sign and the exponent letter there must be at
// least one digit or the separator, so ".5", "5." and even "." (zero) are numbers while
// "", "-", "e5" and a text of spaces are not. An exponent letter without digits means
// exponent 0 ("1e" is 1). Exponent digits are taken only while the exponent is below
// 500, so "1e500" is read in full (and left to the caller's range check) but "1e5000"
// leaves a digit over and fails. A result that overflows fails; on failure value is
// left as it was.
//
// The digits are accumulated in long double, which is the 80-bit extended type with
// GCC and MinGW on x86: every 19-digit integer is exact there, so the Int64 range test
// sees the typed number, not a neighbour. With MSVC long double is a plain double; then
// integers above 2^53 are rounded while reading and "1e500" already fails here.
bool ParseDecimal(std::string_view text, char decimalSeparator, long double& value);

// -2^63 <= x <= 2^63-1, judged before any rounding. (Where long double is a double,
// 2^63-1 is not representable and 2^63 itself passes; the rounding below clamps it.)
bool IsInInt64Range(long double x);

// Round to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Meant for values that passed IsInInt64Range; anything beyond either end is clamped to
// that end, which also covers a value just below 2^63 that rounds up to 2^63.
std::int64_t RoundHalfEvenToInt64(long double x);

std::string Int64ToText(std::int64_t value);

// Writes the decimal text of value into buffer (at least kMaxInt64TextLength chars) and
// returns the end of the text. No terminating zero is written and nothing is allocated,
// so a generator can put digits straight into its output.
inline constexpr std::size_t kMaxInt64TextLength = 20;
char* Int64ToText(std::int64_t value, char* buffer);

// A double in general format with at most 15 significant digits: fixed notation while
// the decimal exponent lies in -5 < e < 15, otherwise scientific with a bare exponent
// ("2.5", "3", "-0.001", "1E20", "1.5E-7"). Trailing zeros are dropped, -0 reads "0",
// and the non-finite values read "INF", "-INF" and "NAN".
std::string DoubleToText(double value);

} // namespace vormix
