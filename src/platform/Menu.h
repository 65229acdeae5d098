#pragma once
// Popup menus of the system: a list of plain items opened at a screen point and tracked
// until the user chooses one or dismisses the menu.
#include <string>
#include <vector>

#include "base/Geometry.h"

namespace vormix {

class INativeWindow;

struct TNativeMenuItem {
  std::string Caption;       // UTF-8; '&' marks the accelerator
  std::string ShortCutText;  // shown right-aligned, e.g. "Ctrl+S"
  bool Enabled = true;
};

// Which point of the menu lies on the point it is opened at.
enum class TMenuHorizontalAlign { mhaLeft, mhaCenter, mhaRight };
enum class TMenuVerticalAlign { mvaTop, mvaBottom };

struct TPopupMenuRequest {
  INativeWindow* Owner = nullptr;  // the window whose thread tracks the menu
  std::vector<TNativeMenuItem> Items;
  TPoint At;  // screen coordinates
  TMenuHorizontalAlign Horizontal = TMenuHorizontalAlign::mhaLeft;
  TMenuVerticalAlign Vertical = TMenuVerticalAlign::mvaTop;
};

class IPopupMenus {
 public:
  virtual ~IPopupMenus() = default;
  // Shows the menu and returns when it has closed: the index of the chosen item, or -1.
  virtual int Track(const TPopupMenuRequest& request) = 0;
  // The height of one plain item as the system draws it.
  virtual int ItemHeight() const = 0;
  // The work area of the monitor that holds the screen point.
  virtual TRect WorkAreaAt(TPoint screen) const = 0;
};

}  // namespace vormix
