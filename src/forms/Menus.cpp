#include "forms/Menus.h"

#include <algorithm>

#include "forms/Forms.h"

namespace vormix {

std::string ShortCutToText(TMenuShortCut shortCut) {
  std::string text;
  if (shortCut.Shift & ssCtrl) text += "Ctrl+";
  if (shortCut.Shift & ssShift) text += "Shift+";
  if (shortCut.Shift & ssAlt) text += "Alt+";
  const TKey key = shortCut.Key;
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) text += static_cast<char>(key);
  else if (key >= 0x70 && key <= 0x7B) text += "F" + std::to_string(key - 0x70 + 1);
  else return {};
  return text;
}

void ClickMenuItem(TMenuItem& item, TObject& sender) {
  if (item.Enabled && item.OnClick) item.OnClick(sender);
}

TPopupMenu::TPopupMenu(TCustomForm& owner, std::string name) : TComponent(std::move(name)), m_owner(owner) {}

TPopupMenu::~TPopupMenu() {
  for (auto& [who, freed] : std::exchange(m_freeNotifications, {}))
    if (freed) freed();
}

TMenuItem& TPopupMenu::Add(std::string caption, TNotifyEvent onClick, TMenuShortCut shortCut) {
  Items.push_back({std::move(caption), shortCut, true, true, std::move(onClick)});
  return Items.back();
}

bool TPopupMenu::IsShortCut(TKey key, TShiftState shift) {
  for (TMenuItem& item : Items) {
    if (item.ShortCut.Matches(key, shift) && item.Visible && item.Enabled) {
      ClickMenuItem(item, *this);
      return true;
    }
  }
  return false;
}

IPopupMenus* TPopupMenu::Menus() const { return &m_owner.Application().Platform().Windows.PopupMenus(); }

TMenuItem* TPopupMenu::Track(TPoint screen, TMenuHorizontalAlign horizontal, TMenuVerticalAlign vertical) {
  if (OnPopup) OnPopup(*this);
  TPopupMenuRequest request;
  request.Owner = m_owner.Window();
  request.At = screen;
  request.Horizontal = horizontal;
  request.Vertical = vertical;
  std::vector<TMenuItem*> shown;
  for (TMenuItem& item : Items) {
    if (!item.Visible) continue;
    shown.push_back(&item);
    request.Items.push_back({item.Caption, ShortCutToText(item.ShortCut), item.Enabled});
  }
  if (shown.empty()) return nullptr;
  const int chosen = Menus()->Track(request);
  return chosen >= 0 && chosen < static_cast<int>(shown.size()) ? shown[static_cast<std::size_t>(chosen)] : nullptr;
}

void TPopupMenu::Popup(TPoint screen) {
  if (TMenuItem* item = Track(screen, TMenuHorizontalAlign::mhaLeft, TMenuVerticalAlign::mvaTop))
    ClickMenuItem(*item, *this);
}

int TPopupMenu::MenuHeight() const {
  const int itemHeight = Menus()->ItemHeight();
  const auto visible = std::count_if(Items.begin(), Items.end(), [](const TMenuItem& i) { return i.Visible; });
  return static_cast<int>(visible) * itemHeight + 4;
}

TRect TPopupMenu::WorkAreaAt(TPoint screen) const { return Menus()->WorkAreaAt(screen); }

void TPopupMenu::AddFreeNotification(const void* who, std::function<void()> freed) {
  RemoveFreeNotification(who);
  m_freeNotifications.emplace_back(who, std::move(freed));
}

void TPopupMenu::RemoveFreeNotification(const void* who) {
  std::erase_if(m_freeNotifications, [who](const auto& entry) { return entry.first == who; });
}

}  // namespace vormix
