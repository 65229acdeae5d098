#include "platform/memory/MemoryMenus.h"

namespace vormix {

int MemoryPopupMenus::Track(const TPopupMenuRequest& request) {
  Tracked.push_back(request);
  // The choice may open another menu; a copy keeps the handler alive meanwhile.
  const std::function<int(const TPopupMenuRequest&)> choose = Choose;
  const int chosen = choose ? choose(request) : -1;
  return chosen >= 0 && chosen < static_cast<int>(request.Items.size()) ? chosen : -1;
}

}  // namespace vormix
