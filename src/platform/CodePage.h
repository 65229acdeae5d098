#pragma once
// Conversion between the program's Unicode text and the system's ANSI code page.
#include <optional>
#include <string>
#include <string_view>

namespace vormix {

struct TAnsiConversion {
  std::string Bytes;        // the text in the code page, when every character fits
  bool Complete = true;     // false: some character has no form in the code page
  std::string FirstMissing; // the first character that has none (UTF-8), for messages
};

class ICodePage {
 public:
  virtual ~ICodePage() = default;
  virtual unsigned CodePageId() const = 0;  // 936 on a Simplified-Chinese system
  virtual TAnsiConversion ToAnsi(std::string_view utf8) const = 0;
  virtual std::string FromAnsi(std::string_view bytes) const = 0;
};

}  // namespace vormix
