#pragma once
// The look-and-feel side started on the memory adapters: a scriptable theme library
// (loaded, its theme active unless a test says otherwise) and a window system for the
// receivers of the system's broadcasts.
#include <gtest/gtest.h>

#include <memory>

#include "lookandfeel/cxLookAndFeels.h"
#include "platform/memory/MemoryServices.h"
#include "platform/memory/MemoryThemeLibrary.h"
#include "platform/memory/MemoryWindowSystem.h"

namespace vormix {

class LookAndFeelFixture : public ::testing::Test {
 protected:
  void SetUp() override { Start(); }
  void TearDown() override { runtime.reset(); }

  // Starts (again) with the theme library as the test has scripted it.
  void Start() {
    runtime.reset();
    runtime = std::make_unique<TcxLookAndFeelRuntime>(themes, &windows);
  }
  // What the system does when the user switches the theme on or off: it tells every
  // top-level window, the hidden receivers among them.
  void SwitchTheme(bool active) {
    themes.Active = active;
    windows.BroadcastThemeChanged();
  }
  void SystemColorsChange() { windows.BroadcastSystemColorsChanged(); }

  MemoryBeep beep;
  MemoryClipboard clipboard;
  MemoryWindowSystem windows{beep, clipboard};
  MemoryThemeLibrary themes;
  std::unique_ptr<TcxLookAndFeelRuntime> runtime;
};

}  // namespace vormix
