#pragma once
// The program's UTF-8 text at the boundary to the wide-character Windows API.
#include <windows.h>

#include <string>
#include <string_view>

namespace vormix {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
// The system's message for an error code, without trailing line breaks.
std::string SystemErrorText(DWORD code);

}  // namespace vormix
