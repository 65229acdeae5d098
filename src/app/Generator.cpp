#include "app/Generator.h"

#include <cstring>

namespace vormix {

namespace {

constexpr std::string_view Marker = "%d";

// "00" "01" ... "99": two digits per division keeps the division count halved.
constexpr char DigitPairs[] =
    "00010203040506070809"
    "10111213141516171819"
    "20212223242526272829"
    "30313233343536373839"
    "40414243444546474849"
    "50515253545556575859"
    "60616263646566676869"
    "70717273747576777879"
    "80818283848586878889"
    "90919293949596979899";

int DecimalDigitCount(std::uint32_t value) noexcept
{
    // Consecutive commands mostly have the same length, so these branches predict well.
    if (value < 10u) return 1;
    if (value < 100u) return 2;
    if (value < 1000u) return 3;
    if (value < 10000u) return 4;
    if (value < 100000u) return 5;
    if (value < 1000000u) return 6;
    if (value < 10000000u) return 7;
    if (value < 100000000u) return 8;
    if (value < 1000000000u) return 9;
    return 10;
}

// base + step * k modulo 2^32. Unsigned arithmetic wraps by definition, and since C++20
// the conversion back to int32 is two's complement, so no step of this can overflow.
std::int32_t ParameterValue(std::int32_t base, std::int32_t step, std::int32_t k) noexcept
{
    const std::uint32_t value = static_cast<std::uint32_t>(base) +
                                static_cast<std::uint32_t>(step) * static_cast<std::uint32_t>(k);
    return static_cast<std::int32_t>(value);
}

// Literal pieces are short, where a call of memcpy with a run-time length costs more than
// the copy. Fixed 16-byte blocks compile to single moves. The last block may read into
// the template's padding and write past the piece: those bytes are either overwritten by
// what follows or lie in the buffer's slack behind the end of the command.
constexpr std::size_t CopyBlock = 16;

char* CopyLiteral(char* out, const char* from, std::size_t length) noexcept
{
    for (std::size_t done = 0; done < length; done += CopyBlock)
        std::memcpy(out + done, from + done, CopyBlock);
    return out + length;
}

}  // namespace

char* WriteDecimal(std::int32_t value, char* out) noexcept
{
    std::uint32_t magnitude = static_cast<std::uint32_t>(value);
    if (value < 0) {
        *out++ = '-';
        // Negating in unsigned arithmetic also covers -2147483648, whose magnitude has no
        // int32 of its own.
        magnitude = 0u - magnitude;
    }
    char* const end = out + DecimalDigitCount(magnitude);
    char* p = end;
    while (magnitude >= 100u) {
        const std::uint32_t pair = magnitude % 100u;
        magnitude /= 100u;
        p -= 2;
        std::memcpy(p, DigitPairs + 2 * pair, 2);
    }
    if (magnitude >= 10u) {
        std::memcpy(p - 2, DigitPairs + 2 * magnitude, 2);
    } else {
        p[-1] = static_cast<char>('0' + magnitude);
    }
    return end;
}

bool HasMarker(std::string_view templ) noexcept
{
    return templ.find(Marker) != std::string_view::npos;
}

CommandExpander::CommandExpander(std::string_view templ, const ParameterValues& bases,
                                 const ParameterValues& steps)
    : m_template(templ), m_bases(bases), m_steps(steps)
{
    m_template.append(CopyBlock, '\0');
    std::size_t rest = 0;
    while (m_markerCount < ParameterCount) {
        const std::size_t marker = templ.find(Marker, rest);
        if (marker == std::string_view::npos) break;
        m_pieces[static_cast<std::size_t>(m_markerCount)] = {rest, marker - rest};
        rest = marker + Marker.size();
        ++m_markerCount;
    }
    m_pieces[static_cast<std::size_t>(m_markerCount)] = {rest, templ.size() - rest};

    const std::size_t markerCount = static_cast<std::size_t>(m_markerCount);
    m_buffer.resize(templ.size() - markerCount * Marker.size() + markerCount * MaxDecimalLength +
                    CopyBlock);
    std::memcpy(m_buffer.data(), m_template.data(), m_pieces[0].length);
}

std::string_view CommandExpander::Expand(std::int32_t k) noexcept
{
    char* const begin = m_buffer.data();
    char* out = begin + m_pieces[0].length;
    for (std::size_t n = 0; n < static_cast<std::size_t>(m_markerCount); ++n) {
        out = WriteDecimal(ParameterValue(m_bases[n], m_steps[n], k), out);
        const Piece& literal = m_pieces[n + 1];
        out = CopyLiteral(out, m_template.data() + literal.offset, literal.length);
    }
    return {begin, static_cast<std::size_t>(out - begin)};
}

std::string ExpandTemplate(std::string_view templ, const ParameterValues& bases,
                           const ParameterValues& steps, std::int32_t k)
{
    CommandExpander expander(templ, bases, steps);
    return std::string(expander.Expand(k));
}

void GenerateCommands(std::string_view templ, const ParameterValues& bases,
                      const ParameterValues& steps, std::int32_t n, CommandSink onCommand,
                      ProgressSink onProgress)
{
    if (n < 0) return;
    CommandExpander expander(templ, bases, steps);
    // Counted in 64 bits: with n = 2147483647 an int32 counter could never pass n.
    for (std::int64_t k = 0; k <= n; ++k) {
        onCommand(expander.Expand(static_cast<std::int32_t>(k)));
        onProgress(k + 1);
    }
}

}  // namespace vormix
