#pragma once
// The line rules of multi-line text: line breaks are CR LF; a line list counts lines
// the way a multi-line edit control counts its rows (without word wrap) and appends a
// line the way the control inserts it at the end of its text.
#include <cstddef>
#include <string>
#include <string_view>

namespace vormix {

// Rows less one when the last row is empty: "" has 0 lines, "a" 1, "a\r\n" 1,
// "a\r\n\r\n" 2.
std::size_t LineCount(std::string_view text);

// True when the text is empty or ends with CR LF, so a new line starts a row of its own.
bool EndsAtLineStart(std::string_view text);

// The text that appending the line S inserts at the end of a text: S followed by CR LF
// when the text ends at a line start, CR LF followed by S otherwise; either way with
// every LF CR pair turned into CR LF CR LF.
std::string LineInsertion(bool atLineStart, std::string_view line);
void AppendLineInsertion(std::string& out, bool atLineStart, std::string_view line);
// Appends a line to `text` in place, exactly as the insertion above would.
void AppendLineTo(std::string& text, std::string_view line);

// Every CR LF stays; every other CR and every other LF becomes CR LF.
std::string NormalizeLineBreaks(std::string_view text);

}  // namespace vormix
