#pragma once
// Modal message boxes with one OK button.
#include <string>

#include "platform/NativeWindow.h"

namespace vormix {

enum class TMessageIcon { Information, Error };

class IMessageBox {
 public:
  virtual ~IMessageBox() = default;
  // Returns when the user has closed the box. The owner may be null.
  virtual void Show(INativeWindow* owner, const std::string& text, const std::string& caption,
                    TMessageIcon icon) = 0;
};

}  // namespace vormix
