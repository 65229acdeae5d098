#pragma once
// The system's save-file dialog.
#include <functional>
#include <string>

#include "base/Geometry.h"

#include "platform/NativeWindow.h"

namespace vormix {

struct TSaveDialogRequest {
  INativeWindow* Owner = nullptr;
  std::string Title;       // empty: the system's own title
  std::string InitialDir;  // empty: the system's default folder
  std::string FileName;    // shown in the name box when the dialog opens
  std::string DefaultExt;  // without the dot; added to a name typed without one
  std::string Filter;      // "description|pattern|description|pattern"
  int FilterIndex = 1;
  bool OverwritePrompt = false;
  bool HideReadOnly = false;
  bool EnableSizing = false;
  // Where the dialog goes once it has laid itself out: given the work area of the
  // monitor that shows the active window and the dialog's size, the top-left corner.
  std::function<TPoint(const TRect& monitorArea, TSize dialogSize)> Place;
};

class ISaveDialog {
 public:
  virtual ~ISaveDialog() = default;
  // Shows the dialog modally; true when the user confirmed, with the chosen full path.
  virtual bool Execute(const TSaveDialogRequest& request, std::string& chosenPath) = 0;
};

}  // namespace vormix
