#pragma once

#include <exception>
#include <string>

namespace vormix {

// The one error type the program raises. Its text (UTF-8) is what the application's
// error report shows; an empty text marks a silent failure that aborts the operation
// without any message.
class Error : public std::exception {
public:
    explicit Error(std::string text);

    static Error Silent();

    const std::string& Text() const noexcept { return m_text; }
    bool IsSilent() const noexcept { return m_text.empty(); }
    const char* what() const noexcept override;

private:
    std::string m_text;
};

} // namespace vormix
