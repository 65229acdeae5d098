#pragma once
// Popup menus in memory: every menu opened is recorded, and the test decides what the
// user chooses while it is open (nothing chosen: the menu is dismissed).
#include <functional>
#include <vector>

#include "platform/Menu.h"

namespace vormix {

class MemoryPopupMenus : public IPopupMenus {
 public:
  int Track(const TPopupMenuRequest& request) override;
  int ItemHeight() const override { return MenuItemHeight; }
  TRect WorkAreaAt(TPoint) const override { return WorkArea; }

  std::vector<TPopupMenuRequest> Tracked;
  // Called while the menu is open; answers the index of the item the user chooses, or -1.
  std::function<int(const TPopupMenuRequest&)> Choose;
  int MenuItemHeight = 19;
  TRect WorkArea{0, 0, 1280, 1024};
};

}  // namespace vormix
