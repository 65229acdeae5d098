#include "base/Error.h"

#include <utility>

namespace vormix {

Error::Error(std::string text) : m_text(std::move(text)) {}

Error Error::Silent()
{
    return Error(std::string());
}

const char* Error::what() const noexcept
{
    return m_text.c_str();
}

} // namespace vormix
