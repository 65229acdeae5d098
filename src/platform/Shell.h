#pragma once
// Handing documents and web addresses to the programs the user has chosen for them.
#include <string>

#include "platform/NativeWindow.h"

namespace vormix {

class IShell {
 public:
  virtual ~IShell() = default;
  // Performs the verb "open" on the address; returns at once and reports nothing.
  virtual void OpenAddress(INativeWindow* owner, const std::string& address) = 0;
};

}  // namespace vormix
