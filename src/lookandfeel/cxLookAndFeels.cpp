#include "lookandfeel/cxLookAndFeels.h"

#include <algorithm>

namespace vormix {

namespace {
TcxLookAndFeel* g_global = nullptr;
}  // namespace

TcxLookAndFeel* GlobalLookAndFeel() { return g_global; }

// ---------------------------------------------------------------------------------------
// TcxLookAndFeel

TcxLookAndFeel::TcxLookAndFeel(TObject* owner) : m_owner(owner) {
  m_paletteNotifier = std::make_unique<TcxSystemPaletteChangedNotifier>();
  m_paletteNotifier->OnSystemPaletteChanged = [this] { SystemPaletteChanged(); };
  if (g_global) {
    g_global->AddFollower(*this);
    m_effectiveKind = ComputeKind();
    m_effectiveNativeStyle = ComputeNativeStyle();
  }
}

TcxLookAndFeel::TcxLookAndFeel(GlobalTag) : m_isGlobal(true) {
  m_paletteNotifier = std::make_unique<TcxSystemPaletteChangedNotifier>();
  m_paletteNotifier->OnSystemPaletteChanged = [this] { SystemPaletteChanged(); };
}

TcxLookAndFeel::~TcxLookAndFeel() {
  m_paletteNotifier.reset();
  // While it is being destroyed the list cannot change: a follower that goes back to
  // the global look-and-feel asks to leave it, and that request is ignored.
  m_destroying = true;
  for (LookAndFeelFollower* follower : std::vector<LookAndFeelFollower*>(m_followers))
    follower->SourceDestroying(*this);
  m_destroying = false;
  m_followers.clear();
  if (TcxLookAndFeel* source = CurrentSource()) source->RemoveFollower(*this);
  if (m_isGlobal && g_global == this) g_global = nullptr;
}

TcxLookAndFeel* TcxLookAndFeel::CurrentSource() const {
  if (m_isGlobal) return nullptr;
  return m_source ? m_source : g_global;
}

TcxLookAndFeelKind TcxLookAndFeel::ComputeKind() const {
  if (m_assignedValues & lfvsKind) return m_storedKind;
  const TcxLookAndFeel* source = CurrentSource();
  return source ? source->m_effectiveKind : TcxLookAndFeelKind::lfUltraFlat;
}

bool TcxLookAndFeel::ComputeNativeStyle() const {
  if (m_assignedValues & lfvsNativeStyle) return m_storedNativeStyle;
  const TcxLookAndFeel* source = CurrentSource();
  return source ? source->m_effectiveNativeStyle : false;
}

void TcxLookAndFeel::NotifyChanged(TcxLookAndFeelValues values) {
  if (values == 0 || m_destroying) return;
  m_effectiveKind = ComputeKind();
  m_effectiveNativeStyle = ComputeNativeStyle();
  // A follower may unregister itself while it hears of the change: the index only
  // advances when the list kept its length.
  for (std::size_t i = 0; i < m_followers.size();) {
    const std::size_t count = m_followers.size();
    m_followers[i]->SourceChanged(*this, values);
    if (m_followers.size() == count) ++i;
  }
  if (OnLookAndFeelChanged) OnLookAndFeelChanged(*this, values);
}

template <class Change>
void TcxLookAndFeel::MultiValueChange(Change&& change) {
  const TcxLookAndFeelKind savedKind = m_effectiveKind;
  const bool savedNativeStyle = m_effectiveNativeStyle;
  change();
  TcxLookAndFeelValues changed = 0;
  if (ComputeKind() != savedKind) changed |= lfvsKind;
  if (ComputeNativeStyle() != savedNativeStyle) changed |= lfvsNativeStyle;
  NotifyChanged(changed);
}

void TcxLookAndFeel::SetKind(TcxLookAndFeelKind kind) {
  const TcxLookAndFeelKind old = m_effectiveKind;
  m_assignedValues |= lfvsKind;
  m_storedKind = kind;
  if (ComputeKind() != old) NotifyChanged(lfvsKind);
}

void TcxLookAndFeel::SetNativeStyle(bool nativeStyle) {
  const bool old = m_effectiveNativeStyle;
  m_assignedValues |= lfvsNativeStyle;
  m_storedNativeStyle = nativeStyle;
  if (ComputeNativeStyle() != old) NotifyChanged(lfvsNativeStyle);
}

void TcxLookAndFeel::SetAssignedValues(TcxLookAndFeelValues values) {
  values &= lfvsAll;
  if (values == m_assignedValues) return;
  MultiValueChange([&] { m_assignedValues = values; });
}

bool TcxLookAndFeel::IsCurrentSource(const TcxLookAndFeel* source) const {
  return source == m_source || (source == nullptr && m_source == nullptr) || (m_source == nullptr && source == g_global);
}

void TcxLookAndFeel::ReplaceSource(TcxLookAndFeel* source) {
  if (TcxLookAndFeel* current = CurrentSource()) current->RemoveFollower(*this);
  m_source = source == g_global ? nullptr : source;
  if (TcxLookAndFeel* current = CurrentSource()) current->AddFollower(*this);
}

void TcxLookAndFeel::SetSourceLookAndFeel(TcxLookAndFeel* source) {
  if (m_isGlobal || source == this || IsCurrentSource(source)) return;
  MultiValueChange([&] { ReplaceSource(source); });
}

void TcxLookAndFeel::Assign(const TcxLookAndFeel& other) {
  if (&other == this) return;
  MultiValueChange([&] {
    m_storedKind = other.m_storedKind;
    m_storedNativeStyle = other.m_storedNativeStyle;
    m_assignedValues = other.m_assignedValues;
    TcxLookAndFeel* source = other.CurrentSource();
    if (!m_isGlobal && source != this && !IsCurrentSource(source)) ReplaceSource(source);
  });
}

namespace {

const TcxCustomLookAndFeelPainter& KindPainter(TcxLookAndFeelKind kind) {
  switch (kind) {
    case TcxLookAndFeelKind::lfFlat: return FlatPainter();
    case TcxLookAndFeelKind::lfStandard: return StandardPainter();
    case TcxLookAndFeelKind::lfOffice11: return Office11Painter();
    case TcxLookAndFeelKind::lfUltraFlat: break;
  }
  return UltraFlatPainter();
}

}  // namespace

const TcxCustomLookAndFeelPainter& TcxLookAndFeel::PainterFor() const {
  if (m_effectiveNativeStyle && ThemesReady()) return WinXPPainter();
  return KindPainter(m_effectiveKind);
}

const TcxCustomLookAndFeelPainter& TcxLookAndFeel::PainterFor(ThemeClassId themeClass) const {
  if (m_effectiveNativeStyle && ThemeClassReady(themeClass)) return WinXPPainter();
  return KindPainter(m_effectiveKind);
}

void TcxLookAndFeel::AddFollower(LookAndFeelFollower& follower) {
  const bool isController = dynamic_cast<TcxLookAndFeelController*>(&follower.GetFollowerObject()) != nullptr;
  if (isController && !m_isGlobal) return;
  if (std::find(m_followers.begin(), m_followers.end(), &follower) != m_followers.end()) return;
  m_followers.push_back(&follower);
  if (isController) ++m_controllerCount;
}

void TcxLookAndFeel::RemoveFollower(LookAndFeelFollower& follower) {
  if (m_destroying) return;
  auto found = std::find(m_followers.begin(), m_followers.end(), &follower);
  if (found == m_followers.end()) return;
  m_followers.erase(found);
  const bool isController = dynamic_cast<TcxLookAndFeelController*>(&follower.GetFollowerObject()) != nullptr;
  if (isController && --m_controllerCount == 0) SetAssignedValues(0);
}

void TcxLookAndFeel::SourceChanged(TcxLookAndFeel&, TcxLookAndFeelValues changed) {
  NotifyChanged(changed & ~m_assignedValues);
}

void TcxLookAndFeel::SourceDestroying(TcxLookAndFeel& source) {
  if (&source == m_source) SetSourceLookAndFeel(nullptr);
}

// ---------------------------------------------------------------------------------------
// TcxLookAndFeelController

TcxLookAndFeelController::TcxLookAndFeelController(std::string name) : TComponent(std::move(name)) {
  m_global = g_global;
  if (m_global) m_global->AddFollower(*this);
}

TcxLookAndFeelController::~TcxLookAndFeelController() {
  if (m_global) m_global->RemoveFollower(*this);
}

TcxLookAndFeelKind TcxLookAndFeelController::Kind() const {
  return g_global ? g_global->Kind() : TcxLookAndFeelKind::lfUltraFlat;
}

void TcxLookAndFeelController::SetKind(TcxLookAndFeelKind kind) {
  if (g_global) g_global->SetKind(kind);
}

bool TcxLookAndFeelController::NativeStyle() const { return g_global && g_global->NativeStyle(); }

void TcxLookAndFeelController::SetNativeStyle(bool nativeStyle) {
  if (g_global) g_global->SetNativeStyle(nativeStyle);
}

void TcxLookAndFeelController::SourceDestroying(TcxLookAndFeel& source) {
  if (&source == m_global) m_global = nullptr;
}

// ---------------------------------------------------------------------------------------
// Start-up and shutdown

TcxLookAndFeelRuntime::TcxLookAndFeelRuntime(IThemeLibrary& library, IWindowSystem* windows)
    : m_binding(library), m_themes(windows), m_painters(windows), m_previousGlobal(g_global) {
  m_global.reset(new TcxLookAndFeel(TcxLookAndFeel::GlobalTag{}));
  g_global = m_global.get();
}

TcxLookAndFeelRuntime::~TcxLookAndFeelRuntime() {
  m_global.reset();
  g_global = m_previousGlobal;
}

}  // namespace vormix
