#pragma once
// The roots of the class tree and the event types every control publishes.
#include <functional>
#include <string>

#include "platform/Keys.h"

namespace vormix {

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

// Something with a name on a form, visible or not (the save dialog is one).
class TComponent : public TObject {
 public:
  explicit TComponent(std::string name = {}) : m_name(std::move(name)) {}
  const std::string& Name() const { return m_name; }
  void SetName(std::string name) { m_name = std::move(name); }

 private:
  std::string m_name;
};

using TNotifyEvent = std::function<void(TObject& sender)>;
// The key or character is passed by reference: a handler that sets it to 0 consumes it.
using TKeyEvent = std::function<void(TObject& sender, TKey& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject& sender, char16_t& key)>;

// Sets a flag for the lifetime of a scope, restoring the previous value afterwards.
class TFlagScope {
 public:
  explicit TFlagScope(bool& flag, bool value = true) : m_flag(flag), m_saved(flag) { m_flag = value; }
  ~TFlagScope() { m_flag = m_saved; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& m_flag;
  bool m_saved;
};

}  // namespace vormix
