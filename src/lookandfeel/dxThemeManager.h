#pragma once
// The theme manager: whether a visual-styles theme is in force, one cached open theme
// per theme class, and the two receivers of the system's broadcasts (theme changes and
// system colour changes) that pass them on to their subscribers.
#include <array>
#include <exception>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "lookandfeel/dxUxTheme.h"
#include "platform/WindowSystem.h"

namespace vormix {

// The theme classes the controls draw with, numbered as the cache is.
enum ThemeClassId : int {
  tcButton, tcClock, tcComboBox, tcEdit, tcExplorerBar, tcHeader, tcListView, tcMenu,
  tcPage, tcProgress, tcRebar, tcScrollBar, tcSpin, tcStartPanel, tcStatus, tcTab,
  tcTaskBand, tcTaskBar, tcToolBar, tcToolTip, tcTrackBar, tcTrayNotify, tcTreeView, tcWindow
};
constexpr int kThemeClassCount = 24;
const char* ThemeClassName(ThemeClassId id);

// A theme is active and the library is bound, and every class named can be opened.
bool ThemesReady(std::initializer_list<ThemeClassId> classes = {});
bool ThemeClassReady(ThemeClassId id);
// The cached open theme of a class, opened on demand; 0 while themes are not ready or
// the class does not open (it is tried again at the next request).
TThemeHandle ThemeHandle(ThemeClassId id);
void ReleaseAllThemeHandles();

// Where errors raised while the broadcasts are passed on go (the application's report).
using TExceptionHandler = std::function<void(std::exception_ptr)>;
void SetBroadcastExceptionHandler(TExceptionHandler handler);

class TdxThemeChangedNotificator;

struct TdxThemeData {
  TThemeHandle Handle = 0;
  std::string ClassName;  // what the handle was opened for; empty after a failed open
};

class TdxThemeManager {
 public:
  // Opens the receiver of theme changes through the window system (none in tests that
  // pass no window system: they announce changes by calling ThemeChanged themselves).
  explicit TdxThemeManager(IWindowSystem* windows);
  ~TdxThemeManager();
  TdxThemeManager(const TdxThemeManager&) = delete;
  TdxThemeManager& operator=(const TdxThemeManager&) = delete;

  static TdxThemeManager* Current();
  IWindowSystem* Windows() const { return m_windows; }

  bool ThemeActive() const { return m_themeActive; }
  TThemeHandle ThemeHandle(ThemeClassId id);
  void ReleaseAllThemeHandles();
  const TdxThemeData& Record(ThemeClassId id) const { return m_data[id]; }
  // What the receiver does for the system's theme-change broadcast.
  void ThemeChanged();

 private:
  friend class TdxThemeChangedNotificator;
  class TdxThemeChangedEventReceiver;

  IWindowSystem* m_windows;
  TdxThemeManager* m_previous;
  std::array<TdxThemeData, kThemeClassCount> m_data{};
  bool m_themeActive = false;
  std::unique_ptr<TdxThemeChangedEventReceiver> m_receiver;
  std::vector<TdxThemeChangedNotificator*> m_notificators;
};

// A subscription to theme changes, for as long as it lives. Without a bound library
// there is nothing to subscribe to and the handler is never called.
class TdxThemeChangedNotificator {
 public:
  TdxThemeChangedNotificator();
  ~TdxThemeChangedNotificator();
  TdxThemeChangedNotificator(const TdxThemeChangedNotificator&) = delete;
  TdxThemeChangedNotificator& operator=(const TdxThemeChangedNotificator&) = delete;

  std::function<void()> OnThemeChanged;

 private:
  friend class TdxThemeManager;
  TdxThemeManager* m_manager = nullptr;
};

class TcxSystemPaletteChangedListener;

// A subscription to system colour changes. Runs-first subscribers (the caches of
// resolved colours) hear of a change before the ordinary ones (the look-and-feels,
// which make their owners repaint).
class TcxSystemPaletteChangedNotifier {
 public:
  explicit TcxSystemPaletteChangedNotifier(bool runsFirst = false);
  ~TcxSystemPaletteChangedNotifier();
  TcxSystemPaletteChangedNotifier(const TcxSystemPaletteChangedNotifier&) = delete;
  TcxSystemPaletteChangedNotifier& operator=(const TcxSystemPaletteChangedNotifier&) = delete;

  bool RunsFirst() const { return m_runsFirst; }
  std::function<void()> OnSystemPaletteChanged;

 private:
  bool m_runsFirst;
};

// The one listener behind all notifiers: it exists while at least one notifier does.
class TcxSystemPaletteChangedListener : private INativeWindowHandler {
 public:
  static TcxSystemPaletteChangedListener* Instance();
  // What the listener does for the system's colour-change broadcast.
  void SystemColorsChanged();
  // Called first, before any subscriber: the colour sets of the painters that keep one.
  static void SetColorSetRefresh(std::function<void()> refresh);

 private:
  friend class TcxSystemPaletteChangedNotifier;
  TcxSystemPaletteChangedListener();
  ~TcxSystemPaletteChangedListener() override;
  void Add(TcxSystemPaletteChangedNotifier* notifier);
  void Remove(TcxSystemPaletteChangedNotifier* notifier);
  static void Notify(std::vector<TcxSystemPaletteChangedNotifier*>& list);
  void NativeSystemColorsChanged() override;

  std::unique_ptr<INativeWindow> m_window;
  std::vector<TcxSystemPaletteChangedNotifier*> m_runsFirst;
  std::vector<TcxSystemPaletteChangedNotifier*> m_ordinary;
};

}  // namespace vormix
