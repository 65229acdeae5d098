#pragma once
// The system clipboard, as far as text goes.
#include <optional>
#include <string>

namespace vormix {

class IClipboard {
 public:
  virtual ~IClipboard() = default;
  virtual std::optional<std::string> Text() const = 0;  // nothing when it holds no text
  virtual void SetText(const std::string& text) = 0;
};

}  // namespace vormix
