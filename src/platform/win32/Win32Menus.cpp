#include "platform/win32/Win32Menus.h"

#include "platform/NativeWindow.h"
#include "platform/win32/Win32Text.h"

namespace vormix {

namespace {

UINT AlignmentFlags(const TPopupMenuRequest& request) {
  UINT flags = request.Vertical == TMenuVerticalAlign::mvaBottom ? TPM_BOTTOMALIGN : TPM_TOPALIGN;
  switch (request.Horizontal) {
    case TMenuHorizontalAlign::mhaLeft: return flags | TPM_LEFTALIGN;
    case TMenuHorizontalAlign::mhaCenter: return flags | TPM_CENTERALIGN;
    case TMenuHorizontalAlign::mhaRight: return flags | TPM_RIGHTALIGN;
  }
  return flags;
}

}  // namespace

int Win32PopupMenus::Track(const TPopupMenuRequest& request) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return -1;
  for (std::size_t i = 0; i < request.Items.size(); ++i) {
    const TNativeMenuItem& item = request.Items[i];
    std::string text = item.Caption;
    if (!item.ShortCutText.empty()) text += "\t" + item.ShortCutText;
    AppendMenuW(menu, MF_STRING | (item.Enabled ? 0 : MF_GRAYED), i + 1, Widen(text).c_str());
  }
  HWND owner = request.Owner ? static_cast<HWND>(request.Owner->Handle()) : GetActiveWindow();
  const int command = static_cast<int>(TrackPopupMenu(menu, AlignmentFlags(request) | TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                      request.At.X, request.At.Y, 0, owner, nullptr));
  DestroyMenu(menu);
  return command - 1;
}

int Win32PopupMenus::ItemHeight() const { return GetSystemMetrics(SM_CYMENU); }

TRect Win32PopupMenus::WorkAreaAt(TPoint screen) const {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(MonitorFromPoint(POINT{screen.X, screen.Y}, MONITOR_DEFAULTTONEAREST), &info)) return {};
  return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

}  // namespace vormix
