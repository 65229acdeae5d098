#pragma once
// The save-file dialog component.
#include <string>

#include "base/Geometry.h"
#include "forms/Classes.h"

namespace vormix {

class TCustomForm;

using TOpenOptions = unsigned;
constexpr TOpenOptions ofOverwritePrompt = 1, ofHideReadOnly = 2, ofEnableSizing = 4;

// Where a common dialog goes on its monitor: centred horizontally, with one third of the
// free height above it and two thirds below.
TPoint PlaceCommonDialog(const TRect& monitorArea, TSize dialogSize);

class TSaveDialog : public TComponent {
 public:
  TSaveDialog(TCustomForm& owner, std::string name);

  std::string DefaultExt;  // added to a name typed without an extension
  std::string Filter;      // "description|pattern|…"
  int FilterIndex = 1;
  TOpenOptions Options = 0;
  std::string FileName;  // shown when the dialog opens; the chosen full path afterwards
  std::string InitialDir;
  std::string Title;

  // Shows the dialog modally; true when the user confirmed a file name. The program's
  // other windows are disabled meanwhile and the focus comes back afterwards.
  bool Execute();

 private:
  TCustomForm& m_owner;
};

}  // namespace vormix
