#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vormix {

// Text is UTF-8 inside the program and UTF-16 at the Win32 boundary. Malformed input
// never throws: each maximal ill-formed subsequence of UTF-8, and each unpaired
// surrogate of UTF-16, becomes one U+FFFD, so a stray byte can cost at most a
// replacement character, never the rest of the text.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// The number of UTF-16 code units Utf8ToUtf16 would produce, without building it.
std::size_t Utf16Length(std::string_view utf8);

bool IsValidUtf8(std::string_view text);

} // namespace vormix
