#pragma once
// Popup menus on Win32: a menu of strings built for one showing, tracked with
// TrackPopupMenu until it closes.
#include <windows.h>

#include "platform/Menu.h"

namespace vormix {

class Win32PopupMenus : public IPopupMenus {
 public:
  int Track(const TPopupMenuRequest& request) override;
  int ItemHeight() const override;
  TRect WorkAreaAt(TPoint screen) const override;
};

}  // namespace vormix
