#pragma once
// Popup menus: a list of items with captions, shortcuts and click handlers, shown at a
// point of the screen through the system's popup menus.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/Geometry.h"
#include "forms/Classes.h"
#include "platform/Menu.h"

namespace vormix {

class TCustomForm;

// The key that runs a menu item, with its modifiers (Shift, Ctrl, Alt).
struct TMenuShortCut {
  TKey Key = 0;
  TShiftState Shift = 0;
  bool Matches(TKey key, TShiftState shift) const {
    return Key != 0 && key == Key && (shift & (ssShift | ssCtrl | ssAlt)) == Shift;
  }
};
// "Ctrl+Shift+S", as the menu shows it; letters, digits and F1 to F12.
std::string ShortCutToText(TMenuShortCut shortCut);

struct TMenuItem {
  std::string Caption;
  TMenuShortCut ShortCut;
  bool Enabled = true;
  bool Visible = true;
  TNotifyEvent OnClick;
};

// What the controls of the editor library ask of a menu they show: run the item of a
// shortcut, and open at a point.
class IcxPopupMenu {
 public:
  virtual ~IcxPopupMenu() = default;
  // Runs the enabled item with that shortcut; true when there was one.
  virtual bool IsShortCut(TKey key, TShiftState shift) = 0;
  virtual void Popup(TPoint screen) = 0;
};

class TPopupMenu : public TComponent, public IcxPopupMenu {
 public:
  TPopupMenu(TCustomForm& owner, std::string name);
  ~TPopupMenu() override;

  std::vector<TMenuItem> Items;
  TMenuItem& Add(std::string caption, TNotifyEvent onClick = {}, TMenuShortCut shortCut = {});
  TNotifyEvent OnPopup;  // before the menu opens

  bool IsShortCut(TKey key, TShiftState shift) override;
  void Popup(TPoint screen) override;
  // Opens the menu and waits until it closes; the chosen item (not yet run), or null.
  TMenuItem* Track(TPoint screen, TMenuHorizontalAlign horizontal, TMenuVerticalAlign vertical);
  // The sum of the visible items' heights, plus the menu's border.
  int MenuHeight() const;
  TRect WorkAreaAt(TPoint screen) const;

  // Whoever keeps a pointer to the menu hears when it goes.
  void AddFreeNotification(const void* who, std::function<void()> freed);
  void RemoveFreeNotification(const void* who);

 private:
  IPopupMenus* Menus() const;

  TCustomForm& m_owner;
  std::vector<std::pair<const void*, std::function<void()>>> m_freeNotifications;
};

// Runs an item's click handler if it is enabled.
void ClickMenuItem(TMenuItem& item, TObject& sender);

}  // namespace vormix
