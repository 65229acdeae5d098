#pragma once
// Everything a form needs to run in memory: the recorded services, the simulated window
// system and an application titled "Vormix". Forms built on it must be declared after
// it, so that they go before the window system does.
#include <memory>

#include "forms/Forms.h"
#include "lookandfeel/cxLookAndFeels.h"
#include "platform/memory/MemoryServices.h"
#include "platform/memory/MemoryThemeLibrary.h"
#include "platform/memory/MemoryWindowSystem.h"

namespace vormix {

// The desktop starts with the visual-styles theme switched off, so controls draw their
// classic look unless a test switches it on.
struct TMemoryDesktop {
  TMemoryDesktop() { app.SetTitle("Vormix"); }
  static MemoryThemeLibrary& ClassicThemes(MemoryThemeLibrary& themes) {
    themes.Active = false;
    return themes;
  }

  MemoryBeep beep;
  MemoryClipboard clipboard;
  MemoryWindowSystem windows{beep, clipboard};
  MemoryMessageBox messageBox;
  MemorySaveDialog saveDialog;
  MemoryFileSystem files;
  MemoryCodePage codePage;
  MemoryShell shell;
  TPlatform platform{windows, messageBox, beep, saveDialog, files, codePage, shell, clipboard};
  MemoryThemeLibrary themes;
  TcxLookAndFeelRuntime lookAndFeel{ClassicThemes(themes), &windows};
  TApplication app{platform};

  // The native window of a control, as the memory system sees it.
  static MemoryWindow* WindowOf(const TWinControl& control) {
    return dynamic_cast<MemoryWindow*>(control.Window());
  }
  // The edit control that holds a control's text: its own window, or the native edit
  // inside an editor's frame.
  static MemoryEdit& EditOf(const TWinControl& control) {
    return dynamic_cast<MemoryEdit&>(*control.FocusWindow());
  }
  bool HasFocus(const TWinControl& control) const {
    return windows.Focused() != nullptr && windows.Focused() == dynamic_cast<MemoryWindow*>(control.FocusWindow());
  }
};

// Creates a control at the given place on its parent.
template <class T>
std::unique_ptr<T> Place(TWinControl& parent, const char* name, int left, int top, int width = 100,
                         int height = 20) {
  auto control = std::make_unique<T>(name);
  control->SetBounds(left, top, width, height);
  control->SetParent(&parent);
  return control;
}

}  // namespace vormix
