#pragma once
// The system's warning sounds.

namespace vormix {

class IBeep {
 public:
  virtual ~IBeep() = default;
  // 0 is the default warning sound; returns at once.
  virtual void MessageBeep(unsigned type) = 0;
};

}  // namespace vormix
