#include "base/Utf.h"

namespace vormix {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

struct DecodedChar {
    char32_t codePoint;
    std::size_t length; // bytes consumed
    bool valid;
};

// Decodes one character at pos (pos < text.size()). The allowed range of the second
// byte excludes overlong forms, UTF-8-encoded surrogates and code points above U+10FFFF;
// an invalid sequence consumes as many bytes as formed a valid prefix (at least one).
DecodedChar DecodeAt(std::string_view text, std::size_t pos)
{
    auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80)
        return {lead, 1, true};

    int trailCount = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    char32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trailCount = 1;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trailCount = 2;
        codePoint = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trailCount = 3;
        codePoint = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {kReplacement, 1, false};
    }

    for (int i = 1; i <= trailCount; ++i) {
        if (pos + i >= text.size())
            return {kReplacement, std::size_t(i), false};
        auto trail = static_cast<unsigned char>(text[pos + i]);
        if (trail < low || trail > high)
            return {kReplacement, std::size_t(i), false};
        codePoint = (codePoint << 6) | (trail & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return {codePoint, std::size_t(trailCount) + 1, true};
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::u16string Utf8ToUtf16(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        DecodedChar d = DecodeAt(utf8, pos);
        pos += d.length;
        if (d.codePoint < 0x10000) {
            out += static_cast<char16_t>(d.codePoint);
        } else {
            char32_t v = d.codePoint - 0x10000;
            out += static_cast<char16_t>(0xD800 + (v >> 10));
            out += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char16_t c = utf16[i];
        if (IsHighSurrogate(c) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
            AppendUtf8(out, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (utf16[i + 1] - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

std::size_t Utf16Length(std::string_view utf8)
{
    std::size_t units = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        DecodedChar d = DecodeAt(utf8, pos);
        pos += d.length;
        units += d.codePoint < 0x10000 ? 1 : 2;
    }
    return units;
}

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        DecodedChar d = DecodeAt(text, pos);
        if (!d.valid)
            return false;
        pos += d.length;
    }
    return true;
}

} // namespace vormix
