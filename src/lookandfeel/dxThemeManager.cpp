#include "lookandfeel/dxThemeManager.h"

#include <algorithm>

namespace vormix {

namespace {

constexpr const char* kThemeClassNames[kThemeClassCount] = {
    "Button", "Clock",    "ComboBox", "Edit",      "ExplorerBar", "Header",     "ListView", "Menu",
    "Page",   "Progress", "Rebar",    "ScrollBar", "Spin",        "StartPanel", "Status",   "Tab",
    "TaskBand", "TaskBar", "ToolBar", "ToolTip",   "TrackBar",    "TrayNotify", "TreeView", "Window"};

TdxThemeManager* g_manager = nullptr;
TExceptionHandler g_exceptionHandler;
TcxSystemPaletteChangedListener* g_listener = nullptr;
int g_listenerUsers = 0;
bool g_listenerBusy = false;  // passing a change on: the listener must outlive the walk
std::function<void()> g_colorSetRefresh;

void Report(std::exception_ptr error) {
  if (g_exceptionHandler) g_exceptionHandler(error);
}

}  // namespace

const char* ThemeClassName(ThemeClassId id) {
  return id >= 0 && id < kThemeClassCount ? kThemeClassNames[id] : "";
}

bool ThemesReady(std::initializer_list<ThemeClassId> classes) {
  if (!g_manager || !g_manager->ThemeActive() || !IsThemeLibraryLoaded()) return false;
  return std::all_of(classes.begin(), classes.end(), [](ThemeClassId id) { return ThemeHandle(id) != 0; });
}

bool ThemeClassReady(ThemeClassId id) { return ThemesReady() && ThemeHandle(id) != 0; }

TThemeHandle ThemeHandle(ThemeClassId id) { return g_manager ? g_manager->ThemeHandle(id) : 0; }

void ReleaseAllThemeHandles() {
  if (g_manager) g_manager->ReleaseAllThemeHandles();
}

void SetBroadcastExceptionHandler(TExceptionHandler handler) { g_exceptionHandler = std::move(handler); }

// ---------------------------------------------------------------------------------------
// The theme manager

class TdxThemeManager::TdxThemeChangedEventReceiver : private INativeWindowHandler {
 public:
  TdxThemeChangedEventReceiver(TdxThemeManager& manager, IWindowSystem* windows) : m_manager(manager) {
    if (windows) m_window = windows->CreateMessageWindow(*this);
  }

 private:
  void NativeThemeChanged() override {
    try {
      m_manager.ThemeChanged();
    } catch (...) {
      Report(std::current_exception());
    }
  }

  TdxThemeManager& m_manager;
  std::unique_ptr<INativeWindow> m_window;
};

TdxThemeManager::TdxThemeManager(IWindowSystem* windows) : m_windows(windows), m_previous(g_manager) {
  g_manager = this;
  if (!IsThemeLibraryLoaded()) return;
  m_themeActive = BoundThemeLibrary()->IsThemeActive();
  m_receiver = std::make_unique<TdxThemeChangedEventReceiver>(*this, windows);
}

TdxThemeManager::~TdxThemeManager() {
  if (m_receiver) {
    m_receiver.reset();
    m_themeActive = false;
    ReleaseAllThemeHandles();
  }
  for (TdxThemeChangedNotificator* n : m_notificators) n->m_manager = nullptr;
  m_notificators.clear();
  g_manager = m_previous;
}

TdxThemeManager* TdxThemeManager::Current() { return g_manager; }

TThemeHandle TdxThemeManager::ThemeHandle(ThemeClassId id) {
  if (id < 0 || id >= kThemeClassCount || !ThemesReady()) return 0;
  TdxThemeData& record = m_data[id];
  if (record.Handle) return record.Handle;
  const std::string className = record.ClassName.empty() ? kThemeClassNames[id] : record.ClassName;
  record.Handle = BoundThemeLibrary()->OpenThemeData(nullptr, className);
  record.ClassName = record.Handle ? className : std::string();
  return record.Handle;
}

void TdxThemeManager::ReleaseAllThemeHandles() {
  for (TdxThemeData& record : m_data) {
    if (!record.Handle) continue;
    if (IThemeLibrary* library = BoundThemeLibrary()) library->CloseThemeData(record.Handle);
    record.Handle = 0;
  }
}

void TdxThemeManager::ThemeChanged() {
  ReleaseAllThemeHandles();
  m_themeActive = IsThemeLibraryLoaded() && BoundThemeLibrary()->IsThemeActive();
  // A handler may unsubscribe itself or another; walk a copy and skip the departed.
  const std::vector<TdxThemeChangedNotificator*> notificators = m_notificators;
  for (TdxThemeChangedNotificator* n : notificators) {
    if (std::find(m_notificators.begin(), m_notificators.end(), n) == m_notificators.end()) continue;
    if (n->OnThemeChanged) n->OnThemeChanged();
  }
}

TdxThemeChangedNotificator::TdxThemeChangedNotificator() {
  if (g_manager && IsThemeLibraryLoaded()) {
    m_manager = g_manager;
    m_manager->m_notificators.push_back(this);
  }
}

TdxThemeChangedNotificator::~TdxThemeChangedNotificator() {
  if (m_manager) std::erase(m_manager->m_notificators, this);
}

// ---------------------------------------------------------------------------------------
// The system colour fan-out

TcxSystemPaletteChangedNotifier::TcxSystemPaletteChangedNotifier(bool runsFirst) : m_runsFirst(runsFirst) {
  if (!g_listener) g_listener = new TcxSystemPaletteChangedListener();
  ++g_listenerUsers;
  g_listener->Add(this);
}

TcxSystemPaletteChangedNotifier::~TcxSystemPaletteChangedNotifier() {
  g_listener->Remove(this);
  if (--g_listenerUsers == 0 && !g_listenerBusy) {
    delete g_listener;
    g_listener = nullptr;
  }
}

TcxSystemPaletteChangedListener::TcxSystemPaletteChangedListener() {
  if (g_manager && g_manager->Windows()) m_window = g_manager->Windows()->CreateMessageWindow(*this);
}

TcxSystemPaletteChangedListener::~TcxSystemPaletteChangedListener() = default;

TcxSystemPaletteChangedListener* TcxSystemPaletteChangedListener::Instance() { return g_listener; }

void TcxSystemPaletteChangedListener::SetColorSetRefresh(std::function<void()> refresh) {
  g_colorSetRefresh = std::move(refresh);
}

void TcxSystemPaletteChangedListener::Add(TcxSystemPaletteChangedNotifier* notifier) {
  (notifier->RunsFirst() ? m_runsFirst : m_ordinary).push_back(notifier);
}

void TcxSystemPaletteChangedListener::Remove(TcxSystemPaletteChangedNotifier* notifier) {
  std::erase(m_runsFirst, notifier);
  std::erase(m_ordinary, notifier);
}

// From the last subscribed to the first; a subscriber that goes away meanwhile (its
// owner repainted and rebuilt something) is skipped, never called after its end.
void TcxSystemPaletteChangedListener::Notify(std::vector<TcxSystemPaletteChangedNotifier*>& list) {
  const std::vector<TcxSystemPaletteChangedNotifier*> snapshot = list;
  for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
    if (std::find(list.begin(), list.end(), *it) == list.end()) continue;
    if ((*it)->OnSystemPaletteChanged) (*it)->OnSystemPaletteChanged();
  }
}

void TcxSystemPaletteChangedListener::SystemColorsChanged() {
  struct TBusy {
    TcxSystemPaletteChangedListener* Self;
    explicit TBusy(TcxSystemPaletteChangedListener* self) : Self(self) { g_listenerBusy = true; }
    ~TBusy() {
      g_listenerBusy = false;
      if (g_listenerUsers == 0) {
        delete Self;
        g_listener = nullptr;
      }
    }
  } busy(this);
  if (g_colorSetRefresh) g_colorSetRefresh();
  Notify(m_runsFirst);
  Notify(m_ordinary);
}

void TcxSystemPaletteChangedListener::NativeSystemColorsChanged() {
  try {
    SystemColorsChanged();
  } catch (...) {
    Report(std::current_exception());
  }
}

}  // namespace vormix
